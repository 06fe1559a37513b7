#include "CAboutDlg.h"
#include "CDlgWebBrowser.h"
#include "CMainFrame.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "CTemplateDialogs.h"
#include "CViewDialogs.h"
#include "HostTestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

QString AccessibleName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

bool IsControl(QWidget* w) {
    // The line edits inside spin fields and combos and the headers of lists are parts of those
    // controls.
    QWidget* parent = w->parentWidget();
    if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
        qobject_cast<QAbstractItemView*>(parent))
        return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QSlider*>(w);
}

// Expects a name on every control inside the window; returns how many were looked at.
int ExpectNamedControls(QWidget* window) {
    int controls = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!IsControl(w))
            continue;
        ++controls;
        EXPECT_FALSE(AccessibleName(w).isEmpty())
            << window->metaObject()->className() << ": " << w->metaObject()->className() << " "
            << w->objectName().toStdString();
    }
    return controls;
}

} // namespace

class AccessibleNamesTest : public HostTest {};

TEST_F(AccessibleNamesTest, EveryControlOfTheProgramsWindowsHasAName) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CMainFrame* frame = app->MainFrame();
    CQuillaryToolView* view = app->View();
    int controls = ExpectNamedControls(frame);

    // The form's values are labels; an empty description must still be announced as one.
    ASSERT_EQ(view->descriptionValue->text(), "");
    EXPECT_TRUE(AccessibleName(view->descriptionValue).startsWith("Description"));
    EXPECT_TRUE(AccessibleName(view->nameValue).contains(view->nameValue->text()));
    EXPECT_TRUE(AccessibleName(view->nameValue).startsWith("Name"));
    EXPECT_EQ(AccessibleName(view->fileList), "Support files");
    EXPECT_EQ(AccessibleName(frame->Indicator(0)), "Caps Lock");
    EXPECT_FALSE(AccessibleName(frame->MessagePane()).isEmpty());

    CTessel& widget = *app->Document()->Component();
    CDlgNew create(widget);
    ASSERT_TRUE(create.Initialize());
    CDlgSaveAsTemplate save("Mine", "", nullptr);
    ASSERT_TRUE(save.Initialize());
    CDlgManageTemplates manage;
    ASSERT_TRUE(manage.Initialize());
    // Qt names a combo here by its current entry: one known browser on PATH keeps the walk
    // independent of what is installed.
    QFile firefox(TempPath("firefox"));
    ASSERT_TRUE(firefox.open(QIODevice::WriteOnly));
    firefox.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", TempPath("").toUtf8());
    CDlgWebBrowser browser(host::BrowserChoice{}, nullptr);
    qputenv("PATH", path);
    CAboutDlg about;
    CDlgRename rename("Normal", "", nullptr);
    CDlgGetLocalHtml local("", nullptr);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&create, &save, &manage, &browser,
                                                           &about, &rename, &local})
        controls += ExpectNamedControls(dialog);
    EXPECT_GT(controls, 35);

    EXPECT_EQ(AccessibleName(manage.nameEdit), "Name:");
    EXPECT_EQ(AccessibleName(create.templateList), "Select a Template");
    EXPECT_EQ(AccessibleName(browser.programEdit), "Execute File:");
}
