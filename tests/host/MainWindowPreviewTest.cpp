// The main window's live preview: View, "Live Preview" and the pane that draws the document's
// widget through the component's dispatch interface, after Open and Configure.
#include "CLivePreview.h"
#include "CMainFrame.h"
#include "CQuillaryToolDoc.h"
#include "CTessel.h"
#include "FoldlineDispatch.h"
#include "HostTestSupport.h"
#include "PreviewProbe.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>

namespace {

const char* const kFixture = FOLDLINE_SOURCE_DIR "/tests/e2e/fixtures/three-level.tsl";

const QString kMenuName =
    QStringLiteral("(function () { var nav = document.querySelector('#furlin-pane nav');"
                   " return nav ? nav.getAttribute('aria-label') : '(none)'; })()");

// How many items the markup holds.
std::string ItemsIn(const std::string& html) {
    int count = 0;
    for (std::size_t at = html.find("<li"); at != std::string::npos; at = html.find("<li", at + 1))
        ++count;
    return std::to_string(count);
}

// Drives the component's modal configuration dialog as a user would: selects the node with this
// label, inserts below it and presses OK.
void InsertBelowInTheDialog(const QString& label) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, label] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* tree = dialog ? dialog->findChild<QTreeWidget*>() : nullptr;
        if (!tree)
            return;
        poll->stop();
        poll->deleteLater();
        const auto found = tree->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty()) {
            ADD_FAILURE() << "no node " << label.toStdString();
            return;
        }
        tree->setCurrentItem(found.first());
        for (QAction* action : dialog->findChildren<QAction*>())
            if (action->text() == QStringLiteral("&Insert Menu/Item"))
                action->trigger();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("OK"))
                button->click();
    });
    poll->start(20);
}

class MainWindowPreviewTest : public HostTest {
protected:
    CMainFrame* Frame() { return app->MainFrame(); }
    QAction* Toggle() { return Frame()->Action(CMainFrame::ViewLivePreview); }
    static QVariant Kept() {
        return CQuillaryToolApp::Profile()->value(QStringLiteral("View/Live Preview"));
    }
};

TEST_F(MainWindowPreviewTest, ViewLivePreviewIsOffUntilChosenAndKeptInTheProfile) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    ASSERT_NE(Toggle(), nullptr);
    EXPECT_EQ(Toggle()->text().remove('&'), "Live Preview");
    EXPECT_TRUE(Toggle()->isCheckable());
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_EQ(Frame()->LivePreviewPane(), nullptr);
    EXPECT_TRUE(Frame()->findChildren<QWebEngineView*>().isEmpty());

    const int narrow = Frame()->width();
    Toggle()->trigger();
    ASSERT_NE(Frame()->LivePreviewPane(), nullptr);
    EXPECT_TRUE(Toggle()->isChecked());
    EXPECT_TRUE(Kept().toBool());
    EXPECT_GT(Frame()->width(), narrow);

    Toggle()->trigger();
    EXPECT_EQ(Frame()->LivePreviewPane(), nullptr);
    EXPECT_TRUE(Frame()->findChildren<QWebEngineView*>().isEmpty());
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_FALSE(Kept().toBool());

    // The next program starts with the pane when it was left on.
    CQuillaryToolApp::Profile()->setValue(QStringLiteral("View/Live Preview"), true);
    app->ExitInstance();
    ASSERT_TRUE(Start());
    EXPECT_NE(Frame()->LivePreviewPane(), nullptr);
    EXPECT_TRUE(Toggle()->isChecked());
}

TEST_F(MainWindowPreviewTest, ThePaneFollowsOpenAndConfigure) {
    REQUIRE_COMPONENT();
    CQuillaryToolApp::Profile()->setValue(QStringLiteral("View/Live Preview"), true);
    ASSERT_TRUE(Start());
    CLivePreview* pane = Frame()->LivePreviewPane();
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(probe::WaitReady(*pane)) << pane->Problem().toStdString();
    CTessel* widget = app->Document()->Component();
    const std::string html = widget->GetHTMLBody(0, kHtmlLivePreview);
    // What the pane draws: the preview markup, silent and without the runtime's own elements.
    EXPECT_NE(html.find("data-furlin-preview"), std::string::npos);
    EXPECT_EQ(html.find("data-furlin-node"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(probe::WaitFor(*pane, probe::kItemCount, ItemsIn(html)), ItemsIn(html));

    ASSERT_TRUE(app->OpenDocumentFile(QString::fromUtf8(kFixture)));
    EXPECT_EQ(probe::WaitFor(*pane, kMenuName, "ThreeLevel"), "ThreeLevel");
    EXPECT_EQ(probe::WaitFor(*pane, probe::kItemCount, "8"), "8");
    // The pane reads through the dispatch interface and changes nothing.
    EXPECT_FALSE(app->Document()->IsModified());

    InsertBelowInTheDialog(QStringLiteral("About"));
    Frame()->Action(CMainFrame::EditConfigure)->trigger();
    EXPECT_TRUE(app->Document()->IsModified());
    EXPECT_EQ(probe::WaitFor(*pane, probe::kItemCount, "9"), "9");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    // The main window with the three-level widget, kept for people to look at.
    const QString folder = qEnvironmentVariable("FOLDLINE_BUILD_DIR") + "/artifacts";
    QDir().mkpath(folder);
    QTest::qWait(300);
    EXPECT_TRUE(Frame()->grab().toImage().save(folder + "/live-preview-main-window.png"));
}

} // namespace
