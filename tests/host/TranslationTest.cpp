// The program and the component show their texts in the user's language when a catalogue for
// it is installed beside them, and in English otherwise. The language installed here is made up
// from the template (every text in guillemets), so each assertion also proves which texts went
// through the translation.
#include "Translation.h"
#include "CMainFrame.h"
#include "Catalogue.h"
#include "HostTestSupport.h"
#include "Prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace {

// What the configuration dialog shows: the tree's context menu with its sub-menu, the tool
// buttons' tips, the other buttons and boxes beside the tree, the tabs and every text of the
// widget's pages, and the live preview's width buttons, direction box and message.
struct ConfigTexts {
    QStringList commands;
    QStringList tips;
    QStringList buttons;
    QStringList tabs;
    QStringList pageTexts;
    QStringList widths;
    QString rightToLeft;
    QString previewMessage;
};

QStringList MenuEntries(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        texts << action->text();
        if (action->menu())
            texts << MenuEntries(*action->menu());
    }
    return texts;
}

// The captions, titles, choices and button names of a page ("..." is a sign, not a text).
QStringList PageTexts(const QWidget& page) {
    QStringList texts;
    for (const QLabel* label : page.findChildren<QLabel*>())
        texts << label->text();
    for (const QGroupBox* box : page.findChildren<QGroupBox*>())
        texts << box->title();
    for (const QAbstractButton* button : page.findChildren<QAbstractButton*>())
        texts << (button->text() == "..." ? button->accessibleName() : button->text());
    for (const QComboBox* list : page.findChildren<QComboBox*>())
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
    texts.removeAll(QString());
    return texts;
}

// The dialog lives in the component, so its classes are known here by name only.
QWidget* ChildOfClass(const QObject& parent, const char* className) {
    for (QWidget* child : parent.findChildren<QWidget*>())
        if (child->inherits(className))
            return child;
    return nullptr;
}

ConfigTexts ReadConfigDialog(QDialog& dialog, const QWidget& pane) {
    ConfigTexts texts;
    for (const QMenu* menu : dialog.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        if (menu->menuAction() && MenuEntries(*menu).size() > texts.commands.size())
            texts.commands = MenuEntries(*menu);
    for (const QPushButton* button : dialog.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        (button->text().isEmpty() ? texts.tips : texts.buttons)
            << (button->text().isEmpty() ? button->toolTip() : button->text());
    for (const QCheckBox* box : dialog.findChildren<QCheckBox*>(Qt::FindDirectChildrenOnly))
        texts.buttons << box->text();
    for (const QTabWidget* sheet : dialog.findChildren<QTabWidget*>()) {
        if (!sheet->isVisible())
            continue;
        for (int i = 0; i < sheet->count(); ++i) {
            texts.tabs << sheet->tabText(i);
            texts.pageTexts << PageTexts(*sheet->widget(i));
        }
    }
    for (const QToolButton* width : pane.findChildren<QToolButton*>())
        texts.widths << width->text();
    if (const QCheckBox* box = pane.findChild<QCheckBox*>())
        texts.rightToLeft = box->text();
    if (const QLabel* message = pane.findChild<QLabel*>())
        texts.previewMessage = message->text();
    return texts;
}

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

    // The helper program of the web engine, made missing so the live preview gives up at once
    // with its message instead of starting an engine.
    QString MissingEngineHelper() { return TempPath("no-engine-helper"); }

    // Opens the configuration dialog on the widget, reads it once its live preview has shown
    // why it cannot draw, and closes it.
    ConfigTexts ReadConfigurationDialog() {
        const QByteArray savedHelper = qgetenv("QTWEBENGINEPROCESS_PATH");
        qputenv("QTWEBENGINEPROCESS_PATH", MissingEngineHelper().toUtf8());
        ConfigTexts texts;
        QElapsedTimer waited;
        waited.start();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QWidget* pane = dialog ? ChildOfClass(*dialog, "CLivePreview") : nullptr;
            const QLabel* message = pane ? pane->findChild<QLabel*>() : nullptr;
            if (!message || (message->text().isEmpty() && waited.elapsed() < 10000))
                return;
            poll.stop();
            texts = ReadConfigDialog(*dialog, *pane);
            dialog->reject();
        });
        poll.start(20);
        Frame()->Action(CMainFrame::EditConfigure)->trigger();
        if (savedHelper.isNull())
            qunsetenv("QTWEBENGINEPROCESS_PATH");
        else
            qputenv("QTWEBENGINEPROCESS_PATH", savedHelper);
        EXPECT_FALSE(poll.isActive()) << "the configuration dialog did not open";
        return texts;
    }

    // Makes the test's component folder the component's own: the component knows its folder by
    // the library's real path, so a copy, not a link.
    void CopyComponentIntoItsFolder() {
        const QString library = componentFolder + "/libTesselFoldline.so";
        ASSERT_TRUE(QFile::remove(library));
        ASSERT_TRUE(QFile::copy(QString::fromStdString(ComponentLibraryPath()), library));
    }

    void ExpectEnglish() {
        EXPECT_EQ(Frame()->Action(CMainFrame::EditConfigure)->text(), "&Configure ...\tAlt+Enter");
        EXPECT_EQ(MenuTexts().first(), "&File");
        EXPECT_TRUE(StatusTexts().contains("For Help, press F1"));
        EXPECT_TRUE(OpenMissingFile().startsWith("Cannot open " + TempPath("missing.tsl") + "."));
        EXPECT_EQ(ImportBadJson(),
                  "Cannot import " + TempPath("bad.json") + ": the text is not a JSON object");

        const ConfigTexts config = ReadConfigurationDialog();
        ASSERT_FALSE(config.commands.isEmpty());
        EXPECT_EQ(config.commands.first(), "&Cut");
        EXPECT_TRUE(config.commands.contains("Menus at the Same Depth"));
        EXPECT_TRUE(config.tips.contains("Insert a item"));
        EXPECT_EQ(config.tabs, QStringList({"Applet Parameters", "More Styles"}));
        EXPECT_TRUE(config.pageTexts.contains("Name:"));
        EXPECT_TRUE(config.pageTexts.contains("Today's Browsers"));
        EXPECT_EQ(config.widths, QStringList({"Phone", "Tablet", "Full"}));
        EXPECT_EQ(config.previewMessage, "Live preview is not available.\nThe web engine's helper "
                                         "program " +
                                             MissingEngineHelper() + " was not found.");
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
    CopyComponentIntoItsFolder();
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

// The configuration dialog and its live preview are the component's: its own catalogue
// translates them in a program that ships none.
TEST_F(TranslationTest, ConfigurationDialogSpeaksTheComponentsLanguage) {
    REQUIRE_COMPONENT();
    CopyComponentIntoItsFolder();
    InstallTestLanguage(componentFolder);
    SpeakTestLanguage();
    ASSERT_TRUE(Start());
    const ConfigTexts config = ReadConfigurationDialog();

    // The tree's commands, from the command table, and the sub-menu's scopes.
    ASSERT_EQ(config.commands.size(), 18);
    EXPECT_EQ(config.commands.first(), Guillemets("&Cut"));
    EXPECT_TRUE(config.commands.contains(Guillemets("Apply &Look To")));
    EXPECT_TRUE(config.commands.contains(Guillemets("Menus at the Same Depth")));
    ASSERT_EQ(config.tips.size(), 8);
    EXPECT_EQ(config.tips.first(), Guillemets("Cut"));
    // The widget's pages, down to the group built apart from its page.
    EXPECT_EQ(config.tabs,
              QStringList({Guillemets("Applet Parameters"), Guillemets("More Styles")}));
    ASSERT_GT(config.pageTexts.size(), 30);
    EXPECT_TRUE(config.pageTexts.contains(Guillemets("Name:")));
    EXPECT_TRUE(config.pageTexts.contains(Guillemets("Choose the background audio file")));
    EXPECT_TRUE(config.pageTexts.contains(Guillemets("Today's Browsers")));
    EXPECT_TRUE(config.pageTexts.contains(Guillemets("Center")));
    // The live preview, with the reason it cannot draw after the translated sentence.
    EXPECT_EQ(config.widths,
              QStringList({Guillemets("Phone"), Guillemets("Tablet"), Guillemets("Full")}));
    EXPECT_EQ(config.rightToLeft, Guillemets("Right to Left"));
    EXPECT_EQ(config.previewMessage,
              Guillemets("Live preview is not available.") + "\n" +
                  Guillemets("The web engine's helper program %1 was not found.")
                      .arg(MissingEngineHelper()));
    // Every text the dialog shows went through the translation.
    for (const QStringList& list :
         {config.commands, config.tips, config.buttons, config.tabs, config.pageTexts})
        for (const QString& text : list)
            EXPECT_TRUE(text.startsWith(QStringLiteral("\u00ab"))) << text.toStdString();
    EXPECT_EQ(config.buttons.size(), 3); // OK, Cancel and Live Preview
    // The program's own texts stay English: it ships no catalogue.
    EXPECT_EQ(Frame()->Action(CMainFrame::EditConfigure)->text(), "&Configure ...\tAlt+Enter");
}

} // namespace
