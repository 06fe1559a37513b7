#include "SupportFixture.h"

#include "CTesselFile.h"

#include <vector>

namespace {

using AppletHtmlTest = SupportTest;

// The lines without their CR LF.
std::vector<std::string> Lines(const std::string& html) {
    std::vector<std::string> lines;
    for (std::string::size_type start = 0, end; start < html.size(); start = end + 2) {
        end = html.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << html.substr(start);
            break;
        }
        lines.push_back(html.substr(start, end - start));
    }
    return lines;
}

const std::string kDefaultApStyle = "\t<param name=\"ApStyle\" "
                                    "value=\"000000,000000,,0,0,0,,1,5,5,0,1,160,0,5,050000,1,"
                                    "Loading Image...\">";

TEST_F(AppletHtmlTest, DefaultWidgetAndAlignmentWords) {
    CAppletParameters model;
    CTesselFile document;
    const std::vector<std::string> lines = Lines(model.GetAppletHtml(document, kHtmlWeb));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "<p align=\"Center\">");
    EXPECT_EQ(lines[1],
              "<applet  code=\"furlin.class\" align=\"baseline\" width=\"200\" height=\"400\">");
    EXPECT_EQ(lines[2].rfind("\t<param name=\"Notice\" value=\"Quillary Foldline 1.1", 0), 0u);
    EXPECT_EQ(lines[3], kDefaultApStyle);
    EXPECT_EQ(lines[4], "\t<param name=\"Misc\" value=\"0,\">");
    EXPECT_EQ(lines[5], "</applet>");
    EXPECT_EQ(lines[6], "</p>");
    EXPECT_EQ(document.GetResourceCount(), 1);
    EXPECT_FALSE(document.Descriptions().Contains("PreviewPath")); // read without adding it

    model.Width = 0;
    model.Align = 1;
    const std::vector<std::string> left = Lines(model.GetAppletHtml(document, kHtmlWeb));
    EXPECT_EQ(left[0], "<p align=\"Left\">");
    EXPECT_NE(left[1].find(" width=\"0\" height=\"400\">"), std::string::npos) << left[1];
    model.Align = 2;
    EXPECT_EQ(Lines(model.GetAppletHtml(document, kHtmlWeb))[0], "<p align=\"Right\">");
}

TEST_F(AppletHtmlTest, LocalModeUsesThePreviewFolderAsCodebaseAndForFiles) {
    const std::string pics = Dir("pics");
    Write(pics + "/a.gif", "x");
    CAppletParameters model;
    model.WebPath = "applets/";
    CFurlinItem* item = AppendMenu(model, 1)->GetItem(0);
    item->Label = "Home";
    item->NormalImage = pics + "/a.gif";
    item->NormalImageWebPath = "img/";
    item->OverImage = pics + "/deleted.gif";
    CTesselFile document;
    document.SetDescription("PreviewPath", "/site/tmp/");

    const std::vector<std::string> local = Lines(model.GetAppletHtml(document, kHtmlLocal));
    ASSERT_EQ(local.size(), 10u);
    EXPECT_EQ(local[1], "<applet codebase=\"/site/tmp/\" code=\"furlin.class\" align=\"baseline\" "
                        "width=\"200\" height=\"400\">");
    EXPECT_EQ(local[3], kDefaultApStyle);
    EXPECT_EQ(local[4].rfind("\t<param name=\"MStyle-0\" value=\"", 0), 0u) << local[4];
    EXPECT_EQ(local[5].rfind("\t<param name=\"IStyle-0\" value=\"", 0), 0u) << local[5];
    EXPECT_EQ(local[6], "\t<param name=\"I0-0\" value=\"Home,,/site/tmp/a.gif,,,,,_self,\">");
    EXPECT_EQ(local[7], "\t<param name=\"Misc\" value=\"1,1,-0,\">");
    EXPECT_EQ(item->OverImage, ""); // the deleted file is cleared in the model

    const std::vector<std::string> web = Lines(model.GetAppletHtml(document, kHtmlWeb));
    ASSERT_EQ(web.size(), 10u);
    EXPECT_EQ(web[1].rfind("<applet codebase=\"applets/\" code=", 0), 0u) << web[1];
    EXPECT_EQ(web[6], "\t<param name=\"I0-0\" value=\"Home,,img/a.gif,,,,,_self,\">");
}

TEST_F(AppletHtmlTest, QuotesAndMarkupInValuesStayInsideTheAttribute) {
    CAppletParameters model;
    model.WebPath = "http://host/a\"b&c/";
    model.LoadingMessage = "Wait <now>";
    CFurlinItem* item = AppendMenu(model, 1)->GetItem(0);
    item->Label = "Say \"hi\" & <b>";
    item->Link = "page.htm?a=1&b=\"2\"";
    CTesselFile document;

    const std::vector<std::string> lines = Lines(model.GetAppletHtml(document, kHtmlWeb));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1].rfind("<applet codebase=\"http://host/a&quot;b&amp;c/\" code=", 0), 0u);
    EXPECT_NE(lines[3].find(",1,Wait &lt;now&gt;\">"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[6], "\t<param name=\"I0-0\" value=\"Say &quot;hi&quot; &amp; &lt;b&gt;,,,,,,,"
                        "_self,page.htm?a=1&amp;b=&quot;2&quot;\">");
}

} // namespace
