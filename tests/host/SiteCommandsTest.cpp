// The program's site commands: on the command line without a display (exit codes, output), in
// the main window (publish, a menu from a folder, JSON out and in, the list of broken links
// opening the configuration dialog at the item), and the check of web addresses against a web
// server on the loopback interface.
#include "CDlgCheckLinks.h"
#include "CMainFrame.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "HostTestSupport.h"
#include "LocalWebServer.h"
#include "Prompts.h"
#include "SiteLinks.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QByteArray kOpen = "<!-- foldline:My Foldline -->";
const QByteArray kClose = "<!-- /foldline:My Foldline -->";

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class SiteCommandsTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        site = TempPath("site");
        ASSERT_TRUE(QDir().mkpath(site + "/docs"));
        WriteText(site + "/index.html", "<title>Home</title>" + kOpen + kClose);
        WriteText(site + "/docs/a.html", "<title>A</title><h2 id=x>x</h2>" + kOpen + kClose);
        WriteText(site + "/plain.html", "<title>Plain</title>");
    }

    // A menu for the site, with one link to a missing page and two web addresses.
    QString MenuJson(const QString& web1, const QString& web2) const {
        return QStringLiteral(
                   R"({"menus": [{"items": [
                        {"label": "Home", "link": "index.html"},
                        {"label": "Docs", "link": "docs/a.html#x", "children": [
                          {"label": "Lost", "link": "docs/missing.html"}]},
                        {"label": "Web", "link": "%1"},
                        {"label": "Gone", "link": "%2"}]}]})")
            .arg(web1, web2);
    }

    // The program with a command line, without any display; the event loop runs meanwhile, so
    // a server of the test can answer it.
    ProgramRun Program(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "no-such-platform");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(TempPath(""));
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        process.start(qEnvironmentVariable("FOLDLINE_BUILD_DIR") + "/program/QuillaryFoldline",
                      arguments);
        loop.exec();
        ProgramRun run;
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    CMainFrame* Frame() { return app->MainFrame(); }

    QString site;
};

TEST_F(SiteCommandsTest, CommandLineWorksWithoutADisplayAndSaysHowItWent) {
    REQUIRE_COMPONENT();
    CLocalWebServer server;
    WriteText(TempPath("in.json"), MenuJson(server.Url("/ok"), server.Url("/gone")).toUtf8());
    ProgramRun run = Program({"--import-json", "in.json", "menu.tsl"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    const QByteArray before = ReadText(site + "/index.html");
    run = Program({"--publish", "menu.tsl", "site", "--dry-run"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "2 pages updated, 0 unchanged, 1 without the menu's markers (a dry run: "
                       "nothing was written)\n");
    EXPECT_EQ(ReadText(site + "/index.html"), before);
    EXPECT_FALSE(QFileInfo::exists(site + "/foldline"));

    EXPECT_EQ(Program({"--publish", "menu.tsl", "site"}).status, 0);
    EXPECT_NE(ReadText(site + "/index.html"), before);
    run = Program({"--publish", "menu.tsl", "site"});
    EXPECT_EQ(run.out, "0 pages updated, 2 unchanged, 1 without the menu's markers\n");

    WriteText(site + "/broken.html", kOpen);
    run = Program({"--publish", "menu.tsl", "site"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.endsWith("\nbroken.html: skipped: the closing marker "
                                 "<!-- /foldline:My Foldline --> is missing\n"))
        << run.out.toStdString();

    // Broken links: one line each, then the pages not in the menu; web addresses only online.
    run = Program({"--check-links", "menu.tsl", "site"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Docs > Lost\tdocs/missing.html\tno such file\n"
                       "\tbroken.html\tnot in the menu\n\tplain.html\tnot in the menu\n");
    run = Program({"--check-links", "menu.tsl", "site", "--online"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Docs > Lost\tdocs/missing.html\tno such file\n"
                       "Gone\t" +
                           server.Url("/gone") +
                           "\tHTTP 404 Not Found\n"
                           "\tbroken.html\tnot in the menu\n\tplain.html\tnot in the menu\n");
    EXPECT_TRUE(server.requests.contains("HEAD /ok"));

    // JSON out and in again is the same menu; a folder makes a first menu.
    EXPECT_EQ(Program({"--export-json", "menu.tsl", "out.json"}).status, 0);
    EXPECT_EQ(Program({"--import-json", "out.json", "again.tsl"}).status, 0);
    EXPECT_EQ(Program({"--export-json", "again.tsl", "again.json"}).status, 0);
    EXPECT_EQ(ReadText(TempPath("again.json")), ReadText(TempPath("out.json")));
    EXPECT_TRUE(ReadText(TempPath("out.json")).contains("\"docs/missing.html\""));
    EXPECT_EQ(Program({"--import-site", "site", "first.tsl"}).status, 0);
    EXPECT_TRUE(QFileInfo::exists(TempPath("first.tsl")));
}

TEST_F(SiteCommandsTest, CommandLineFailuresAndMistakes) {
    REQUIRE_COMPONENT();
    WriteText(TempPath("clean.json"),
              R"({"menus": [{"items": [{"label": "Home", "link": "index.html"},
                  {"label": "A", "link": "docs/a.html"}, {"label": "P", "link": "plain.html"}]}]})");
    ASSERT_EQ(Program({"--import-json", "clean.json", "clean.tsl"}).status, 0);
    ProgramRun run = Program({"--check-links", "clean.tsl", "site"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");

    EXPECT_EQ(Program({"--publish", "clean.tsl"}).status, 2);
    EXPECT_EQ(Program({"--publish", "clean.tsl", "site", "--online"}).status, 2);
    EXPECT_EQ(Program({"--import-site", "a", "b", "c"}).status, 2);

    run = Program({"--publish", "none.tsl", "site"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Open none.tsl Error!\n");
    run = Program({"--publish", "clean.tsl", "no-site"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "Cannot publish to " + TempPath("no-site") + ": No such file or directory\n");
    WriteText(TempPath("bad.json"), "{\"menus\": [}");
    run = Program({"--import-json", "bad.json", "bad.tsl"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("Cannot import " + TempPath("bad.json") + ": unexpected"));
    EXPECT_FALSE(QFileInfo::exists(TempPath("bad.tsl")));
}

TEST_F(SiteCommandsTest, WebAddressesAreAskedHeadThenGetEightAtOnce) {
    CLocalWebServer server(4);
    QList<host::LinkRow> rows;
    for (const char* path : {"/ok", "/gone", "/nohead", "/moved", "/slow"})
        rows.append({"0.0", "item", server.Url(path), ""});
    for (int i = 0; i < 20; ++i)
        rows.append({"0.1", "held", server.Url("/hold", i % 4), ""});

    const QList<host::LinkRow> failed = host::CheckWebLinks(rows, {1000, 8, {}});
    ASSERT_EQ(failed.size(), 2);
    EXPECT_EQ(failed[0].link, server.Url("/gone"));
    EXPECT_EQ(failed[0].reason, "HTTP 404 Not Found");
    EXPECT_EQ(failed[1].link, server.Url("/slow"));
    EXPECT_EQ(failed[1].reason, "no answer within 1 s");
    // HEAD first; GET only where HEAD did not find the page.
    EXPECT_EQ(server.requests.filter("/ok"), (QStringList{"HEAD /ok", "HEAD /ok"})); // + /moved
    EXPECT_EQ(server.requests.filter("/nohead"), (QStringList{"HEAD /nohead", "GET /nohead"}));
    EXPECT_EQ(server.requests.filter("/gone"), (QStringList{"HEAD /gone", "GET /gone"}));
    EXPECT_EQ(server.requests.filter("/slow"), (QStringList{"HEAD /slow", "GET /slow"}));
    EXPECT_LE(server.mostOpen, 8);
    EXPECT_GE(server.mostOpen, 4);
    EXPECT_TRUE(host::CheckWebLinks({}).isEmpty());
    EXPECT_EQ(host::WebLinks(host::ParseLinkRows("0.0\ta\thttps://x\n0.1\tb\tmailto:a@b\n"
                                                 "0.2\tc\tHTTP://y\n0.3\td\tdocs/x.html\n"))
                  .size(),
              2);
}

TEST_F(SiteCommandsTest, AWebCheckTellsHowFarItIsAndStopsWhenAsked) {
    CLocalWebServer server;
    QList<host::LinkRow> rows;
    for (int i = 0; i < 3; ++i)
        rows.append({"0.0", "item", server.Url("/ok"), ""});
    host::WebCheckLimits limits{1000, 8, {}};
    QList<QPair<int, int>> seen;
    limits.progress = [&seen](int checked, int total) {
        seen.append({checked, total});
        return true;
    };
    EXPECT_TRUE(host::CheckWebLinks(rows, limits).isEmpty());
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), qMakePair(3, 3));

    // Servers that never answer: stopped, the check drops what is in flight and asks no more.
    rows.clear();
    for (int i = 0; i < 20; ++i)
        rows.append({"0.0", "item", server.Url("/slow"), ""});
    limits.timeoutMs = 60000;
    limits.parallel = 4;
    int calls = 0;
    limits.progress = [&calls](int checked, int total) {
        EXPECT_EQ(checked, 0);
        EXPECT_EQ(total, 20);
        return ++calls < 2;
    };
    EXPECT_TRUE(host::CheckWebLinks(rows, limits).isEmpty()); // unchecked is not broken
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(server.requests.filter("/slow").size(), 4);
}

TEST_F(SiteCommandsTest, MainWindowPublishesImportsAndExports) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    ui::prompts().pickFolder = [this](QWidget*, const QString&, const QString&) { return site; };
    bool confirm = false;
    ui::prompts().askOkCancel = [&](QWidget*, const QString&, const QString& text, ui::Icon) {
        questions << text;
        return confirm;
    };

    // A first menu from the folder: a new, modified document.
    Frame()->Action(CMainFrame::FileNewFromSite)->trigger();
    CQuillaryToolDoc* doc = app->Document();
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(QString::fromStdString(doc->Component()->GetItemLinks()),
              "0.0\tHome\tindex.html\n0.1.0\tdocs > A\tdocs/a.html\n0.2\tPlain\tplain.html\n");

    // Publishing shows what it would do and does nothing unless confirmed.
    const QByteArray before = ReadText(site + "/index.html");
    Frame()->Action(CMainFrame::FilePublishToSite)->trigger();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], "Publish the menu into the pages of " + site +
                                "?\n\n2 pages updated, 0 unchanged, 1 without the menu's markers "
                                "(a dry run: nothing was written)");
    EXPECT_EQ(ReadText(site + "/index.html"), before);
    confirm = true;
    Frame()->Action(CMainFrame::FilePublishToSite)->trigger();
    EXPECT_EQ(messages.value(0), "2 pages updated, 0 unchanged, 1 without the menu's markers");
    EXPECT_NE(ReadText(site + "/index.html"), before);

    // The menu out as JSON and back into a fresh widget.
    saveFileToPick = TempPath("menu");
    const qsizetype asked = questions.size();
    Frame()->Action(CMainFrame::FileExportJson)->trigger();
    ASSERT_TRUE(QFileInfo::exists(TempPath("menu.json")));
    EXPECT_EQ(questions.size(), asked); // nothing there to replace
    // The suffix added after the save dialog: an existing file is replaced only when confirmed.
    WriteText(TempPath("menu.json"), "kept");
    confirm = false;
    Frame()->Action(CMainFrame::FileExportJson)->trigger();
    EXPECT_EQ(questions.last(),
              TempPath("menu.json") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadText(TempPath("menu.json")), "kept");
    confirm = true;
    Frame()->Action(CMainFrame::FileExportJson)->trigger();
    EXPECT_TRUE(ReadText(TempPath("menu.json")).contains("docs/a.html"));
    yesNoCancelAnswers = {0};                      // the published widget is not saved
    dialogRunner = [](QDialog&) { return false; }; // the New dialog cancelled: a fresh widget
    ASSERT_TRUE(app->OnFileNew());
    dialogRunner = nullptr;
    EXPECT_EQ(doc->Component()->GetItemLinks(), "");
    openFileToPick = TempPath("menu.json");
    Frame()->Action(CMainFrame::FileImportJson)->trigger();
    EXPECT_TRUE(questions.last().startsWith("The widget's menus will be replaced"));
    EXPECT_EQ(QString::fromStdString(doc->Component()->GetItemLinks()),
              "0.0\tHome\tindex.html\n0.1.0\tdocs > A\tdocs/a.html\n0.2\tPlain\tplain.html\n");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(app->View()->positionPane->toPlainText().contains("docs/a.html"));

    // A file that is no menu is reported and changes nothing.
    WriteText(TempPath("bad.json"), "[]");
    openFileToPick = TempPath("bad.json");
    Frame()->Action(CMainFrame::FileImportJson)->trigger();
    EXPECT_EQ(messages.last(),
              "Cannot import " + TempPath("bad.json") + ": the text is not a JSON object");
}

TEST_F(SiteCommandsTest, BrokenLinksListOpensTheConfigurationDialogAtTheItem) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CLocalWebServer server;
    WriteText(TempPath("in.json"), MenuJson(server.Url("/ok"), server.Url("/gone")).toUtf8());
    openFileToPick = TempPath("in.json");
    ui::prompts().askOkCancel = [](QWidget*, const QString&, const QString&, ui::Icon) {
        return true;
    };
    Frame()->Action(CMainFrame::FileImportJson)->trigger();
    ui::prompts().pickFolder = [this](QWidget*, const QString&, const QString&) { return site; };

    QStringList rows;
    QString selectedInConfig;
    dialogRunner = [&](QDialog& dialog) {
        auto* check = qobject_cast<CDlgCheckLinks*>(&dialog);
        EXPECT_NE(check, nullptr);
        if (!check)
            return false;
        for (int i = 0; i < check->List()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = check->List()->topLevelItem(i);
            rows << row->text(0) + " | " + row->text(1) + " | " + row->text(2);
        }
        EXPECT_EQ(check->Summary()->text(), "Broken links: 1. Pages not in the menu: 1.");
        // The configuration dialog opens modally; look at it once it shows, then close it.
        QTimer::singleShot(0, [&] {
            QWidget* config = QApplication::activeModalWidget();
            auto* tree = config ? config->findChild<QTreeWidget*>() : nullptr;
            if (tree && tree->currentItem())
                selectedInConfig = tree->currentItem()->text(0);
            if (config)
                qobject_cast<QDialog*>(config)->reject();
        });
        check->OpenRow(check->List()->topLevelItem(0));
        check->OpenRow(check->List()->topLevelItem(1)); // a page: nothing to open
        // The web addresses on request: their failures join the broken links.
        check->WebButton()->click();
        EXPECT_FALSE(check->WebButton()->isEnabled());
        EXPECT_EQ(check->List()->topLevelItem(1)->text(2), "HTTP 404 Not Found");
        EXPECT_EQ(check->Summary()->text(), "Broken links: 2. Pages not in the menu: 1.");
        // A stopped check says so and can be run again; its rows are replaced, not repeated.
        const host::LinkRow gone = {"0.0", "Docs > Web", "https://gone.example/", "HTTP 410 Gone"};
        check->checkWeb = [&] { return host::WebCheckOutcome{{gone}, true}; };
        check->WebButton()->setEnabled(true);
        check->WebButton()->click();
        EXPECT_TRUE(check->WebButton()->isEnabled());
        EXPECT_EQ(check->Summary()->text(),
                  "Broken links: 2. Pages not in the menu: 1. The check of the web links was "
                  "stopped before it asked them all.");
        check->checkWeb = [&] { return host::WebCheckOutcome{{gone}, false}; };
        check->WebButton()->click();
        EXPECT_FALSE(check->WebButton()->isEnabled());
        EXPECT_EQ(check->List()->topLevelItemCount(), 3);
        EXPECT_EQ(check->List()->topLevelItem(1)->text(2), "HTTP 410 Gone");
        EXPECT_EQ(check->Summary()->text(), "Broken links: 2. Pages not in the menu: 1.");
        return false;
    };
    Frame()->Action(CMainFrame::EditCheckLinks)->trigger();
    EXPECT_EQ(rows, (QStringList{"Docs > Lost | docs/missing.html | no such file",
                                 " | plain.html | not in the menu"}));
    EXPECT_EQ(selectedInConfig, "Lost");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}
