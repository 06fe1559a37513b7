// The menu as JSON: a lossless round trip for its fields, and clear reasons for bad input.
#include "MenuJson.h"
#include "CAppletParameters.h"
#include "Json.h"
#include "SiteFixture.h"

#include <gtest/gtest.h>

using namespace site_test;

namespace {

std::string Roundtrip(const std::string& json, CAppletParameters& into) {
    std::vector<std::unique_ptr<CFurlin>> menus;
    std::string reason;
    EXPECT_TRUE(site::MenuFromJson(json, menus, reason)) << reason;
    while (!into.Menus().empty())
        into.DeleteMenu(into.Menus().front().get());
    for (auto& menu : menus)
        into.AddMenu(std::move(menu), false);
    return site::MenuToJson(into);
}

std::string Reason(const std::string& json) {
    std::vector<std::unique_ptr<CFurlin>> menus;
    std::string reason;
    EXPECT_FALSE(site::MenuFromJson(json, menus, reason)) << json;
    EXPECT_TRUE(menus.empty());
    return reason;
}

} // namespace

TEST(MenuJson, RoundTripKeepsEveryFieldOfTheTree) {
    CAppletParameters model;
    FillSiteMenu(model);
    CFurlinItem* odd = AddItem(
        *model.Menus()[0], "quote \" back \\ tab\t\r\nline \x01 \xE2\x82\xAC", "a b.html?x=\"1\"");
    odd->TargetFrame = "_blank";
    odd->Description = "</script> & more";
    odd->Visible = 0;
    AddItem(*odd->GetSubMenu(), "", "");
    CFurlin* second = model.InsertNewMenu();
    second->Visible = 0;
    model.InsertNewMenu(); // an empty menu survives too

    const std::string json = site::MenuToJson(model);
    foldline::JsonValue parsed;
    std::string error;
    ASSERT_TRUE(foldline::ParseJson(json, parsed, error)) << error;
    EXPECT_EQ(parsed.Member("format")->text, "foldline-menu");

    CAppletParameters copy;
    EXPECT_EQ(Roundtrip(json, copy), json);
    ASSERT_EQ(copy.Menus().size(), 3u);
    EXPECT_EQ(copy.Menus()[1]->Visible, 0);
    const CFurlinItem& back = *copy.Menus()[2]->GetItem(6);
    EXPECT_EQ(back.Label, odd->Label);
    EXPECT_EQ(back.Link, odd->Link);
    EXPECT_EQ(back.TargetFrame, "_blank");
    EXPECT_EQ(back.Description, odd->Description);
    EXPECT_EQ(back.Visible, 0);
    EXPECT_EQ(back.GetSubMenu()->GetItemCount(true), 1);
    EXPECT_EQ(copy.Menus()[2]->GetItem(1)->GetSubMenu()->GetItem(1)->GetSubMenu()->GetItem(0)->Link,
              "products/deep/b.html#intro");
}

TEST(MenuJson, MissingMembersTakeDefaultsAndUnknownOnesAreIgnored) {
    CAppletParameters model;
    Roundtrip(R"({"menus": [{"items": [{"label": "A", "extra": [1, {"x": null}]}, {}]}, {}],
                  "comment": "by hand"})",
              model);
    ASSERT_EQ(model.Menus().size(), 2u);
    EXPECT_EQ(model.Menus()[0]->GetItem(0)->Label, "A");
    EXPECT_EQ(model.Menus()[0]->GetItem(1)->Label, "item"); // as a new item is labelled
    EXPECT_EQ(model.Menus()[0]->GetItem(1)->Visible, 1);
    EXPECT_TRUE(model.Menus()[1]->Items().empty());
}

TEST(MenuJson, BadInputIsRefusedWithWhereAndWhy) {
    EXPECT_EQ(Reason("[]"), "the text is not a JSON object");
    EXPECT_EQ(Reason("{}"), "menus is missing or not a list");
    EXPECT_EQ(Reason(R"({"format": "other", "menus": []})"), "format is not \"foldline-menu\"");
    EXPECT_EQ(Reason(R"({"menus": [{"items": [{"label": 5}]}]})"),
              "menus[0].items[0].label is not a text");
    EXPECT_EQ(Reason(R"({"menus": [{"items": [{"children": [{"visible": "no"}]}]}]})"),
              "menus[0].items[0].children[0].visible is not true or false");
    EXPECT_EQ(Reason(R"({"menus": [{"items": {}}]})"), "menus[0].items is not a list");
    EXPECT_EQ(Reason("{\"menus\": [\n  {\"items\": [}\n]}"),
              "unexpected character at line 2, column 14");
    EXPECT_EQ(Reason(std::string(site::kMaxJsonBytes + 1, ' ')), "larger than 64 MB");

    // As deep as readers accept, and one level more.
    auto nested = [](int levels) {
        std::string json = R"({"menus": [{"items": )";
        for (int i = 0; i < levels; ++i)
            json += R"([{"label": "x", "children": )";
        json += "[]";
        for (int i = 0; i < levels; ++i)
            json += "}]";
        return json + "}]}";
    };
    CAppletParameters deep;
    Roundtrip(nested(kMaxDepth), deep);
    EXPECT_EQ(deep.Menus().size(), 1u);
    const std::string tooDeep = Reason(nested(kMaxDepth + 1));
    EXPECT_FALSE(tooDeep.empty());
}
