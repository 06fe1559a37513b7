// Pages and sheets of the editor. Every page loads its controls from the model when it becomes
// active (EnterPage) and stores them when it stops being active (LeavePage).
#pragma once

#include <QKeyEvent>
#include <QTabWidget>
#include <QWidget>

class CAppletParameters;
class CEditSession;
class CFurlin;
class CFurlinItem;

// The records a page edits: the applet, the item whose pages are shown and the menu holding it.
struct CEditTarget {
    CAppletParameters* applet = nullptr;
    CFurlin* menu = nullptr;
    CFurlinItem* item = nullptr;
};

class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(const QString& title, CEditSession* session, QWidget* parent = nullptr);

    const QString& Title() const { return m_title; }
    // Loads the controls from the model.
    virtual void EnterPage() = 0;
    // Reads the controls and stores them into the model. False when a field was refused (its
    // model value is kept); the sheet then keeps this page active on a tab change.
    virtual bool LeavePage() = 0;
    // The help topic of this page, 0 for none.
    virtual int HelpTopic() const { return 0; }
    // Writes what the controls show into the target's records without a message; the model and
    // the page's own values stay as they are. A page that edits nothing writes nothing.
    virtual void ApplyControlsTo(const CEditTarget& target) const;

signals:
    // A control changed its value; nothing is stored yet.
    void ControlsEdited();
    // The page changed the model: a store that changed a value, or a dialog it opened. Not
    // authored when the author touched no control since the page was shown, as when an empty
    // target frame is stored as the "_self" the page shows for it.
    void ModelChanged(bool authored = true);

protected:
    // The records the pages edit while the configuration dialog runs.
    CEditTarget LiveTarget() const;

    // The help key anywhere on the page opens the page's topic.
    void keyPressEvent(QKeyEvent* event) override;
    // Pages live inside a dialog: Enter in a field must not press the page button that last
    // had the focus. Called at the end of a page's constructor.
    void DisableAutoDefaultButtons();

    CEditSession* m_session;

private:
    QString m_title;
};

class CPropertySheet : public QTabWidget {
    Q_OBJECT
public:
    explicit CPropertySheet(CEditSession* session, QWidget* parent = nullptr);

    void AddPage(CPropertyPage* page);
    CPropertyPage* ActivePage() const;
    CPropertyPage* Page(int index) const;
    int PageCount() const { return count(); }
    // Runs EnterPage / LeavePage on the active page.
    void EnterActivePage();
    bool LeaveActivePage();
    // Changes the active tab as a user would: refused while the active page refuses to leave.
    bool SetActivePage(int index);
    // Help topic of the sheet itself; 0 when the help key does nothing on it.
    virtual int HelpTopic() const { return 0; }

protected:
    // The help key on the sheet's own area (its tabs) opens the sheet's topic.
    void keyPressEvent(QKeyEvent* event) override;

    CEditSession* m_session;

private:
    int m_current = -1;
    bool m_switching = false;
};

// The applet sheet: "Applet Parameters" and "More Styles".
class CAppletPropertySheet : public CPropertySheet {
    Q_OBJECT
public:
    explicit CAppletPropertySheet(CEditSession* session, QWidget* parent = nullptr);
};

// The item sheet: "General", "Size", "Normal", "Mouse Over", "Clicked".
class CMenuPropertySheet : public CPropertySheet {
    Q_OBJECT
public:
    explicit CMenuPropertySheet(CEditSession* session, QWidget* parent = nullptr);
    int HelpTopic() const override { return 69541; }
};
