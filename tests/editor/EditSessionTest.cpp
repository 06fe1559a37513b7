// The edit session on its own and the pages that talk to the dialog only through it.
#include "ConfigDialogFixture.h"

#include "CDlgItem.h"
#include "CDlgMenuStyle.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

namespace {

using EditSessionTest = ConfigDialogTest;

TEST_F(EditSessionTest, BindingReportsEveryChangeOnce) {
    BuildSample();
    QSignalSpy changed(session.get(), &CEditSession::SelectionChanged);
    CFurlin* alpha = Model().Menus()[0].get();
    session->Bind(a1, alpha);
    session->Bind(a1, alpha);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(session->CurrentItem, a1);
    EXPECT_EQ(session->CurrentMenu, alpha);
    session->Unbind();
    session->Unbind();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(session->CurrentItem, nullptr);
    EXPECT_EQ(session->CurrentMenu, nullptr);
}

// Before a sub-tree is destroyed, bindings into it go; bindings elsewhere stay.
TEST_F(EditSessionTest, ReleasingASubTreeUnbindsOnlyWhatLiesInIt) {
    BuildSample();
    session->Bind(a1x, a1->GetSubMenu());
    EXPECT_TRUE(session->BindsInside(*a1));
    EXPECT_TRUE(session->BindsInside(*a1x));
    EXPECT_FALSE(session->BindsInside(*a2));
    session->ReleaseInside(*a2);
    EXPECT_EQ(session->CurrentItem, a1x);
    session->ReleaseInside(*a1);
    EXPECT_EQ(session->CurrentItem, nullptr);
    EXPECT_EQ(session->CurrentMenu, nullptr);

    // A binding on the menu below an item (a page about to show its first item) counts as well.
    session->CurrentMenu = a1->GetSubMenu();
    EXPECT_TRUE(session->BindsInside(*a1));
    EXPECT_FALSE(session->BindsInside(*b1));
}

// The pages need no dialog: what they store reaches whoever listens to the session.
TEST_F(EditSessionTest, PagesReportStoredLabelsAndLookRequestsThroughTheSession) {
    BuildSample();
    CDlgItem general(session.get());
    CDlgMenuStyle size(session.get());
    QSignalSpy labels(session.get(), &CEditSession::ItemLabelStored);
    QSignalSpy looks(session.get(), &CEditSession::LookMenuRequested);

    auto applyLook = [&size] {
        for (QPushButton* button : size.findChildren<QPushButton*>())
            if (button->text() == "Apply Look To...")
                button->click();
    };
    applyLook(); // unbound: there is no look to copy
    EXPECT_EQ(looks.count(), 0);

    session->Bind(a2, Model().Menus()[0].get());
    general.EnterPage();
    general.findChild<QPlainTextEdit*>()->setPlainText("two\nlines");
    EXPECT_TRUE(general.LeavePage());
    EXPECT_EQ(a2->Label, "two\r\nlines");
    ASSERT_EQ(labels.count(), 1);
    EXPECT_EQ(labels.at(0).at(0).toString(), "two\r\nlines");

    applyLook();
    EXPECT_EQ(looks.count(), 1);
}

// In the dialog, the session's signals reach the tree and the look menu.
TEST_F(EditSessionTest, TheDialogFollowsTheSessionsSignals) {
    BuildSample();
    Open();
    Select({0, 1});
    emit session->ItemLabelStored("renamed");
    EXPECT_EQ(Node({0, 1})->text(0), "renamed");
    emit session->AppletNameStored("not the root");
    EXPECT_EQ(Node({0, 1})->text(0), "renamed");
    Select({});
    emit session->AppletNameStored("Site");
    EXPECT_EQ(dialog->RootNode()->text(0), "Site");

    emit session->LookMenuRequested(QPoint(10, 10));
    EXPECT_TRUE(dialog->LookMenu()->isVisible());
    dialog->LookMenu()->hide();
}

} // namespace
