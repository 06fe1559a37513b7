// The editor's model-side pieces on their own: the menu outline, the tree edits beside the
// model's operations, and the undo history.
#include "CEditHistory.h"
#include "MenuOutline.h"
#include "MenuTreeEdits.h"

#include <gtest/gtest.h>

namespace {

CFurlinItem* Add(CFurlin& menu, const std::string& label) {
    auto item = std::make_unique<CFurlinItem>();
    item->Label = label;
    CFurlinItem* raw = item.get();
    menu.AddItem(std::move(item), false);
    return raw;
}

std::string Labels(const CFurlin& menu) {
    std::string out;
    for (const auto& item : menu.Items())
        out += item->Label + ";";
    return out;
}

std::string Describe(const std::vector<OutlineLine>& lines) {
    std::string out;
    for (const OutlineLine& l : lines)
        out += std::to_string(l.depth) + ":" + l.label + "|" + l.link + "|" + l.target + "\n";
    return out;
}

TEST(MenuOutline, WritesOneIndentedLinePerItemWithEscapes) {
    CFurlinItem top;
    top.Label = "Products";
    top.Link = "p.htm";
    CFurlinItem* child = Add(*top.GetSubMenu(), "A|B \\ C\r\nnext");
    child->TargetFrame = "_top";
    Add(*child->GetSubMenu(), "deep")->Link = "x|y.htm";
    Add(*top.GetSubMenu(), "");
    EXPECT_EQ(WriteOutline(top), "Products | p.htm\n"
                                 "  A\\|B \\\\ C\\nnext |  | _top\n"
                                 "    deep | x\\|y.htm\n"
                                 "   | \n");
    // Read back as written, escapes and the empty label included.
    const std::vector<OutlineLine> lines = ReadOutline(WriteOutline(top));
    EXPECT_EQ(Describe(lines),
              "0:Products|p.htm|\n1:A|B \\ C\r\nnext||_top\n2:deep|x|y.htm|\n1:||\n");
}

// A link or frame name holding a line break (a damaged or imported widget) is written without
// it, as a browser reads the link, instead of as a "\n" that reads back as two characters.
// Found by fuzz/outline_fuzzer, which checks that a written outline reads back the same.
TEST(MenuOutline, LineBreaksInLinksAndFramesAreLeftOutAndStrayOnesAreBlanks) {
    CFurlinItem item;
    item.Label = "two\nlines";
    item.Link = "a\r\nb.htm\n";
    item.TargetFrame = "fr\rame";
    const std::string written = WriteOutline(item);
    EXPECT_EQ(written, "two\\nlines | ab.htm | frame\n");
    EXPECT_EQ(Describe(ReadOutline(written)), "0:two\r\nlines|ab.htm|frame\n");
    // A stray carriage return or byte order mark inside a line reads as a blank, so what is read
    // is written back the same.
    EXPECT_EQ(Describe(ReadOutline("x\t\r | b.htm\t\r\t | f\rr\n \xEF\xBB\xBF\nlast")),
              "0:x|b.htm|fr\n0:last||\n");
}

TEST(MenuOutline, ReadsIndentationAsLevelsAndKeepsEveryTypedLine) {
    const std::string text = "\xEF\xBB\xBF"
                             "  first\r\n"
                             "\tchild one\n"
                             "   child two (odd blank)\n"
                             "\t\t\t\tfar too deep\n"
                             "top | a.htm | _blank\n"
                             "a|b|c|d\n"
                             "\n"
                             "  \t \n"
                             "| link only\n"
                             "path C:\\temp | C:\\new\\p.htm\n";
    EXPECT_EQ(Describe(ReadOutline(text)), "0:first||\n"
                                           "0:child one||\n"
                                           "0:child two (odd blank)||\n"
                                           "1:far too deep||\n"
                                           "0:top|a.htm|_blank\n"
                                           "0:a|b|c|d||\n"
                                           "0:|link only|\n"
                                           "0:path C:\\temp|C:\\new\\p.htm|\n");
    EXPECT_TRUE(ReadOutline("").empty());
    EXPECT_TRUE(ReadOutline("\n \n\t\n").empty());
    EXPECT_EQ(Describe(ReadOutline("a\n  b\n    c\n  d\ne")),
              "0:a||\n1:b||\n2:c||\n1:d||\n0:e||\n");
}

TEST(MenuOutline, BuildsSubMenusAndFlattensLinesBelowTheDeepestAllowed) {
    const std::vector<OutlineLine> lines = ReadOutline("a | a.htm\n  b\n    c\n  d\ne\n");
    auto items = BuildOutlineItems(lines, 5);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->Link, "a.htm");
    EXPECT_EQ(Labels(*items[0]->GetSubMenu()), "b;d;");
    EXPECT_EQ(Labels(*items[0]->GetSubMenu()->GetItem(0)->GetSubMenu()), "c;");
    auto flat = BuildOutlineItems(lines, 1);
    EXPECT_EQ(Labels(*flat[0]->GetSubMenu()), "b;c;d;");
    auto top = BuildOutlineItems(lines, 0);
    ASSERT_EQ(top.size(), 5u);
    for (const auto& item : top)
        EXPECT_TRUE(item->GetSubMenu()->Items().empty());
}

TEST(MenuTreeEdits, InsertsAtAnyPlaceAndMeasuresDepth) {
    CFurlin menu;
    Add(menu, "a");
    Add(menu, "b");
    InsertItemAt(menu, std::make_unique<CFurlinItem>(), 1);
    InsertItemAt(menu, std::make_unique<CFurlinItem>(), 0);
    InsertItemAt(menu, std::make_unique<CFurlinItem>(), 99);
    EXPECT_EQ(Labels(menu), "item;a;item;b;item;");

    CAppletParameters model;
    model.AddMenu(std::make_unique<CFurlin>(), false);
    model.AddMenu(std::make_unique<CFurlin>(), false);
    auto middle = std::make_unique<CFurlin>();
    CFurlin* placed = InsertMenuAt(model, std::move(middle), 1);
    EXPECT_EQ(model.IndexOfMenu(placed), 1);
    EXPECT_EQ(placed->Name, "top-level Foldline");

    CFurlinItem* branch = Add(*model.Menus()[0], "branch");
    EXPECT_EQ(LevelsOf(*branch), 1) << "its own empty sub-menu";
    Add(*Add(*branch->GetSubMenu(), "x")->GetSubMenu(), "y");
    EXPECT_EQ(LevelsOf(*branch), 3);
    EXPECT_EQ(CountItems(model), 3u);

    const PathTarget y = ResolvePath(model, {0, 0, 0, 0});
    ASSERT_NE(y.item, nullptr);
    EXPECT_EQ(y.item->Label, "y");
    EXPECT_EQ(y.holding, branch->GetSubMenu()->GetItem(0)->GetSubMenu());
    EXPECT_EQ(ResolvePath(model, {1}).topMenu, placed);
    EXPECT_EQ(ResolvePath(model, {0, 1}).item, nullptr);
    EXPECT_EQ(ResolvePath(model, {7}).topMenu, nullptr);
}

TEST(MenuTreeEdits, ApplyLookCopiesTheLookButKeepsEachMenusOwnValues) {
    CAppletParameters model;
    model.AddMenu(std::make_unique<CFurlin>(), false);
    model.AddMenu(std::make_unique<CFurlin>(), false);
    CFurlin& first = *model.Menus()[0];
    CFurlin& second = *model.Menus()[1];
    CFurlin* sub = Add(first, "a")->GetSubMenu();
    Add(*sub, "a1");
    first.ItemHeight = 33;
    first.BackStyle = 3;
    first.Over.Extra = "look";
    first.Reserved1 = 4;
    second.Reserved2 = 8;
    second.TopOffset = 60;
    EXPECT_EQ(ApplyLook(model, first, 0, LookScope::SameDepth), 1);
    EXPECT_EQ(second.ItemHeight, 33);
    EXPECT_EQ(second.BackStyle, 3);
    EXPECT_EQ(second.Over.Extra, "look");
    EXPECT_EQ(second.Reserved1, 0);
    EXPECT_EQ(second.Reserved2, 8);
    EXPECT_EQ(second.TopOffset, 60);
    EXPECT_EQ(sub->ItemHeight, 20);
    EXPECT_EQ(ApplyLook(model, first, 0, LookScope::SameDepth), 0) << "nothing left to change";
    // Below: the sub-menu and the empty sub-menu of its item.
    EXPECT_EQ(ApplyLook(model, first, 0, LookScope::Below), 2);
    EXPECT_EQ(sub->ItemHeight, 33);
    EXPECT_EQ(sub->Name, "Menu");
}

TEST(EditHistory, UndoRedoAndTheSelectionOfEachState) {
    CAppletParameters model;
    CEditHistory history;
    history.Reset(model, {});
    EXPECT_FALSE(history.CanUndo());
    model.Name = "one";
    history.Commit(model, {0}, {0, 1});
    model.Name = "two";
    history.Commit(model, {0, 1}, {2});
    const CEditHistory::State* state = history.Undo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->model->Name, "one");
    EXPECT_EQ(state->selection, TreePath({0, 1})) << "the node the undone change was made on";
    state = history.Undo();
    EXPECT_EQ(state->model->Name, "My Foldline");
    EXPECT_EQ(history.Undo(), nullptr);
    state = history.Redo();
    EXPECT_EQ(state->model->Name, "one");
    EXPECT_EQ(state->selection, TreePath({0, 1}));
    model.Name = "amended";
    history.Amend(model);
    history.Commit(model, {}, {});
    EXPECT_FALSE(history.CanRedo()) << "a new change drops what could be redone";
    EXPECT_EQ(history.Undo()->model->Name, "amended");
}

TEST(EditHistory, OldestStepsGoFirstByCountAndBySize) {
    CAppletParameters model;
    CEditHistory bySteps(3, 1000);
    bySteps.Reset(model, {});
    for (int i = 0; i < 10; ++i) {
        model.Width = i;
        bySteps.Commit(model, {}, {});
    }
    EXPECT_EQ(bySteps.UndoCount(), 3u);
    EXPECT_EQ(bySteps.Undo()->model->Width, 8);

    model.AddMenu(std::make_unique<CFurlin>(), false);
    for (int i = 0; i < 4; ++i)
        Add(*model.Menus()[0], "x");
    CEditHistory bySize(100, 10); // four items each: two states fit
    bySize.Reset(model, {});
    for (int i = 0; i < 5; ++i) {
        model.Width = 100 + i;
        bySize.Commit(model, {}, {});
    }
    EXPECT_EQ(bySize.UndoCount(), 1u);
    EXPECT_EQ(bySize.Undo()->model->Width, 103);
}

} // namespace
