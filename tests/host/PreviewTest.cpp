#include "CDlgWebBrowser.h"
#include "CPreview.h"
#include "CPreviewFolder.h"
#include "CQuillaryToolDoc.h"
#include "FoldlineDispatch.h"
#include "HostServices.h"
#include "HostTestSupport.h"
#include "TemplateFolders.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>

namespace {

struct Launch {
    QString program;
    QStringList arguments;
    QString folder;
};

// A folder on PATH holding empty executables with the given names.
void MakePrograms(const QString& folder, const QStringList& names) {
    QDir().mkpath(folder);
    for (const QString& name : names) {
        QFile file(folder + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

} // namespace

class PreviewTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        m_path = qgetenv("PATH");
        host::services().startProgram = [this](const QString& program, const QStringList& args,
                                               const QString& folder) {
            starts.push_back({program, args, folder});
            return true;
        };
    }
    void TearDown() override {
        qputenv("PATH", m_path);
        HostTest::TearDown();
    }

    std::vector<Launch> starts;

private:
    QByteArray m_path;
};

TEST_F(PreviewTest, PageOfOneCursorSegmentHasTwoEmptyHeadLines) {
    EXPECT_EQ(host::BuildPreviewPage("", "", "<p>x</p>\r\n"),
              "<HTML>\r\n<HEAD>\r\n<TITLE>Preview</TITLE>\r\n\r\n\r\n</HEAD>\r\n<BODY>\r\n"
              "<p>x</p>\r\n\r\n</BODY>\r\n</HTML>");
}

// Today's browsers get a standards-mode page, so Preview shows what a site shows; the applet's
// kinds keep theirs.
TEST_F(PreviewTest, ModernPreviewPageIsAStandardsModePage) {
    EXPECT_EQ(host::BuildModernPreviewPage("de-CH", "<style></style>", "", "<nav></nav>\r\n"),
              "<!DOCTYPE html>\r\n<html lang=\"de-CH\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
              "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
              "<title>Preview</title>\r\n<style></style>\r\n</head>\r\n<body>\r\n<nav></nav>\r\n"
              "</body>\r\n</html>\r\n");
    const std::string language = host::PreviewLanguage();
    EXPECT_FALSE(language.empty());
    EXPECT_EQ(language.find_first_not_of(
                  "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"),
              std::string::npos)
        << language;

    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CTessel& widget = *app->Document()->Component();
    const QString folder = host::PreviewFolderFor(AppFolder());
    host::RunPreview(widget, folder, kHtmlModernLocal, host::BrowserChoice{}, nullptr);
    const std::string page = ReadText(folder + "/preview.htm").toStdString();
    EXPECT_EQ(page, host::BuildModernPreviewPage(language, "", "", widget.GetHTMLBody(0, 2)));
    EXPECT_NE(page.find("<nav class=\"furlin\""), std::string::npos);
    host::RunPreview(widget, folder, kHtmlAppletLocal, host::BrowserChoice{}, nullptr);
    EXPECT_EQ(ReadText(folder + "/preview.htm").toStdString().rfind("<HTML>\r\n<HEAD>", 0), 0u);
}

TEST_F(PreviewTest, PreviewWritesThePageWithAnEmptyCodeBaseAndKeepsThePreviewPath) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CTessel& widget = *app->Document()->Component();
    widget.SetPreviewPath("C:/Web/menu/");
    const QString folder = host::PreviewFolderFor(AppFolder());
    EXPECT_EQ(folder, AppFolder() + "/tmp");

    host::RunPreview(widget, folder, 0, host::BrowserChoice{}, nullptr);

    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(widget.GetPreviewPath(), "C:/Web/menu/");
    EXPECT_TRUE(QFile::exists(folder + "/preview.tsl"));
    widget.SetPreviewPath("");
    const std::string expected = host::BuildPreviewPage("", "", widget.GetHTMLBody(0, 0));
    EXPECT_EQ(ReadText(folder + "/preview.htm").toStdString(), expected);
    EXPECT_EQ(expected.find("codebase"), std::string::npos);
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls.first(), QUrl::fromLocalFile(folder + "/preview.htm"));
    EXPECT_FALSE(app->Document()->IsModified());

    // The stored widget keeps the author's preview path too.
    widget.SetPreviewPath("C:/Web/menu/");
    host::RunPreview(widget, folder, 0, host::BrowserChoice{}, nullptr);
    EXPECT_NE(ReadText(folder + "/preview.tsl").indexOf("PreviewPath = C:/Web/menu/"), -1);
}

TEST_F(PreviewTest, ReadOnlyProgramFolderPreviewsInTheUserDataFolderAndCleansItUp) {
    REQUIRE_COMPONENT();
    const std::string program = AppFolder().toStdString();
    host::SetFolderWritableCheck(
        [program](const std::string& folder) { return folder != program; });
    struct Restore {
        ~Restore() { host::SetFolderWritableCheck(nullptr); }
    } restore;
    ASSERT_TRUE(Start());
    const QString folder = app->PreviewFolder();
    EXPECT_EQ(folder, QString::fromStdString(host::UserDataFolder()) + "/tmp");
    app->OnPreview(0);
    const QString own = app->ProcessPreviewFolder();
    EXPECT_EQ(QFileInfo(own).path(), folder);
    EXPECT_TRUE(QFile::exists(own + "/preview.htm"));
    EXPECT_FALSE(QDir(AppFolder() + "/tmp").exists());
    app->ExitInstance();
    app.reset();
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(PreviewTest, ModernPreviewCarriesTheRuntimeFilesBesideThePage) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CTessel& widget = *app->Document()->Component();
    widget.SetPreviewPath("site/");
    app->OnPreview(2);
    const QString folder = app->ProcessPreviewFolder();
    const std::string page = ReadText(folder + "/preview.htm").toStdString();
    widget.SetPreviewPath("");
    EXPECT_EQ(page, host::BuildModernPreviewPage(host::PreviewLanguage(), "", "",
                                                 widget.GetHTMLBody(0, 2)));
    // The page takes the runtime from its own folder, where the component wrote it.
    EXPECT_NE(page.find("<link rel=\"stylesheet\" href=\"furlin.css\">"), std::string::npos);
    EXPECT_NE(page.find("<script src=\"furlin.js\" defer></script>"), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(page.find("<applet"), std::string::npos);
    for (const QString name : {"furlin.js", "furlin.css"}) {
        EXPECT_FALSE(ReadText(folder + "/" + name).isEmpty()) << name.toStdString();
        EXPECT_EQ(ReadText(folder + "/" + name),
                  ReadText(QStringLiteral(FOLDLINE_SOURCE_DIR "/runtime/") + name));
    }
    EXPECT_EQ(openedUrls.size(), 1);
}

TEST_F(PreviewTest, PageThatCannotBeCreatedIsReportedAndNothingLaunches) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QString folder = TempPath("preview");
    ASSERT_TRUE(QDir().mkpath(folder + "/preview.htm")); // a folder where the page should go
    host::RunPreview(*app->Document()->Component(), folder, 0, host::BrowserChoice{}, nullptr);
    EXPECT_EQ(messages,
              QStringList{"Preview Failure!\n\n" + folder + "/preview.htm: Is a directory"});
    EXPECT_TRUE(openedUrls.isEmpty());
    EXPECT_TRUE(starts.empty());
}

TEST_F(PreviewTest, PreviewFolderThatCannotBeMadeWritesNothingAnywhere) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    WriteText(TempPath("file"), "in the way");
    host::CPreviewFolder blocked(TempPath("file"));
    EXPECT_EQ(blocked.Path(), QString());
    EXPECT_FALSE(blocked.IsClaimed());
    host::RunPreview(*app->Document()->Component(), blocked.Path(), 0, host::BrowserChoice{},
                     nullptr);
    EXPECT_EQ(messages,
              QStringList{"Preview Failure!\n\nNo folder for the preview could be created."});
    EXPECT_TRUE(openedUrls.isEmpty());
    EXPECT_FALSE(QFile::exists("/preview.tsl"));
}

TEST_F(PreviewTest, AppletViewerGetsTheBareNameInThePageFolderOtherProgramsTheFullPath) {
    const QString saved = QDir::currentPath();
    const QString page = TempPath("tmp/preview.htm");
    QDir().mkpath(TempPath("tmp"));
    host::BrowserChoice viewer{0, "/opt/jdk/BIN/AppletViewer", 0};
    host::LaunchBrowser(viewer, page);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, "/opt/jdk/BIN/AppletViewer");
    EXPECT_EQ(starts[0].arguments, QStringList{"preview.htm"});
    EXPECT_EQ(starts[0].folder, TempPath("tmp"));
    EXPECT_EQ(QDir::currentPath(), QDir(TempPath("tmp")).canonicalPath());
    QDir::setCurrent(saved);

    host::LaunchBrowser({0, "/usr/bin/firefox", 0}, page);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1].arguments, QStringList{page});
    EXPECT_TRUE(openedUrls.isEmpty());
}

TEST_F(PreviewTest, KnownBrowsersComeFromPathInAFixedOrder) {
    const QString bin = TempPath("bin");
    MakePrograms(bin, {"chromium", "firefox"});
    qputenv("PATH", bin.toUtf8());
    const std::vector<host::KnownBrowser> found = host::KnownBrowsers();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "Firefox");
    EXPECT_EQ(found[0].program, bin + "/firefox");
    EXPECT_EQ(found[1].name, "Chromium");

    host::LaunchBrowser({2, "", 1}, "/x/preview.htm");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, bin + "/chromium");

    // A stored index that no longer names an entry falls back to the default handler.
    for (int index : {2, -1, 99}) {
        host::LaunchBrowser({2, "", index}, "/x/preview.htm");
        EXPECT_EQ(starts.size(), 1u);
    }
    EXPECT_EQ(openedUrls.size(), 3);

    qputenv("PATH", TempPath("empty").toUtf8());
    EXPECT_TRUE(host::KnownBrowsers().empty());
}

TEST_F(PreviewTest, WebBrowserDialogStoresTheThreeProfileValues) {
    const QString bin = TempPath("bin");
    MakePrograms(bin, {"firefox", "epiphany"});
    qputenv("PATH", bin.toUtf8());

    host::BrowserChoice choice; // the defaults: default handler
    CDlgWebBrowser dialog(choice, nullptr);
    EXPECT_TRUE(dialog.useDefault->isChecked());
    EXPECT_EQ(dialog.knownList->count(), 2);

    dialog.useProgram->setChecked(true);
    EXPECT_FALSE(dialog.TryAccept());
    EXPECT_EQ(messages, QStringList{"You must specify the web browser's execute file!"});

    openFileToPick = "/opt/browsers/mybrowser";
    dialog.OnBrowse();
    EXPECT_EQ(dialog.programEdit->text(), "/opt/browsers/mybrowser");
    dialogRunner = [](QDialog& shown) {
        auto& d = static_cast<CDlgWebBrowser&>(shown);
        d.useKnown->setChecked(true);
        d.knownList->setCurrentIndex(1);
        return d.TryAccept();
    };
    choice.program = "/kept/program";
    ASSERT_TRUE(RunWebBrowserDialog(choice, nullptr));
    EXPECT_EQ(choice.mode, 2);
    EXPECT_EQ(choice.knownIndex, 1);
    EXPECT_EQ(choice.program, "/kept/program");
    auto profile = CQuillaryToolApp::Profile();
    profile->beginGroup("Web Browser");
    EXPECT_EQ(profile->value("Use Default").toInt(), 2);
    EXPECT_EQ(profile->value("Specify Browser").toString(), "/kept/program");
    EXPECT_EQ(profile->value("Known Browser").toInt(), 1);
    profile->endGroup();

    dialogRunner = [](QDialog&) { return false; }; // Cancel changes nothing
    ASSERT_FALSE(RunWebBrowserDialog(choice, nullptr));
    EXPECT_EQ(host::ReadBrowserChoice(*profile).mode, 2);
}
