// The configuration dialog: the widget's menu tree, its commands and the property pages.
#pragma once

#include "CConfigTree.h"
#include "CEditHistory.h"
#include "DiscardQuestion.h"
#include "MenuTreeEdits.h"

#include <QDialog>
#include <QIcon>

#include <array>
#include <memory>

class CConfigPreview;
class CFoldline;
class CFurlin;
class CFurlinItem;
class CIconButton;
class CPropertySheet;
class CAppletPropertySheet;
class CMenuPropertySheet;
class CLivePreview;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QTreeWidgetItem;
enum class NodeKind;

class CDlgConfig : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClipboardFormat = "QuillaryFoldline1.1";

    explicit CDlgConfig(QWidget* parent = nullptr);
    ~CDlgConfig() override;

    // Set by Config right after construction, before the dialog is shown.
    void SetComponent(CFoldline* component);
    CFoldline* Component() const { return m_component; }

    // Called by the pages after they stored a label or the applet name: the selected tree node
    // shows the new text when it is an item node (SetItemNodeLabel) or the root (SetRootNodeLabel).
    void SetItemNodeLabel(const QString& text);
    void SetRootNodeLabel(const QString& text);

    // Builds the tree and the sheets and selects the root. Runs once, when the dialog is first
    // shown; callers that drive the dialog without showing it call it themselves.
    void Initialize();
    bool IsReady() const { return m_ready; }

    // The commands, as the tool buttons, the context menu and the keys in the tree run them.
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
    // Opens the selected item's label for editing in place: Enter keeps it, Escape drops it.
    void OnRename();
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

    enum Command {
        Cut,
        Copy,
        Paste,
        Insert,
        Delete,
        Visible,
        MoveUp,
        MoveDown,
        InsertAfter,
        Rename,
        Undo,
        Redo,
        CommandCount
    };
    QAction* CommandAction(Command command) const { return m_actions[command]; }
    // The tool button of a command; none for Visible, Rename, Undo and Redo.
    CIconButton* ToolButton(Command command) const;
    CIconButton* OkButton() const { return m_ok; }
    CIconButton* CancelButton() const { return m_cancel; }
    QMenu* ContextMenu() const { return m_contextMenu; }
    // "Apply Look To": one entry per scope, in LookScope order.
    QMenu* LookMenu() const { return m_lookMenu; }
    // Opens the context menu (without waiting for it) at a global position.
    void ShowContextMenu(const QPoint& globalPos);

    CConfigTree* Tree() const { return m_tree; }
    QTreeWidgetItem* RootNode() const;
    QTreeWidgetItem* SelectedNode() const { return m_selected; }
    void SelectNode(QTreeWidgetItem* node);
    // What a node carries; the object getters answer nullptr for a node of another kind.
    static int NodeIconIndex(const QTreeWidgetItem* node);
    static NodeKind KindOf(const QTreeWidgetItem* node);
    static CFurlin* MenuOf(const QTreeWidgetItem* node);
    static CFurlinItem* ItemOf(const QTreeWidgetItem* node);
    // A node's place in the tree, the same as its object's place in the model.
    static TreePath PathOf(const QTreeWidgetItem* node);
    QTreeWidgetItem* NodeAt(const TreePath& path) const;

    // Dragging a node: whether it may land there, and landing it. It moves with its sub-tree, or
    // is copied; a node never lands inside its own sub-tree, an item never among the top-level
    // menus, a top-level menu never inside a menu, and nothing deeper than readers accept.
    bool CanDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
                 bool copy) const;
    bool DropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target, CConfigTree::DropPlace place,
                  bool copy);

    // Writes what the shown page's controls hold into the matching records of scratch, a copy of
    // the model; neither the model nor the page changes. With ModelEdited this lets a live view
    // follow edits that are not stored yet.
    void ApplyPageValuesTo(CAppletParameters& scratch) const;

    CAppletPropertySheet* AppletSheet() const { return m_appletSheet; }
    CMenuPropertySheet* ItemSheet() const { return m_itemSheet; }
    CPropertySheet* CurrentSheet() const { return m_currentSheet; }
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
    void BuildTools();
    void BuildTree();
    void BuildCommands();
    void BuildLayout();
    void AddTreeNodes();
    void CreateSheets();
    QTreeWidgetItem* AddMenuNode(QTreeWidgetItem* parent, CFurlin* menu, int index);
    QTreeWidgetItem* AddItemNode(QTreeWidgetItem* parent, CFurlinItem* item, int index);
    void SetNodeIcon(QTreeWidgetItem* node, int icon);
    void UpdateItemIcon(QTreeWidgetItem* node);
    void OnSelectionChanged(QTreeWidgetItem* current);
    void SelectFresh(QTreeWidgetItem* node);
    void LeavePageOf(QTreeWidgetItem* node);
    void EnterPageOf(QTreeWidgetItem* node);
    void ShowSheet(CPropertySheet* sheet);
    void PlaceSheets();
    void OnMousePress(QMouseEvent* event);

    // Runs a tree command: the shown page stores first, and a command that changed the model
    // becomes one undo step.
    template <class Body> void RunCommand(Body body);
    void StoreCurrentPage();
    void Commit(const TreePath& selectedBefore);
    void OnPageChangedModel(bool authored);
    void StepHistory(bool forward);
    void Restore(const CEditHistory::State& state);

    bool InsertChild();
    bool InsertAfterSelected();
    bool DeleteSelected();
    bool ToggleVisible();
    bool MoveNode(bool up);
    bool CutSelected();
    bool PasteIntoSelected();
    bool PasteOutline(QTreeWidgetItem* node, const QString& text);
    bool LabelEdited(QTreeWidgetItem* node, const QString& text);
    bool MoveMenuNode(QTreeWidgetItem* dragged, int index, bool copy);
    bool MoveItemNode(QTreeWidgetItem* dragged, QTreeWidgetItem* parent, int index, bool copy);

    CFurlin* HoldingMenu(const QTreeWidgetItem* node) const;
    CFurlin* SubMenuForNewChild(QTreeWidgetItem* node);
    CFurlin* ChildMenuOf(QTreeWidgetItem* node);
    static int MenuLevelOf(const QTreeWidgetItem* node);
    void RemoveItemNode(QTreeWidgetItem* node);
    void InsertFirstChildren(QTreeWidgetItem* node, CFurlin& menu,
                             std::vector<std::unique_ptr<CFurlinItem>> items);
    bool CopyToClipboard(const QTreeWidgetItem* node);
    bool ClipboardHasFormat() const;
    bool ClipboardHasOutline() const;
    void ScheduleUpdateUI();

    CFoldline* m_component = nullptr;
    CConfigTree* m_tree = nullptr;
    std::array<CIconButton*, CommandCount> m_tools{};
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
    QMenu* m_contextMenu = nullptr;
    QMenu* m_lookMenu = nullptr;
    std::array<QAction*, CommandCount> m_actions{};
    // The node whose page is shown. Qt reports a selection change after it happened; the page of
    // this node is left first, so the pages still see it as the selection while they store.
    QTreeWidgetItem* m_selected = nullptr;
    std::array<QIcon, 7> m_nodeIcons;
    CEditHistory m_history;
    CDiscardQuestion m_discard;
    bool m_initialized = false;
    bool m_ready = false;
    bool m_updatePending = false;
    // The shown page stored for a command; the selection change the command makes does not
    // store it again.
    bool m_pageStored = false;
    // The selection is being changed by a click in the tree: the page's first field takes the
    // focus. Selections made with the keys leave the focus in the tree.
    bool m_mouseSelecting = false;
};
