#include "CDlgConfig.h"

#include "QtText.h"

#include "CAppletParameters.h"
#include "CConfigFocus.h"
#include "CConfigPreview.h"
#include "CDlgItem.h"
#include "CEditSession.h"
#include "CFindBar.h"
#include "CFurlin.h"
#include "CIconButton.h"
#include "CLinkColumn.h"
#include "CNodeEdits.h"
#include "CNodeMap.h"
#include "CPropertySheet.h"
#include "CTreeShape.h"
#include "NodeIcons.h"

#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

CDlgConfig::CDlgConfig(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Quillary Foldline 1.1"));
    BuildControls();
    m_preview = new CConfigPreview(*this, m_previewToggle, m_previewArea);
    m_preview->Restore();
    m_focus = new CConfigFocus(*this);
    OrderTabs();
}

CDlgConfig::~CDlgConfig() {
    // The next dialog of this widget opens the nodes open now (or, when the edits are dropped,
    // those open at their places before).
    if (m_initialized && m_session && m_session->Expansion())
        m_shape->Remember(*m_session->Expansion(), result() == QDialog::Accepted);
    // The children go after this body; the tree's last signals and events must not reach this
    // object, and no page stores into the model on the way out.
    delete m_focus;
    m_ready = false;
    disconnect(m_tree, nullptr, this, nullptr);
    if (m_session)
        disconnect(m_session, nullptr, this, nullptr);
    // A dialog destroyed while shown hides after this body, and a label editor open then hands
    // over its text.
    m_tree->labelEdited = nullptr;
    m_tree->canDrop = nullptr;
    m_tree->drop = nullptr;
    m_links->linkEdited = nullptr;
    m_tree->highlighted = nullptr;
}

void CDlgConfig::SetSession(CEditSession* session) {
    m_session = session;
    connect(session, &CEditSession::ItemLabelStored, this, &CDlgConfig::SetItemNodeLabel);
    connect(session, &CEditSession::AppletNameStored, this, &CDlgConfig::SetRootNodeLabel);
    connect(session, &CEditSession::LookMenuRequested, this,
            [this](const QPoint& globalPos) { LookMenu()->popup(globalPos); });
}

void CDlgConfig::BuildControls() {
    m_commands = std::make_unique<CConfigCommands>(*this);
    m_ok = new CIconButton(tr("OK"), this);
    m_ok->SetIcon(QIcon(ButtonIconPixmap(ButtonIcon::Ok, 32)), 32, 32);
    m_ok->setDefault(true);
    m_cancel = new CIconButton(tr("Cancel"), this);
    m_cancel->SetIcon(QIcon(ButtonIconPixmap(ButtonIcon::Cancel, 32)), 32, 32);
    for (CIconButton* button : {m_ok, m_cancel})
        button->setMinimumSize(100, 40);
    BuildTree();
    m_commands->BuildEntries(*m_tree);
    BuildLayout();
    connect(m_ok, &QPushButton::clicked, this, &CDlgConfig::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CDlgConfig::ScheduleUpdateUI);
    connect(this, &CDlgConfig::ModelEdited, m_find, &CFindBar::Refresh);
}

void CDlgConfig::BuildTree() {
    m_tree = new CConfigTree(this);
    m_nodes = std::make_unique<CNodeMap>(*m_tree);
    m_selection = std::make_unique<CNodeSelection>(*m_tree);
    m_shape = new CTreeShape(*m_tree);
    m_edits = std::make_unique<CNodeEdits>(*this, *m_nodes, *m_shape, *m_selection);
    m_links = new CLinkColumn(*m_tree);
    m_find = new CFindBar(*m_tree, this);
    m_tree->headerItem()->setText(0, tr("Menu tree"));
    m_tree->header()->resizeSection(0, 200);
    m_tree->setAccessibleName(m_tree->headerItem()->text(0));
    m_tree->setRootIsDecorated(true);
    m_tree->setItemsExpandable(true);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setMinimumWidth(260);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnSelectionChanged(current); });
    // The current node moves before the selection does: the commands look again after both.
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CDlgConfig::UpdateCommandUI);
    m_tree->canDrop = [this](const NodeList& dragged, QTreeWidgetItem* target,
                             CConfigTree::DropPlace place,
                             bool copy) { return CanDrop(dragged, target, place, copy); };
    m_tree->drop = [this](const NodeList& dragged, QTreeWidgetItem* target,
                          CConfigTree::DropPlace place,
                          bool copy) { DropNodes(dragged, target, place, copy); };
    m_tree->labelEdited = [this](QTreeWidgetItem* node, const QString& text) {
        // Only the first label typed for an inserted node joins the insert.
        const bool fresh = CNodeMap::IdOf(node) == m_fresh.node && m_fresh.step == m_stepsTaken;
        if (fresh)
            m_fresh = {};
        RunCommand([&] { return LabelEdited(node, text); }, fresh);
    };
    m_links->linkEdited = [this](QTreeWidgetItem* node, const QString& link) {
        LinkEdited(node, link);
    };
}

void CDlgConfig::BuildLayout() {
    m_pageArea = new QWidget(this);
    m_pageArea->setMinimumSize(420, 360);
    m_pageArea->installEventFilter(this);
    m_noProperties = new QLabel(tr("No properties for the Top-level Foldline!"), m_pageArea);
    m_noProperties->setAlignment(Qt::AlignCenter);
    m_noProperties->hide();

    auto* toolRow = new QHBoxLayout;
    toolRow->setSpacing(2);
    for (CIconButton* tool : m_commands->ToolRow())
        toolRow->addWidget(tool);
    toolRow->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addLayout(toolRow);
    left->addWidget(m_find);
    left->addWidget(m_tree, 1);
    m_previewToggle = new QCheckBox(tr("Live Preview"), this);
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
    if (m_initialized || !m_session)
        return;
    m_initialized = true;
    m_nodes->AddRootNode(m_session->Model());
    m_shape->Open(m_session->Expansion());
    CreateSheets();
    OrderTabs();
    m_history.Reset(m_session->Model(), {}, m_shape->Ids());
    m_discard.Start(m_session->Model());
    m_ready = true;
    SelectFresh(RootNode());
    UpdateCommandUI();
}

void CDlgConfig::reject() {
    if (m_ready && !m_discard.MayClose(this, m_session->Model(), [this](CAppletParameters& copy) {
            ApplyPageValuesTo(copy);
        }))
        return;
    QDialog::reject();
}

void CDlgConfig::CreateSheets() {
    m_appletSheet = new CAppletPropertySheet(m_session, m_pageArea);
    m_itemSheet = new CMenuPropertySheet(m_session, m_pageArea);
    QSize needed = m_pageArea->minimumSize();
    for (CPropertySheet* sheet :
         {static_cast<CPropertySheet*>(m_appletSheet), static_cast<CPropertySheet*>(m_itemSheet)}) {
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

// Tab runs from the tool buttons and the find bar to the tree, the pages, OK and Cancel, and
// then to the live preview's controls.
void CDlgConfig::OrderTabs() {
    const std::vector<CIconButton*> tools = m_commands->ToolRow();
    std::vector<QWidget*> order(tools.begin(), tools.end());
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_find, m_tree, m_appletSheet, m_itemSheet, m_ok, m_cancel,
                                         m_previewToggle, m_previewArea})
        if (widget)
            order.push_back(widget);
    CConfigFocus::OrderTabs(order);
}

void CDlgConfig::showEvent(QShowEvent* event) {
    Initialize();
    QDialog::showEvent(event);
}

CLivePreview* CDlgConfig::LivePreview() const {
    return m_preview->Pane();
}

void CDlgConfig::SelectNode(QTreeWidgetItem* node) {
    CNodeSelection::SelectOnly(*m_tree, node);
}

NodeList CDlgConfig::Targets() const {
    return m_selection->Targets(m_selected);
}

CDlgItem* CDlgConfig::GeneralPage() const {
    return m_itemSheet ? qobject_cast<CDlgItem*>(m_itemSheet->Page(0)) : nullptr;
}

// Selects a node of a tree just built, where Qt may have made it current already.
void CDlgConfig::SelectFresh(QTreeWidgetItem* node) {
    if (m_tree->currentItem() == node)
        OnSelectionChanged(node);
    else
        SelectNode(node);
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
    if (!node || !m_session)
        return;
    switch (KindOf(node)) {
    case NodeKind::Root:
        m_itemSheet->hide();
        m_noProperties->hide();
        m_session->Unbind();
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
        m_session->Bind(ItemOf(node), CNodeMap::HoldingMenu(node));
        ShowSheet(m_itemSheet);
        break;
    }
}

void CDlgConfig::ShowSheet(CPropertySheet* sheet) {
    sheet->show();
    sheet->setGeometry(m_pageArea->rect());
    m_currentSheet = sheet;
    sheet->EnterActivePage();
}

void CDlgConfig::PlaceSheets() {
    const QRect area = m_pageArea->rect();
    m_noProperties->setGeometry(area);
    if (m_appletSheet)
        m_appletSheet->setGeometry(area);
    if (m_itemSheet)
        m_itemSheet->setGeometry(area);
}

// The General page stores the label and the link together.
void CDlgConfig::SetItemNodeLabel(const QString& text) {
    if (ItemOf(m_selected)) {
        m_selected->setText(0, text);
        CNodeMap::ShowLink(m_selected);
    }
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

template <class Body> bool CDlgConfig::RunCommand(Body body, bool joinsLatest) {
    if (!m_ready || !m_selected)
        return false;
    StoreCurrentPage();
    m_shape->Sync();
    const TreePath before = PathOf(m_selected);
    const bool changed = body();
    m_pageStored = false;
    if (changed && joinsLatest)
        JoinLatest();
    else if (changed)
        Commit(before);
    // What a command moved, pasted or selected stays in sight.
    if (changed && m_selected)
        m_tree->scrollToItem(m_selected);
    UpdateCommandUI();
    return changed;
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
    m_history.Commit(m_session->Model(), selectedBefore, PathOf(m_selected), m_shape->Ids());
    ++m_stepsTaken;
    UpdateCommandUI();
    emit ModelEdited();
}

void CDlgConfig::JoinLatest() {
    m_history.Amend(m_session->Model());
    emit ModelEdited();
}

// What the author changed on a page is a step; what a page only normalised joins the current
// state, so that no undo step seems to do nothing.
void CDlgConfig::OnPageChangedModel(bool authored) {
    if (authored)
        Commit(PathOf(m_selected));
    else if (m_ready)
        JoinLatest();
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
    if (const CEditHistory::State* state = forward ? m_history.Redo() : m_history.Undo()) {
        ++m_stepsTaken;
        Restore(*state);
    }
    UpdateCommandUI();
}

// The model becomes a copy of the state; every node is built again, as every object is new, and
// takes back the identity it had in that state, so it opens as the author left it.
void CDlgConfig::Restore(const CEditHistory::State& state) {
    m_shape->Sync();
    m_ready = false;
    m_selected = nullptr;
    m_session->Unbind();
    m_session->Model().Assign(*state.model);
    m_tree->clear();
    m_nodes->AddRootNode(m_session->Model());
    m_shape->Adopt(state.nodeIds);
    m_ready = true;
    QTreeWidgetItem* node = NodeAt(state.selection);
    if (!node)
        node = RootNode();
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    SelectFresh(node);
    m_tree->scrollToItem(node);
    emit ModelEdited();
}

// ---- commands ----------------------------------------------------------------------------------

void CDlgConfig::OnCut() {
    RunCommand([this] { return m_edits->Cut(Targets()); });
}
// Copying leaves the model as it is.
void CDlgConfig::OnCopy() {
    RunCommand([this] {
        m_edits->Copy(Targets());
        return false;
    });
}
void CDlgConfig::OnPaste() {
    RunCommand([this] { return m_edits->Paste(m_selected); });
}
void CDlgConfig::OnInsert() {
    RunInsert(&CNodeEdits::InsertChild);
}
void CDlgConfig::OnDelete() {
    RunCommand([this] { return m_edits->Delete(Targets()); });
}
void CDlgConfig::OnVisible() {
    RunCommand([this] { return m_edits->ToggleVisible(m_selected); });
}
void CDlgConfig::OnMoveUp() {
    RunCommand([this] { return m_edits->Move(Targets(), true); });
}
void CDlgConfig::OnMoveDown() {
    RunCommand([this] { return m_edits->Move(Targets(), false); });
}

void CDlgConfig::OnInsertAfter() {
    RunInsert(&CNodeEdits::InsertAfter);
    if (ItemOf(m_selected) && m_tree->currentItem() == m_selected)
        OnRename();
}

// The new node is fresh until another step is taken: its label typed in place joins the insert.
void CDlgConfig::RunInsert(bool (CNodeEdits::*insert)(QTreeWidgetItem*)) {
    if (RunCommand([this, insert] { return (m_edits.get()->*insert)(m_selected); }))
        m_fresh = {CNodeMap::IdOf(m_selected), m_stepsTaken};
}

void CDlgConfig::OnRename() {
    if (!m_ready || !ItemOf(m_selected))
        return;
    if (m_tree->currentColumn() == CLinkColumn::kColumn && m_links->Edit(m_selected))
        return;
    m_tree->scrollToItem(m_selected);
    m_tree->editItem(m_selected, 0);
}

void CDlgConfig::OnEditLink() {
    if (!m_ready || !ItemOf(m_selected) || m_links->Edit(m_selected))
        return;
    // With the column hidden, the page's own field is where the link is edited.
    CDlgItem* general = GeneralPage();
    if (general && m_itemSheet->SetActivePage(0)) {
        general->LinkField()->setFocus(Qt::ShortcutFocusReason);
        general->LinkField()->selectAll();
    }
}

void CDlgConfig::OnFind() {
    if (m_ready)
        m_find->Open();
}

void CDlgConfig::OnOK() {
    LeavePageOf(m_selected);
    accept();
}

// A label confirmed in place: the item takes it, and its General page shows it.
bool CDlgConfig::LabelEdited(QTreeWidgetItem* node, const QString& text) {
    if (!m_edits->Relabel(node, text))
        return false;
    if (node == m_selected && m_currentSheet == m_itemSheet)
        m_itemSheet->EnterActivePage();
    return true;
}

// A link confirmed in place goes through the General page's link field of its node, which
// stores it and makes it an undo step.
void CDlgConfig::LinkEdited(QTreeWidgetItem* node, const QString& link) {
    if (!m_ready || !ItemOf(node))
        return;
    if (node != m_selected)
        SelectNode(node);
    if (CDlgItem* general = GeneralPage(); general && m_selected == node)
        general->StoreLink(link);
    UpdateCommandUI();
}

// ---- drag and drop and looks --------------------------------------------------------------------

bool CDlgConfig::CanDrop(const NodeList& dragged, QTreeWidgetItem* target,
                         CConfigTree::DropPlace place, bool) const {
    return m_ready && m_edits->CanDrop(m_selection->Outermost(dragged), target, place);
}

bool CDlgConfig::DropNodes(const NodeList& dragged, QTreeWidgetItem* target,
                           CConfigTree::DropPlace place, bool copy) {
    if (!m_ready)
        return false;
    const NodeList outermost = m_selection->Outermost(dragged);
    if (!m_edits->CanDrop(outermost, target, place))
        return false;
    return RunCommand([&] { return m_edits->Drop(outermost, target, place, copy); });
}

void CDlgConfig::ApplyLookTo(LookScope scope) {
    RunCommand([this, scope] { return m_edits->ApplyLook(Targets(), scope); });
}

// ---- enabling and the context menu -------------------------------------------------------------

void CDlgConfig::UpdateCommandUI() {
    m_commands->Update({m_selected, m_ready ? Targets() : NodeList{}, m_ready, m_history.CanUndo(),
                        m_history.CanRedo()});
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
    ContextMenu()->popup(globalPos);
}

void CDlgConfig::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint pos = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5))
                                                                      : event->globalPos();
    ShowContextMenu(pos);
    event->accept();
}

bool CDlgConfig::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pageArea && event->type() == QEvent::Resize)
        PlaceSheets();
    return QDialog::eventFilter(watched, event);
}
