// The result of Check Links: one row per broken link (item path, link, reason) and per page the
// menu does not link to. A double click on an item's row opens the configuration dialog with
// that item selected; the web addresses are checked on request, as that needs the network.
#pragma once

#include "SiteLinks.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CDlgCheckLinks : public QDialog {
    Q_OBJECT

public:
    CDlgCheckLinks(const QList<host::LinkRow>& rows, QWidget* parent = nullptr);

    // Opens the configuration dialog at the item of a node.
    std::function<void(const QString& node)> openItem;
    // Checks the web addresses; answers the rows of those that failed.
    std::function<host::WebCheckOutcome()> checkWeb;

    QTreeWidget* List() const { return m_list; }
    QLabel* Summary() const { return m_summary; }
    QPushButton* WebButton() const { return m_web; }

    // A double click on a row: an item's row opens it, a page's row does nothing.
    void OpenRow(QTreeWidgetItem* row);
    // "Check Web Links": the failures join the list, before the pages not in the menu, in place
    // of an earlier check's; a check that was stopped can be run again.
    void CheckWeb();

private:
    void AddRow(const host::LinkRow& row, int index);
    void UpdateSummary();

    QTreeWidget* m_list;
    QLabel* m_summary;
    QPushButton* m_web;
    bool m_webStopped = false;
};
