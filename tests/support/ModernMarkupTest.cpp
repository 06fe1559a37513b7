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
        const char* href = nullptr; // as written when null
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
        // What a URL may not hold raw is percent-encoded, non-ASCII as its UTF-8 bytes; an
        // escape already there stays one, a stray "%" and a second "#" become escapes.
        {"page.htm?a=1&b=\"2\"", "", "a", "", false, "page.htm?a=1&b=%222%22"},
        {" my page <1>.html#a b#c ", "", "a", "", false, "my%20page%20%3C1%3E.html#a%20b%23c"},
        {"caf\xc3\xa9.html?q=50%&r=%7E{x}|`^", "", "a", "", false,
         "caf%C3%A9.html?q=50%25&r=%7E%7Bx%7D%7C%60%5E"},
        // Browsers drop tabs and line breaks and read a backslash as a slash.
        {"docs\\a\tb\r\n.html", "", "a", "", false, "docs/ab.html"},
        {"https://example.test\\x y", "", "a", "", false, "https://example.test/x%20y"},
        {"mailto:a b@example.test?subject=\\", "", "a", "", false,
         "mailto:a%20b@example.test?subject=%5C"},
        // A Windows path is a file address.
        {"C:\\My Site\\index.html", "", "a", "", false, "file:///C:/My%20Site/index.html"},
        {"\\\\server\\share\\a b.html", "", "a", "", false, "file://server/share/a%20b.html"},
        // Noncharacters are dropped: U+FDD0, U+FFFE, U+10FFFF.
        {"a\xef\xb7\x90"
         "b\xef\xbf\xbe"
         "c\xf4\x8f\xbf\xbf"
         ".html",
         "", "a", "", false, "abc.html"},
        // Bytes that only look like one (beyond U+10FFFF, overlong) are bytes, kept encoded.
        {"\xf4\x9f\xbf\xbf\xf0\x8f\xbf\xbe.html", "", "a", "", false,
         "%F4%9F%BF%BF%F0%8F%BF%BE.html"},
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
            EXPECT_EQ(shown["href"], cases[i].href ? cases[i].href : cases[i].link);
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
                        "alt=\"\" loading=\"lazy\">Home</a>"),
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
    // A file's name is one segment of its address, whatever it holds.
    EXPECT_EQ(web["Item.OverImage"], "res/img/o%231%20%22x%22.png");
    EXPECT_EQ(web["Item.ClickImage"], "file://host/share/c.png");
    EXPECT_FALSE(web.contains("Item.ClickAudio"));
    EXPECT_FALSE(web.contains("Item.OverAudio"));

    // A Windows preview folder is a file address, its backslashes slashes.
    ModernMarkupOptions localKind;
    localKind.previewFolder = "C:/Web/menu/";
    const QJsonObject local = data(localKind);
    EXPECT_EQ(local["BackImage"], "file:///C:/Web/menu/back.png");
    EXPECT_EQ(local["Item.NormalImage"], "file:///C:/Web/menu/dot.png");
    EXPECT_EQ(local["src"], "file:///C:/Web/menu/dot.png");
    localKind.previewFolder = "C:\\My & Preview <Files>\\";
    const Element root = Parse(ModernMarkup(model, localKind));
    EXPECT_EQ(root.Child(0)["href"], "file:///C:/My%20&%20Preview%20%3CFiles%3E/furlin.css");
    EXPECT_EQ(data(localKind)["src"], "file:///C:/My%20&%20Preview%20%3CFiles%3E/dot.png");
    EXPECT_EQ(root.Child(2)["src"], "file:///C:/My%20&%20Preview%20%3CFiles%3E/furlin.js");

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
    const QJsonObject menu = nav.Child(0).Look(nav);
    EXPECT_EQ(menu["TopOffset"], 33); // the first menu's offset is MenuTop, as the applet's
    EXPECT_EQ(menu["Normal"].toObject()["FontColor"], "#efcdab");
    EXPECT_EQ(menu["Over"].toObject()["FontSize"], 14);
    EXPECT_EQ(nav.Child(0).Child(0).Data()["OverAudio"], "a%22%26%3Cb%3E%27.wav");
    EXPECT_EQ(nav.Child(0).Child(0).Child(1).Look(nav)["TopOffset"], 0);
    EXPECT_EQ(nav.Child(1).Look(nav)["TopOffset"], 0);
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

TEST_F(ModernMarkupTest, EachLookIsWrittenOnceAndListsReferToIt) {
    CAppletParameters model;
    CFurlin* top = AppendMenu(model, 3);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 2; ++k)
            AppendItem(*top->GetItem(i)->GetSubMenu());
    top->GetItem(2)->GetSubMenu()->Over.FontColor = 0x0000FF; // a look of its own
    model.MenuTop = 7;

    const std::string html = ModernMarkup(model, Web());
    const Element nav = Nav(Parse(html));
    // The first menu (MenuTop), the sub-menus that look alike, and the one that differs.
    ASSERT_EQ(nav.Data()["Looks"].toArray().size(), 3);
    EXPECT_EQ(nav.Child(0)["data-furlin"], "0");
    EXPECT_EQ(nav.Child(0).Look(nav)["TopOffset"], 7);
    EXPECT_EQ(nav.Child(0).Child(0).Child(1)["data-furlin"], "1");
    EXPECT_EQ(nav.Child(0).Child(1).Child(1)["data-furlin"], "1");
    EXPECT_EQ(nav.Child(0).Child(2).Child(1)["data-furlin"], "2");
    EXPECT_EQ(nav.Child(0).Child(2).Child(1).Look(nav)["Over"].toObject()["FontColor"], "#ff0000");
    // The look's fields are written once per look, not once per list.
    std::size_t counted = 0;
    for (std::size_t at = html.find("ItemWidth"); at != std::string::npos;
         at = html.find("ItemWidth", at + 1))
        ++counted;
    EXPECT_EQ(counted, 3u);
}

TEST_F(ModernMarkupTest, DirectionCurrentItemAndMappedLinks) {
    CAppletParameters model;
    CFurlin* top = AppendMenu(model, 2);
    top->GetItem(0)->Link = "/docs/a b.html";
    top->GetItem(1)->Link = "javascript:x";
    CFurlinItem* deep = AppendItem(*top->GetItem(0)->GetSubMenu());
    deep->Link = "/docs/deep.html";
    CFurlinItem* plain = AppendItem(*top->GetItem(0)->GetSubMenu());
    plain->Link = "";

    ModernMarkupOptions options = Web();
    std::vector<std::string> asked;
    options.mapLink = [&](const std::string& link) {
        asked.push_back(link);
        return link.starts_with("/docs/") ? "../" + link.substr(6) : link;
    };
    options.currentItem = deep;
    Element root = Parse(ModernMarkup(model, options));
    const Element& nav = Nav(root);
    // Every link passes the map as the author wrote it; what it answers is checked and encoded.
    EXPECT_EQ(asked,
              (std::vector<std::string>{"/docs/a b.html", "/docs/deep.html", "", "javascript:x"}));
    EXPECT_EQ(nav.Child(0).Child(0).Child(0)["href"], "../a%20b.html");
    const Element& current = nav.Child(0).Child(0).Child(1).Child(0).Child(0);
    EXPECT_EQ(current["href"], "../deep.html");
    EXPECT_EQ(current["aria-current"], "page");
    EXPECT_EQ(nav.Child(0).Child(1).Child(0).tag, "span"); // still dropped
    for (const Element* other : {&nav.Child(0).Child(0).Child(0), &nav.Child(0).Child(1).Child(0)})
        EXPECT_FALSE(other->Has("aria-current"));
    // An unlinked current item is marked too.
    options.currentItem = plain;
    root = Parse(ModernMarkup(model, options));
    EXPECT_EQ(Nav(root).Child(0).Child(0).Child(1).Child(1).Child(0)["aria-current"], "page");

    // Automatic follows the page; a chosen direction is the block's.
    EXPECT_FALSE(root.Child(1).Has("dir"));
    model.Direction = 2;
    EXPECT_EQ(Parse(ModernMarkup(model, Web())).Child(1)["dir"], "rtl");
    model.Direction = 1;
    EXPECT_EQ(Parse(ModernMarkup(model, Web())).Child(1)["dir"], "ltr");
    model.Direction = 7; // a damaged value is Automatic
    EXPECT_FALSE(Parse(ModernMarkup(model, Web())).Child(1).Has("dir"));
    model.FixedBox = 1;
    model.CompactBelow = 0;
    const QJsonObject data = Nav(Parse(ModernMarkup(model, Web()))).Data();
    EXPECT_EQ(data["FixedBox"], 1);
    EXPECT_EQ(data["CompactBelow"], 0);
    EXPECT_EQ(data["Direction"], 7);
}

TEST_F(ModernMarkupTest, NoncharactersNeverReachThePage) {
    CAppletParameters model;
    // U+FDD0, U+FFFF and U+1FFFE among letters.
    const std::string odd = "a\xef\xb7\x90"
                            "b\xef\xbf\xbf"
                            "c\xf0\x9f\xbf\xbe"
                            "d";
    model.LoadingMessage = odd;
    model.Name = odd;
    CFurlinItem* item = AppendMenu(model, 1)->GetItem(0);
    item->Label = odd + " \xef\xb7\xaf\xef\xb7\xb0"; // U+FDEF is one, U+FDF0 is not
    item->Description = odd;
    const std::string html = ModernMarkup(model, Web());
    for (const char* raw : {"\xef\xb7\x90", "\xef\xbf\xbf", "\xf0\x9f\xbf\xbe", "\xef\xb7\xaf"})
        EXPECT_EQ(html.find(raw), std::string::npos) << html;
    const Element nav = Nav(Parse(html));
    EXPECT_EQ(nav["aria-label"], "abcd");
    EXPECT_EQ(nav.Child(0).Child(0).Child(0).AllText(), "abcd \xef\xb7\xb0");
    EXPECT_EQ(nav.Child(0).Child(0).Child(0)["title"], "abcd");
    // The data keeps the value for the script, escaped.
    EXPECT_NE(html.find("a\\ufdd0b\\uffffc\\ud83f\\udffed"), std::string::npos) << html;
    EXPECT_EQ(nav.Data()["LoadingMessage"].toString(), QString::fromUtf8("a\xef\xb7\x90"
                                                                         "b\xef\xbf\xbf"
                                                                         "c\xf0\x9f\xbf\xbe"
                                                                         "d"));
}

} // namespace
