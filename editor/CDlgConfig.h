// The configuration dialog: the window with the widget's menu tree, its commands and the
// property pages, and the wiring between them. The rooms around it do the work: CNodeMap maps
// nodes to the model, CConfigCommands holds the commands and their enabling, CNodeEdits edits the
// tree, CNodeSelection says what several selected nodes are, TreeClipboard moves items through
// the clipboard, CEditHistory keeps the undo steps, CTreeShape keeps the nodes open, CLinkColumn
// shows and edits the links, CFindBar finds nodes and CConfigFocus routes the keyboard.
#pragma once

#include "CConfigCommands.h"
#include "CConfigTree.h"
#include "CEditHistory.h"
#include "CNodeMap.h"
#include "DiscardQuestion.h"
#include "CNodeSelection.h"
#include "MenuTreeEdits.h"
#include "TreeClipboard.h"

#include <QDialog>

#include <memory>

class CConfigFocus;
class CConfigPreview;
class CDlgItem;
class CEditSession;
class CFindBar;
class CLinkColumn;
class CTreeShape;
class CFurlin;
class CFurlinItem;
class CIconButton;
class CPropertySheet;
class CAppletPropertySheet;
class CMenuPropertySheet;
class CLivePreview;
class CNodeEdits;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QTreeWidgetItem;

class CDlgConfig : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClipboardFormat = kItemClipboardFormat;

    explicit CDlgConfig(QWidget* parent = nullptr);
    ~CDlgConfig() override;

    // Set by Config right after construction, before the dialog is shown: the model it edits and
    // the bindings and signals it shares with the pages.
    void SetSession(CEditSession* session);
    CEditSession* Session() const { return m_session; }

    // After the pages stored a label or the applet name: the selected tree node shows the new
    // text when it is an item node (SetItemNodeLabel) or the root (SetRootNodeLabel).
    void SetItemNodeLabel(const QString& text);
    void SetRootNodeLabel(const QString& text);

    // Builds the tree and the sheets and selects the root. Runs once, when the dialog is first
    // shown; callers that drive the dialog without showing it call it themselves.
    void Initialize();
    bool IsReady() const { return m_ready; }

    // The commands, as the tool buttons, the context menu and the keys in the tree run them.
    // Cut, Copy, Delete, Move Up, Move Down and Apply Look To act on every selected node (see
    // Targets), each as one undo step; the others on the current node.
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnInsert();
    void OnDelete();
    void OnVisible();
    void OnMoveUp();
    void OnMoveDown();
    // A new item after the selected one in the same menu (a new top-level menu after a selected
    // top-level menu), its label opened for editing in place.
    void OnInsertAfter();
    // Opens the selected item's label (its link, when the Link column is current) for editing in
    // place: Enter keeps it, Escape drops it.
    void OnRename();
    // Opens the selected item's link for editing in place, or else takes the author to the link
    // field of its General page.
    void OnEditLink();
    // Opens the find bar over the tree.
    void OnFind();
    // Every change of the dialog session can be undone and redone; OK keeps the current state.
    void OnUndo();
    void OnRedo();
    // Copies the look of the menu holding the selected item (or of the selected top-level menu)
    // to every menu of the scope, as one step.
    void ApplyLookTo(LookScope scope);
    // OK stores the page of the selected node, then closes with Accepted.
    void OnOK();
    // Cancel, Escape and the close box: when the session changed something, only after the
    // author chose to discard it.
    void reject() override;

    // Evaluates the enabling rules for the menu entries and the tool buttons. It runs after every
    // command and selection change and whenever the clipboard changes.
    void UpdateCommandUI();

    using Command = CConfigCommands::Command;
    using enum CConfigCommands::Command;
    QAction* CommandAction(Command command) const { return m_commands->Action(command); }
    // The tool button of a command; none for Visible, Rename, Undo and Redo.
    CIconButton* ToolButton(Command command) const { return m_commands->ToolButton(command); }
    CIconButton* OkButton() const { return m_ok; }
    CIconButton* CancelButton() const { return m_cancel; }
    QMenu* ContextMenu() const { return m_commands->ContextMenu(); }
    // "Apply Look To": one entry per scope, in LookScope order.
    QMenu* LookMenu() const { return m_commands->LookMenu(); }
    // Opens the context menu (without waiting for it) at a global position.
    void ShowContextMenu(const QPoint& globalPos);

    CConfigTree* Tree() const { return m_tree; }
    QTreeWidgetItem* RootNode() const { return m_nodes->RootNode(); }
    // The current node, whose page is shown: the one selected last.
    QTreeWidgetItem* SelectedNode() const { return m_selected; }
    // Selects this node alone.
    void SelectNode(QTreeWidgetItem* node);
    // The nodes the commands act on: every selected node, outermost, in tree order.
    NodeList Targets() const;
    CFindBar* FindBar() const { return m_find; }
    CLinkColumn* LinkColumn() const { return m_links; }
    CTreeShape* Shape() const { return m_shape; }
    // What a node carries (CNodeMap); the object getters answer nullptr for a node of another
    // kind. A node's place in the tree is its object's place in the model.
    static int NodeIconIndex(const QTreeWidgetItem* node) { return CNodeMap::NodeIconIndex(node); }
    static NodeKind KindOf(const QTreeWidgetItem* node) { return CNodeMap::KindOf(node); }
    static CFurlin* MenuOf(const QTreeWidgetItem* node) { return CNodeMap::MenuOf(node); }
    static CFurlinItem* ItemOf(const QTreeWidgetItem* node) { return CNodeMap::ItemOf(node); }
    static TreePath PathOf(const QTreeWidgetItem* node) { return CNodeMap::PathOf(node); }
    QTreeWidgetItem* NodeAt(const TreePath& path) const { return m_nodes->NodeAt(path); }

    // Dragging a node: whether it may land there, and landing it. It moves with its sub-tree, or
    // is copied; a node never lands inside its own sub-tree, an item never among the top-level
    // menus, a top-level menu never inside a menu, and nothing deeper than readers accept.
    bool CanDrop(const NodeList& dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
                 bool copy) const;
    bool DropNodes(const NodeList& dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
                   bool copy);
    bool CanDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
                 bool copy) const {
        return CanDrop(NodeList{dragged}, target, place, copy);
    }
    bool DropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
                  bool copy) {
        return DropNodes(NodeList{dragged}, target, place, copy);
    }

    // Writes what the shown page's controls hold into the matching records of scratch, a copy of
    // the model; neither the model nor the page changes. With ModelEdited this lets a live view
    // follow edits that are not stored yet.
    void ApplyPageValuesTo(CAppletParameters& scratch) const;

    CAppletPropertySheet* AppletSheet() const { return m_appletSheet; }
    CMenuPropertySheet* ItemSheet() const { return m_itemSheet; }
    CPropertySheet* CurrentSheet() const { return m_currentSheet; }
    CDlgItem* GeneralPage() const;
    QLabel* NoPropertiesLabel() const { return m_noProperties; }
    QWidget* PageArea() const { return m_pageArea; }
    // "Live Preview" under the tree, and the pane beside the pages (null while it is hidden).
    QCheckBox* LivePreviewToggle() const { return m_previewToggle; }
    CLivePreview* LivePreview() const;

signals:
    // After every change of the model and of the shown page's controls.
    void ModelEdited();
    // After the shown page changed to a node's.
    void NodeSelected(QTreeWidgetItem* node);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildTree();
    void BuildLayout();
    void CreateSheets();
    void OrderTabs();
    void OnSelectionChanged(QTreeWidgetItem* current);
    void SelectFresh(QTreeWidgetItem* node);
    void LeavePageOf(QTreeWidgetItem* node);
    void EnterPageOf(QTreeWidgetItem* node);
    void ShowSheet(CPropertySheet* sheet);
    void PlaceSheets();

    // Runs a tree command: the shown page stores first, and a command that changed the model
    // becomes one undo step, or joins the latest one. True when the model changed.
    template <class Body> bool RunCommand(Body body, bool joinsLatest = false);
    void StoreCurrentPage();
    void Commit(const TreePath& selectedBefore);
    void JoinLatest();
    void OnPageChangedModel(bool authored);
    void StepHistory(bool forward);
    void Restore(const CEditHistory::State& state);
    void RunInsert(bool (CNodeEdits::*insert)(QTreeWidgetItem*));
    bool LabelEdited(QTreeWidgetItem* node, const QString& text);
    void LinkEdited(QTreeWidgetItem* node, const QString& link);
    void ScheduleUpdateUI();

    CEditSession* m_session = nullptr;
    std::unique_ptr<CConfigCommands> m_commands;
    CConfigTree* m_tree = nullptr;
    std::unique_ptr<CNodeMap> m_nodes;
    std::unique_ptr<CNodeSelection> m_selection;
    CTreeShape* m_shape = nullptr;
    std::unique_ptr<CNodeEdits> m_edits;
    CLinkColumn* m_links = nullptr;
    CFindBar* m_find = nullptr;
    CConfigFocus* m_focus = nullptr;
    CIconButton* m_ok = nullptr;
    CIconButton* m_cancel = nullptr;
    QWidget* m_pageArea = nullptr;
    QLabel* m_noProperties = nullptr;
    QCheckBox* m_previewToggle = nullptr;
    QWidget* m_previewArea = nullptr;
    CConfigPreview* m_preview = nullptr;
    CAppletPropertySheet* m_appletSheet = nullptr;
    CMenuPropertySheet* m_itemSheet = nullptr;
    CPropertySheet* m_currentSheet = nullptr;
    // The node whose page is shown. Qt reports a selection change after it happened; the page of
    // this node is left first, so the pages still see it as the selection while they store.
    QTreeWidgetItem* m_selected = nullptr;
    CEditHistory m_history;
    CDiscardQuestion m_discard;
    // Counts the steps made, undone and redone, so a label typed in place right after an insert
    // (nothing else done between) joins the insert's step.
    std::size_t m_stepsTaken = 0;
    struct Fresh {
        int node = 0;
        std::size_t step = 0;
    } m_fresh;
    bool m_initialized = false;
    bool m_ready = false;
    bool m_updatePending = false;
    // The shown page stored for a command; the selection change the command makes does not
    // store it again.
    bool m_pageStored = false;
};
