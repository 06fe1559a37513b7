#include "CDlgConfig.h"

#include "QtText.h"

#include "CAppletParameters.h"
#include "CConfigPreview.h"
#include "CFoldline.h"
#include "CFurlin.h"
#include "CIconButton.h"
#include "CPropertySheet.h"
#include "MenuOutline.h"
#include "NodeIcons.h"
#include "Prompts.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <string_view>

namespace {

const QString kMessageTitle = QStringLiteral("Quillary Foldline");
const QString kTreeName = QStringLiteral("Menu tree");
constexpr int kObjectRole = Qt::UserRole + 1;

using C = CDlgConfig;

// Every command once: its menu entry, its keys (alternatives separated by ';') and its handler.
// Undo and Redo answer anywhere in the dialog but in text fields, which keep their own; the
// others answer in the tree.
struct CommandInfo {
    C::Command command;
    const char* text;
    const char* keys;
    void (C::*run)();
    bool anywhere;
};
const CommandInfo kCommands[] = {
    {C::Cut, "&Cut", "Ctrl+X", &C::OnCut, false},
    {C::Copy, "C&opy", "Ctrl+C", &C::OnCopy, false},
    {C::Paste, "&Paste", "Ctrl+V", &C::OnPaste, false},
    {C::Insert, "&Insert Menu/Item", "Ins", &C::OnInsert, false},
    {C::Delete, "&Delete", "Del", &C::OnDelete, false},
    {C::Visible, "&Visible", "", &C::OnVisible, false},
    {C::MoveUp, "Move &Up", "Alt+Up", &C::OnMoveUp, false},
    {C::MoveDown, "Move Do&wn", "Alt+Down", &C::OnMoveDown, false},
    {C::InsertAfter, "Insert &After", "Ctrl+Return;Ctrl+Enter", &C::OnInsertAfter, false},
    {C::Rename, "Rena&me", "F2", &C::OnRename, false},
    {C::Undo, "U&ndo", "Ctrl+Z", &C::OnUndo, true},
    {C::Redo, "&Redo", "Ctrl+Shift+Z;Ctrl+Y", &C::OnRedo, true},
};

// The tool buttons, left to right.
struct ToolInfo {
    C::Command command;
    ButtonIcon icon;
    const char* tip;
};
const ToolInfo kTools[] = {
    {C::Cut, ButtonIcon::Cut, "Cut"},
    {C::Copy, ButtonIcon::Copy, "copy"},
    {C::Paste, ButtonIcon::Paste, "Paste"},
    {C::Insert, ButtonIcon::Insert, "Insert a item"},
    {C::Delete, ButtonIcon::Delete, "Delete the item"},
    {C::MoveUp, ButtonIcon::MoveUp, "Move up"},
    {C::MoveDown, ButtonIcon::MoveDown, "Move down"},
    {C::InsertAfter, ButtonIcon::InsertAfter, "Insert After"},
};

// The context menu: the commands in this order; kSeparator and kLookMenu mark the separators
// and the "Apply Look To" sub-menu.
constexpr int kSeparator = -1;
constexpr int kLookMenu = -2;
const int kMenuOrder[] = {C::Cut,     C::Copy,        C::Paste,   kSeparator, C::Insert,
                          C::Delete,  C::Visible,     kSeparator, C::MoveUp,  C::MoveDown,
                          kSeparator, C::InsertAfter, C::Rename,  kLookMenu,  kSeparator,
                          C::Undo,    C::Redo};

const char* const kLookScopes[] = {"Menus at the Same Depth", "Sub-menus Below This One",
                                   "All Menus"};

void* ObjectOf(const QTreeWidgetItem* node) {
    return node ? node->data(0, kObjectRole).value<void*>() : nullptr;
}

// The first field of a page in focus order.
QWidget* FirstField(QWidget* page) {
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(page) &&
            (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

// Whether a binding points into this item or below it.
bool BindingsInside(const CFoldline& component, const CFurlinItem& item) {
    if (component.CurrentItem == &item)
        return true;
    std::vector<const CFurlin*> pending{item.GetSubMenu()};
    while (!pending.empty()) {
        const CFurlin* menu = pending.back();
        pending.pop_back();
        if (menu == component.CurrentMenu)
            return true;
        for (const auto& child : menu->Items()) {
            if (child.get() == component.CurrentItem)
                return true;
            pending.push_back(child->GetSubMenu());
        }
    }
    return false;
}

} // namespace

CDlgConfig::CDlgConfig(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Quillary Foldline 1.1"));
    BuildControls();
    m_preview = new CConfigPreview(*this, m_previewToggle, m_previewArea);
    m_preview->Restore();
}

CDlgConfig::~CDlgConfig() {
    // The children go after this body; the tree's last signals must not reach this object, and
    // no page stores into the model on the way out.
    m_ready = false;
    disconnect(m_tree, nullptr, this, nullptr);
    // A dialog destroyed while shown hides after this body, and a label editor open then hands
    // over its text.
    m_tree->labelEdited = nullptr;
    m_tree->canDrop = nullptr;
    m_tree->drop = nullptr;
}

void CDlgConfig::SetComponent(CFoldline* component) {
    m_component = component;
}

void CDlgConfig::BuildControls() {
    BuildTools();
    BuildTree();
    BuildCommands();
    BuildLayout();
    connect(m_ok, &QPushButton::clicked, this, &CDlgConfig::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CDlgConfig::ScheduleUpdateUI);
}

void CDlgConfig::BuildTools() {
    for (const ToolInfo& tool : kTools) {
        auto* button = new CIconButton(this);
        button->SetIcon(QIcon(ButtonIconPixmap(tool.icon, 32)), 32, 32);
        button->setToolTip(QString::fromLatin1(tool.tip));
        // Screen readers name a button without caption by its tooltip.
        button->setAccessibleName(button->toolTip());
        button->setFixedSize(40, 40);
        m_tools[tool.command] = button;
    }
    m_ok = new CIconButton(QStringLiteral("OK"), this);
    m_ok->SetIcon(QIcon(ButtonIconPixmap(ButtonIcon::Ok, 32)), 32, 32);
    m_ok->setDefault(true);
    m_cancel = new CIconButton(QStringLiteral("Cancel"), this);
    m_cancel->SetIcon(QIcon(ButtonIconPixmap(ButtonIcon::Cancel, 32)), 32, 32);
    for (CIconButton* button : {m_ok, m_cancel})
        button->setMinimumSize(100, 40);
}

void CDlgConfig::BuildTree() {
    for (int i = 0; i < kNodeIconCount; ++i)
        m_nodeIcons[i] = QIcon(NodeIconPixmap(i));
    m_tree = new CConfigTree(this);
    m_tree->setHeaderLabel(kTreeName);
    m_tree->setHeaderHidden(true);
    m_tree->setAccessibleName(kTreeName);
    m_tree->setRootIsDecorated(true);
    m_tree->setItemsExpandable(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setMinimumWidth(200);
    m_tree->viewport()->installEventFilter(this);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnSelectionChanged(current); });
    m_tree->canDrop = [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                             CConfigTree::DropPlace place,
                             bool copy) { return CanDrop(dragged, target, place, copy); };
    m_tree->drop = [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                          CConfigTree::DropPlace place,
                          bool copy) { DropNode(dragged, target, place, copy); };
    m_tree->labelEdited = [this](QTreeWidgetItem* node, const QString& text) {
        RunCommand([&] { return LabelEdited(node, text); });
    };
}

void CDlgConfig::BuildCommands() {
    m_contextMenu = new QMenu(this);
    for (const CommandInfo& info : kCommands) {
        auto* action = new QAction(QString::fromLatin1(info.text), this);
        QList<QKeySequence> keys;
        for (const QString& key : QString::fromLatin1(info.keys).split(';', Qt::SkipEmptyParts))
            keys << QKeySequence::fromString(key, QKeySequence::PortableText);
        action->setShortcuts(keys);
        action->setShortcutContext(info.anywhere ? Qt::WindowShortcut : Qt::WidgetShortcut);
        (info.anywhere ? static_cast<QWidget*>(this) : m_tree)->addAction(action);
        connect(action, &QAction::triggered, this, info.run);
        if (CIconButton* button = m_tools[info.command]) {
            connect(button, &QPushButton::clicked, this, info.run);
            button->SetKeyHint(action->shortcut().toString(QKeySequence::NativeText));
        }
        m_actions[info.command] = action;
    }
    m_actions[Visible]->setCheckable(true);
    m_lookMenu = new QMenu(QStringLiteral("Apply &Look To"), this);
    for (int scope = 0; scope < 3; ++scope)
        connect(m_lookMenu->addAction(QString::fromLatin1(kLookScopes[scope])), &QAction::triggered,
                this, [this, scope] { ApplyLookTo(static_cast<LookScope>(scope)); });
    for (int entry : kMenuOrder) {
        if (entry == kSeparator)
            m_contextMenu->addSeparator();
        else if (entry == kLookMenu)
            m_contextMenu->addMenu(m_lookMenu);
        else
            m_contextMenu->addAction(m_actions[entry]);
    }
    connect(m_contextMenu, &QMenu::aboutToShow, this, &CDlgConfig::UpdateCommandUI);
}

void CDlgConfig::BuildLayout() {
    m_pageArea = new QWidget(this);
    m_pageArea->setMinimumSize(420, 360);
    m_pageArea->installEventFilter(this);
    m_noProperties =
        new QLabel(QStringLiteral("No properties for the Top-level Foldline!"), m_pageArea);
    m_noProperties->setAlignment(Qt::AlignCenter);
    m_noProperties->hide();

    auto* toolRow = new QHBoxLayout;
    toolRow->setSpacing(2);
    for (const ToolInfo& tool : kTools)
        toolRow->addWidget(m_tools[tool.command]);
    toolRow->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addLayout(toolRow);
    left->addWidget(m_tree, 1);
    m_previewToggle = new QCheckBox(QStringLiteral("Live Preview"), this);
    left->addWidget(m_previewToggle);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(m_cancel);
    auto* right = new QVBoxLayout;
    right->addWidget(m_pageArea, 1);
    right->addLayout(buttonRow);
    m_previewArea = new QWidget(this);
    auto* previewLayout = new QVBoxLayout(m_previewArea);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    layout->addWidget(m_previewArea, 1);
}

void CDlgConfig::Initialize() {
    if (m_initialized || !m_component)
        return;
    m_initialized = true;
    AddTreeNodes();
    CreateSheets();
    m_history.Reset(m_component->Model(), {});
    m_discard.Start(m_component->Model());
    m_ready = true;
    QTreeWidgetItem* root = RootNode();
    SelectFresh(root);
    root->setExpanded(true);
    UpdateCommandUI();
}

void CDlgConfig::reject() {
    if (m_ready && !m_discard.MayClose(this, m_component->Model(), [this](CAppletParameters& copy) {
            ApplyPageValuesTo(copy);
        }))
        return;
    QDialog::reject();
}

void CDlgConfig::AddTreeNodes() {
    CAppletParameters& model = m_component->Model();
    auto* root = new QTreeWidgetItem;
    root->setText(0, ToQt(model.Name));
    root->setData(0, kObjectRole, QVariant::fromValue(static_cast<void*>(&model)));
    root->setFlags(root->flags() & ~Qt::ItemIsDragEnabled);
    SetNodeIcon(root, kIconRoot);
    for (const auto& menu : model.Menus())
        AddMenuNode(root, menu.get(), -1);
    m_tree->addTopLevelItem(root);
}

void CDlgConfig::CreateSheets() {
    m_appletSheet = new CAppletPropertySheet(m_component, m_pageArea);
    m_itemSheet = new CMenuPropertySheet(m_component, m_pageArea);
    QSize needed = m_pageArea->minimumSize();
    for (CPropertySheet* sheet :
         {static_cast<CPropertySheet*>(m_appletSheet), static_cast<CPropertySheet*>(m_itemSheet)}) {
        sheet->setFocusPolicy(Qt::TabFocus);
        needed = needed.expandedTo(sheet->sizeHint());
        for (int i = 0; i < sheet->PageCount(); ++i) {
            CPropertyPage* page = sheet->Page(i);
            connect(page, &CPropertyPage::ControlsEdited, this, &CDlgConfig::ModelEdited);
            connect(page, &CPropertyPage::ModelChanged, this, &CDlgConfig::OnPageChangedModel);
        }
    }
    m_pageArea->setMinimumSize(needed);
    m_itemSheet->hide();
    m_appletSheet->show();
    m_currentSheet = m_appletSheet;
    PlaceSheets();
}

void CDlgConfig::showEvent(QShowEvent* event) {
    Initialize();
    QDialog::showEvent(event);
}

// ---- nodes --------------------------------------------------------------------------------------

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
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    const bool branch = !item->GetSubMenu()->Items().empty();
    SetNodeIcon(
        node, NodeIconFor(branch ? NodeKind::BranchItem : NodeKind::LeafItem, item->Visible != 0));
    for (const auto& child : item->GetSubMenu()->Items())
        AddItemNode(node, child.get(), -1);
    if (index < 0)
        parent->addChild(node);
    else
        parent->insertChild(index, node);
    return node;
}

void CDlgConfig::SetNodeIcon(QTreeWidgetItem* node, int icon) {
    node->setData(0, Qt::UserRole, icon);
    node->setIcon(0, m_nodeIcons[icon]);
}

// An item node shows a branch or a leaf by whether its sub-menu holds items now.
void CDlgConfig::UpdateItemIcon(QTreeWidgetItem* node) {
    if (const CFurlinItem* item = ItemOf(node)) {
        const bool branch = !item->GetSubMenu()->Items().empty();
        SetNodeIcon(node, NodeIconFor(branch ? NodeKind::BranchItem : NodeKind::LeafItem,
                                      item->Visible != 0));
    }
}

int CDlgConfig::NodeIconIndex(const QTreeWidgetItem* node) {
    return node ? node->data(0, Qt::UserRole).toInt() : -1;
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

TreePath CDlgConfig::PathOf(const QTreeWidgetItem* node) {
    TreePath path;
    for (; node && node->parent(); node = node->parent())
        path.insert(path.begin(), node->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(node)));
    return path;
}

QTreeWidgetItem* CDlgConfig::NodeAt(const TreePath& path) const {
    QTreeWidgetItem* node = RootNode();
    for (int index : path)
        node = node ? node->child(index) : nullptr;
    return node;
}

CLivePreview* CDlgConfig::LivePreview() const {
    return m_preview->Pane();
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

// Selects a node of a tree just built, where Qt may have made it current already.
void CDlgConfig::SelectFresh(QTreeWidgetItem* node) {
    if (m_tree->currentItem() == node)
        OnSelectionChanged(node);
    else
        SelectNode(node);
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

// The level of the menu that holds a node's children: 1 for a top-level menu's items, one more
// for each item above. It is the node's number of ancestors.
int CDlgConfig::MenuLevelOf(const QTreeWidgetItem* node) {
    int level = 0;
    for (const QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent())
        ++level;
    return level;
}

// ---- selection and pages -----------------------------------------------------------------------

void CDlgConfig::OnSelectionChanged(QTreeWidgetItem* current) {
    if (!m_ready || current == m_selected)
        return;
    // The move is never vetoed, whatever the page answers.
    if (!m_pageStored)
        LeavePageOf(m_selected);
    m_pageStored = false;
    m_selected = current;
    EnterPageOf(current);
    m_mouseSelecting = false;
    UpdateCommandUI();
    emit NodeSelected(current);
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
    // A click on a node takes the author to its first field; moving through the tree with the
    // keys leaves the focus in the tree.
    if (!m_mouseSelecting && m_tree->hasFocus())
        return;
    if (QWidget* field = sheet->ActivePage() ? FirstField(sheet->ActivePage()) : nullptr)
        field->setFocus(Qt::OtherFocusReason);
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

void CDlgConfig::ApplyPageValuesTo(CAppletParameters& scratch) const {
    if (!m_ready || !m_currentSheet || m_currentSheet->isHidden() || !m_selected)
        return;
    CPropertyPage* page = m_currentSheet->ActivePage();
    if (!page)
        return;
    CEditTarget target{&scratch, nullptr, nullptr};
    if (ItemOf(m_selected)) {
        const PathTarget found = ResolvePath(scratch, PathOf(m_selected));
        if (!found.item)
            return;
        target.menu = found.holding;
        target.item = found.item;
    }
    page->ApplyControlsTo(target);
}

// ---- history ------------------------------------------------------------------------------------

template <class Body> void CDlgConfig::RunCommand(Body body) {
    if (!m_ready || !m_selected)
        return;
    StoreCurrentPage();
    const TreePath before = PathOf(m_selected);
    const bool changed = body();
    m_pageStored = false;
    if (changed)
        Commit(before);
    UpdateCommandUI();
}

// The shown page stores now, so that the command sees what was typed since it was shown.
void CDlgConfig::StoreCurrentPage() {
    if (m_pageStored)
        return;
    LeavePageOf(m_selected);
    m_pageStored = true;
}

void CDlgConfig::Commit(const TreePath& selectedBefore) {
    if (!m_ready)
        return;
    m_history.Commit(m_component->Model(), selectedBefore, PathOf(m_selected));
    UpdateCommandUI();
    emit ModelEdited();
}

// What the author changed on a page is a step; what a page only normalised joins the current
// state, so that no undo step seems to do nothing.
void CDlgConfig::OnPageChangedModel(bool authored) {
    if (authored) {
        Commit(PathOf(m_selected));
    } else if (m_ready) {
        m_history.Amend(m_component->Model());
        emit ModelEdited();
    }
}

void CDlgConfig::OnUndo() {
    StepHistory(false);
}

void CDlgConfig::OnRedo() {
    StepHistory(true);
}

// Unsaved edits on the shown page become a step of their own first, so Undo takes back the
// latest change the author made.
void CDlgConfig::StepHistory(bool forward) {
    if (!m_ready)
        return;
    StoreCurrentPage();
    m_pageStored = false;
    if (const CEditHistory::State* state = forward ? m_history.Redo() : m_history.Undo())
        Restore(*state);
    UpdateCommandUI();
}

// The model becomes a copy of the state; every node is built again, as every object is new.
void CDlgConfig::Restore(const CEditHistory::State& state) {
    std::vector<TreePath> expanded;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->isExpanded())
            expanded.push_back(PathOf(*it));
    m_ready = false;
    m_selected = nullptr;
    m_component->CurrentItem = nullptr;
    m_component->CurrentMenu = nullptr;
    m_component->Model().Assign(*state.model);
    m_tree->clear();
    AddTreeNodes();
    for (const TreePath& path : expanded)
        if (QTreeWidgetItem* node = NodeAt(path))
            node->setExpanded(true);
    m_ready = true;
    QTreeWidgetItem* node = NodeAt(state.selection);
    if (!node)
        node = RootNode();
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    SelectFresh(node);
    emit ModelEdited();
}

// ---- commands ----------------------------------------------------------------------------------

void CDlgConfig::OnCut() {
    RunCommand([this] { return CutSelected(); });
}
// Copying leaves the model as it is.
void CDlgConfig::OnCopy() {
    RunCommand([this] {
        CopyToClipboard(m_selected);
        return false;
    });
}
void CDlgConfig::OnPaste() {
    RunCommand([this] { return PasteIntoSelected(); });
}
void CDlgConfig::OnInsert() {
    RunCommand([this] { return InsertChild(); });
}
void CDlgConfig::OnDelete() {
    RunCommand([this] { return DeleteSelected(); });
}
void CDlgConfig::OnVisible() {
    RunCommand([this] { return ToggleVisible(); });
}
void CDlgConfig::OnMoveUp() {
    RunCommand([this] { return MoveNode(true); });
}
void CDlgConfig::OnMoveDown() {
    RunCommand([this] { return MoveNode(false); });
}

void CDlgConfig::OnInsertAfter() {
    RunCommand([this] { return InsertAfterSelected(); });
    if (ItemOf(m_selected) && m_tree->currentItem() == m_selected)
        OnRename();
}

void CDlgConfig::OnRename() {
    if (m_ready && ItemOf(m_selected)) {
        m_tree->scrollToItem(m_selected);
        m_tree->editItem(m_selected, 0);
    }
}

void CDlgConfig::OnOK() {
    LeavePageOf(m_selected);
    accept();
}

// A leaf's empty sub-menu takes the style of the menus at the depth it gets, or else of the menu
// that holds the leaf. Null for a node that is no item.
CFurlin* CDlgConfig::SubMenuForNewChild(QTreeWidgetItem* node) {
    CFurlinItem* item = ItemOf(node);
    if (!item)
        return nullptr;
    CFurlin* sub = item->GetSubMenu();
    CAppletParameters& model = m_component->Model();
    CFurlin* source = model.FindMenuAtDepth(MenuLevelOf(node) - 1);
    for (auto it = model.Menus().begin(); !source && it != model.Menus().end(); ++it)
        source = CAppletParameters::FindParentMenu(it->get(), item);
    if (source && source != sub)
        sub->CopyStyle(*source);
    return sub;
}

// The menu that takes a node's new children: a top-level menu itself, an item's sub-menu (a
// leaf's empty one styled first). Null for the root.
CFurlin* CDlgConfig::ChildMenuOf(QTreeWidgetItem* node) {
    switch (KindOf(node)) {
    case NodeKind::TopMenu:
        return MenuOf(node);
    case NodeKind::BranchItem:
        return ItemOf(node)->GetSubMenu();
    case NodeKind::LeafItem:
        return SubMenuForNewChild(node);
    case NodeKind::Root:
        break;
    }
    return nullptr;
}

bool CDlgConfig::InsertChild() {
    QTreeWidgetItem* node = m_selected;
    if (KindOf(node) == NodeKind::Root) {
        AddMenuNode(node, m_component->Model().InsertNewMenu(), 0);
    } else {
        // The new item's own empty sub-menu lies one level below the menu that takes it.
        if (ItemOf(node) && MenuLevelOf(node) + 1 > kMaxDepth)
            return false;
        AddItemNode(node, ChildMenuOf(node)->InsertNewItem(), 0);
        UpdateItemIcon(node);
    }
    node->setExpanded(true);
    SelectNode(node->child(0));
    return true;
}

bool CDlgConfig::InsertAfterSelected() {
    QTreeWidgetItem* node = m_selected;
    QTreeWidgetItem* parent = node->parent();
    if (!parent)
        return false;
    const int index = parent->indexOfChild(node) + 1;
    QTreeWidgetItem* added = nullptr;
    if (MenuOf(node)) {
        CAppletParameters& model = m_component->Model();
        auto menu = std::make_unique<CFurlin>();
        if (const CFurlin* style = model.FindMenuAtDepth(0))
            menu->CopyStyle(*style);
        added = AddMenuNode(parent, InsertMenuAt(model, std::move(menu), index), index);
    } else {
        CFurlinItem* item =
            InsertItemAt(*HoldingMenu(node), std::make_unique<CFurlinItem>(), index);
        added = AddItemNode(parent, item, index);
    }
    SelectNode(added);
    return true;
}

bool CDlgConfig::DeleteSelected() {
    QTreeWidgetItem* node = m_selected;
    const NodeKind kind = KindOf(node);
    if (kind == NodeKind::Root) {
        ui::showMessage(this, kMessageTitle, QStringLiteral("Can't delete root!"), ui::Icon::Stop);
        return false;
    }
    const QString question =
        kind == NodeKind::TopMenu
            ? QStringLiteral("Are you sure to delete this top-level Foldline?")
        : kind == NodeKind::BranchItem
            ? QStringLiteral("Are you sure to delete this item and it's sub menu?")
            : QStringLiteral("Are you sure to delete this item?");
    if (!ui::askOkCancel(this, kMessageTitle, question, ui::Icon::Question))
        return false;

    // Nothing may store into the objects about to be destroyed.
    m_component->CurrentItem = nullptr;
    m_component->CurrentMenu = nullptr;
    if (kind == NodeKind::TopMenu) {
        CFurlin* menu = MenuOf(node);
        SelectNode(node->parent());
        m_component->Model().DeleteMenu(menu);
        delete node;
    } else {
        if (kind == NodeKind::BranchItem)
            ItemOf(node)->GetSubMenu()->DeleteAllItems();
        RemoveItemNode(node);
    }
    return true;
}

// A selected node hands the selection to its parent first, so the leaving page stores while its
// object still exists; bindings into the removed sub-tree are cleared.
void CDlgConfig::RemoveItemNode(QTreeWidgetItem* node) {
    QTreeWidgetItem* parent = node->parent();
    CFurlin* holding = HoldingMenu(node);
    CFurlinItem* item = ItemOf(node);
    if (!parent || !holding || !item)
        return;
    if (node == m_selected)
        SelectNode(parent);
    if (BindingsInside(*m_component, *item)) {
        m_component->CurrentItem = nullptr;
        m_component->CurrentMenu = nullptr;
    }
    holding->DeleteItem(item);
    UpdateItemIcon(parent);
    delete node;
}

bool CDlgConfig::ToggleVisible() {
    QTreeWidgetItem* node = m_selected;
    int* flag = nullptr;
    if (CFurlin* menu = MenuOf(node))
        flag = &menu->Visible;
    else if (CFurlinItem* item = ItemOf(node))
        flag = &item->Visible;
    if (!flag)
        return false;
    *flag = *flag ? 0 : 1;
    SetNodeIcon(node, NodeIconFor(KindOf(node), *flag != 0));
    return true;
}

bool CDlgConfig::MoveNode(bool up) {
    QTreeWidgetItem* node = m_selected;
    QTreeWidgetItem* parent = node->parent();
    if (!parent)
        return false;
    bool moved = false;
    if (CFurlin* menu = MenuOf(node)) {
        CAppletParameters& model = m_component->Model();
        moved = up ? model.MoveMenuUp(menu) : model.MoveMenuDown(menu);
    } else if (CFurlinItem* item = ItemOf(node)) {
        CFurlin* holding = HoldingMenu(node);
        moved = holding && (up ? holding->MoveItemUp(item) : holding->MoveItemDown(item));
    }
    if (!moved)
        return false;
    const int index = parent->indexOfChild(node);
    // The old node is still in place: before the previous sibling, or after the next one.
    const int at = up ? std::max(index - 1, 0) : index + 2;
    QTreeWidgetItem* rebuilt = MenuOf(node) ? AddMenuNode(parent, MenuOf(node), at)
                                            : AddItemNode(parent, ItemOf(node), at);
    SelectNode(rebuilt);
    delete node;
    return true;
}

// A label confirmed in place: the item takes it, and its General page shows it.
bool CDlgConfig::LabelEdited(QTreeWidgetItem* node, const QString& text) {
    CFurlinItem* item = ItemOf(node);
    if (!item)
        return false;
    QString label = text;
    label.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    label.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const std::string stored = FromQt(label);
    if (stored == item->Label)
        return false;
    item->Label = stored;
    node->setText(0, label);
    if (node == m_selected && m_currentSheet == m_itemSheet)
        m_itemSheet->EnterActivePage();
    return true;
}

// ---- clipboard ---------------------------------------------------------------------------------

// The private block for this dialog and the same item as an outline for other programs.
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
    data->setText(ToQt(WriteOutline(*item)));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool CDlgConfig::ClipboardHasFormat() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromLatin1(kClipboardFormat));
}

bool CDlgConfig::ClipboardHasOutline() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().trimmed().isEmpty();
}

bool CDlgConfig::CutSelected() {
    QTreeWidgetItem* node = m_selected;
    if (!ItemOf(node) || !CopyToClipboard(node))
        return false;
    RemoveItemNode(node);
    return true;
}

// The private block has priority; plain text is read as an outline.
bool CDlgConfig::PasteIntoSelected() {
    QTreeWidgetItem* node = m_selected;
    if (KindOf(node) == NodeKind::Root)
        return false;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    if (!data->hasFormat(QString::fromLatin1(kClipboardFormat)))
        return ClipboardHasOutline() && PasteOutline(node, data->text());
    const QByteArray block = data->data(QString::fromLatin1(kClipboardFormat));
    auto fresh = std::make_unique<CFurlinItem>();
    if (!fresh->FromBytes(std::string_view(block.constData(), std::size_t(block.size()))))
        return false;
    // Refuse a paste that would make the tree deeper than readers accept.
    if (MenuLevelOf(node) + LevelsOf(*fresh) > kMaxDepth)
        return false;
    std::vector<std::unique_ptr<CFurlinItem>> items;
    items.push_back(std::move(fresh));
    InsertFirstChildren(node, *ChildMenuOf(node), std::move(items));
    return true;
}

// Lines that would lie deeper than readers accept stay at the deepest level allowed.
bool CDlgConfig::PasteOutline(QTreeWidgetItem* node, const QString& text) {
    const std::vector<OutlineLine> lines = ReadOutline(FromQt(text));
    const int level = MenuLevelOf(node);
    // Every item brings its own sub-menu one level below its line.
    const int deepest = kMaxDepth - level - 1;
    if (lines.empty() || deepest < 0)
        return false;
    auto items = BuildOutlineItems(lines, deepest);
    CFurlin* menu = ChildMenuOf(node);
    StyleNewSubMenus(m_component->Model(), *menu, level - 1, items);
    InsertFirstChildren(node, *menu, std::move(items));
    return true;
}

// The items go first into the node's menu, in their order, and the first of them is selected.
void CDlgConfig::InsertFirstChildren(QTreeWidgetItem* node, CFurlin& menu,
                                     std::vector<std::unique_ptr<CFurlinItem>> items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = static_cast<int>(i);
        AddItemNode(node, InsertItemAt(menu, std::move(items[i]), index), index);
    }
    UpdateItemIcon(node);
    node->setExpanded(true);
    SelectNode(node->child(0));
}

// ---- drag and drop and looks --------------------------------------------------------------------

bool CDlgConfig::CanDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                         CConfigTree::DropPlace place, bool) const {
    if (!dragged || !target || !dragged->parent() || !m_ready)
        return false;
    for (const QTreeWidgetItem* up = target; up; up = up->parent())
        if (up == dragged)
            return false; // into its own sub-tree
    const bool into = place == CConfigTree::DropPlace::Into;
    if (MenuOf(dragged))
        return into ? KindOf(target) == NodeKind::Root : MenuOf(target) != nullptr;
    QTreeWidgetItem* parent = into ? target : target->parent();
    if (!parent || KindOf(parent) == NodeKind::Root)
        return false;
    return MenuLevelOf(parent) + LevelsOf(*ItemOf(dragged)) <= kMaxDepth;
}

bool CDlgConfig::DropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target,
                          CConfigTree::DropPlace place, bool copy) {
    if (!CanDrop(dragged, target, place, copy))
        return false;
    bool done = false;
    RunCommand([&] {
        const bool into = place == CConfigTree::DropPlace::Into;
        QTreeWidgetItem* parent = into ? target : target->parent();
        const int index =
            into ? parent->childCount()
                 : parent->indexOfChild(target) + (place == CConfigTree::DropPlace::After ? 1 : 0);
        done = MenuOf(dragged) ? MoveMenuNode(dragged, index, copy)
                               : MoveItemNode(dragged, parent, index, copy);
        return done;
    });
    return done;
}

// The node lands as a copy at index among the top-level menus; a move then removes the original.
bool CDlgConfig::MoveMenuNode(QTreeWidgetItem* dragged, int index, bool copy) {
    CAppletParameters& model = m_component->Model();
    CFurlin* menu = MenuOf(dragged);
    QTreeWidgetItem* root = dragged->parent();
    const int from = root->indexOfChild(dragged);
    if (!copy && (index == from || index == from + 1))
        return false; // where it is already
    CFurlin* placed = InsertMenuAt(model, std::make_unique<CFurlin>(*menu), index);
    SelectNode(AddMenuNode(root, placed, index));
    if (copy)
        return true;
    for (const auto& item : menu->Items())
        if (BindingsInside(*m_component, *item)) {
            m_component->CurrentItem = nullptr;
            m_component->CurrentMenu = nullptr;
        }
    model.DeleteMenu(menu);
    delete dragged;
    return true;
}

bool CDlgConfig::MoveItemNode(QTreeWidgetItem* dragged, QTreeWidgetItem* parent, int index,
                              bool copy) {
    if (!copy && dragged->parent() == parent) {
        const int from = parent->indexOfChild(dragged);
        if (index == from || index == from + 1)
            return false; // where it is already
    }
    CFurlin* menu = ChildMenuOf(parent);
    CFurlinItem* placed =
        InsertItemAt(*menu, std::make_unique<CFurlinItem>(*ItemOf(dragged)), index);
    QTreeWidgetItem* node = AddItemNode(parent, placed, index);
    UpdateItemIcon(parent);
    parent->setExpanded(true);
    SelectNode(node);
    if (!copy)
        RemoveItemNode(dragged);
    return true;
}

void CDlgConfig::ApplyLookTo(LookScope scope) {
    RunCommand([this, scope] {
        // The look shown on the pages: of a top-level menu itself, else of the holding menu.
        QTreeWidgetItem* owner = MenuOf(m_selected) ? m_selected : m_selected->parent();
        const CFurlin* source = MenuOf(m_selected) ? MenuOf(m_selected) : HoldingMenu(m_selected);
        if (!source || !owner)
            return false;
        return ApplyLook(m_component->Model(), *source, MenuLevelOf(owner) - 1, scope) > 0;
    });
}

// ---- enabling and the context menu -------------------------------------------------------------

void CDlgConfig::UpdateCommandUI() {
    const QTreeWidgetItem* node = m_selected;
    const bool selected = node != nullptr && m_ready;
    const NodeKind kind = KindOf(node);
    const bool isItem = selected && (kind == NodeKind::BranchItem || kind == NodeKind::LeafItem);
    const bool notRoot = selected && kind != NodeKind::Root;
    bool enabled[CommandCount] = {};
    enabled[Cut] = isItem;
    enabled[Copy] = isItem;
    enabled[Paste] = notRoot && (ClipboardHasFormat() || ClipboardHasOutline());
    enabled[MoveUp] = notRoot;
    enabled[MoveDown] = notRoot;
    enabled[Visible] = notRoot;
    enabled[Insert] = true;
    enabled[Delete] = true;
    enabled[InsertAfter] = notRoot;
    enabled[Rename] = isItem;
    enabled[Undo] = m_history.CanUndo();
    enabled[Redo] = m_history.CanRedo();
    for (int c = 0; c < CommandCount; ++c) {
        m_actions[c]->setEnabled(enabled[c]);
        if (m_tools[c])
            m_tools[c]->setEnabled(enabled[c]);
    }
    m_lookMenu->setEnabled(notRoot);
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

// A right click selects the node under the pointer, so the context menu acts on what was
// clicked; the menu itself opens from the context-menu request that follows.
void CDlgConfig::OnMousePress(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (QTreeWidgetItem* node = m_tree->itemAt(event->position().toPoint()))
            SelectNode(node);
        return;
    }
    m_mouseSelecting = true;
}

bool CDlgConfig::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
            type == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (type == QEvent::MouseButtonPress)
                OnMousePress(mouse);
            else if (type == QEvent::MouseButtonRelease)
                m_mouseSelecting = false;
            // The tree's own handling of the right button would move the selection again.
            if (mouse->button() == Qt::RightButton)
                return true;
        }
    }
    if (watched == m_pageArea && event->type() == QEvent::Resize)
        PlaceSheets();
    return QDialog::eventFilter(watched, event);
}
