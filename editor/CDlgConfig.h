// The configuration dialog: the widget's menu tree, its commands and the property pages.
#pragma once

#include <QDialog>
#include <QIcon>

#include <array>
#include <memory>

class CFoldline;
class CFurlin;
class CFurlinItem;
class CIconButton;
class CPropertySheet;
class CAppletPropertySheet;
class CMenuPropertySheet;
class QAction;
class QLabel;
class QMenu;
class QTreeWidget;
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

    // The commands, as the tool buttons and the context menu run them.
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnInsert();
    void OnDelete();
    void OnVisible();
    void OnMoveUp();
    void OnMoveDown();
    // OK stores the page of the selected node, then closes with Accepted.
    void OnOK();

    // Evaluates the enabling rules for the menu entries and the tool buttons. It runs by itself
    // whenever the dialog becomes idle after something changed.
    void UpdateCommandUI();

    enum Command { Cut, Copy, Paste, Insert, Delete, Visible, MoveUp, MoveDown, CommandCount };
    QAction* CommandAction(Command command) const { return m_actions[command]; }
    // The tool button of a command; none for Visible.
    CIconButton* ToolButton(Command command) const;
    CIconButton* OkButton() const { return m_ok; }
    CIconButton* CancelButton() const { return m_cancel; }
    QMenu* ContextMenu() const { return m_contextMenu; }
    // Opens the context menu (without waiting for it) at a global position.
    void ShowContextMenu(const QPoint& globalPos);

    QTreeWidget* Tree() const { return m_tree; }
    QTreeWidgetItem* RootNode() const;
    QTreeWidgetItem* SelectedNode() const { return m_selected; }
    void SelectNode(QTreeWidgetItem* node);
    // What a node carries; the object getters answer nullptr for a node of another kind.
    static int NodeIconIndex(const QTreeWidgetItem* node);
    static NodeKind KindOf(const QTreeWidgetItem* node);
    static CFurlin* MenuOf(const QTreeWidgetItem* node);
    static CFurlinItem* ItemOf(const QTreeWidgetItem* node);

    CAppletPropertySheet* AppletSheet() const { return m_appletSheet; }
    CMenuPropertySheet* ItemSheet() const { return m_itemSheet; }
    CPropertySheet* CurrentSheet() const { return m_currentSheet; }
    QLabel* NoPropertiesLabel() const { return m_noProperties; }
    QWidget* PageArea() const { return m_pageArea; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    QTreeWidgetItem* AddMenuNode(QTreeWidgetItem* parent, CFurlin* menu, int index);
    QTreeWidgetItem* AddItemNode(QTreeWidgetItem* parent, CFurlinItem* item, int index);
    void SetNodeIcon(QTreeWidgetItem* node, int icon);
    void OnSelectionChanged(QTreeWidgetItem* current);
    void LeavePageOf(QTreeWidgetItem* node);
    void EnterPageOf(QTreeWidgetItem* node);
    void ShowSheet(CPropertySheet* sheet);
    void PlaceSheets();
    CFurlin* HoldingMenu(const QTreeWidgetItem* node) const;
    CFurlin* SubMenuForNewChild(QTreeWidgetItem* node);
    void RemoveItemNode(QTreeWidgetItem* node);
    void MoveNode(bool up);
    bool CopyToClipboard(const QTreeWidgetItem* node);
    bool ClipboardHasFormat() const;
    void ScheduleUpdateUI();

    CFoldline* m_component = nullptr;
    QTreeWidget* m_tree = nullptr;
    std::array<CIconButton*, CommandCount> m_tools{};
    CIconButton* m_ok = nullptr;
    CIconButton* m_cancel = nullptr;
    QWidget* m_pageArea = nullptr;
    QLabel* m_noProperties = nullptr;
    CAppletPropertySheet* m_appletSheet = nullptr;
    CMenuPropertySheet* m_itemSheet = nullptr;
    CPropertySheet* m_currentSheet = nullptr;
    QMenu* m_contextMenu = nullptr;
    std::array<QAction*, CommandCount> m_actions{};
    // The node whose page is shown. Qt reports a selection change after it happened; the page of
    // this node is left first, so the pages still see it as the selection while they store.
    QTreeWidgetItem* m_selected = nullptr;
    std::array<QIcon, 7> m_nodeIcons;
    bool m_initialized = false;
    bool m_ready = false;
    bool m_updatePending = false;
};
