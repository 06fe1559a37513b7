#include "CDlgConfig.h"

#include "QtText.h"

#include "CAppletParameters.h"
#include "CFoldline.h"
#include "CFurlin.h"
#include "CIconButton.h"
#include "CPropertySheet.h"
#include "NodeIcons.h"
#include "Prompts.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace {

const QString kMessageTitle = QStringLiteral("Quillary Foldline");
constexpr int kIconRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;

void* ObjectOf(const QTreeWidgetItem* node) {
    return node ? node->data(0, kObjectRole).value<void*>() : nullptr;
}

// Menu levels an item adds below the menu holding it, its own (possibly empty) sub-menu included:
// every menu counts, as the stored table keeps empty sub-menus too.
int LevelsOf(const CFurlinItem* item) {
    const CFurlin* sub = item->GetSubMenu();
    int deepest = 0;
    if (sub)
        for (const auto& child : sub->Items())
            deepest = std::max(deepest, LevelsOf(child.get()));
    return 1 + deepest;
}

// The tree with dotted connecting lines and plus-minus boxes, whatever the widget style draws.
class CConfigTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override {
        const int indent = indentation();
        if (indent <= 0 || rect.width() <= 0)
            return;
        painter->save();
        painter->setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
        const int midY = rect.top() + rect.height() / 2;
        auto hasNextSibling = [this](const QModelIndex& i) {
            return i.sibling(i.row() + 1, 0).isValid() ||
                   (!i.parent().isValid() && i.row() + 1 < topLevelItemCount());
        };
        // This node's own column: the elbow, continued down when a sibling follows.
        int left = rect.right() + 1 - indent;
        const int midX = left + indent / 2;
        painter->drawLine(midX, midY, left + indent - 2, midY);
        painter->drawLine(midX, rect.top(), midX, hasNextSibling(index) ? rect.bottom() : midY);
        // Ancestors' columns: a through line where the ancestor has a later sibling.
        for (QModelIndex up = index.parent(); up.isValid() && left - indent >= rect.left();
             up = up.parent()) {
            left -= indent;
            if (hasNextSibling(up)) {
                const int x = left + indent / 2;
                painter->drawLine(x, rect.top(), x, rect.bottom());
            }
        }
        if (model()->hasChildren(index)) {
            const QRect box(midX - 4, midY - 4, 8, 8);
            painter->setPen(palette().color(QPalette::Dark));
            painter->setBrush(palette().color(QPalette::Base));
            painter->drawRect(box);
            painter->setPen(palette().color(QPalette::Text));
            painter->drawLine(box.left() + 2, midY, box.right() - 2, midY);
            if (!isExpanded(index))
                painter->drawLine(midX, box.top() + 2, midX, box.bottom() - 2);
        }
        painter->restore();
    }
};

} // namespace

CDlgConfig::CDlgConfig(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Quillary Foldline 1.1"));
    BuildControls();
}

CDlgConfig::~CDlgConfig() {
    // The children go after this body; the tree's last signals must not reach this object, and
    // no page stores into the model on the way out.
    m_ready = false;
    disconnect(m_tree, nullptr, this, nullptr);
}

void CDlgConfig::SetComponent(CFoldline* component) {
    m_component = component;
}

void CDlgConfig::BuildControls() {
    struct Tool {
        Command command;
        ButtonIcon icon;
        const char* tip;
    };
    const Tool tools[] = {
        {Cut, ButtonIcon::Cut, "Cut"},
        {Copy, ButtonIcon::Copy, "copy"},
        {Paste, ButtonIcon::Paste, "Paste"},
        {Insert, ButtonIcon::Insert, "Insert a item"},
        {Delete, ButtonIcon::Delete, "Delete the item"},
        {MoveUp, ButtonIcon::MoveUp, "Move up"},
        {MoveDown, ButtonIcon::MoveDown, "Move down"},
    };
    auto* toolRow = new QHBoxLayout;
    toolRow->setSpacing(2);
    for (const Tool& tool : tools) {
        auto* button = new CIconButton(this);
        button->SetIcon(QIcon(ButtonIconPixmap(tool.icon, 32)), 32, 32);
        button->setToolTip(QString::fromLatin1(tool.tip));
        button->setFixedSize(40, 40);
        m_tools[tool.command] = button;
        toolRow->addWidget(button);
    }
    toolRow->addStretch(1);

    m_ok = new CIconButton(QStringLiteral("OK"), this);
    m_ok->SetIcon(QIcon(ButtonIconPixmap(ButtonIcon::Ok, 32)), 32, 32);
    m_ok->setDefault(true);
    m_cancel = new CIconButton(QStringLiteral("Cancel"), this);
    m_cancel->SetIcon(QIcon(ButtonIconPixmap(ButtonIcon::Cancel, 32)), 32, 32);
    for (CIconButton* button : {m_ok, m_cancel})
        button->setMinimumSize(100, 40);

    for (int i = 0; i < kNodeIconCount; ++i)
        m_nodeIcons[i] = QIcon(NodeIconPixmap(i));

    m_tree = new CConfigTree(this);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setItemsExpandable(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setMinimumWidth(200);
    m_tree->viewport()->installEventFilter(this);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnSelectionChanged(current); });

    m_pageArea = new QWidget(this);
    m_pageArea->setMinimumSize(420, 360);
    m_pageArea->installEventFilter(this);
    m_noProperties =
        new QLabel(QStringLiteral("No properties for the Top-level Foldline!"), m_pageArea);
    m_noProperties->setAlignment(Qt::AlignCenter);
    m_noProperties->hide();

    auto* left = new QVBoxLayout;
    left->addLayout(toolRow);
    left->addWidget(m_tree, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(m_cancel);
    auto* right = new QVBoxLayout;
    right->addWidget(m_pageArea, 1);
    right->addLayout(buttonRow);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    m_contextMenu = new QMenu(this);
    auto add = [this](Command command, const char* text, void (CDlgConfig::*slot)()) {
        QAction* action = m_contextMenu->addAction(QString::fromLatin1(text));
        connect(action, &QAction::triggered, this, slot);
        m_actions[command] = action;
        if (CIconButton* button = m_tools[command])
            connect(button, &QPushButton::clicked, this, slot);
    };
    add(Cut, "&Cut", &CDlgConfig::OnCut);
    add(Copy, "C&opy", &CDlgConfig::OnCopy);
    add(Paste, "&Paste", &CDlgConfig::OnPaste);
    m_contextMenu->addSeparator();
    add(Insert, "&Insert Menu/Item", &CDlgConfig::OnInsert);
    add(Delete, "&Delete", &CDlgConfig::OnDelete);
    add(Visible, "&Visible", &CDlgConfig::OnVisible);
    m_contextMenu->addSeparator();
    add(MoveUp, "Move &Up", &CDlgConfig::OnMoveUp);
    add(MoveDown, "Move Do&wn", &CDlgConfig::OnMoveDown);
    m_actions[Visible]->setCheckable(true);
    connect(m_contextMenu, &QMenu::aboutToShow, this, &CDlgConfig::UpdateCommandUI);

    connect(m_ok, &QPushButton::clicked, this, &CDlgConfig::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CDlgConfig::ScheduleUpdateUI);
}

void CDlgConfig::Initialize() {
    if (m_initialized || !m_component)
        return;
    m_initialized = true;

    CAppletParameters& model = m_component->Model();
    auto* root = new QTreeWidgetItem;
    root->setText(0, ToQt(model.Name));
    root->setData(0, kObjectRole, QVariant::fromValue(static_cast<void*>(&model)));
    SetNodeIcon(root, kIconRoot);
    for (const auto& menu : model.Menus())
        AddMenuNode(root, menu.get(), -1);
    m_tree->addTopLevelItem(root);

    m_appletSheet = new CAppletPropertySheet(m_component, m_pageArea);
    m_itemSheet = new CMenuPropertySheet(m_component, m_pageArea);
    QSize needed = m_pageArea->minimumSize();
    for (CPropertySheet* sheet :
         {static_cast<CPropertySheet*>(m_appletSheet), static_cast<CPropertySheet*>(m_itemSheet)}) {
        sheet->setFocusPolicy(Qt::TabFocus);
        needed = needed.expandedTo(sheet->sizeHint());
    }
    m_pageArea->setMinimumSize(needed);
    m_itemSheet->hide();
    m_appletSheet->show();
    m_currentSheet = m_appletSheet;
    PlaceSheets();

    m_ready = true;
    if (m_tree->currentItem() == root)
        OnSelectionChanged(root);
    else
        SelectNode(root);
    root->setExpanded(true);
    UpdateCommandUI();
}

void CDlgConfig::showEvent(QShowEvent* event) {
    Initialize();
    QDialog::showEvent(event);
}

QTreeWidgetItem* CDlgConfig::AddMenuNode(QTreeWidgetItem* parent, CFurlin* menu, int index) {
    auto* node = new QTreeWidgetItem;
    node->setText(0, ToQt(menu->Name));
    node->setData(0, kObjectRole, QVariant::fromValue(static_cast<void*>(menu)));
    SetNodeIcon(node, NodeIconFor(NodeKind::TopMenu, menu->Visible != 0));
    for (const auto& item : menu->Items())
        AddItemNode(node, item.get(), -1);
    if (index < 0)
        parent->addChild(node);
    else
        parent->insertChild(index, node);
    return node;
}

QTreeWidgetItem* CDlgConfig::AddItemNode(QTreeWidgetItem* parent, CFurlinItem* item, int index) {
    auto* node = new QTreeWidgetItem;
    node->setText(0, ToQt(item->Label));
    node->setData(0, kObjectRole, QVariant::fromValue(static_cast<void*>(item)));
    const CFurlin* sub = item->GetSubMenu();
    const bool branch = sub && !sub->Items().empty();
    SetNodeIcon(
        node, NodeIconFor(branch ? NodeKind::BranchItem : NodeKind::LeafItem, item->Visible != 0));
    if (sub)
        for (const auto& child : sub->Items())
            AddItemNode(node, child.get(), -1);
    if (index < 0)
        parent->addChild(node);
    else
        parent->insertChild(index, node);
    return node;
}

void CDlgConfig::SetNodeIcon(QTreeWidgetItem* node, int icon) {
    node->setData(0, kIconRole, icon);
    node->setIcon(0, m_nodeIcons[std::clamp(icon, 0, kNodeIconCount - 1)]);
}

int CDlgConfig::NodeIconIndex(const QTreeWidgetItem* node) {
    return node ? node->data(0, kIconRole).toInt() : -1;
}

NodeKind CDlgConfig::KindOf(const QTreeWidgetItem* node) {
    return NodeKindOfIcon(NodeIconIndex(node));
}

CFurlin* CDlgConfig::MenuOf(const QTreeWidgetItem* node) {
    return node && KindOf(node) == NodeKind::TopMenu ? static_cast<CFurlin*>(ObjectOf(node))
                                                     : nullptr;
}

CFurlinItem* CDlgConfig::ItemOf(const QTreeWidgetItem* node) {
    if (!node)
        return nullptr;
    const NodeKind kind = KindOf(node);
    return kind == NodeKind::BranchItem || kind == NodeKind::LeafItem
               ? static_cast<CFurlinItem*>(ObjectOf(node))
               : nullptr;
}

QTreeWidgetItem* CDlgConfig::RootNode() const {
    return m_tree->topLevelItemCount() > 0 ? m_tree->topLevelItem(0) : nullptr;
}

CIconButton* CDlgConfig::ToolButton(Command command) const {
    return command >= 0 && command < CommandCount ? m_tools[command] : nullptr;
}

void CDlgConfig::SelectNode(QTreeWidgetItem* node) {
    if (node)
        m_tree->setCurrentItem(node);
}

CFurlin* CDlgConfig::HoldingMenu(const QTreeWidgetItem* node) const {
    const QTreeWidgetItem* parent = node ? node->parent() : nullptr;
    if (!parent)
        return nullptr;
    if (KindOf(parent) == NodeKind::TopMenu)
        return MenuOf(parent);
    const CFurlinItem* owner = ItemOf(parent);
    return owner ? owner->GetSubMenu() : nullptr;
}

// ---- selection and pages -----------------------------------------------------------------------

void CDlgConfig::OnSelectionChanged(QTreeWidgetItem* current) {
    if (!m_ready || current == m_selected)
        return;
    // The move is never vetoed, whatever the page answers.
    LeavePageOf(m_selected);
    m_selected = current;
    EnterPageOf(current);
    ScheduleUpdateUI();
}

void CDlgConfig::LeavePageOf(QTreeWidgetItem* node) {
    if (!node)
        return;
    switch (KindOf(node)) {
    case NodeKind::Root:
        m_appletSheet->LeaveActivePage();
        break;
    case NodeKind::BranchItem:
    case NodeKind::LeafItem:
        m_itemSheet->LeaveActivePage();
        break;
    case NodeKind::TopMenu:
        break;
    }
}

void CDlgConfig::EnterPageOf(QTreeWidgetItem* node) {
    if (!node || !m_component)
        return;
    switch (KindOf(node)) {
    case NodeKind::Root:
        m_itemSheet->hide();
        m_noProperties->hide();
        m_component->CurrentItem = nullptr;
        m_component->CurrentMenu = nullptr;
        ShowSheet(m_appletSheet);
        break;
    case NodeKind::TopMenu:
        m_appletSheet->hide();
        m_itemSheet->hide();
        m_noProperties->setGeometry(m_pageArea->rect());
        m_noProperties->show();
        break;
    case NodeKind::BranchItem:
    case NodeKind::LeafItem:
        m_appletSheet->hide();
        m_noProperties->hide();
        m_component->CurrentItem = ItemOf(node);
        m_component->CurrentMenu = HoldingMenu(node);
        ShowSheet(m_itemSheet);
        break;
    }
}

void CDlgConfig::ShowSheet(CPropertySheet* sheet) {
    sheet->show();
    sheet->setGeometry(m_pageArea->rect());
    m_currentSheet = sheet;
    sheet->EnterActivePage();
    if (CPropertyPage* page = sheet->ActivePage())
        page->setFocus();
}

void CDlgConfig::PlaceSheets() {
    const QRect area = m_pageArea->rect();
    m_noProperties->setGeometry(area);
    if (m_appletSheet)
        m_appletSheet->setGeometry(area);
    if (m_itemSheet)
        m_itemSheet->setGeometry(area);
}

void CDlgConfig::SetItemNodeLabel(const QString& text) {
    if (ItemOf(m_selected))
        m_selected->setText(0, text);
}

void CDlgConfig::SetRootNodeLabel(const QString& text) {
    if (m_selected && KindOf(m_selected) == NodeKind::Root)
        m_selected->setText(0, text);
}

// ---- commands ----------------------------------------------------------------------------------

// A leaf's empty sub-menu takes the style of the menus at the depth it gets, or else of the menu
// that holds the leaf. Null for a node that is no item.
CFurlin* CDlgConfig::SubMenuForNewChild(QTreeWidgetItem* node) {
    CFurlinItem* item = ItemOf(node);
    if (!item)
        return nullptr;
    if (!item->GetSubMenu())
        item->SetSubMenu(std::make_unique<CFurlin>());
    CFurlin* sub = item->GetSubMenu();
    int ancestors = 0;
    for (const QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        ++ancestors;
    const int depth = ancestors - 1;
    CAppletParameters& model = m_component->Model();
    CFurlin* source = model.FindMenuAtDepth(depth);
    if (!source) {
        for (const auto& menu : model.Menus()) {
            source = CAppletParameters::FindParentMenu(menu.get(), item);
            if (source)
                break;
        }
    }
    if (source && source != sub)
        sub->CopyStyle(*source);
    return sub;
}

void CDlgConfig::OnInsert() {
    QTreeWidgetItem* node = m_selected;
    if (!node || !m_component)
        return;
    CFurlinItem* owner = ItemOf(node);
    switch (KindOf(node)) {
    case NodeKind::Root: {
        CFurlin* menu = m_component->Model().InsertNewMenu();
        if (!menu)
            return;
        AddMenuNode(node, menu, 0);
        break;
    }
    case NodeKind::TopMenu:
        AddItemNode(node, MenuOf(node)->InsertNewItem(), 0);
        break;
    case NodeKind::BranchItem:
        if (!owner->GetSubMenu())
            return;
        AddItemNode(node, owner->GetSubMenu()->InsertNewItem(), 0);
        break;
    case NodeKind::LeafItem: {
        int ancestors = 0;
        for (const QTreeWidgetItem* p = node->parent(); p; p = p->parent())
            ++ancestors;
        // The new item lies at menu level `ancestors`, its own empty sub-menu one below.
        if (ancestors + 1 > kMaxDepth)
            return;
        CFurlin* sub = SubMenuForNewChild(node);
        if (!sub)
            return;
        CFurlinItem* item = sub->InsertNewItem();
        SetNodeIcon(node, NodeIconFor(NodeKind::BranchItem, owner->Visible != 0));
        AddItemNode(node, item, 0);
        break;
    }
    }
    node->setExpanded(true);
    SelectNode(node->child(0));
    ScheduleUpdateUI();
}

void CDlgConfig::OnDelete() {
    QTreeWidgetItem* node = m_selected;
    if (!node || !m_component)
        return;
    const NodeKind kind = KindOf(node);
    if (kind == NodeKind::Root) {
        ui::showMessage(this, kMessageTitle, QStringLiteral("Can't delete root!"), ui::Icon::Stop);
        return;
    }
    const QString question =
        kind == NodeKind::TopMenu
            ? QStringLiteral("Are you sure to delete this top-level Foldline?")
        : kind == NodeKind::BranchItem
            ? QStringLiteral("Are you sure to delete this item and it's sub menu?")
            : QStringLiteral("Are you sure to delete this item?");
    if (!ui::askOkCancel(this, kMessageTitle, question, ui::Icon::Question))
        return;

    // Nothing may store into the objects about to be destroyed.
    m_component->CurrentItem = nullptr;
    m_component->CurrentMenu = nullptr;
    if (kind == NodeKind::TopMenu) {
        CFurlin* menu = MenuOf(node);
        SelectNode(node->parent());
        m_component->Model().DeleteMenu(menu);
        delete node;
    } else {
        if (kind == NodeKind::BranchItem && ItemOf(node)->GetSubMenu())
            ItemOf(node)->GetSubMenu()->DeleteAllItems();
        RemoveItemNode(node);
    }
    ScheduleUpdateUI();
}

// The parent is selected first, so the leaving page stores while its object still exists.
void CDlgConfig::RemoveItemNode(QTreeWidgetItem* node) {
    QTreeWidgetItem* parent = node->parent();
    CFurlin* holding = HoldingMenu(node);
    CFurlinItem* item = ItemOf(node);
    if (!parent || !holding || !item)
        return;
    SelectNode(parent);
    // A top-level parent leaves the bindings alone; they must not outlive the item.
    if (m_component->CurrentItem == item || KindOf(parent) == NodeKind::TopMenu) {
        m_component->CurrentItem = nullptr;
        m_component->CurrentMenu = nullptr;
    }
    holding->DeleteItem(item);
    if (KindOf(parent) != NodeKind::TopMenu && holding->Items().empty())
        SetNodeIcon(parent, NodeIconFor(NodeKind::LeafItem, ItemOf(parent)->Visible != 0));
    delete node;
}

void CDlgConfig::OnVisible() {
    QTreeWidgetItem* node = m_selected;
    if (!node)
        return;
    const NodeKind kind = KindOf(node);
    int* flag = nullptr;
    if (CFurlin* menu = MenuOf(node))
        flag = &menu->Visible;
    else if (CFurlinItem* item = ItemOf(node))
        flag = &item->Visible;
    if (!flag)
        return;
    *flag = *flag ? 0 : 1;
    SetNodeIcon(node, NodeIconFor(kind, *flag != 0));
    ScheduleUpdateUI();
}

void CDlgConfig::OnMoveUp() {
    MoveNode(true);
}
void CDlgConfig::OnMoveDown() {
    MoveNode(false);
}

void CDlgConfig::MoveNode(bool up) {
    QTreeWidgetItem* node = m_selected;
    QTreeWidgetItem* parent = node ? node->parent() : nullptr;
    if (!node || !parent || !m_component)
        return;
    const NodeKind kind = KindOf(node);
    bool moved = false;
    if (CFurlin* menu = MenuOf(node)) {
        CAppletParameters& model = m_component->Model();
        moved = up ? model.MoveMenuUp(menu) : model.MoveMenuDown(menu);
    } else if (CFurlinItem* item = ItemOf(node)) {
        CFurlin* holding = HoldingMenu(node);
        moved = holding && (up ? holding->MoveItemUp(item) : holding->MoveItemDown(item));
    }
    if (!moved)
        return;
    const int index = parent->indexOfChild(node);
    // The old node is still in place: before the previous sibling, or after the next one.
    const int at = up ? std::max(index - 1, 0) : index + 2;
    QTreeWidgetItem* rebuilt = kind == NodeKind::TopMenu ? AddMenuNode(parent, MenuOf(node), at)
                                                         : AddItemNode(parent, ItemOf(node), at);
    SelectNode(rebuilt);
    delete node;
    ScheduleUpdateUI();
}

bool CDlgConfig::CopyToClipboard(const QTreeWidgetItem* node) {
    const CFurlinItem* item = ItemOf(node);
    if (!item)
        return false;
    const std::string bytes = item->ToBytes();
    if (bytes.empty())
        return false;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kClipboardFormat),
                  QByteArray(bytes.data(), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool CDlgConfig::ClipboardHasFormat() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromLatin1(kClipboardFormat));
}

void CDlgConfig::OnCopy() {
    CopyToClipboard(m_selected);
    ScheduleUpdateUI();
}

void CDlgConfig::OnCut() {
    QTreeWidgetItem* node = m_selected;
    if (!ItemOf(node) || !CopyToClipboard(node))
        return;
    RemoveItemNode(node);
    ScheduleUpdateUI();
}

void CDlgConfig::OnPaste() {
    QTreeWidgetItem* node = m_selected;
    if (!node || !m_component || KindOf(node) == NodeKind::Root)
        return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QString::fromLatin1(kClipboardFormat)))
        return;
    const QByteArray block = data->data(QString::fromLatin1(kClipboardFormat));
    auto fresh = std::make_unique<CFurlinItem>();
    if (!fresh->FromBytes(std::string_view(block.constData(), std::size_t(block.size()))))
        return;

    // Refuse a paste that would make the tree deeper than readers accept. Menu levels count
    // from 1 at the top; the menu that receives the copy lies at level `ancestors`.
    int ancestors = 0;
    for (const QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        ++ancestors;
    const int targetLevel = KindOf(node) == NodeKind::TopMenu ? 1 : ancestors;
    if (targetLevel + LevelsOf(fresh.get()) > kMaxDepth)
        return;

    CFurlin* target = nullptr;
    CFurlinItem* owner = ItemOf(node);
    switch (KindOf(node)) {
    case NodeKind::TopMenu:
        target = MenuOf(node);
        break;
    case NodeKind::BranchItem:
        target = owner->GetSubMenu();
        break;
    case NodeKind::LeafItem:
        target = SubMenuForNewChild(node);
        break;
    case NodeKind::Root:
        break;
    }
    if (!target)
        return;
    CFurlinItem* pasted = fresh.get();
    if (!target->AddItem(std::move(fresh), true))
        return;
    if (KindOf(node) == NodeKind::LeafItem)
        SetNodeIcon(node, NodeIconFor(NodeKind::BranchItem, owner->Visible != 0));
    AddItemNode(node, pasted, 0);
    node->setExpanded(true);
    SelectNode(node->child(0));
    ScheduleUpdateUI();
}

void CDlgConfig::OnOK() {
    LeavePageOf(m_selected);
    accept();
}

// ---- enabling and the context menu -------------------------------------------------------------

void CDlgConfig::UpdateCommandUI() {
    const QTreeWidgetItem* node = m_selected;
    const bool selected = node != nullptr;
    const NodeKind kind = KindOf(node);
    const bool isItem = selected && (kind == NodeKind::BranchItem || kind == NodeKind::LeafItem);
    const bool notRoot = selected && kind != NodeKind::Root;
    bool enabled[CommandCount] = {};
    enabled[Cut] = isItem;
    enabled[Copy] = isItem;
    enabled[Paste] = notRoot && ClipboardHasFormat();
    enabled[MoveUp] = notRoot;
    enabled[MoveDown] = notRoot;
    enabled[Visible] = notRoot;
    enabled[Insert] = true;
    enabled[Delete] = true;
    for (int c = 0; c < CommandCount; ++c) {
        m_actions[c]->setEnabled(enabled[c]);
        if (m_tools[c])
            m_tools[c]->setEnabled(enabled[c]);
    }
    bool visible = false;
    if (const CFurlin* menu = MenuOf(node))
        visible = menu->Visible != 0;
    else if (const CFurlinItem* item = ItemOf(node))
        visible = item->Visible != 0;
    m_actions[Visible]->setChecked(visible);
}

void CDlgConfig::ScheduleUpdateUI() {
    if (m_updatePending)
        return;
    m_updatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_updatePending = false;
        UpdateCommandUI();
    });
}

void CDlgConfig::ShowContextMenu(const QPoint& globalPos) {
    UpdateCommandUI();
    m_contextMenu->popup(globalPos);
}

void CDlgConfig::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint pos = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5))
                                                                      : event->globalPos();
    ShowContextMenu(pos);
    event->accept();
}

bool CDlgConfig::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                          event->type() == QEvent::MouseButtonDblClick ||
                                          event->type() == QEvent::MouseButtonRelease)) {
        // The right button opens the context menu on the current selection; it selects nothing.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
    }
    if (watched == m_pageArea && event->type() == QEvent::Resize)
        PlaceSheets();
    return QDialog::eventFilter(watched, event);
}
