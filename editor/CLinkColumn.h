// The tree's second column, "Link": each item's link (menus and the root show none), edited in
// place with Ctrl+L or F2 on the column. What is typed there is handed on as the text of the
// General page's "Link to:" field, so it is read, stored and undone exactly as that field is.
// The tree's header menu hides and shows the column, and the profile keeps the choice.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

class CLinkColumn : public QObject {
    Q_OBJECT
public:
    static constexpr int kColumn = 1;
    static constexpr const char* kShownKey = "Configuration Dialog/Link Column";

    explicit CLinkColumn(QTreeWidget& tree);

    bool IsShown() const;
    // Shows or hides the column, and keeps the choice for the dialogs to come.
    void SetShown(bool shown);
    // The header menu and its entry that shows the column.
    QMenu* HeaderMenu() const { return m_menu; }
    QAction* ShowAction() const { return m_show; }

    // Opens the node's link for editing in place; false when the column is hidden or the node
    // has no link to edit.
    bool Edit(QTreeWidgetItem* node);

    // An edit in place was confirmed with this text.
    std::function<void(QTreeWidgetItem* node, const QString& link)> linkEdited;

private:
    QTreeWidget& m_tree;
    QMenu* m_menu = nullptr;
    QAction* m_show = nullptr;
};
