#include "ModelFixtures.h"
#include "Paths.h"

#include <gtest/gtest.h>

using namespace testing_model;

namespace {

std::vector<std::string> Labels(const CFurlin& menu) {
    std::vector<std::string> out;
    for (const auto& item : menu.Items())
        out.push_back(item->Label);
    return out;
}

TEST(Paths, SplitAtLastSlashOrBackslash) {
    EXPECT_EQ(FileNameOfPath("D:\\pics\\x.gif"), "x.gif");
    EXPECT_EQ(FolderOfPath("D:\\pics\\x.gif"), "D:\\pics");
    EXPECT_EQ(FileNameOfPath("/a\\b/c.gif"), "c.gif");
    EXPECT_EQ(FolderOfPath("/a/b\\c.gif"), "/a/b");
    EXPECT_EQ(FileNameOfPath("x.gif"), "x.gif");
    EXPECT_EQ(FolderOfPath("x.gif"), "");
    EXPECT_EQ(FileNameOfPath("dir/"), "");
}

TEST(Defaults, NewWidgetAndResetUseTheComponentFolder) {
    CAppletParameters::SetComponentFolder("/opt/tessel");
    CAppletParameters applet;
    EXPECT_TRUE(applet.Menus().empty());
    EXPECT_EQ(applet.LocalPath, "/opt/tessel/");
    EXPECT_EQ(applet.LineColor, 5u);

    applet.Name = "Other";
    applet.Width = 1;
    applet.LoadingMessage.clear();
    applet.InsertNewMenu();
    CAppletParameters::SetComponentFolder("/srv/lib");
    applet.Reset();
    EXPECT_TRUE(applet.Menus().empty());
    EXPECT_EQ(applet.Name, "My Foldline");
    EXPECT_EQ(applet.Width, 200);
    EXPECT_EQ(applet.LoadingMessage, "Loading Image...");
    EXPECT_EQ(applet.LocalPath, "/srv/lib/");
    CAppletParameters::SetComponentFolder("");

    std::unique_ptr<CObject> item(CFurlinItem::classRecord.createObject());
    EXPECT_EQ(static_cast<CFurlinItem*>(item.get())->Label, "item");
    std::unique_ptr<CObject> menu(CFurlin::classRecord.createObject());
    EXPECT_EQ(static_cast<CFurlin*>(menu.get())->Name, "Menu");
    EXPECT_EQ(static_cast<CFurlinItem*>(item.get())->GetSubMenu()->Name, "Menu");
}

TEST(MenuItems, InsertAddMoveDeleteKeepOrderAndBounds) {
    CFurlin menu;
    menu.InsertNewItem()->Label = "b";
    menu.InsertNewItem()->Label = "a";
    EXPECT_EQ(Labels(menu), (std::vector<std::string>{"a", "b"}));

    auto c = std::make_unique<CFurlinItem>();
    c->Label = "c";
    EXPECT_TRUE(menu.AddItem(std::move(c), false));
    EXPECT_FALSE(menu.AddItem(nullptr, true));
    EXPECT_EQ(Labels(menu), (std::vector<std::string>{"a", "b", "c"}));

    EXPECT_FALSE(menu.MoveItemUp(0));
    EXPECT_FALSE(menu.MoveItemDown(2));
    EXPECT_FALSE(menu.MoveItemDown(-1));
    EXPECT_EQ(Labels(menu), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(menu.MoveItemDown(0));
    EXPECT_TRUE(menu.MoveItemUp(menu.GetItem(2)));
    EXPECT_EQ(Labels(menu), (std::vector<std::string>{"b", "c", "a"}));

    menu.GetItem(1)->Visible = 0;
    EXPECT_EQ(menu.GetItemCount(true), 3);
    EXPECT_EQ(menu.GetItemCount(false), 2);
    EXPECT_EQ(menu.GetItem(3), nullptr);
    EXPECT_EQ(menu.GetItem(-1), nullptr);

    CFurlinItem stranger;
    EXPECT_FALSE(menu.DeleteItem(&stranger));
    EXPECT_FALSE(menu.MoveItemUp(&stranger));
    EXPECT_FALSE(menu.DeleteItemAt(3));
    BuildChain(*menu.GetItem(0)->GetSubMenu(), 5);
    EXPECT_TRUE(menu.DeleteItem(menu.GetItem(0)));
    EXPECT_EQ(Labels(menu), (std::vector<std::string>{"c", "a"}));
    menu.DeleteAllItems();
    EXPECT_EQ(menu.GetItemCount(true), 0);
}

TEST(Copies, ItemAndMenuCopiesAreDeepAndIndependent) {
    CFurlin source;
    SetAllMenuFields(source, 1);
    source.Visible = 0;
    CFurlinItem* item = source.InsertNewItem();
    SetAllItemFields(*item, "x");
    item->Visible = 0;
    SetAllMenuFields(*item->GetSubMenu(), 2);
    item->GetSubMenu()->InsertNewItem()->Label = "deep";

    CFurlin copy(source);
    EXPECT_EQ(copy.Name, source.Name);
    EXPECT_EQ(copy.Visible, 0);
    EXPECT_EQ(copy.Click, source.Click);
    ASSERT_EQ(copy.GetItemCount(true), 1);
    const CFurlinItem* copied = copy.GetItem(0);
    EXPECT_NE(copied, item);
    EXPECT_EQ(copied->Link, item->Link);
    EXPECT_EQ(copied->ClickAudioWebPath, item->ClickAudioWebPath);
    EXPECT_EQ(copied->Visible, 0);
    EXPECT_EQ(copied->GetSubMenu()->Over, item->GetSubMenu()->Over);
    EXPECT_EQ(copied->GetSubMenu()->ItemBorder, item->GetSubMenu()->ItemBorder);

    copied->GetSubMenu()->GetItem(0)->Label = "changed";
    copied->GetSubMenu()->InsertNewItem();
    EXPECT_EQ(item->GetSubMenu()->GetItem(0)->Label, "deep");
    EXPECT_EQ(item->GetSubMenu()->GetItemCount(true), 1);

    CFurlin target;
    CFurlinItem* pasted = target.InsertItemCopy(item);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(target.InsertItemCopy(nullptr), nullptr);
    pasted->GetSubMenu()->DeleteAllItems();
    EXPECT_EQ(item->GetSubMenu()->GetItemCount(true), 1);
}

TEST(CopyStyle, CopiesLookButNotItemsVisibilityOrNumber) {
    CFurlin from;
    SetAllMenuFields(from, 3);
    from.InsertNewItem();
    CFurlin to;
    to.Visible = 0;
    to.Number = 9;
    to.CopyStyle(from);
    EXPECT_EQ(to.Name, "menu3");
    EXPECT_EQ(to.Reserved2, from.Reserved2);
    EXPECT_EQ(to.Normal.Extra, "extra3");
    EXPECT_EQ(to.Visible, 0);
    EXPECT_EQ(to.Number, 9);
    EXPECT_EQ(to.GetItemCount(true), 0);
}

TEST(TopLevelMenus, InsertTakesStyleOfFirstMenuWithItems) {
    CAppletParameters applet;
    CFurlin* plain = applet.InsertNewMenu();
    EXPECT_EQ(plain->Name, "top-level Foldline");
    EXPECT_EQ(plain->Indent, 40);

    auto styled = std::make_unique<CFurlin>();
    SetAllMenuFields(*styled, 5);
    styled->InsertNewItem();
    ASSERT_TRUE(applet.AddMenu(std::move(styled), false));
    EXPECT_EQ(applet.Menus()[1]->Name, "top-level Foldline");

    // The empty first menu is skipped; the style comes from the second one.
    CFurlin* fresh = applet.InsertNewMenu();
    EXPECT_EQ(applet.IndexOfMenu(fresh), 0);
    EXPECT_EQ(fresh->Name, "top-level Foldline");
    EXPECT_EQ(fresh->Indent, 18);
    EXPECT_EQ(fresh->Over, applet.Menus()[2]->Over);
    EXPECT_EQ(fresh->GetItemCount(true), 0);
}

TEST(TopLevelMenus, MoveDeleteAndCopyByIdentity) {
    CAppletParameters applet;
    CFurlin* b = applet.InsertNewMenu();
    CFurlin* a = applet.InsertNewMenu();
    CFurlin other;
    EXPECT_FALSE(applet.MoveMenuUp(a));
    EXPECT_FALSE(applet.MoveMenuDown(b));
    EXPECT_FALSE(applet.MoveMenuUp(&other));
    EXPECT_FALSE(applet.DeleteMenu(&other));
    EXPECT_FALSE(applet.DeleteMenu(nullptr));
    EXPECT_TRUE(applet.MoveMenuDown(a));
    EXPECT_EQ(applet.IndexOfMenu(a), 1);

    b->InsertNewItem()->Label = "kept";
    EXPECT_FALSE(applet.AddMenuCopy(nullptr));
    ASSERT_TRUE(applet.AddMenuCopy(b));
    ASSERT_EQ(applet.Menus().size(), 3u);
    CFurlin* copy = applet.Menus()[0].get();
    EXPECT_NE(copy, b);
    copy->GetItem(0)->Label = "edited";
    EXPECT_EQ(b->GetItem(0)->Label, "kept");

    EXPECT_TRUE(applet.DeleteMenu(b));
    EXPECT_EQ(applet.IndexOfMenu(b), -1);
    EXPECT_EQ(applet.Menus().size(), 2u);
}

TEST(Search, FindParentMenuAndMenuAtDepth) {
    CAppletParameters applet;
    CFurlin* top = applet.InsertNewMenu();
    CFurlinItem* first = top->InsertNewItem();
    CFurlinItem* second = top->InsertNewItem();
    CFurlinItem* inner = first->GetSubMenu()->InsertNewItem();
    CFurlinItem* innermost = inner->GetSubMenu()->InsertNewItem();

    EXPECT_EQ(CAppletParameters::FindParentMenu(top, second), top);
    EXPECT_EQ(CAppletParameters::FindParentMenu(top, inner), first->GetSubMenu());
    EXPECT_EQ(CAppletParameters::FindParentMenu(top, innermost), inner->GetSubMenu());
    CFurlinItem stranger;
    EXPECT_EQ(CAppletParameters::FindParentMenu(top, &stranger), nullptr);
    EXPECT_EQ(CAppletParameters::FindParentMenu(nullptr, inner), nullptr);
    EXPECT_EQ(CAppletParameters::FindParentMenu(top, nullptr), nullptr);

    EXPECT_EQ(applet.FindMenuAtDepth(0), top);
    EXPECT_EQ(applet.FindMenuAtDepth(1), first->GetSubMenu());
    EXPECT_EQ(applet.FindMenuAtDepth(2), inner->GetSubMenu());
    // The deepest menu has no items: it ends its branch and is never returned.
    EXPECT_EQ(applet.FindMenuAtDepth(3), nullptr);
    EXPECT_EQ(applet.FindMenuAtDepth(-1), nullptr);
}

TEST(Apply, ImagesAndAudioReachSubMenusOnlyWhenRecursive) {
    CFurlin menu;
    CFurlinItem* item = menu.InsertNewItem();
    CFurlinItem* below = item->GetSubMenu()->InsertNewItem();
    CAppletParameters::ApplyImages(&menu, "n", "nw/", "o", "ow/", "c", "cw/", false);
    EXPECT_EQ(item->NormalImage, "n");
    EXPECT_EQ(item->ClickImageWebPath, "cw/");
    EXPECT_EQ(below->NormalImage, "");
    CAppletParameters::ApplyAudio(&menu, "oa", "oaw/", "ca", "caw/", true);
    EXPECT_EQ(below->OverAudio, "oa");
    EXPECT_EQ(below->ClickAudioWebPath, "caw/");
    EXPECT_EQ(below->NormalImage, "");
    CAppletParameters::ApplyImages(nullptr, "", "", "", "", "", "", true);
}

TEST(Assign, ReplacesFieldsAndMenusWithIndependentCopies) {
    CAppletParameters source;
    source.Name = "Source";
    source.LocalPath = "/l/";
    source.LineColor = 77;
    source.InsertNewMenu()->InsertNewItem()->Label = "one";
    source.InsertNewMenu();

    CAppletParameters target;
    target.InsertNewMenu();
    target.InsertNewMenu();
    target.InsertNewMenu();
    target.Assign(source);
    EXPECT_EQ(target.Name, "Source");
    EXPECT_EQ(target.LocalPath, "/l/");
    EXPECT_EQ(target.LineColor, 77u);
    ASSERT_EQ(target.Menus().size(), 2u);
    EXPECT_EQ(target.Menus()[1]->GetItem(0)->Label, "one");
    target.Menus()[1]->GetItem(0)->Label = "edited";
    EXPECT_EQ(source.Menus()[1]->GetItem(0)->Label, "one");
    target.Assign(target);
    EXPECT_EQ(target.Menus().size(), 2u);
}

TEST(Numbering, FullAndVisibleWalksNumberInPreOrder) {
    CAppletParameters applet;
    CFurlin* hidden = applet.InsertNewMenu();
    CFurlin* top = applet.InsertNewMenu();
    hidden->InsertNewItem();
    hidden->Visible = 0;
    CFurlinItem* b = top->InsertNewItem();
    CFurlinItem* a = top->InsertNewItem();
    a->GetSubMenu()->InsertNewItem()->Visible = 0;
    CFurlinItem* c = b->GetSubMenu()->InsertNewItem();

    applet.NumberMenus(false);
    const std::vector<CFurlinItem*> all = applet.CollectItems(false);
    EXPECT_EQ(all.size(), 5u);
    EXPECT_EQ(top->Number, 0);
    EXPECT_EQ(a->GetSubMenu()->Number, 1);
    EXPECT_EQ(a->GetSubMenu()->GetItem(0)->GetSubMenu()->Number, 2);
    EXPECT_EQ(b->GetSubMenu()->Number, 3);
    EXPECT_EQ(c->GetSubMenu()->Number, 4);
    EXPECT_EQ(hidden->Number, 5);

    applet.NumberMenus(true);
    const std::vector<CFurlinItem*> visible = applet.CollectItems(true);
    EXPECT_EQ(visible, (std::vector<CFurlinItem*>{a, b, c}));
    EXPECT_EQ(top->Number, 0);
    EXPECT_EQ(b->GetSubMenu()->Number, 1);
}

TEST(DeepTrees, ThousandLevelsCopyNumberSearchAndDestroy) {
    CAppletParameters applet;
    CFurlin* top = applet.InsertNewMenu();
    BuildChain(*top, kMaxDepth);
    CFurlinItem* deepest = top->GetItem(0);
    CFurlin* parent = top;
    while (!deepest->GetSubMenu()->Items().empty()) {
        parent = deepest->GetSubMenu();
        deepest = parent->GetItem(0);
    }
    EXPECT_EQ(CAppletParameters::FindParentMenu(top, deepest), parent);
    EXPECT_EQ(applet.FindMenuAtDepth(kMaxDepth - 2), parent);
    applet.NumberMenus(false);
    EXPECT_EQ(applet.CollectItems(false).size(), static_cast<std::size_t>(kMaxDepth - 1));
    EXPECT_EQ(parent->Number, kMaxDepth - 2);

    CAppletParameters backup;
    backup.Assign(applet);
    EXPECT_EQ(ChainDepth(*backup.Menus()[0]), kMaxDepth);
    CAppletParameters::ApplyImages(top, "n", "", "", "", "", "", true);
    EXPECT_EQ(deepest->NormalImage, "n");

    // Far deeper than any reader accepts: destruction must still not recurse.
    auto huge = std::make_unique<CFurlin>();
    BuildChain(*huge, 100000);
    huge.reset();
}

} // namespace
