#include "CQuillaryToolView.h"
#include "CMainFrame.h"
#include "CPreview.h"
#include "CQuillaryToolDoc.h"
#include "CTemplateDialogs.h"
#include "CViewDialogs.h"
#include "HostTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTreeWidget>

namespace {

QString Shown(const std::string& html) {
    return QString::fromStdString(html).replace("\r\n", "\n");
}

} // namespace

class CQuillaryToolViewTest : public HostTest {
protected:
    CQuillaryToolView* View() { return app->View(); }
    CTessel* Widget() { return app->Document()->Component(); }
};

TEST_F(CQuillaryToolViewTest, InitialUpdateShowsNameHtmlAndSupportFiles) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CQuillaryToolView* view = View();
    EXPECT_EQ(view->nameValue->text(), "Normal");
    EXPECT_EQ(view->descriptionValue->text(), "");
    const QString local = Shown(Widget()->GetHTMLBody(0, 0));
    EXPECT_FALSE(local.isEmpty());
    EXPECT_EQ(view->positionPane->toPlainText(), local);
    EXPECT_FALSE(view->headPane->isVisibleTo(view));
    EXPECT_TRUE(view->positionPane->isVisibleTo(view));

    const int count = Widget()->GetResourceNumber();
    ASSERT_EQ(view->fileList->topLevelItemCount(), count);
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* row = view->fileList->topLevelItem(i);
        EXPECT_EQ(row->text(0).toStdString(), Widget()->GetResourceName(i));
        EXPECT_EQ(row->text(1).toStdString(), Widget()->GetResourceLocalPath(i));
        EXPECT_EQ(row->text(2).toStdString(), Widget()->GetResourceWebPath(i));
    }
    const QFontMetrics metrics(view->fileList->header()->font());
    const int extra[3] = {50, 140, 120};
    for (int c = 0; c < 3; ++c) {
        const QString header = view->fileList->headerItem()->text(c);
        EXPECT_EQ(view->fileList->columnWidth(c), metrics.horizontalAdvance(header) + extra[c]);
    }
    EXPECT_EQ(view->fileList->headerItem()->text(1), "Source File Path");

    EXPECT_EQ(view->BackgroundColor(), QColor(230, 230, 250));
    EXPECT_EQ(view->nameCaption->TextColor(), QColor(0, 0, 255));
    EXPECT_EQ(view->positionPaneCaption->TextColor(), QColor(0, 0, 255));
    EXPECT_NE(view->nameValue->TextColor(), QColor(0, 0, 255));
    EXPECT_EQ(view->nameValue->BackgroundColor(), QColor(230, 230, 250));

    // A second initial update keeps one set of rows.
    view->OnInitialUpdate();
    EXPECT_EQ(view->fileList->topLevelItemCount(), count);
}

TEST_F(CQuillaryToolViewTest, RenameKeepsAskingUntilTheNameIsAlphanumeric) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    QStringList refusals;
    dialogRunner = [&](QDialog& dialog) {
        auto* rename = dynamic_cast<CDlgRename*>(&dialog);
        EXPECT_NE(rename, nullptr);
        if (rename == nullptr)
            return false;
        EXPECT_EQ(rename->Name(), "Normal");
        for (const char* bad : {"My Menu", "menu_1", ""}) {
            messages.clear();
            rename->NameEdit()->setText(bad);
            rename->accept();
            EXPECT_NE(rename->result(), QDialog::Accepted) << bad;
            refusals << messages;
        }
        rename->NameEdit()->setText("Menu2");
        rename->DescriptionEdit()->setText("second, menu!");
        messages.clear();
        rename->accept();
        EXPECT_TRUE(messages.isEmpty());
        return rename->result() == QDialog::Accepted;
    };
    View()->OnRename();
    const QString invalid =
        "The name of widget is not valid.It accept only alphanumeric characters.\nYou have "
        "entered an invalid character, such as '-', '_', ':', ';', '#', (), [], or ?, in the "
        "name.\n";
    EXPECT_EQ(refusals, (QStringList{invalid, invalid, "You must enter a name!"}));
    EXPECT_EQ(Widget()->GetTitle(), "Menu2");
    EXPECT_EQ(Widget()->GetDescription(), "second, menu!");
    EXPECT_TRUE(app->Document()->IsModified());
    EXPECT_EQ(View()->nameValue->text(), "Menu2");
    EXPECT_EQ(View()->descriptionValue->text(), "second, menu!");

    app->Document()->SetModifiedFlag(false);
    dialogRunner = [](QDialog& dialog) {
        dynamic_cast<CDlgRename&>(dialog).NameEdit()->setText("Other");
        return false;
    };
    View()->OnRename();
    EXPECT_EQ(Widget()->GetTitle(), "Menu2");
    EXPECT_FALSE(app->Document()->IsModified());
}

TEST(NormalizePreviewPathTest, UsesSlashesAndEndsWithOne) {
    EXPECT_EQ(NormalizePreviewPath("C:\\Web\\menu"), "C:/Web/menu/");
    EXPECT_EQ(NormalizePreviewPath("img/"), "img/");
    EXPECT_EQ(NormalizePreviewPath("a\\"), "a/");
    EXPECT_EQ(NormalizePreviewPath(""), "");
}

TEST_F(CQuillaryToolViewTest, LocalAndWebHtmlFollowThePreviewPath) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    dialogRunner = [](QDialog& dialog) {
        auto& local = dynamic_cast<CDlgGetLocalHtml&>(dialog);
        local.PathEdit()->setText("C:\\Web\\menu");
        return true;
    };
    View()->OnGetLocalHtml();
    EXPECT_EQ(Widget()->GetPreviewPath(), "C:/Web/menu/");
    EXPECT_TRUE(app->Document()->IsModified());
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 0)));
    EXPECT_TRUE(View()->positionPane->toPlainText().contains("C:/Web/menu/"));

    app->Document()->SetModifiedFlag(false);
    View()->positionPane->setPlainText("typed by hand");
    View()->OnGetWebHtml();
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 1)));
    EXPECT_FALSE(app->Document()->IsModified());

    // The modern HTML is the web markup for today's browsers, which loads the runtime files.
    View()->OnGetModernHtml();
    const QString modern = View()->positionPane->toPlainText();
    EXPECT_EQ(modern, Shown(Widget()->GetHTMLBody(0, 3)));
    EXPECT_TRUE(modern.contains("<nav class=\"furlin\""));
    EXPECT_EQ(modern.count("<script src="), 1);
    EXPECT_FALSE(modern.contains("<applet"));
    EXPECT_FALSE(app->Document()->IsModified());

    dialogRunner = [](QDialog& dialog) {
        auto& local = dynamic_cast<CDlgGetLocalHtml&>(dialog);
        EXPECT_EQ(local.PreviewPath(), "C:/Web/menu/");
        local.PathEdit()->clear();
        return true;
    };
    View()->OnGetLocalHtml();
    EXPECT_EQ(Widget()->GetPreviewPath(), "");
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 0)));

    dialogRunner = [](QDialog& dialog) {
        dynamic_cast<CDlgGetLocalHtml&>(dialog).PathEdit()->setText("elsewhere");
        return false;
    };
    app->Document()->SetModifiedFlag(false);
    View()->OnGetLocalHtml();
    EXPECT_EQ(Widget()->GetPreviewPath(), "");
    EXPECT_FALSE(app->Document()->IsModified());
}

TEST_F(CQuillaryToolViewTest, NameAndDescriptionShowAsTypedNotAsMarkup) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Widget()->SetTitle("<i>N</i>");
    Widget()->SetDescription("<b>x</b> &amp; y");
    View()->OnInitialUpdate();
    for (QLabel* value : {static_cast<QLabel*>(View()->nameValue),
                          static_cast<QLabel*>(View()->descriptionValue)}) {
        // Markup would render as the shorter "N" or "x & y".
        const QFontMetrics metrics(value->font());
        EXPECT_GE(value->sizeHint().width(), metrics.horizontalAdvance(value->text()))
            << value->text().toStdString();
    }

    CDlgNew dialog(*Widget());
    ASSERT_TRUE(dialog.Initialize());
    ASSERT_GT(dialog.templates.Count(), 0);
    dialog.templates.descriptions[0] = "<b>bold?</b>";
    dialog.OnSelectionChanged(0);
    const QFontMetrics metrics(dialog.descriptionLine->font());
    EXPECT_GE(dialog.descriptionLine->sizeHint().width(),
              metrics.horizontalAdvance("<b>bold?</b>"));
}

TEST_F(CQuillaryToolViewTest, FormTextsKeepTheirContrastUnderADarkTheme) {
    REQUIRE_COMPONENT();
    const QPalette saved = QApplication::palette();
    struct Restore {
        QPalette palette;
        ~Restore() { QApplication::setPalette(palette); }
    } restore{saved};
    auto readable = [](CColorLabel* label) {
        return ContrastRatio(label->TextColor(), label->BackgroundColor()) >= 4.5;
    };

    ASSERT_TRUE(Start());
    // A light theme's text colour is kept.
    EXPECT_EQ(View()->nameValue->TextColor(), View()->palette().color(QPalette::WindowText));

    QPalette dark = saved;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(40, 40, 40));
    QApplication::setPalette(dark);
    QApplication::processEvents();
    for (CColorLabel* label : {View()->nameValue, View()->descriptionValue, View()->nameCaption,
                               View()->fileListCaption, View()->positionPaneCaption})
        EXPECT_TRUE(readable(label)) << label->text().toStdString();

    // A program started under the dark theme too.
    app->ExitInstance();
    app.reset();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(readable(View()->nameValue));
    EXPECT_TRUE(readable(View()->descriptionValue));
}

TEST(ContrastTest, FollowsTheWcagRatio) {
    EXPECT_DOUBLE_EQ(ContrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(QColor(10, 20, 30), QColor(10, 20, 30)), 1.0);
    EXPECT_NEAR(ContrastRatio(QColor(0, 0, 255), QColor(230, 230, 250)), 6.98, 0.01);
    const QColor lavender(230, 230, 250);
    EXPECT_EQ(ReadableTextColor(QColor(20, 20, 20), lavender), QColor(20, 20, 20));
    EXPECT_EQ(ReadableTextColor(QColor(220, 220, 220), lavender), QColor(0, 0, 0));
    EXPECT_EQ(ReadableTextColor(QColor(40, 40, 40), QColor(10, 10, 10)), QColor(255, 255, 255));
}

namespace {

// The file list's rows as "name | local folder | web folder".
QStringList Rows(QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        rows << row->text(0) + " | " + row->text(1) + " | " + row->text(2);
    }
    return rows;
}

} // namespace

TEST_F(CQuillaryToolViewTest, ModernHtmlOptionIsOffByDefaultAndSwitchesEveryHtmlToTodaysKinds) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    CMainFrame* frame = app->MainFrame();
    QAction* option = frame->Action(CMainFrame::OptionModernHtml);
    EXPECT_TRUE(option->isCheckable());
    EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 0)));
    const QStringList applet = Rows(View()->fileList);
    ASSERT_FALSE(applet.isEmpty());
    EXPECT_FALSE(applet.join('\n').contains("furlin.js"));
    EXPECT_FALSE(applet.join('\n').contains("furlin.css"));

    option->trigger();
    EXPECT_TRUE(option->isChecked());
    EXPECT_FALSE(app->Document()->IsModified());
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 2)));
    // The runtime's files join the list, in the folders of the applet class file.
    const int classRow =
        static_cast<int>(applet.indexOf(QRegularExpression("^furlin\\.class \\|.*")));
    ASSERT_GE(classRow, 0);
    QStringList runtime;
    for (const char* name : {"furlin.js", "furlin.css"})
        runtime << QString(applet[classRow]).replace("furlin.class", name);
    EXPECT_EQ(Rows(View()->fileList), applet + runtime);

    View()->OnGetWebHtml();
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 3)));
    dialogRunner = [](QDialog&) { return true; };
    View()->OnGetLocalHtml();
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 2)));
    EXPECT_EQ(Rows(View()->fileList), applet + runtime);

    // Preview writes the page of today's browsers.
    Widget()->SetPreviewPath("site/");
    frame->Action(CMainFrame::EditPreview)->trigger();
    Widget()->SetPreviewPath("");
    EXPECT_EQ(
        ReadText(app->ProcessPreviewFolder() + "/preview.htm").toStdString(),
        host::BuildModernPreviewPage(host::PreviewLanguage(), "", "", Widget()->GetHTMLBody(0, 2)));

    // Kept for the next start.
    app->ExitInstance();
    app.reset();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(app->MainFrame()->Action(CMainFrame::OptionModernHtml)->isChecked());
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 2)));
    EXPECT_EQ(CQuillaryToolApp::Profile()->value("Output/Use HTML for Today's Browsers").toBool(),
              true);

    // Off again: the applet's HTML and list, exactly.
    app->MainFrame()->Action(CMainFrame::OptionModernHtml)->trigger();
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 0)));
    EXPECT_EQ(Rows(View()->fileList), applet);
    View()->OnGetWebHtml();
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 1)));
}

TEST_F(CQuillaryToolViewTest, ModernHtmlShownByItsOwnCommandListsTheRuntimeWhileShown) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QStringList applet = Rows(View()->fileList);
    View()->OnGetModernHtml();
    EXPECT_EQ(View()->positionPane->toPlainText(), Shown(Widget()->GetHTMLBody(0, 3)));
    ASSERT_EQ(Rows(View()->fileList).size(), applet.size() + 2);
    EXPECT_TRUE(Rows(View()->fileList)[applet.size()].startsWith("furlin.js | "));
    EXPECT_TRUE(Rows(View()->fileList).last().startsWith("furlin.css | "));
    View()->OnGetModernHtml(); // once, however often it is asked for
    EXPECT_EQ(Rows(View()->fileList).size(), applet.size() + 2);
    View()->OnGetWebHtml();
    EXPECT_EQ(Rows(View()->fileList), applet);
}
