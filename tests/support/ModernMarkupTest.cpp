#include "MarkupTree.h"
#include "SupportFixture.h"

#include "ModernMarkup.h"

#include <algorithm>
#include <map>
#include <vector>

using markup_tree::Element;
using markup_tree::Parse;

namespace {

using ModernMarkupTest = SupportTest;

ModernMarkupOptions Web() {
    ModernMarkupOptions options;
    options.mode = kHtmlWeb;
    return options;
}

// The widget's list elements: nav > ul.
const Element& Nav(const Element& root) {
    for (const Element& child : root.children)
        if (child.tag == "div")
            return child.Child(0);
    ADD_FAILURE() << "no block";
    return root;
}

// The labels of every item in document order, each led by its depth.
void Outline(const Element& list, int depth, std::vector<std::string>& out) {
    for (const Element& item : list.children) {
        out.push_back(std::string(static_cast<std::size_t>(depth), '-') + item.Child(0).AllText());
        for (const Element& part : item.children)
            if (part.tag == "ul")
                Outline(part, depth + 1, out);
    }
}

std::vector<std::string> Outline(const Element& nav) {
    std::vector<std::string> out;
    for (const Element& list : nav.children)
        Outline(list, 0, out);
    return out;
}

TEST_F(ModernMarkupTest, DefaultWidgetIsTheBlockTheLandmarkAndTheRuntimeFiles) {
    CAppletParameters model;
    model.WebPath = "res/";
    const std::string html = ModernMarkup(model, Web());
    const Element root = Parse(html);
    ASSERT_EQ(root.children.size(), 3u);
    EXPECT_EQ(html.rfind("<link rel=\"stylesheet\" href=\"res/furlin.css\">\r\n"
                         "<div class=\"furlin-block\" data-align=\"center\">\r\n"
                         "<nav class=\"furlin\" aria-label=\"My Foldline\" data-furlin=\"{",
                         0),
              0u)
        << html;
    EXPECT_EQ(html.substr(html.find("}\">\r\n")),
              "}\">\r\n</nav>\r\n</div>\r\n<script src=\"res/furlin.js\" defer></script>\r\n");
    EXPECT_EQ(root.Child(1).Child(0)["class"], "furlin");

    model.Align = 1;
    model.Name = " \t";
    ModernMarkupOptions bare = Web();
    bare.runtimeElements = false;
    bare.preview = true;
    const Element left = Parse(ModernMarkup(model, bare));
    ASSERT_EQ(left.children.size(), 1u); // the block alone
    EXPECT_EQ(left.Child(0)["data-align"], "left");
    EXPECT_EQ(left.Child(0).Child(0)["aria-label"], "Menu");
    EXPECT_TRUE(left.Child(0).Child(0).Has("data-furlin-preview"));

    model.Align = 2;
    model.Name = "Shop \"A&B\" <main>";
    ModernMarkupOptions local; // the local kind takes the runtime from the preview folder
    local.previewFolder = "/site/tmp/";
    const Element right = Parse(ModernMarkup(model, local));
    EXPECT_EQ(right.Child(0)["href"], "/site/tmp/furlin.css");
    EXPECT_EQ(right.Child(1)["data-align"], "right");
    EXPECT_EQ(right.Child(1).Child(0)["aria-label"], "Shop \"A&B\" <main>");
    EXPECT_FALSE(right.Child(1).Child(0).Has("data-furlin-preview"));
    EXPECT_EQ(right.Child(2)["src"], "/site/tmp/furlin.js");
}

TEST_F(ModernMarkupTest, ListsHoldTheVisibleWalkOfTheAppletEncoding) {
    CAppletParameters model;
    CFurlin* top = AppendMenu(model, 4);
    const char* labels[] = {"A", "B", "Hidden", "C"};
    for (int i = 0; i < 4; ++i)
        top->GetItem(i)->Label = labels[i];
    top->GetItem(2)->Visible = 0;
    AppendItem(*top->GetItem(2)->GetSubMenu())->Label = "Under hidden";
    AppendItem(*top->GetItem(0)->GetSubMenu())->Label = "A1";
    CFurlinItem* deep = AppendItem(*top->GetItem(0)->GetSubMenu());
    deep->Label = "A2";
    AppendItem(*deep->GetSubMenu())->Label = "A2x";
    AppendItem(*top->GetItem(1)->GetSubMenu())->Visible = 0; // no visible item: left out
    top->GetItem(3)->GetSubMenu()->Visible = 0;
    AppendItem(*top->GetItem(3)->GetSubMenu())->Label = "Under hidden menu";
    AppendMenu(model, 1)->Visible = 0;
    AppendMenu(model, 0);
    AppendMenu(model, 1)->GetItem(0)->Label = "Second";

    const Element nav = Nav(Parse(ModernMarkup(model, Web())));
    EXPECT_EQ(Outline(nav),
              (std::vector<std::string>{"A", "-A1", "-A2", "--A2x", "B", "C", "Second"}));
    // Each emitted list is one the applet encoding emits, with as many items.
    std::map<std::string, int> perMenu;
    for (const auto& [name, value] : model.BuildAppletParams(kHtmlWeb, "")) {
        if (name.rfind("MStyle-", 0) == 0)
            perMenu[name.substr(7)];
        else if (name[0] == 'I' && name.rfind("IStyle-", 0) != 0)
            ++perMenu[name.substr(1, name.find('-') - 1)];
    }
    std::vector<int> counts;
    for (const auto& [menu, count] : perMenu)
        counts.push_back(count);
    std::vector<int> lists;
    std::vector<const Element*> pending{&nav};
    while (!pending.empty()) {
        const Element* e = pending.back();
        pending.pop_back();
        if (e->tag == "ul")
            lists.push_back(static_cast<int>(e->children.size()));
        for (const Element& child : e->children)
            pending.push_back(&child);
    }
    std::sort(counts.begin(), counts.end());
    std::sort(lists.begin(), lists.end());
    EXPECT_EQ(lists, counts);
}

TEST_F(ModernMarkupTest, LinksTargetsAndDroppedSchemes) {
    CAppletParameters model;
    struct Case {
        const char* link;
        const char* target;
        const char* tag;
        const char* targetAttribute; // "" for none
        bool noopener;
    };
    const Case cases[] = {
        {"a.html", "", "a", "", false},
        {"a.html", "_SELF", "a", "", false},
        {"a.html", "_top", "a", "_top", false},
        {"a.html", "_Parent", "a", "_Parent", false},
        {"a.html", "_blank", "a", "_blank", true},
        {"a.html", "content", "a", "content", true},
        // Names HTML does not allow open a new browsing context as "_blank" does.
        {"a.html", "_new", "a", "_blank", true},
        {"a.html", "_", "a", "_blank", true},
        {"a.html", "a\t<b", "a", "_blank", true},
        {"a.html", "my <frame>", "a", "my <frame>", true},
        {"", "_blank", "span", "", false},
        {"  ", "", "span", "", false},
        {"javascript:alert(1)", "", "span", "", false},
        {" \x01JaVaScRiPt:alert(1)", "_blank", "span", "", false},
        {"java\tscr\nipt:alert(1)", "", "span", "", false},
        // Controls the page leaves out cannot hide a scheme.
        {"java\x01script:alert(1)", "", "span", "", false},
        {"javascript\x7f:alert(1)", "_blank", "span", "", false},
        {"java\xc2\x9fscript:alert(1)", "", "span", "", false},
        {"\x01\x02", "", "span", "", false},
        {"VBScript:msgbox", "", "span", "", false},
        {"data:text/html,<b>x</b>", "", "span", "", false},
        {"javascript-guide.html", "", "a", "", false},
        {"page.htm?a=1&b=\"2\"", "", "a", "", false},
    };
    CFurlin* menu = AppendMenu(model, static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CFurlinItem* item = menu->GetItem(static_cast<int>(i));
        item->Link = cases[i].link;
        item->TargetFrame = cases[i].target;
    }
    menu->GetItem(0)->Description = "Tip & \"more\"";
    menu->GetItem(10)->Description = "Plain tip";

    const Element list = Nav(Parse(ModernMarkup(model, Web()))).Child(0);
    ASSERT_EQ(list.children.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].link);
        const Element& shown = list.Child(i).Child(0);
        EXPECT_EQ(shown.tag, cases[i].tag);
        EXPECT_EQ(shown.AllText(), "item");
        if (shown.tag == "a") {
            EXPECT_EQ(shown["href"], cases[i].link);
        }
        EXPECT_EQ(shown["target"], cases[i].targetAttribute);
        EXPECT_EQ(shown.Has("rel"), cases[i].noopener);
        if (cases[i].noopener) {
            EXPECT_EQ(shown["rel"], "noopener");
        }
    }
    EXPECT_EQ(list.Child(0).Child(0)["title"], "Tip & \"more\"");
    EXPECT_EQ(list.Child(10).Child(0)["title"], "Plain tip");
    EXPECT_FALSE(list.Child(1).Child(0).Has("title"));
}

TEST_F(ModernMarkupTest, LinksWithoutTextOrImageAreNamed) {
    CAppletParameters model;
    CFurlin* menu = AppendMenu(model, 4);
    for (int i = 0; i < 4; ++i) {
        menu->GetItem(i)->Label = i == 3 ? "Shown" : "\r\n ";
        menu->GetItem(i)->Link = i == 2 ? "" : "a b.html?x=\"1\"";
    }
    menu->GetItem(1)->Description = "Tip & \"more\"";
    menu->GetItem(2)->Description = "Plain tip";
    const Element list = Nav(Parse(ModernMarkup(model, Web()))).Child(0);
    EXPECT_EQ(list.Child(0).Child(0)["aria-label"], "a b.html?x=\"1\"");
    EXPECT_EQ(list.Child(1).Child(0)["aria-label"], "Tip & \"more\"");
    // A plain item is no control and a labelled link has its text.
    for (int i : {2, 3})
        EXPECT_FALSE(list.Child(i).Child(0).Has("aria-label")) << i;
}

TEST_F(ModernMarkupTest, LabelsAreTextWithTheirLineBreaks) {
    CAppletParameters model;
    CFurlin* menu = AppendMenu(model, 3);
    menu->GetItem(0)->Label = "News,\r\nand more\rand\nless";
    menu->GetItem(1)->Label = "Say \"hi\" <b>bold</b> & </a><script>x</script>";
    menu->GetItem(2)->Label = "Bell\x07 tab\t end\x7f\xc2\x85 \xc3\xa9";
    const std::string html = ModernMarkup(model, Web());
    EXPECT_NE(html.find(">News,<br>and more<br>and<br>less</span>"), std::string::npos) << html;
    const Element list = Nav(Parse(html)).Child(0);
    EXPECT_EQ(list.Child(1).AllText(), "Say \"hi\" <b>bold</b> & </a><script>x</script>");
    // Controls a page may not hold are left out; tab and other letters stay.
    EXPECT_EQ(list.Child(2).AllText(), "Bell tab\t end \xc3\xa9");
}

TEST_F(ModernMarkupTest, NormalImageLeadsTheLabelWithItsTextAlternative) {
    CAppletParameters model;
    model.WebPath = "res/";
    CFurlin* menu = AppendMenu(model, 5);
    for (int i = 0; i < 5; ++i) {
        menu->GetItem(i)->NormalImage = "/pics/dot" + std::to_string(i) + ".png";
        menu->GetItem(i)->Link = "p.html";
    }
    menu->GetItem(0)->Label = "Home"; // labelled: the image is decoration
    menu->GetItem(0)->Description = "Start page";
    menu->GetItem(1)->Label = "";
    menu->GetItem(1)->Description = "Picture \"page\"";
    menu->GetItem(2)->Label = "";
    menu->GetItem(3)->Label = "\r\n";
    menu->GetItem(3)->Description = " ";
    menu->GetItem(4)->NormalImage.clear();
    menu->GetItem(4)->OverImage = "/pics/over.png";

    const std::string html = ModernMarkup(model, Web());
    EXPECT_NE(html.find("<a href=\"p.html\" title=\"Start page\"><img src=\"res/dot0.png\" "
                        "alt=\"\">Home</a>"),
              std::string::npos)
        << html;
    const Element list = Nav(Parse(html)).Child(0);
    const std::string alts[] = {"", "Picture \"page\"", "dot2.png", "dot3.png"};
    for (int i = 0; i < 4; ++i) {
        const Element& image = list.Child(i).Child(0).Child(0);
        EXPECT_EQ(image.tag, "img");
        EXPECT_EQ(image["src"], "res/dot" + std::to_string(i) + ".png");
        EXPECT_EQ(image["alt"], alts[i]) << i;
        EXPECT_TRUE(image.Has("alt"));
    }
    EXPECT_TRUE(list.Child(4).Child(0).children.empty()); // only the normal image is shown
}

TEST_F(ModernMarkupTest, FileReferencesFollowTheKind) {
    CAppletParameters model;
    model.WebPath = "res/";
    model.BackImage = "/pics/back.png";
    model.BackImageWebPath = "http://cdn.test/img/";
    model.Audio = "/snd/open.wav";
    model.AudioWebPath = "/sounds/";
    CFurlinItem* item = AppendMenu(model, 1)->GetItem(0);
    item->NormalImage = "C:\\pics\\dot.png";
    item->OverImage = "/my pics/o#1 \"x\".png";
    item->OverImageWebPath = "img/";
    item->ClickImage = "/pics/c.png";
    item->ClickImageWebPath = "\\\\host\\share\\";
    item->ClickAudio = "/pics/"; // names no file
    const auto data = [&](const ModernMarkupOptions& options) {
        const Element nav = Nav(Parse(ModernMarkup(model, options)));
        QJsonObject all = nav.Data();
        for (const QString& key : nav.Child(0).Child(0).Data().keys())
            all.insert("Item." + key, nav.Child(0).Child(0).Data()[key]);
        all.insert("src", QString::fromStdString(nav.Child(0).Child(0).Child(0).Child(0)["src"]));
        return all;
    };

    const QJsonObject web = data(Web());
    EXPECT_EQ(web["BackImage"], "http://cdn.test/img/back.png");
    EXPECT_EQ(web["Audio"], "/sounds/open.wav");
    EXPECT_EQ(web["Item.NormalImage"], "res/dot.png");
    EXPECT_EQ(web["src"], "res/dot.png");
    EXPECT_EQ(web["Item.OverImage"], "res/img/o#1 \"x\".png");
    EXPECT_EQ(web["Item.ClickImage"], "\\\\host\\share\\c.png");
    EXPECT_FALSE(web.contains("Item.ClickAudio"));
    EXPECT_FALSE(web.contains("Item.OverAudio"));

    ModernMarkupOptions localKind;
    localKind.previewFolder = "C:/Web/menu/";
    const QJsonObject local = data(localKind);
    EXPECT_EQ(local["BackImage"], "C:/Web/menu/back.png");
    EXPECT_EQ(local["Item.NormalImage"], "C:/Web/menu/dot.png");
    EXPECT_EQ(local["src"], "C:/Web/menu/dot.png");

    localKind.localFiles = true;
    const QJsonObject files = data(localKind);
    EXPECT_EQ(files["BackImage"], "file:///pics/back.png");
    EXPECT_EQ(files["Item.OverImage"], "file:///my%20pics/o%231%20%22x%22.png");
    EXPECT_EQ(files["src"], "file:///C%3A%5Cpics%5Cdot.png");
    EXPECT_FALSE(files.contains("Item.ClickAudio"));
}

TEST_F(ModernMarkupTest, DataIsValidJsonWhateverTheTexts) {
    CAppletParameters model;
    const std::string message =
        "Wait \"now\" & <then> \\ \x01\x1f\x7f\xc2\x9f\r\n\t \xe2\x80\xa8 end";
    model.LoadingMessage = message;
    model.MenuTop = 33;
    model.Width = -7;
    model.LineColor = 0x00563412;
    CFurlin* first = AppendMenu(model, 1);
    first->GetItem(0)->OverAudio = "/snd/a\"&<b>'.wav";
    first->Normal.FontColor = 0x00ABCDEF;
    first->TopOffset = 99;
    CFurlin* second = AppendMenu(model, 1);
    second->TopOffset = 98;
    AppendItem(*first->GetItem(0)->GetSubMenu());

    const Element nav = Nav(Parse(ModernMarkup(model, Web())));
    const QJsonObject applet = nav.Data();
    EXPECT_EQ(applet["LoadingMessage"].toString().toStdString(), message);
    EXPECT_EQ(applet["Width"], -7);
    EXPECT_EQ(applet["LineColor"], "#123456");
    EXPECT_EQ(applet["MenuTop"], 33);
    const QJsonObject menu = nav.Child(0).Data();
    EXPECT_EQ(menu["TopOffset"], 33); // the first menu's offset is MenuTop, as the applet's
    EXPECT_EQ(menu["Normal"].toObject()["FontColor"], "#efcdab");
    EXPECT_EQ(menu["Over"].toObject()["FontSize"], 14);
    EXPECT_EQ(nav.Child(0).Child(0).Data()["OverAudio"], "a\"&<b>'.wav");
    EXPECT_EQ(nav.Child(0).Child(0).Child(1).Data()["TopOffset"], 0);
    EXPECT_EQ(nav.Child(1).Data()["TopOffset"], 0);
    EXPECT_EQ(first->TopOffset, 99);                        // the model is only read
    EXPECT_FALSE(nav.Child(1).Child(0).Has("data-furlin")); // no files: no data
}

TEST_F(ModernMarkupTest, NodeIdsArePositionsInTheWholeTree) {
    CAppletParameters model;
    AppendMenu(model, 1)->Visible = 0;
    CFurlin* menu = AppendMenu(model, 3);
    menu->GetItem(0)->Visible = 0;
    CFurlin* sub = menu->GetItem(2)->GetSubMenu();
    AppendItem(*sub)->Visible = 0;
    AppendItem(*sub);
    AppendItem(*AppendItem(*sub)->GetSubMenu());

    ModernMarkupOptions options = Web();
    EXPECT_EQ(ModernMarkup(model, options).find("data-furlin-node"), std::string::npos);
    options.nodeIds = true;
    const Element nav = Nav(Parse(ModernMarkup(model, options)));
    const Element& list = nav.Child(0);
    EXPECT_EQ(list.Child(0)["data-furlin-node"], "1.1");
    const Element& parent = list.Child(1);
    EXPECT_EQ(parent["data-furlin-node"], "1.2");
    EXPECT_EQ(parent.Child(1).Child(0)["data-furlin-node"], "1.2.1");
    EXPECT_EQ(parent.Child(1).Child(1)["data-furlin-node"], "1.2.2");
    EXPECT_EQ(parent.Child(1).Child(1).Child(1).Child(0)["data-furlin-node"], "1.2.2.0");
}

} // namespace
