#include "PagesFixture.h"

#include "CDlgImage.h"
#include "CSpinEdit.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// The value of one applet parameter line.
std::string Param(const std::string& html, const std::string& name) {
    const std::string key = "<param name=\"" + name + "\" value=\"";
    const auto start = html.find(key);
    if (start == std::string::npos)
        return "<missing " + name + ">";
    const auto from = start + key.size();
    return html.substr(from, html.find("\">", from) - from);
}

} // namespace

// A three-level widget built only with the dialog's commands and pages, then OK.
TEST_F(PagesTest, ThreeLevelWidgetThroughTheDialogGivesItsWebHtml) {
    // Support files that no longer exist are dropped, so the image is a real file.
    QTemporaryDir site;
    ASSERT_TRUE(site.isValid());
    const QString image = site.filePath("deep.gif");
    QFile(image).open(QIODevice::WriteOnly);
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* applet = AppletTab(dialog, "Applet Parameters");
        Field<QLineEdit>(applet, "Name:")->setText("SiteNav");
        Field<CSpinEdit>(applet, "Width:", "Applet")->SetText("300");

        dialog.OnInsert(); // a top-level menu, selected
        EXPECT_NE(CDlgConfig::MenuOf(dialog.SelectedNode()), nullptr);
        dialog.OnInsert(); // its first item
        CPropertyPage* general = ItemTab(dialog, "General");
        Field<QPlainTextEdit>(general, "Item Label:")->setPlainText("Home");
        Field<QLineEdit>(general, "Link to:")->setText("index.htm");
        Field<QComboBox>(general, "Target Frame:")->setEditText("_new");
        QTreeWidgetItem* home = dialog.SelectedNode();

        dialog.OnInsert(); // level two
        EXPECT_EQ(dialog.ItemSheet()->ActivePage(), general);
        EXPECT_EQ(home->text(0), QString("Home"));
        Field<QPlainTextEdit>(general, "Item Label:")->setPlainText("Sub\nline");

        dialog.OnInsert(); // level three
        Field<QPlainTextEdit>(general, "Item Label:")->setPlainText("Deep");
        AnswerDialog<CDlgImage>([image](CDlgImage& d) {
            CWebPathFileDialog::DialogRunner() = [image](CWebPathFileDialog& chooser) {
                chooser.SetFilePath(image);
                chooser.SetWebPath("img");
                return true;
            };
            Browse(&d, CDlgImage::kNormal)->click();
            CWebPathFileDialog::DialogRunner() = nullptr;
        });
        Button(general, "Image...")->click();
        CPropertyPage* over = ItemTab(dialog, "Mouse Over");
        Field<CSpinEdit>(over, "Text Offset:", "Align")->SetText("-3");

        dialog.SelectNode(home);
        CPropertyPage* size = ItemTab(dialog, "Size");
        Field<QLineEdit>(size, "Item Width:", "Size of the item")->setText("120");
        return PressOk(dialog);
    }));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(Model().Name, "SiteNav");

    const std::string html = m_object->GetHTMLBody(0, kHtmlWeb);
    EXPECT_NE(html.find("width=\"300\""), std::string::npos) << html;
    EXPECT_EQ(Param(html, "I0-0"), "Home,,,,,,,_new,index.htm");
    EXPECT_EQ(Param(html, "I1-0"), "Sub|_#`line,,,,,,,_self,");
    EXPECT_EQ(Param(html, "I2-0"), "Deep,,img/deep.gif,,,,,_self,");
    EXPECT_EQ(Param(html, "MStyle-0"), "000000,01,0,0,40,0,120,20,5,0");
    EXPECT_EQ(Param(html, "Misc"), "3,1,1,1,-0,0-1,1-2,");
    // The mouse-over group of the deepest menu ends with its text offset.
    const QStringList groups =
        QString::fromStdString(Param(html, "IStyle-2")).split(",,,", Qt::SkipEmptyParts);
    ASSERT_EQ(groups.size(), 3) << html;
    EXPECT_TRUE(groups[1].endsWith(",-3")) << groups[1].toStdString();
    EXPECT_TRUE(groups[0].endsWith(",0,0")) << groups[0].toStdString();
    EXPECT_EQ(html.find("I3-"), std::string::npos);
}

// What the open dialog holds, stored or only typed on the page, is in the working document the
// program keeps as its recovery copy; Cancel still restores the widget.
TEST_F(PagesTest, TheWorkingDocumentHoldsTheOpenDialogsEditsTypedOrStored) {
    CFurlin* menu = Model().InsertNewMenu();
    CFurlinItem* item = menu->InsertNewItem();
    item->Label = "Before";
    std::string during;
    EXPECT_FALSE(Configure([&](CDlgConfig& dialog) -> bool {
        dialog.OnInsert(); // stored at once: a second top-level menu
        Select(dialog, item);
        Field<QPlainTextEdit>(ItemTab(dialog, "General"), "Item Label:")->setPlainText("Typed");
        during = m_object->GetWorkingDocument();
        EXPECT_EQ(item->Label, "Before") << "typing alone stores nothing";
        dialog.reject();
        return false;
    }));
    EXPECT_NE(during.find("Typed,"), std::string::npos) << during;
    EXPECT_EQ(during.find("Before,"), std::string::npos) << during;
    EXPECT_NE(during.find("Misc = 3,"), std::string::npos) << during;
    const std::string after = m_object->GetWorkingDocument();
    EXPECT_NE(after.find("Misc = 2,"), std::string::npos) << after;
    EXPECT_NE(after.find("Before,"), std::string::npos);
    EXPECT_EQ(after.find("Typed,"), std::string::npos);
}
