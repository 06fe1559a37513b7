#include "ModelFixtures.h"

#include <gtest/gtest.h>

using namespace testing_model;

namespace {

const char* const kDefaultApStyle =
    "000000,000000,,0,0,0,,1,5,5,0,1,160,0,5,050000,1,Loading Image...";
const char* const kDefaultGroup = "000000,ffffff,111,0,0,14,0,00,0,0,,,";

std::vector<std::string> Names(const std::vector<AppletParam>& params) {
    std::vector<std::string> out;
    for (const auto& p : params)
        out.push_back(p.first);
    return out;
}

std::string Value(const std::vector<AppletParam>& params, const std::string& name) {
    for (const auto& p : params)
        if (p.first == name)
            return p.second;
    ADD_FAILURE() << "no parameter " << name;
    return {};
}

TEST(ColorToHex, RedIsTheLowByteAndComesFirst) {
    EXPECT_EQ(CAppletParameters::ColorToHex(0xFF8000), "0080ff");
    EXPECT_EQ(CAppletParameters::ColorToHex(5), "050000");
    EXPECT_EQ(CAppletParameters::ColorToHex(0xFFFFFFFF), "ffffff");
}

TEST(AppletParams, EmptyWidgetHasOnlyApStyleAndMisc) {
    CAppletParameters applet;
    const auto params = applet.BuildAppletParams(kHtmlWeb, "");
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[0], AppletParam("ApStyle", kDefaultApStyle));
    EXPECT_EQ(params[1], AppletParam("Misc", "0,"));
}

TEST(AppletParams, ApStyleCodesAndLoadingMessageEscape) {
    CAppletParameters applet;
    applet.BackColor = 0x0000FF;
    applet.BackKind = 0;
    applet.BackBorder = 2;
    applet.GradientDir = 0;
    applet.LoadingMessage = "Wait, please, wait";
    applet.BackImage = "D:\\pics\\bg.gif";
    applet.BackImageWebPath = "img/";
    EXPECT_EQ(Value(applet.BuildAppletParams(kHtmlWeb, ""), "ApStyle"),
              "ff0000,ff0000,img/bg.gif,0,0,0,,1,5,5,0,1,012,0,5,050000,1,"
              "Wait~@^` please~@^` wait");
    applet.BackKind = 4;
    EXPECT_EQ(SplitFields(Value(applet.BuildAppletParams(kHtmlWeb, ""), "ApStyle"), 18, ',')[12],
              "092");
}

TEST(AppletParams, DefaultMenuStylesAndTheMiscExample) {
    CAppletParameters applet;
    CFurlin* top = applet.InsertNewMenu();
    CFurlinItem* second = top->InsertNewItem();
    top->InsertNewItem();
    second->GetSubMenu()->InsertNewItem();

    const auto params = applet.BuildAppletParams(kHtmlWeb, "");
    EXPECT_EQ(Names(params),
              (std::vector<std::string>{"ApStyle", "MStyle-0", "IStyle-0", "I0-0", "I0-1",
                                        "MStyle-1", "IStyle-1", "I1-0", "Misc"}));
    EXPECT_EQ(Value(params, "Misc"), "2,2,1,-0,1-1,");
    EXPECT_EQ(Value(params, "MStyle-0"), "000000,01,0,0,40,0,80,20,5,0");
    EXPECT_EQ(Value(params, "IStyle-0"),
              std::string(kDefaultGroup) + kDefaultGroup + kDefaultGroup);
    EXPECT_EQ(Value(params, "I0-0"), "item,,,,,,,_self,");
}

TEST(AppletParams, MenuStyleFieldsAndTopOffsets) {
    CAppletParameters applet;
    applet.MenuTop = 33;
    CFurlin* second = applet.InsertNewMenu();
    CFurlin* first = applet.InsertNewMenu();
    first->InsertNewItem();
    second->InsertNewItem();
    second->TopOffset = 99;
    SetAllMenuFields(*first, 0);
    first->BackStyle = 2;
    first->Normal = DistinctStyle(0);

    const auto params = applet.BuildAppletParams(kHtmlWeb, "");
    EXPECT_EQ(Value(params, "MStyle-0"), "563412,11,0,0,13,33,15,16,17,18");
    EXPECT_EQ(Value(params, "MStyle-1"), "000000,01,0,0,40,0,80,20,5,0");
    EXPECT_EQ(first->TopOffset, 33);
    EXPECT_EQ(second->TopOffset, 0);
    EXPECT_EQ(Value(params, "IStyle-0").substr(0, 36), "030201,0c0b0a,073,3,2,20,1,12,6,4,,,");
}

TEST(AppletParams, HiddenMenusAndItemsTakeNoNumbers) {
    CAppletParameters applet;
    CFurlin* shown = applet.InsertNewMenu();
    CFurlin* allHidden = applet.InsertNewMenu();
    CFurlin* hidden = applet.InsertNewMenu();
    hidden->Visible = 0;
    hidden->InsertNewItem()->GetSubMenu()->InsertNewItem();
    allHidden->InsertNewItem()->Visible = 0;

    CFurlinItem* c = shown->InsertNewItem();
    CFurlinItem* b = shown->InsertNewItem();
    CFurlinItem* a = shown->InsertNewItem();
    a->Label = "a";
    b->Label = "b";
    c->Label = "c";
    b->Visible = 0;
    b->GetSubMenu()->InsertNewItem()->Label = "under hidden";
    c->GetSubMenu()->InsertNewItem()->Label = "under c";

    const auto params = applet.BuildAppletParams(kHtmlWeb, "");
    EXPECT_EQ(Names(params),
              (std::vector<std::string>{"ApStyle", "MStyle-0", "IStyle-0", "I0-0", "I0-1",
                                        "MStyle-1", "IStyle-1", "I1-0", "Misc"}));
    EXPECT_EQ(Value(params, "I0-1").substr(0, 2), "c,");
    EXPECT_EQ(Value(params, "I1-0").substr(0, 8), "under c,");
    EXPECT_EQ(Value(params, "Misc"), "2,2,1,-0,1-1,");
    EXPECT_EQ(shown->Number, 0);
}

TEST(AppletParams, HiddenSubMenuIsNeverLinkedWithAStaleNumber) {
    CAppletParameters applet;
    CFurlin* top = applet.InsertNewMenu();
    CFurlinItem* item = top->InsertNewItem();
    CFurlin* sub = item->GetSubMenu();
    sub->InsertNewItem();
    sub->Visible = 0;
    sub->Number = 7;
    EXPECT_EQ(Value(applet.BuildAppletParams(kHtmlWeb, ""), "Misc"), "1,1,-0,");
}

TEST(AppletParams, ItemTextsEscapesAndFileReferencesByMode) {
    CAppletParameters applet;
    CFurlinItem* item = applet.InsertNewMenu()->InsertNewItem();
    item->Label = "a,b\r\nc";
    item->Description = "d";
    item->NormalImage = "D:\\pics\\x.gif";
    item->NormalImageWebPath = "img/";
    item->ClickAudio = "/home/me/snd/click.au";
    item->ClickAudioWebPath = "http://host/snd/";
    item->Link = "page.htm";

    EXPECT_EQ(Value(applet.BuildAppletParams(kHtmlWeb, "/ignored/"), "I0-0"),
              "a~@^`b|_#`c,d,img/x.gif,,,,http://host/snd/click.au,_self,page.htm");
    item->TargetFrame = "_top";
    EXPECT_EQ(Value(applet.BuildAppletParams(kHtmlLocal, "/tmp/prev/"), "I0-0"),
              "a~@^`b|_#`c,d,/tmp/prev/x.gif,,,,/tmp/prev/click.au,_top,page.htm");
    // No separator is inserted between the folder and the file name.
    EXPECT_EQ(SplitFields(Value(applet.BuildAppletParams(kHtmlLocal, "prev"), "I0-0"), 9, ',')[2],
              "prevx.gif");
}

// Codes computed from a value stay exact at the ends of its range instead of overflowing.
TEST(AppletParams, CodesOfExtremeValuesDoNotOverflow) {
    CAppletParameters applet;
    applet.BackKind = 2147483647;
    CFurlin* menu = applet.InsertNewMenu();
    menu->InsertNewItem();
    menu->Normal.Border = 2147483647;
    const auto params = applet.BuildAppletParams(kHtmlWeb, "");
    EXPECT_EQ(SplitFields(Value(params, "ApStyle"), 18, ',')[12], "121474836520");
    EXPECT_EQ(SplitFields(Value(params, "IStyle-0"), 3, ',')[2], "112147483648");
}

} // namespace
