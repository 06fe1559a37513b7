// Where the keyboard goes in the configuration dialog. The tree keeps the focus whatever selects
// a node, a click as much as a key, so the tree's keys act on what the author pointed at; Enter
// on a node goes into its page, Escape on a page comes back to the tree. A right click selects
// the node under the pointer (keeping a selection it belongs to). Tab runs from the tree through
// the pages to OK and Cancel, then to the live preview's controls.
#pragma once

#include <QObject>

#include <vector>

class CDlgConfig;
class QKeyEvent;
class QMouseEvent;
class QWidget;

class CConfigFocus : public QObject {
    Q_OBJECT
public:
    explicit CConfigFocus(CDlgConfig& dialog);

    // The first field of the page shown for the selected node takes the focus; false when no
    // page is shown.
    bool EnterPage();
    // Puts the widgets in this tab order, each with the controls inside it.
    static void OrderTabs(const std::vector<QWidget*>& widgets);
    // The first control of a page in tab order that takes the focus.
    static QWidget* FirstField(QWidget* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnTreeKey(const QKeyEvent& event);
    bool OnPageKey(const QKeyEvent& event);
    bool OnTreeMouse(const QMouseEvent& event);

    CDlgConfig& m_dialog;
};
