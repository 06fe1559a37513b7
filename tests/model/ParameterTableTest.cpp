#include "CTesselFile.h"
#include "ModelFixtures.h"

#include <gtest/gtest.h>

using namespace testing_model;

namespace {

std::string Param(const CTesselFile& doc, const std::string& name) {
    return doc.GetParameter(name, "");
}

// Top-level menu with items A and B; B's sub-menu holds C.
void BuildExample(CAppletParameters& applet) {
    CFurlin* top = applet.InsertNewMenu();
    CFurlinItem* b = top->InsertNewItem();
    CFurlinItem* a = top->InsertNewItem();
    a->Label = "A";
    b->Label = "B";
    b->GetSubMenu()->InsertNewItem()->Label = "C";
}

TEST(SplitFields, CountsSeparatorsAndUnescapes) {
    EXPECT_EQ(SplitFields("a,,b", 4, ','), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(SplitFields("a,b,", 2, ','), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitFields("a,b,", 3, ','), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(SplitFields("", 2, ','), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitFields("x~@^`y|_#`z,w", 2, ','), (std::vector<std::string>{"x,y\r\nz", "w"}));
    EXPECT_EQ(SplitFields("p~@^`q-r", 2, '-'), (std::vector<std::string>{"p-q", "r"}));
}

TEST(GetToken, IndexesTokensAndEmptyBeyond) {
    EXPECT_EQ(GetToken("3-1", 0, '-'), "3");
    EXPECT_EQ(GetToken("3-1", 1, '-'), "1");
    EXPECT_EQ(GetToken("-1", 0, '-'), "");
    EXPECT_EQ(GetToken("a,b", 5, ','), "");
    EXPECT_EQ(GetToken("a,b,", 2, ','), "");
    EXPECT_EQ(GetToken("a~@^`b", 0, ','), "a~@^`b");
    EXPECT_EQ(GetToken(std::string(20000, 'x'), 0, ',').size(), 10239u);
}

TEST(StoredTable, EmptyWidgetAndEmptyTopLevelMenu) {
    CAppletParameters applet;
    CTesselFile doc;
    doc.SetParameter("Stale", "x");
    applet.WriteParameters(doc);
    EXPECT_EQ(Param(doc, "Stale"), "");
    EXPECT_EQ(Param(doc, "Version"), "1.1");
    EXPECT_EQ(Param(doc, "ApStyle"),
              "My Foldline,0,200,400,0,0,,0,0,0,,1,5,5,0,1,0,1,1,0,5,5,0,,,,1,Loading Image...");
    EXPECT_EQ(Param(doc, "Misc"), "0,");
    EXPECT_EQ(doc.Parameters().Size(), 3u);
    CAppletParameters read;
    EXPECT_TRUE(read.ReadParameters(doc, "/site/"));
    EXPECT_TRUE(read.Menus().empty());

    applet.InsertNewMenu();
    applet.WriteParameters(doc);
    EXPECT_EQ(Param(doc, "Misc"), "1,0,-0,");
    read.Reset();
    ASSERT_TRUE(read.ReadParameters(doc, "/site/"));
    ASSERT_EQ(read.Menus().size(), 1u);
    EXPECT_EQ(read.Menus()[0]->GetItemCount(true), 0);
    EXPECT_EQ(read.Menus()[0]->Name, "top-level Foldline");
}

TEST(StoredTable, FullWalkExampleNumbersEveryMenu) {
    CAppletParameters applet;
    BuildExample(applet);
    CTesselFile doc;
    applet.WriteParameters(doc);
    EXPECT_EQ(Param(doc, "Misc"), "4,2,0,1,0,-0,0-1,1-2,2-3,");
    for (const char* name :
         {"MStyle-0", "MStyle-3", "IStyle-0", "IStyle-3", "I0-1", "I0-2", "I2-1"})
        EXPECT_NE(Param(doc, name), "") << name;
    EXPECT_EQ(Param(doc, "I0-0"), "");
    EXPECT_EQ(doc.Parameters().Size(), 3u + 8u + 3u);
    EXPECT_EQ(Param(doc, "MStyle-1"), "0,0,0,0,40,15,80,20,5,0,Menu,1");
    EXPECT_EQ(Param(doc, "IStyle-1"), "0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,"
                                      "0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,"
                                      "0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,");
    EXPECT_EQ(Param(doc, "I2-1"), "C,,,,,,,,,1,,,,,");

    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(doc, "/site/"));
    ASSERT_EQ(read.Menus().size(), 1u);
    const CFurlin& top = *read.Menus()[0];
    ASSERT_EQ(top.GetItemCount(true), 2);
    EXPECT_EQ(top.GetItem(0)->Label, "A");
    EXPECT_EQ(top.GetItem(0)->GetSubMenu()->GetItemCount(true), 0);
    ASSERT_EQ(top.GetItem(1)->GetSubMenu()->GetItemCount(true), 1);
    EXPECT_EQ(top.GetItem(1)->GetSubMenu()->GetItem(0)->Label, "C");
    EXPECT_EQ(top.GetItem(1)->GetSubMenu()->Name, "Menu");
}

void SetAllAppletFields(CAppletParameters& a) {
    a.WebPath = "http://host/a,b/";
    a.Name = "Widget, one";
    a.Align = 2;
    a.Width = 640;
    a.Height = 0;
    a.BackColor = 0x00ABCDEF;
    a.BackImage = "D:\\pics\\bg,1.gif";
    a.BackImageWebPath = "img/";
    a.ImageTile = 1;
    a.ImageX = -3;
    a.ImageY = 7;
    a.Audio = "/snd/theme.au";
    a.AudioWebPath = "snd/";
    a.ShowSelectionAlways = 0;
    a.OpenSpeed = 9;
    a.CloseSpeed = 2;
    a.DisplayAllBranches = 1;
    a.HasLines = 0;
    a.BackBorder = 2;
    a.BackKind = 4;
    a.GradientDir = 0;
    a.LineIndent = 6;
    a.LineThick = 1;
    a.LineColor = 0xFFFFFFFEu; // beyond 31 bits, as a pasted block may carry
    a.MenuTop = 12;
    a.ProgressBar = 0;
    a.LoadingMessage = "Loading, please\r\nwait";
}

TEST(StoredTable, RoundTripKeepsEveryStoredField) {
    CAppletParameters source;
    SetAllAppletFields(source);
    CFurlin* hiddenTop = source.InsertNewMenu();
    CFurlin* top = source.InsertNewMenu();
    SetAllMenuFields(*hiddenTop, 7);
    hiddenTop->Visible = 0;
    SetAllItemFields(*hiddenTop->InsertNewItem(), "h");
    SetAllMenuFields(*top, 1);
    CFurlinItem* second = top->InsertNewItem();
    CFurlinItem* first = top->InsertNewItem();
    SetAllItemFields(*first, "1");
    SetAllItemFields(*second, "2");
    second->Visible = 0;
    SetAllMenuFields(*second->GetSubMenu(), 2);
    SetAllItemFields(*second->GetSubMenu()->InsertNewItem(), "3");

    CTesselFile doc;
    source.WriteParameters(doc);
    for (const auto& [name, value] : doc.Parameters().Entries())
        EXPECT_EQ(value.find_first_of("\r\n"), std::string::npos) << name;

    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(doc, "/site/"));
    // File references come back as the reading folder and the stored file name.
    CAppletParameters expected;
    expected.Assign(source);
    expected.BackImage = "/site/bg,1.gif";
    expected.Audio = "/site/theme.au";
    EXPECT_EQ(AppletFields(read), AppletFields(expected));

    ASSERT_EQ(read.Menus().size(), 2u);
    const CFurlin& rHidden = *read.Menus()[1];
    const CFurlin& rTop = *read.Menus()[0];
    EXPECT_EQ(rHidden.GetItem(0)->Label, "Lh,a\r\nb,c");
    const auto expectSameLook = [](const CFurlin& got, const CFurlin& want) {
        EXPECT_EQ(MenuNumbers(got), MenuNumbers(want));
        // Extra is never stored.
        for (auto [g, w] : {std::pair{&got.Normal, &want.Normal}, std::pair{&got.Over, &want.Over},
                            std::pair{&got.Click, &want.Click}}) {
            StateStyle withoutExtra = *w;
            withoutExtra.Extra.clear();
            EXPECT_EQ(*g, withoutExtra);
        }
    };
    expectSameLook(rTop, *top);
    expectSameLook(rHidden, *hiddenTop);
    expectSameLook(*rTop.GetItem(1)->GetSubMenu(), *second->GetSubMenu());
    ASSERT_EQ(rTop.GetItemCount(true), 2);
    const CFurlinItem& r2 = *rTop.GetItem(1);
    CFurlinItem expectedItem(*second);
    expectedItem.NormalImage = "/site/n2.gif";
    expectedItem.OverImage = "/site/o2.gif";
    expectedItem.ClickImage = "/site/c2.gif";
    expectedItem.OverAudio = "/site/oa2.au";
    expectedItem.ClickAudio = "/site/ca2.au";
    EXPECT_EQ(ItemFields(r2), ItemFields(expectedItem));
    ASSERT_EQ(r2.GetSubMenu()->GetItemCount(true), 1);
    EXPECT_EQ(r2.GetSubMenu()->GetItem(0)->Link, "http://example.test/p?a=1,b=2&c=3");
    EXPECT_EQ(rTop.GetItem(0)->GetSubMenu()->GetItemCount(true), 0);
}

TEST(StoredTable, LoneLineBreaksNeverReachTheFile) {
    CAppletParameters source;
    CFurlinItem* item = source.InsertNewMenu()->InsertNewItem();
    item->Label = "one\ntwo\rthree";
    item->Description = "x\r\ny";
    CTesselFile doc;
    source.WriteParameters(doc);
    EXPECT_EQ(Param(doc, "I0-1").substr(0, 30), "one|_#`two|_#`three,x|_#`y,,,,");
    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(doc, "/"));
    EXPECT_EQ(read.Menus()[0]->GetItem(0)->Label, "one\r\ntwo\r\nthree");
    EXPECT_EQ(read.Menus()[0]->GetItem(0)->Description, "x\r\ny");
}

TEST(StoredTable, WindowsFileNamesAndOldTablesRead) {
    CTesselFile doc;
    doc.SetParameter("ApStyle", "Old,1,10,20,255,255,D:\\site\\x.gif,0,0,0,au.au,1,5,5,0,1,0,"
                                "1,1,0,5,5,0,img/,,,1,Loading~@^` wait");
    doc.SetParameter("Misc", "1,1,-0,");
    doc.SetParameter("MStyle-0", "0,0,0,0,40,15,80,20,5,0,top-level Foldline,1");
    doc.SetParameter("IStyle-0", "0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,");
    doc.SetParameter("I0-1", "Hi~@^` there|_#`2,d,page.htm,_top,C:\\a\\b.gif,,,,,1,img/,,,,");
    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(doc, "/work/site/"));
    EXPECT_EQ(read.Name, "Old");
    EXPECT_EQ(read.BackColor, 255u);
    EXPECT_EQ(read.BackImage, "/work/site/x.gif");
    EXPECT_EQ(read.Audio, "/work/site/au.au");
    EXPECT_EQ(read.LoadingMessage, "Loading, wait");
    ASSERT_EQ(read.Menus().size(), 1u);
    const CFurlinItem& item = *read.Menus()[0]->GetItem(0);
    EXPECT_EQ(item.Label, "Hi, there\r\n2");
    EXPECT_EQ(item.NormalImage, "/work/site/b.gif");
    EXPECT_EQ(item.GetSubMenu()->GetItemCount(true), 0);
    EXPECT_EQ(read.Menus()[0]->Normal.FontColor, 0xFFFFFFu);
    EXPECT_EQ(read.Menus()[0]->Over.FontSize, 0);
}

TEST(StoredTable, MissingApStyleReadsEmptyTextsAndZeros) {
    CTesselFile doc;
    CAppletParameters read;
    EXPECT_TRUE(read.ReadParameters(doc, "/site/"));
    EXPECT_EQ(read.Name, "");
    EXPECT_EQ(read.Width, 0);
    EXPECT_EQ(read.LoadingMessage, "");
    EXPECT_EQ(read.BackImage, "");
    EXPECT_TRUE(read.Menus().empty());
}

// The settings for today's browsers are an entry of their own, written only when set: every
// other entry is what a widget without them writes, so a reader that knows nothing of them reads
// the widget as before, and a table without the entry reads as the defaults.
TEST(StoredTable, SettingsForTodaysBrowsersHaveAnEntryOfTheirOwn) {
    CAppletParameters plain;
    BuildExample(plain);
    CTesselFile without;
    plain.WriteParameters(without);
    EXPECT_FALSE(without.Parameters().Find("WebStyle"));

    CAppletParameters set;
    BuildExample(set);
    set.FixedBox = 1;
    set.CompactBelow = 0;
    set.Direction = 2;
    CTesselFile with;
    set.WriteParameters(with);
    EXPECT_EQ(Param(with, "WebStyle"), "1,0,2");
    auto entries = with.Parameters().Entries();
    std::erase_if(entries, [](const auto& p) { return p.first == "WebStyle"; });
    EXPECT_EQ(entries, without.Parameters().Entries());

    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(with, "/site/"));
    EXPECT_EQ(std::vector<int>({read.FixedBox, read.CompactBelow, read.Direction}),
              std::vector<int>({1, 0, 2}));
    ASSERT_EQ(read.Menus().size(), 1u);
    CAppletParameters defaults;
    read.Reset();
    ASSERT_TRUE(read.ReadParameters(without, "/site/"));
    EXPECT_EQ(std::vector<int>({read.FixedBox, read.CompactBelow, read.Direction}),
              std::vector<int>({defaults.FixedBox, defaults.CompactBelow, defaults.Direction}));

    // Through the file: the entry is one more line, and a damaged one reads as the grammar reads
    // any value (missing fields 0), never past its end.
    CTesselFile damaged;
    damaged.SetParameter("WebStyle", "7");
    read.Reset();
    EXPECT_TRUE(read.ReadParameters(damaged, "/site/"));
    EXPECT_EQ(std::vector<int>({read.FixedBox, read.CompactBelow, read.Direction}),
              std::vector<int>({7, 0, 0}));
    // Set back to the defaults, the entry goes again.
    set.FixedBox = 0;
    set.CompactBelow = 640;
    set.Direction = 0;
    set.WriteParameters(with);
    EXPECT_EQ(with.Parameters().Entries(), without.Parameters().Entries());
}

// The example table with some parameters replaced or removed.
CTesselFile DamagedExample(const std::vector<std::pair<std::string, std::string>>& changes) {
    CAppletParameters applet;
    applet.Name = "Kept";
    BuildExample(applet);
    CTesselFile written;
    applet.WriteParameters(written);
    CTesselFile doc;
    for (const auto& [name, value] : written.Parameters().Entries()) {
        bool removed = false;
        for (const auto& change : changes)
            removed = removed || (change.first == name && change.second == "<removed>");
        if (!removed)
            doc.SetParameter(name, value);
    }
    for (const auto& [name, value] : changes)
        if (value != "<removed>")
            doc.SetParameter(name, value);
    return doc;
}

TEST(StoredTable, DamagedTablesLeaveAppletFieldsAndNoMenus) {
    const std::vector<std::vector<std::pair<std::string, std::string>>> cases = {
        {{"MStyle-2", "<removed>"}},
        {{"IStyle-3", ""}},
        {{"I0-2", "<removed>"}},
        {{"Misc", "4,2,0,1,0,-0,0-1,1-2,2-9,"}},  // menu index out of range
        {{"Misc", "4,2,0,1,0,-0,0-1,1-2,7-3,"}},  // item index out of range
        {{"Misc", "4,2,0,1,0,-0,0-1,1-2,-1-3,"}}, // top-level link to an owned menu
        {{"Misc", "4,2,0,1,0,-0,0-1,1-2,2-2,"}},  // second owner, menu 3 named by no link
        {{"Misc", "4,2,0,1,0,-0,0-1,0-2,2-3,"}},  // one item owning two sub-menus
        {{"Misc", "4,2,0,1,0,-0,0-1,2-2,1-3,"}},  // menu 2 inside itself
        {{"Misc", "4,2,0,1,0,-0,0-1,1-2,23,"}},   // link without a dash
        {{"Misc", "4,2,0,1,0,-0,0-1,1-2,"}},      // too few links
        {{"Misc", "4000000000,"}},                // counts the table cannot back
        {{"Misc", "4,4000000000,0,1,0,-0,0-1,1-2,2-3,"}},
        {{"Misc", "-4,2,0,1,0,-0,0-1,1-2,2-3,"}},
    };
    for (std::size_t n = 0; n < cases.size(); ++n) {
        CTesselFile doc = DamagedExample(cases[n]);
        CAppletParameters read;
        EXPECT_FALSE(read.ReadParameters(doc, "/site/")) << "case " << n;
        EXPECT_EQ(read.Name, "Kept") << "case " << n;
        EXPECT_TRUE(read.Menus().empty()) << "case " << n;
    }
}

TEST(StoredTable, TwoMenuCycleIsRejected) {
    CTesselFile doc;
    doc.SetParameter("ApStyle", "Kept");
    // Menu 1 owns (through item 2) menu 2, which owns (through item 3) menu 1.
    doc.SetParameter("Misc", "4,2,1,1,0,-0,0-3,2-2,3-1,");
    for (int i = 0; i < 4; ++i) {
        doc.SetParameter("MStyle-" + std::to_string(i), "0,0,0,0,40,15,80,20,5,0,Menu,1");
        doc.SetParameter("IStyle-" + std::to_string(i), "0");
    }
    for (const char* name : {"I0-1", "I0-2", "I1-1", "I2-1"})
        doc.SetParameter(name, "x");
    CAppletParameters read;
    EXPECT_FALSE(read.ReadParameters(doc, "/"));
    EXPECT_TRUE(read.Menus().empty());

    doc.SetParameter("Misc", "4,2,1,1,0,-0,0-3,2-2,1-1,");
    ASSERT_TRUE(read.ReadParameters(doc, "/"));
    ASSERT_EQ(read.Menus().size(), 1u);
    EXPECT_EQ(read.Menus()[0]->GetItem(1)->GetSubMenu()->GetItemCount(true), 1);
}

TEST(StoredTable, NestingUpToTheLimitIsReadAndDeeperIsRejected) {
    CAppletParameters source;
    BuildChain(*source.InsertNewMenu(), kMaxDepth);
    CTesselFile doc;
    source.WriteParameters(doc);
    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(doc, "/"));
    ASSERT_EQ(read.Menus().size(), 1u);
    EXPECT_EQ(ChainDepth(*read.Menus()[0]), kMaxDepth);
    EXPECT_EQ(read.BuildAppletParams(kHtmlWeb, "").size(), 2u + 3u * (kMaxDepth - 1));

    BuildChain(*source.InsertNewMenu(), kMaxDepth + 1);
    source.WriteParameters(doc);
    CAppletParameters tooDeep;
    EXPECT_FALSE(tooDeep.ReadParameters(doc, "/"));
    EXPECT_TRUE(tooDeep.Menus().empty());
}

// Parameter names count only as the writer spells them: "MStyle-00" is not "MStyle-0".
TEST(StoredTable, NamesWithOtherSpellingsOfANumberAreNotTheMenusOwn) {
    for (const auto& [written, respelled] :
         std::vector<std::pair<std::string, std::string>>{{"MStyle-0", "MStyle-00"},
                                                          {"IStyle-2", "IStyle-+2"},
                                                          {"I0-1", "I0-01"},
                                                          {"I2-1", "I02-1"},
                                                          {"I0-2", "I0-2 "}}) {
        CTesselFile doc = DamagedExample({{written, "<removed>"}});
        CTesselFile intact = DamagedExample({});
        doc.SetParameter(respelled, intact.GetParameter(written));
        CAppletParameters read;
        EXPECT_FALSE(read.ReadParameters(doc, "/site/")) << respelled;
        EXPECT_TRUE(read.Menus().empty()) << respelled;
    }
}

// Writers always link every item, but a table may leave one out: its sub-menu is a new one.
TEST(StoredTable, ItemThatNoLinkNamesGetsAnEmptySubMenu) {
    CTesselFile doc;
    doc.SetParameter("Misc", "2,2,0,-0,0-1,");
    for (const char* name : {"MStyle-0", "MStyle-1"})
        doc.SetParameter(name, "0,0,0,0,7,15,80,20,5,0,x,1");
    for (const char* name : {"IStyle-0", "IStyle-1"})
        doc.SetParameter(name, "0");
    doc.SetParameter("I0-1", "first");
    doc.SetParameter("I0-2", "second");
    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(doc, "/"));
    ASSERT_EQ(read.Menus().size(), 1u);
    const CFurlin& top = *read.Menus()[0];
    ASSERT_EQ(top.GetItemCount(true), 2);
    EXPECT_EQ(top.GetItem(0)->GetSubMenu()->Indent, 7);
    const CFurlin& unlinked = *top.GetItem(1)->GetSubMenu();
    EXPECT_EQ(unlinked.Name, "Menu");
    EXPECT_EQ(unlinked.Indent, 40);
    EXPECT_EQ(unlinked.GetItemCount(true), 0);
}

} // namespace
