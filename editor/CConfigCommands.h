// The configuration dialog's commands: each command once with its menu entry, keys and tool
// button, the context menu with its "Apply Look To" sub-menu, and the rules that enable them.
#pragma once

#include <QCoreApplication>

#include <array>
#include <vector>

class CDlgConfig;
class CIconButton;
class QAction;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

class CConfigCommands {
    Q_DECLARE_TR_FUNCTIONS(CConfigCommands)

public:
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
        EditLink,
        Find,
        CommandCount
    };

    // Builds the tool buttons, which come first in the dialog's tab order.
    explicit CConfigCommands(CDlgConfig& dialog);
    // Builds the menu entries with their keys and the context menu. The entries, keys and
    // buttons run the dialog's commands: Undo, Redo and Find anywhere in the dialog (Undo and Redo
    // but in text fields, which keep their own), the others in the tree.
    void BuildEntries(QTreeWidget& tree);

    QAction* Action(Command command) const { return m_actions[command]; }
    // None for Visible, Rename, Undo, Redo, EditLink and Find.
    CIconButton* ToolButton(Command command) const;
    // The tool buttons, left to right.
    std::vector<CIconButton*> ToolRow() const;
    QMenu* ContextMenu() const { return m_contextMenu; }
    QMenu* LookMenu() const { return m_lookMenu; }

    // What the enabling rules look at: the current node and the nodes the commands act on.
    struct State {
        const QTreeWidgetItem* selected = nullptr;
        std::vector<QTreeWidgetItem*> targets;
        bool ready = false;
        bool canUndo = false;
        bool canRedo = false;
    };
    void Update(const State& state);

private:
    void BuildContextMenu();

    CDlgConfig& m_dialog;
    std::array<QAction*, CommandCount> m_actions{};
    std::array<CIconButton*, CommandCount> m_tools{};
    QMenu* m_contextMenu = nullptr;
    QMenu* m_lookMenu = nullptr;
};
