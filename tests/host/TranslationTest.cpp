// The program and the component show their texts in the user's language when a catalogue for
// it is installed beside them, and in English otherwise. The language installed here is made up
// from the template (every text in guillemets), so each assertion also proves which texts went
// through the translation.
#include "Translation.h"
#include "CMainFrame.h"
#include "Catalogue.h"
#include "HostTestSupport.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {

class TranslationTest : public OwnComponentFolderTest {
protected:
    void SetUp() override {
        OwnComponentFolderTest::SetUp();
        m_savedLocale = QLocale();
    }
    void TearDown() override {
        OwnComponentFolderTest::TearDown();
        QLocale::setDefault(m_savedLocale);
    }

    void InstallTestLanguage(const QString& folder) {
        QString reason;
        ASSERT_TRUE(BuildGuillemetCatalogue(ui::TranslationsFolder(folder), "eo", reason))
            << reason.toStdString();
    }
    static void SpeakTestLanguage() { QLocale::setDefault(QLocale(QLocale::Esperanto)); }
    static void SpeakEnglish() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    CMainFrame* Frame() { return app->MainFrame(); }
    QStringList StatusTexts() {
        QStringList texts;
        for (const QLabel* label : Frame()->statusBar()->findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }
    // The menu titles and every entry the menus show (the recent files aside: they are names).
    QStringList MenuTexts() {
        QStringList texts;
        for (QAction* title : Frame()->menuBar()->actions()) {
            texts << title->text();
            for (QAction* entry : title->menu()->actions())
                if (!entry->isSeparator() && entry->isVisible())
                    texts << entry->text();
        }
        return texts;
    }
    // A message of the program: a file that is not there.
    QString OpenMissingFile() {
        app->OpenDocumentFile(TempPath("missing.tsl"));
        return messages.isEmpty() ? QString() : messages.last();
    }
    // A message of the component: a JSON file that holds no menu.
    QString ImportBadJson() {
        WriteText(TempPath("bad.json"), "[]");
        openFileToPick = TempPath("bad.json");
        ui::prompts().askOkCancel = [](QWidget*, const QString&, const QString&, ui::Icon) {
            return true;
        };
        Frame()->Action(CMainFrame::FileImportJson)->trigger();
        return messages.isEmpty() ? QString() : messages.last();
    }

    void ExpectEnglish() {
        EXPECT_EQ(Frame()->Action(CMainFrame::EditConfigure)->text(), "&Configure ...\tAlt+Enter");
        EXPECT_EQ(MenuTexts().first(), "&File");
        EXPECT_TRUE(StatusTexts().contains("For Help, press F1"));
        EXPECT_TRUE(OpenMissingFile().startsWith("Cannot open " + TempPath("missing.tsl") + "."));
        EXPECT_EQ(ImportBadJson(),
                  "Cannot import " + TempPath("bad.json") + ": the text is not a JSON object");
    }

private:
    QLocale m_savedLocale;
};

TEST_F(TranslationTest, ProgramAndComponentSpeakTheInstalledLanguage) {
    REQUIRE_COMPONENT();
    InstallTestLanguage(AppFolder());
    SpeakTestLanguage();
    ASSERT_TRUE(Start());

    // Every menu and entry, from the command table, translated where it is shown.
    const QStringList menus = MenuTexts();
    ASSERT_GT(menus.size(), 30);
    for (const QString& text : menus)
        EXPECT_TRUE(text.startsWith(QStringLiteral("\u00ab"))) << text.toStdString();
    EXPECT_EQ(menus.first(), Guillemets("&File"));
    QAction* configure = Frame()->Action(CMainFrame::EditConfigure);
    EXPECT_EQ(configure->text(), Guillemets("&Configure ...") + "\tAlt+Enter");
    EXPECT_EQ(configure->statusTip(), Guillemets("Configure the widget to fit your requirment"));
    EXPECT_EQ(Frame()->Action(CMainFrame::FileNew)->toolTip(), Guillemets("New"));
    EXPECT_TRUE(StatusTexts().contains(Guillemets("For Help, press F1")));
    EXPECT_TRUE(StatusTexts().contains(Guillemets("CAP")));

    // The dialogs of the program, each with the texts of its own class.
    QStringList titles;
    dialogRunner = [&titles](QDialog& dialog) {
        titles << dialog.windowTitle();
        return false;
    };
    for (CMainFrame::Command command :
         {CMainFrame::AppAbout, CMainFrame::OptionWebBrowser, CMainFrame::OptionTemplate,
          CMainFrame::EditRename, CMainFrame::EditLocalHtml, CMainFrame::FileSaveAsTemplate})
        Frame()->Action(command)->trigger();
    dialogRunner = nullptr;
    EXPECT_EQ(titles, QStringList({Guillemets("About Quillary Foldline"), Guillemets("Web Browser"),
                                   Guillemets("Manage Templates"), Guillemets("Rename"),
                                   Guillemets("Get Local HTML"), Guillemets("Save as Template")}));

    // A message keeps its arguments and the system's reason after the translated sentence.
    const QString missing = TempPath("missing.tsl");
    EXPECT_TRUE(OpenMissingFile().startsWith(Guillemets("Cannot open %1.").arg(missing) + "\n\n" +
                                             missing + ": "));
    // The component's own texts come from the same catalogue.
    EXPECT_EQ(ImportBadJson(), Guillemets("Cannot import %1: %2")
                                   .arg(TempPath("bad.json"), "the text is not a JSON object"));
}

TEST_F(TranslationTest, EnglishUsersSeeTheSourceTextsWhateverIsInstalled) {
    REQUIRE_COMPONENT();
    InstallTestLanguage(AppFolder());
    InstallTestLanguage(componentFolder);
    SpeakEnglish();
    ASSERT_TRUE(Start());
    ExpectEnglish();
}

TEST_F(TranslationTest, ALanguageNotInstalledLeavesTheTextsEnglish) {
    REQUIRE_COMPONENT();
    SpeakTestLanguage();
    ASSERT_TRUE(Start());
    ExpectEnglish();
}

// The component installs its own catalogue, so its dialogs and reasons follow the user's
// language in a host that ships none; it takes it out again with its last object.
TEST_F(TranslationTest, ComponentSpeaksTheLanguageOfItsOwnFolder) {
    REQUIRE_COMPONENT();
    // The component knows its folder by the library's real path: a copy, not a link, makes the
    // test's folder its own.
    const QString library = componentFolder + "/libTesselFoldline.so";
    ASSERT_TRUE(QFile::remove(library));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(ComponentLibraryPath()), library));
    InstallTestLanguage(componentFolder);
    SpeakTestLanguage();
    ASSERT_TRUE(Start());
    EXPECT_EQ(ImportBadJson(), Guillemets("Cannot import %1: %2")
                                   .arg(TempPath("bad.json"), "the text is not a JSON object"));

    app->ExitInstance();
    app.reset();
    EXPECT_EQ(QCoreApplication::translate("CFoldline", "Cannot import %1: %2"),
              "Cannot import %1: %2");
}

} // namespace
