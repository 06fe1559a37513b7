#include "CQuillaryToolDoc.h"
#include "CMainFrame.h"
#include "CQuillaryToolView.h"
#include "HostTestSupport.h"
#include "Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {

const QByteArray kForeignWidget = "========== Description Part Begin ==========\r\n"
                                  "ProgID = TesselServer.Other\r\n"
                                  "Title = Foreign\r\n"
                                  "========== Description Part End ==========\r\n\r\n"
                                  "========== Parameter Part Begin ==========\r\n"
                                  "========== Parameter Part End ==========\r\n\r\n";

} // namespace

class CQuillaryToolDocTest : public HostTest {
protected:
    CQuillaryToolDoc* Doc() { return app->Document(); }
    CTessel* Widget() { return app->Document()->Component(); }
};

TEST_F(CQuillaryToolDocTest, StartUpCreatesAnUntitledNormalWidgetInMyWidget) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(QDir().mkpath(AppFolder() + "/My Widget"));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Doc()->GetTitle(), "Untitled_TesselServer.Foldline");
    EXPECT_EQ(Widget()->GetTitle(), "Normal");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(app->MainFrame()->windowTitle(),
              "Untitled_TesselServer.Foldline - Quillary Foldline");
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(AppFolder() + "/My Widget").canonicalPath());
    EXPECT_TRUE(app->MainFrame()->isVisible());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CQuillaryToolDocTest, FailedOpenKeepsTheCurrentWidget) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Widget()->SetTitle("Menu2");
    Doc()->SetModifiedFlag(true);
    app->View()->OnInitialUpdate();
    const QString foreign = TempPath("foreign.tsl");
    const QString text = TempPath("notes.tsl");
    WriteText(foreign, kForeignWidget);
    WriteText(text, "just some text\r\nwithout any part\r\n");

    // The specified text first, then the file and what it is.
    const std::pair<QString, QString> files[] = {
        {foreign, foreign + ": a widget file of TesselServer.Other"},
        {text, text + ": not a widget file"}};
    for (const auto& [path, reason] : files) {
        messages.clear();
        yesNoCancelAnswers = {0}; // discard the changes
        EXPECT_FALSE(app->OpenDocumentFile(path));
        EXPECT_EQ(messages,
                  QStringList{"This File is not saved by Quillary Foldline!\n\n" + reason});
        EXPECT_EQ(questions.last(), "Save changes to Untitled_TesselServer.Foldline?");
        ASSERT_TRUE(Doc()->HasComponent());
        EXPECT_EQ(Widget()->GetTitle(), "Menu2");
        EXPECT_EQ(Doc()->GetTitle(), "Untitled_TesselServer.Foldline");
        EXPECT_TRUE(Doc()->IsModified());
        EXPECT_EQ(app->View()->nameValue->text(), "Menu2");
    }
    EXPECT_FALSE(app->RecentFiles().Entries().contains(QFileInfo(foreign).absoluteFilePath()));

    // The kept widget is still the one that gets written.
    const QString saved = TempPath("kept.tsl");
    EXPECT_TRUE(Doc()->DoSave(saved));
    EXPECT_TRUE(ReadText(saved).contains("Title = Menu2\r\n"));
    EXPECT_TRUE(app->MainFrame()->Action(CMainFrame::EditConfigure)->isEnabled());
}

TEST_F(CQuillaryToolDocTest, ForeignFileOnTheCommandLineEndsStartUp) {
    REQUIRE_COMPONENT();
    const QString foreign = TempPath("foreign.tsl");
    WriteText(foreign, kForeignWidget);
    EXPECT_FALSE(Start({foreign}));
    EXPECT_EQ(messages, QStringList{"This File is not saved by Quillary Foldline!\n\n" + foreign +
                                    ": a widget file of TesselServer.Other"});
}

TEST_F(CQuillaryToolDocTest, UnreadableRecentFileIsDroppedFromTheList) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QString gone = TempPath("gone.tsl");
    app->RecentFiles().Add(gone);
    app->RecentFiles().Add(TempPath("other.tsl"));
    EXPECT_FALSE(app->OpenDocumentFile(gone, 1));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(app->RecentFiles().Entries(), QStringList{TempPath("other.tsl")});
    EXPECT_EQ(Widget()->GetTitle(), "Normal");
}

TEST_F(CQuillaryToolDocTest, SaveWritesProgIdTimeAndSupportFilesThenReopens) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(QDir().mkpath(TempPath("site")));
    // Which support files exist now, so their copies can be looked for afterwards.
    QStringList expectedCopies;
    for (int i = 0; i < Widget()->GetResourceNumber(); ++i) {
        const QString name = QString::fromStdString(Widget()->GetResourceName(i));
        const QString source = QString::fromStdString(Widget()->GetResourceLocalPath(i));
        if (QFileInfo::exists(source + '/' + name) || QFileInfo::exists(source + name))
            expectedCopies << name;
    }
    Doc()->SetModifiedFlag(true);
    saveFileToPick = TempPath("site/menu");
    const DATE before = CurrentLocalDate();
    ASSERT_TRUE(Doc()->DoFileSave());
    EXPECT_TRUE(lastProposedSaveName.endsWith("/Untitled_TesselServer.Foldline.tsl"));

    const QString path = TempPath("site/menu.tsl");
    const QByteArray file = ReadText(path);
    EXPECT_TRUE(file.contains("ProgID = TesselServer.Foldline\r\n"));
    const QRegularExpression time(QStringLiteral("LastUpdateTime = ([0-9.]+)\r\n"));
    const auto match = time.match(QString::fromUtf8(file));
    ASSERT_TRUE(match.hasMatch());
    EXPECT_NEAR(match.captured(1).toDouble(), before, 1.0 / 24 / 60);
    for (const QString& name : expectedCopies)
        EXPECT_TRUE(QFileInfo::exists(TempPath("site/") + name)) << name.toStdString();

    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Doc()->GetTitle(), "menu.tsl");
    EXPECT_EQ(app->MainFrame()->windowTitle(), "menu.tsl - Quillary Foldline");
    EXPECT_EQ(app->RecentFiles().Entries().value(0), QFileInfo(path).absoluteFilePath());

    ASSERT_TRUE(app->OpenDocumentFile(path));
    EXPECT_EQ(Doc()->GetTitle(), "menu.tsl");
    EXPECT_EQ(Widget()->GetTitle(), "Normal");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CQuillaryToolDocTest, FailedSaveKeepsTheDocumentModified) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Doc()->SetModifiedFlag(true);
    const QString path = TempPath("no/such/folder/menu.tsl");
    EXPECT_FALSE(Doc()->DoSave(path));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Save to " + path + " Error!\n\n" + path +
                                       ": No such file or directory\n\n"
                                       "These support files could not be copied:\n"))
        << messages[0].toStdString();
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Doc()->GetTitle(), "Untitled_TesselServer.Foldline");
    EXPECT_TRUE(app->RecentFiles().Entries().isEmpty());
}

TEST_F(CQuillaryToolDocTest, CopySupportFilesLeavesNoScratchAndReportsTheOutcome) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Doc()->CanCopySupportFiles());
    const QString dest = TempPath("dest");
    ASSERT_TRUE(QDir().mkpath(dest));
    folderToPick = dest;
    Doc()->OnCopySupportFiles();
    EXPECT_EQ(messages, QStringList{"Copy support files to " + dest + " success!"});
    EXPECT_FALSE(QFileInfo::exists(dest + "/copyres.tsl"));
    EXPECT_FALSE(Doc()->IsModified());

    // An author's own file of that name survives.
    WriteText(dest + "/copyres.tsl", "mine");
    messages.clear();
    Doc()->OnCopySupportFiles();
    EXPECT_EQ(ReadText(dest + "/copyres.tsl"), "mine");
    EXPECT_EQ(QDir(dest).entryList({"*.tsl"}), QStringList{"copyres.tsl"});

    messages.clear();
    folderToPick = TempPath("nowhere");
    Doc()->OnCopySupportFiles();
    const QString nowhere = folderToPick;
    EXPECT_EQ(messages, QStringList{"Copy support files to " + nowhere + " failure!\n\n" + nowhere +
                                    "/copyres.tsl: No such file or directory\n\n" +
                                    "These support files could not be copied:\n" + nowhere +
                                    "/furlin.js: No such file or directory\n" + nowhere +
                                    "/furlin.css: No such file or directory"});

    messages.clear();
    folderToPick.clear();
    Doc()->OnCopySupportFiles();
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CQuillaryToolDocTest, NewAsksToSaveAndReplacesTheWidget) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Widget()->SetTitle("Menu2");
    Doc()->SetModifiedFlag(true);

    yesNoCancelAnswers = {-1};
    EXPECT_FALSE(app->OnFileNew());
    EXPECT_EQ(questions, QStringList{"Save changes to Untitled_TesselServer.Foldline?"});
    EXPECT_EQ(Widget()->GetTitle(), "Menu2");
    EXPECT_TRUE(Doc()->IsModified());

    // A cancelled New dialog leaves a fresh widget, not modified.
    yesNoCancelAnswers = {0};
    QString shown;
    dialogRunner = [&](QDialog& dialog) {
        shown = dialog.windowTitle();
        return false;
    };
    EXPECT_TRUE(app->OnFileNew());
    EXPECT_EQ(shown, "New ");
    EXPECT_EQ(Widget()->GetTitle(), "Normal");
    EXPECT_FALSE(Doc()->IsModified());

    CTessel* offered = nullptr;
    Doc()->newDialog = [&](CTessel& component) {
        offered = &component;
        component.SetTitle("FromDialog");
        return true;
    };
    EXPECT_TRUE(app->OnFileNew());
    EXPECT_EQ(offered, Widget());
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(app->View()->nameValue->text(), "FromDialog");
}

TEST_F(CQuillaryToolDocTest, CommandLineOpenLeavesTheFirstNewWithoutDialog) {
    REQUIRE_COMPONENT();
    const QString path = TempPath("start.tsl");
    {
        CTessel writer;
        ASSERT_TRUE(writer.Create("TesselServer.Foldline"));
        writer.SetTitle("Start");
        ASSERT_TRUE(writer.WriteConfigFile(path.toStdString()));
    }
    ASSERT_TRUE(Start({path}));
    EXPECT_EQ(Doc()->GetTitle(), "start.tsl");
    EXPECT_EQ(Widget()->GetTitle(), "Start");
    bool asked = false;
    Doc()->newDialog = [&](CTessel&) { return asked = true; };
    EXPECT_TRUE(app->OnFileNew());
    EXPECT_FALSE(asked);
    EXPECT_TRUE(app->OnFileNew());
    EXPECT_TRUE(asked);
}

TEST_F(CQuillaryToolDocTest, SaveAsTemplateRestoresTitleDescriptionAndFlag) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Widget()->SetTitle("Menu2");
    Widget()->SetDescription("mine");
    const std::string path = TempPath("Tmpl_TesselServer.Foldline.tsl").toStdString();
    EXPECT_TRUE(Doc()->SaveAsTemplateAt("Tmpl", "a template", path));
    EXPECT_EQ(messages, QStringList{"Save as the template success!"});
    const QByteArray file = ReadText(QString::fromStdString(path));
    EXPECT_TRUE(file.contains("Title = Tmpl\r\n"));
    EXPECT_TRUE(file.contains("Description = a template\r\n"));
    EXPECT_EQ(Widget()->GetTitle(), "Menu2");
    EXPECT_EQ(Widget()->GetDescription(), "mine");
    EXPECT_FALSE(Doc()->IsModified());

    messages.clear();
    EXPECT_FALSE(Doc()->SaveAsTemplateAt("Tmpl", "x", TempPath("no/dir/t.tsl").toStdString()));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Save as the template failure!\n\n" +
                                       TempPath("no/dir/t.tsl") + ": No such file or directory"))
        << messages[0].toStdString();
    EXPECT_EQ(Widget()->GetTitle(), "Menu2");
}

TEST(CRecentFileListTest, KeepsTheFourNewestWithoutDuplicates) {
    CRecentFileList list(4);
    for (const char* name : {"/w/a.tsl", "/w/b.tsl", "/w/c.tsl", "/w/d.tsl", "/w/e.tsl"})
        list.Add(name);
    EXPECT_EQ(list.Entries(), (QStringList{"/w/e.tsl", "/w/d.tsl", "/w/c.tsl", "/w/b.tsl"}));
    list.Add("/w/c.tsl");
    EXPECT_EQ(list.Entries(), (QStringList{"/w/c.tsl", "/w/e.tsl", "/w/d.tsl", "/w/b.tsl"}));
    list.Remove(3);
    list.Remove(7);
    EXPECT_EQ(list.Entries(), (QStringList{"/w/c.tsl", "/w/e.tsl", "/w/d.tsl"}));
}

TEST_F(CQuillaryToolDocTest, RecentFilesSurviveARestartInTheProfile) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    for (const char* name : {"/w/a.tsl", "/w/b.tsl", "/w/c.tsl", "/w/d.tsl", "/w/e.tsl"})
        app->RecentFiles().Add(name);
    app->ExitInstance();
    {
        auto profile = CQuillaryToolApp::Profile();
        profile->beginGroup("Recent File List");
        EXPECT_EQ(profile->value("File1").toString(), "/w/e.tsl");
        EXPECT_EQ(profile->value("File4").toString(), "/w/b.tsl");
        EXPECT_FALSE(profile->contains("File5"));
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->RecentFiles().Entries(),
              (QStringList{"/w/e.tsl", "/w/d.tsl", "/w/c.tsl", "/w/b.tsl"}));
    EXPECT_TRUE(app->MainFrame()->RecentFileAction(3)->isVisible());
    EXPECT_TRUE(app->MainFrame()->RecentFileAction(0)->text().endsWith("/w/e.tsl"));
}

TEST_F(CQuillaryToolDocTest, ChoosersOpenInTheDocumentsFolderAndOfferAllFiles) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    QStringList starts;
    QStringList filters;
    ui::prompts().pickOpenFile = [&](QWidget*, const QString&, const QString& start,
                                     const QString& filter) {
        starts << start;
        filters << filter;
        return QString();
    };
    ui::prompts().pickFolder = [&](QWidget*, const QString&, const QString& start) {
        starts << start;
        return QString();
    };
    app->OnFileOpen();
    EXPECT_EQ(starts.takeLast(), QDir::currentPath()); // nothing chosen yet

    ASSERT_TRUE(QDir().mkpath(TempPath("site")));
    saveFileToPick = TempPath("site/menu.tsl");
    ASSERT_TRUE(Doc()->DoSave(QString()));
    app->OnFileOpen();
    EXPECT_EQ(starts.takeLast(), TempPath("site"));
    Doc()->OnCopySupportFiles();
    EXPECT_EQ(starts.takeLast(), TempPath("site"));

    // A new document has no folder: the last one chosen stands in.
    dialogRunner = [](QDialog&) { return false; };
    ASSERT_TRUE(app->OnFileNew());
    saveFileToPick.clear();
    EXPECT_FALSE(Doc()->DoSave(QString()));
    EXPECT_EQ(lastProposedSaveName, TempPath("site/Untitled_TesselServer.Foldline.tsl"));

    // The widget filter shows its pattern once, and all files are offered too.
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(ui::QtFileFilter(filters[0]), "Quillary Widgets File(*.tsl);;All Files (*)");
    EXPECT_EQ(ui::QtFileFilter("Pictures | *.gif;*.png"), "Pictures (*.gif *.png)");

    // The folder last chosen is where the next run of the program starts too.
    app.reset();
    ASSERT_TRUE(Start());
    app->OnFileOpen();
    EXPECT_EQ(starts.takeLast(), TempPath("site"));
}
