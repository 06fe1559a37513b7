// A first menu from a folder tree, and the menus of an import taking the widget's looks.
#include "SiteImport.h"
#include "SiteFixture.h"

#include <gtest/gtest.h>

using namespace site_test;

namespace {

// The tree as indented "label -> link" lines.
std::string Outline(const CFurlin& menu, int depth = 0) {
    std::string text;
    for (const auto& item : menu.Items()) {
        text += std::string(static_cast<std::size_t>(depth) * 2, ' ') + item->Label + " -> " +
                item->Link + "\n";
        text += Outline(*item->GetSubMenu(), depth + 1);
    }
    return text;
}

} // namespace

TEST(SiteImport, TheMenuFollowsTheFolderTree) {
    CTempDir dir;
    const std::string root = dir.Path();
    Write(root + "/zeta.html", "<title>Zeta page</title>");
    Write(root + "/Alpha.htm", "<p>no title</p>");
    Write(root + "/index.html", "<title> Welcome\n home </title>");
    Write(root + "/docs/index.htm", "<title>Docs</title>");
    Write(root + "/docs/guide one.html", "<title>Guide</title>");
    Write(root + "/docs/api/b.html", "<title>B</title>");
    Write(root + "/docs/api/A.html", "<title></title>");
    Write(root + "/notes/readme.txt", "not a page");
    Write(root + "/pictures/x.png", "");
    Write(root + "/blog/2024/post.html", "<title>Post</title>");
    Write(root + "/foldline/furlin.html", "<title>runtime</title>");

    std::unique_ptr<CFurlin> menu;
    std::string reason;
    ASSERT_TRUE(site::MenuFromSite(List(root), menu, reason)) << reason;
    EXPECT_EQ(Outline(*menu), "Welcome home -> index.html\n"
                              "Alpha.htm -> Alpha.htm\n"
                              "blog -> \n"
                              "  2024 -> \n"
                              "    Post -> blog/2024/post.html\n"
                              "docs -> docs/index.htm\n"
                              "  Docs -> docs/index.htm\n"
                              "  api -> \n"
                              "    A.html -> docs/api/A.html\n"
                              "    B -> docs/api/b.html\n"
                              "  Guide -> docs/guide%20one.html\n"
                              "Zeta page -> zeta.html\n");

    CTempDir empty;
    Write(empty.Path() + "/notes.txt", "");
    EXPECT_FALSE(site::MenuFromSite(List(empty.Path()), menu, reason));
    EXPECT_EQ(reason, "no pages (.html or .htm files) in " + fs::canonical(empty.Path()).string());
}

TEST(SiteImport, ReplacedMenusTakeTheLookOfTheirDepth) {
    CAppletParameters model;
    model.Name = "Kept";
    CFurlin& old = *model.InsertNewMenu();
    old.ItemWidth = 123;
    old.Normal.FontSize = 31;
    CFurlinItem* item = AddItem(old, "old", "old.html");
    item->GetSubMenu()->ItemWidth = 77;
    AddItem(*item->GetSubMenu(), "old child", "");

    auto fresh = std::make_unique<CFurlin>();
    CFurlinItem* parent = AddItem(*fresh, "new", "");
    CFurlinItem* child = AddItem(*parent->GetSubMenu(), "child", "");
    AddItem(*child->GetSubMenu(), "grandchild", "");
    std::vector<std::unique_ptr<CFurlin>> menus;
    menus.push_back(std::move(fresh));
    site::ReplaceMenus(model, std::move(menus));

    ASSERT_EQ(model.Menus().size(), 1u);
    const CFurlin& top = *model.Menus()[0];
    EXPECT_EQ(top.Name, "top-level Foldline");
    EXPECT_EQ(top.ItemWidth, 123);
    EXPECT_EQ(top.Normal.FontSize, 31);
    EXPECT_EQ(top.GetItem(0)->GetSubMenu()->ItemWidth, 77);
    EXPECT_EQ(top.GetItem(0)->GetSubMenu()->GetItem(0)->GetSubMenu()->ItemWidth,
              CFurlin().ItemWidth);
    EXPECT_EQ(model.Name, "Kept");
}
