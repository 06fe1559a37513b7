#include "CMainFrame.h"
#include "CAboutDlg.h"
#include "CLinkLabel.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "DispatchDriver.h"
#include "HostServices.h"
#include "HostTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

namespace {

void WriteFrame(int status, int left, int top, int right, int bottom) {
    auto profile = CQuillaryToolApp::Profile();
    profile->beginGroup("Frame");
    profile->setValue("Status", status);
    profile->setValue("Left", left);
    profile->setValue("Top", top);
    profile->setValue("Right", right);
    profile->setValue("Bottom", bottom);
}

int FrameValue(const char* name) {
    auto profile = CQuillaryToolApp::Profile();
    return profile->value(QStringLiteral("Frame/") + name, -1).toInt();
}

} // namespace

class CMainFrameTest : public HostTest {
protected:
    CMainFrame* Frame() { return app->MainFrame(); }
    QRect WorkArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(CMainFrameTest, CommandsAreEnabledByWhatTheProgramCanDo) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CMainFrame* frame = Frame();
    for (auto c :
         {CMainFrame::FileSave, CMainFrame::FileSaveAs, CMainFrame::FileCopySupportFiles,
          CMainFrame::EditConfigure, CMainFrame::EditRename, CMainFrame::EditWebHtml,
          CMainFrame::EditModernHtml, CMainFrame::FileSaveAsTemplate, CMainFrame::EditPreview,
          CMainFrame::EditModernPreview, CMainFrame::OptionWebBrowser, CMainFrame::OptionTemplate})
        EXPECT_TRUE(frame->Action(c)->isEnabled()) << c;
    // Without a widget the commands that need one stay disabled.
    CQuillaryToolApp idle(AppFolder());
    CMainFrame empty(&idle);
    empty.UpdateCommandUI();
    EXPECT_FALSE(empty.Action(CMainFrame::EditPreview)->isEnabled());
    EXPECT_FALSE(empty.Action(CMainFrame::EditModernPreview)->isEnabled());
    EXPECT_FALSE(empty.Action(CMainFrame::FileCopySupportFiles)->isEnabled());
    EXPECT_TRUE(empty.Action(CMainFrame::OptionTemplate)->isEnabled());
    EXPECT_EQ(frame->Action(CMainFrame::EditModernPreview)->shortcut(),
              QKeySequence("Ctrl+Shift+F5"));

    EXPECT_EQ(frame->Action(CMainFrame::EditConfigure)->shortcut(),
              QKeySequence(Qt::ALT | Qt::Key_Return));
    EXPECT_EQ(frame->Action(CMainFrame::EditPreview)->shortcut(), QKeySequence("Ctrl+F5"));
    EXPECT_EQ(frame->Action(CMainFrame::FileSaveAsTemplate)->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_EQ(frame->Action(CMainFrame::FileNew)->statusTip(), "Create a new document");
    EXPECT_EQ(frame->Action(CMainFrame::EditConfigure)->toolTip(), "Configure");

    const QList<QAction*> tools = frame->ToolBar()->actions();
    ASSERT_EQ(tools.size(), 8);
    EXPECT_EQ(tools[3], frame->Action(CMainFrame::FileSaveAsTemplate));
    EXPECT_TRUE(tools[4]->isSeparator());
    EXPECT_EQ(tools[7], frame->Action(CMainFrame::EditPreview));
    EXPECT_EQ(frame->MessagePane()->text(), "For Help, press F1");
    EXPECT_EQ(frame->Indicator(0)->text(), "CAP");
    EXPECT_EQ(frame->Indicator(2)->text(), "SCRL");
}

TEST_F(CMainFrameTest, MenusListTheirEntriesInGroups) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    // Each menu's entries as shown, "-" for a separator; the recent files are left out.
    QStringList shown;
    for (QAction* top : Frame()->menuBar()->actions()) {
        QStringList entries;
        for (QAction* entry : top->menu()->actions()) {
            if (entry->isSeparator())
                entries << "-";
            else if (!entry->statusTip().startsWith("Open this"))
                entries << entry->text();
        }
        shown << top->text() + ": " + entries.join(" | ");
    }
    EXPECT_EQ(
        shown,
        (QStringList{
            "&File: &New... | &Open... | &Save | Save &As... | Save as &Template... | "
            "&Copy Support Files to... | - | New from Site &Folder... | &Publish to Site... | "
            "Export Menu as &JSON... | &Import Menu from JSON... | - | - | E&xit",
            "&Edit: &Configure ...\tAlt+Enter | Re&name ... | - | Get &Local HTML ... | Get "
            "&Web HTML | "
            "Get &Modern HTML | - | Pre&view | Preview in &Modern Browser | - | "
            "Chec&k Links...",
            "Option: &Web Browser... | &Template... | - | Use HTML for Today's Browsers",
            "&View: &Toolbar | &Status Bar | - | &Live Preview",
            "&Help: &Help Topics | &Tutorial | &Search for Help on ... | &View Sample | - | "
            "&Frequently Asked Questions | - | &About Quillary Foldline..."}));
    EXPECT_TRUE(Frame()->Action(CMainFrame::ViewToolbar)->isChecked());
    Frame()->Action(CMainFrame::ViewToolbar)->trigger();
    EXPECT_FALSE(Frame()->ToolBar()->isVisibleTo(Frame()));
}

TEST_F(CMainFrameTest, FailedComponentCallIsReportedAndTheProgramGoesOn) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Frame()->RunCommand([] { throw CDispatchException(DISP_E_EXCEPTION, "Out of paper."); });
    EXPECT_EQ(messages, QStringList{"Out of paper."});
    EXPECT_TRUE(Frame()->Action(CMainFrame::EditConfigure)->isEnabled());
}

TEST_F(CMainFrameTest, FirstStartUsesTheDefaultPlacementShrunkToTheForm) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame()->FirstShowState(), Qt::WindowNoState);
    EXPECT_FALSE(Frame()->isMaximized());
    EXPECT_LE(Frame()->width(), Frame()->sizeHint().width());
    EXPECT_LE(Frame()->height(), Frame()->sizeHint().height());
}

TEST_F(CMainFrameTest, MaximisedWindowReopensMaximisedWithItsRestoredSize) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QRect normal(WorkArea().left() + 40, WorkArea().top() + 30, 300, 200);
    Frame()->setGeometry(normal);
    QApplication::processEvents();
    Frame()->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(Frame()->isMaximized());
    EXPECT_TRUE(Frame()->close());
    EXPECT_EQ(FrameValue("Status"), 3);
    EXPECT_EQ(FrameValue("Left"), 40);
    EXPECT_EQ(FrameValue("Top"), 30);
    EXPECT_EQ(FrameValue("Right"), 340);
    EXPECT_EQ(FrameValue("Bottom"), 230);
    app->ExitInstance();

    ASSERT_TRUE(Start());
    QApplication::processEvents();
    EXPECT_TRUE(Frame()->isMaximized());
    EXPECT_EQ(Frame()->normalGeometry(), normal);
}

TEST_F(CMainFrameTest, PlacementBeyondTheScreenIsPulledBack) {
    REQUIRE_COMPONENT();
    WriteFrame(1, 5000, 4000, 5300, 4200);
    ASSERT_TRUE(Start());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int icon = Frame()->style()->pixelMetric(QStyle::PM_LargeIconSize);
    EXPECT_EQ(Frame()->geometry().topLeft(), QPoint(screen.width() - icon, screen.height() - icon));
    EXPECT_EQ(Frame()->size(), QSize(300, 200));
}

TEST_F(CMainFrameTest, RestoredSizeLargerThanTheFormIsReduced) {
    REQUIRE_COMPONENT();
    WriteFrame(1, 0, 0, 3000, 2000);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame()->size(), Frame()->sizeHint());
    EXPECT_LT(Frame()->width(), 3000);
}

TEST_F(CMainFrameTest, CancelledExitKeepsRunningButWritesThePlacement) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    app->Document()->SetModifiedFlag(true);
    yesNoCancelAnswers = {-1};
    EXPECT_FALSE(Frame()->close());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(questions, QStringList{"Save changes to Untitled_TesselServer.Foldline?"});
    EXPECT_EQ(FrameValue("Status"), 1);
    EXPECT_EQ(FrameValue("Right") - FrameValue("Left"), Frame()->width());
}

TEST_F(CMainFrameTest, HelpCommandsOpenTheProgramsHelpAtTheirTopics) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Frame()->Action(CMainFrame::HelpTutorial)->trigger();
    Frame()->Action(CMainFrame::HelpFaq)->trigger();
    Frame()->Action(CMainFrame::HelpTopics)->trigger();
    ASSERT_EQ(openedUrls.size(), 3);
    const QString help = AppFolder() + "/help/index.html";
    EXPECT_EQ(openedUrls[0].toLocalFile(), help);
    EXPECT_EQ(openedUrls[0].fragment(), "topic-98329");
    EXPECT_EQ(openedUrls[1].fragment(), "topic-98326");
    EXPECT_FALSE(openedUrls[2].hasFragment());

    QFile page(QStringLiteral(FOLDLINE_SOURCE_DIR "/data/help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray html = page.readAll();
    for (const char* anchor : {"id=\"topic-98329\"", "id=\"topic-98326\"", "id=\"keywords\""})
        EXPECT_TRUE(html.contains(anchor)) << anchor;
}

TEST_F(CMainFrameTest, PreviewFolderCleanUpRemovesFilesButNotSubfolders) {
    CQuillaryToolApp program(AppFolder());
    const QString tmp = program.PreviewFolder();
    ASSERT_TRUE(QDir().mkpath(tmp));
    WriteText(tmp + "/preview.htm", "<HTML>");
    WriteText(tmp + "/preview.tsl", "x");
    program.CleanUpPreviewFolder();
    EXPECT_FALSE(QFileInfo::exists(tmp));

    ASSERT_TRUE(QDir().mkpath(tmp + "/inner"));
    WriteText(tmp + "/a.gif", "GIF");
    WriteText(tmp + "/inner/b.gif", "GIF");
    program.CleanUpPreviewFolder();
    EXPECT_FALSE(QFileInfo::exists(tmp + "/a.gif"));
    EXPECT_TRUE(QFileInfo::exists(tmp + "/inner/b.gif"));
}

TEST_F(CMainFrameTest, AboutLinkTurnsRedWhileHoveredAndOpensItsTarget) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Quillary Foldline");
    CLinkLabel* link = about.webLink;
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->CurrentColor(), QColor(0, 0, 255));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(link, &enter);
    EXPECT_EQ(link->CurrentColor(), QColor(255, 0, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->CurrentColor(), QColor(0, 0, 255));

    EXPECT_TRUE(link->Open());
    EXPECT_TRUE(link->IsVisited());
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls[0], QUrl(link->Target()));

    host::services().openUrl = [](const QUrl&) { return false; };
    CAboutDlg second;
    EXPECT_FALSE(second.webLink->Open());
    EXPECT_FALSE(second.webLink->IsVisited());
}

TEST_F(CMainFrameTest, DesktopKeysBesideTheProgramsOwn) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->Action(CMainFrame::AppExit)->shortcuts().contains(QKeySequence("Ctrl+Q")));
    EXPECT_TRUE(Frame()
                    ->Action(CMainFrame::FileSaveAs)
                    ->shortcuts()
                    .contains(QKeySequence("Ctrl+Shift+S")));
    QAction* configure = Frame()->Action(CMainFrame::EditConfigure);
    EXPECT_TRUE(configure->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Enter)));
    // The menu names the key as users know it, not as Qt does ("Alt+Return").
    EXPECT_EQ(configure->text().section('\t', 1), "Alt+Enter");
    EXPECT_EQ(configure->toolTip(), "Configure");

    // Every key belongs to one command only.
    QList<QKeySequence> keys;
    for (int c = 0; c < CMainFrame::CommandCount; ++c) {
        for (const QKeySequence& key : Frame()->Action(CMainFrame::Command(c))->shortcuts()) {
            EXPECT_FALSE(keys.contains(key)) << key.toString().toStdString();
            keys << key;
        }
    }
}

TEST_F(CMainFrameTest, RecentPathsShowTheirAmpersands) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    app->RecentFiles().Add("/w/Tom & Jerry/menu.tsl");
    Frame()->UpdateRecentFileMenu();
    QAction* first = Frame()->RecentFileAction(0);
    EXPECT_EQ(first->text(), "&1 /w/Tom && Jerry/menu.tsl");
    EXPECT_TRUE(first->isVisible());
}

TEST_F(CMainFrameTest, TitleMarksUnsavedChangesAndIsExactWithoutThem) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QString plain = "Untitled_TesselServer.Foldline - Quillary Foldline";
    EXPECT_EQ(Frame()->windowTitle(), plain);
    app->Document()->SetModifiedFlag(true);
    EXPECT_EQ(Frame()->windowTitle(), "*" + plain);
    const QString path = TempPath("menu.tsl");
    ASSERT_TRUE(app->Document()->DoSave(path));
    EXPECT_EQ(Frame()->windowTitle(), "menu.tsl - Quillary Foldline");
}

TEST_F(CMainFrameTest, DroppedWidgetFileOpensAfterTheSaveQuestion) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QString path = TempPath("dropped.tsl");
    ASSERT_TRUE(app->Document()->DoSave(path));
    app->Document()->SetModifiedFlag(true);
    app->View()->nameValue->setText("changed");

    auto drop = [&](const QList<QUrl>& urls, QWidget* target) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QApplication::processEvents();
        return enter.isAccepted();
    };
    // Another kind of file is left to whatever is under it.
    EXPECT_FALSE(drop({QUrl::fromLocalFile(TempPath("notes.txt"))}, Frame()));
    EXPECT_TRUE(questions.isEmpty());

    // On the HTML pane too: the window takes the widget file, asks about the changes, opens it.
    yesNoCancelAnswers = {-1};
    EXPECT_TRUE(drop({QUrl::fromLocalFile(path)}, app->View()->positionPane->viewport()));
    EXPECT_EQ(questions, QStringList{"Save changes to dropped.tsl?"});
    EXPECT_TRUE(app->Document()->IsModified());

    yesNoCancelAnswers = {0};
    EXPECT_TRUE(
        drop({QUrl::fromLocalFile(TempPath("notes.txt")), QUrl::fromLocalFile(path)}, Frame()));
    EXPECT_EQ(questions.size(), 2);
    EXPECT_FALSE(app->Document()->IsModified());
    EXPECT_EQ(app->View()->nameValue->text(), "Normal");
    EXPECT_EQ(app->Document()->GetPathName(), path);
}

// Opening reads the file, so a drop the dragging program offers as a move is taken as a copy: a
// file manager that moves would delete the widget file once it was dropped.
TEST_F(CMainFrameTest, ADroppedWidgetFileIsCopiedNeverMoved) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QString path = TempPath("kept.tsl");
    ASSERT_TRUE(app->Document()->DoSave(path));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});

    // Shift asks the dragging program for a move.
    QDragEnterEvent offered(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                            Qt::ShiftModifier);
    ASSERT_EQ(offered.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(Frame(), &offered);
    EXPECT_TRUE(offered.isAccepted());
    EXPECT_EQ(offered.dropAction(), Qt::CopyAction);

    QDropEvent moveOnly(QPointF(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &moveOnly);
    QApplication::processEvents();
    EXPECT_FALSE(moveOnly.isAccepted());
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(CMainFrameTest, PanesGrowWithTheWindowAndTheFormSizeIsTheSmallest) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CQuillaryToolView* view = app->View();
    QApplication::processEvents();
    const QRect pane = view->positionPane->geometry();
    const QRect list = view->fileList->geometry();

    Frame()->resize(Frame()->size() + QSize(240, 180));
    QApplication::processEvents();
    const QRect grownPane = view->positionPane->geometry();
    const QRect grownList = view->fileList->geometry();
    EXPECT_EQ(grownPane.width(), pane.width() + 240);
    EXPECT_EQ(grownList.width(), list.width() + 240);
    EXPECT_GT(grownPane.height(), pane.height() + 100);
    EXPECT_GT(grownList.height(), list.height() + 40);
    EXPECT_LT(grownPane.bottom(), grownList.top());
    EXPECT_LE(grownList.bottom(), view->Form()->height());

    // Smaller than the form: the form keeps its size and scrolls.
    Frame()->resize(Frame()->sizeHint() - QSize(100, 100));
    QApplication::processEvents();
    EXPECT_EQ(view->Form()->size(), view->FormSize());
    EXPECT_EQ(view->positionPane->geometry(), pane);
    EXPECT_EQ(view->fileList->geometry(), list);
}
