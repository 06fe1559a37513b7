#include "ModelFixtures.h"

#include <gtest/gtest.h>

using namespace testing_model;

namespace {

void ExpectSameMenu(const CFurlin& a, const CFurlin& b);

void ExpectSameItem(const CFurlinItem& a, const CFurlinItem& b) {
    EXPECT_EQ(ItemFields(a), ItemFields(b));
    ExpectSameMenu(*a.GetSubMenu(), *b.GetSubMenu());
}

void ExpectSameMenu(const CFurlin& a, const CFurlin& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(MenuNumbers(a), MenuNumbers(b));
    EXPECT_EQ(a.Normal, b.Normal);
    EXPECT_EQ(a.Over, b.Over);
    EXPECT_EQ(a.Click, b.Click);
    ASSERT_EQ(a.GetItemCount(true), b.GetItemCount(true));
    for (int i = 0; i < a.GetItemCount(true); ++i)
        ExpectSameItem(*a.GetItem(i), *b.GetItem(i));
}

// An item with every field of every node set: two levels below it, hidden item, hidden menu.
std::unique_ptr<CFurlinItem> FullItem() {
    auto item = std::make_unique<CFurlinItem>();
    SetAllItemFields(*item, "root");
    CFurlin* sub = item->GetSubMenu();
    SetAllMenuFields(*sub, 1);
    sub->Visible = 0;
    CFurlinItem* second = sub->InsertNewItem();
    CFurlinItem* first = sub->InsertNewItem();
    SetAllItemFields(*first, "first");
    SetAllItemFields(*second, "second");
    second->Visible = 0;
    SetAllMenuFields(*second->GetSubMenu(), 2);
    SetAllItemFields(*second->GetSubMenu()->InsertNewItem(), "leaf");
    return item;
}

TEST(ByteForm, RoundTripKeepsEveryFieldAndTheSubTree) {
    const auto source = FullItem();
    CFurlinItem target;
    target.GetSubMenu()->InsertNewItem()->Label = "old";
    ASSERT_TRUE(target.FromBytes(source->ToBytes()));
    ExpectSameItem(target, *source);
    EXPECT_EQ(target.Label, "Lroot,a\r\nb,c");
    EXPECT_EQ(target.GetSubMenu()->GetItem(1)->GetSubMenu()->Click.Extra, "extra202");
}

TEST(ByteForm, MenuSerializeThroughTheArchive) {
    CFurlin source;
    SetAllMenuFields(source, 4);
    source.AddItem(FullItem(), false);
    CArchive out;
    out.WriteObject(source);

    CArchive in(out.Bytes());
    ASSERT_TRUE(in.ReadClassTag(CFurlin::classRecord));
    CFurlin target;
    target.Serialize(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
    ExpectSameMenu(target, source);
}

TEST(ByteForm, ManySmallestItemsAreNotMistakenForALyingCount) {
    CFurlinItem source;
    for (int i = 0; i < 200; ++i)
        source.GetSubMenu()->InsertNewItem()->Label.clear();
    source.Label.clear();
    CFurlinItem target;
    ASSERT_TRUE(target.FromBytes(source.ToBytes()));
    EXPECT_EQ(target.GetSubMenu()->GetItemCount(true), 200);
}

TEST(ByteForm, EveryTruncationFailsAndLeavesTheTargetAlone) {
    const std::string bytes = FullItem()->ToBytes();
    CFurlinItem target;
    target.Label = "keep";
    target.GetSubMenu()->InsertNewItem()->Label = "child";
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        ASSERT_FALSE(target.FromBytes(std::string_view(bytes).substr(0, length))) << length;
    }
    EXPECT_FALSE(target.FromBytes(bytes + "x"));
    EXPECT_EQ(target.Label, "keep");
    ASSERT_EQ(target.GetSubMenu()->GetItemCount(true), 1);
    EXPECT_EQ(target.GetSubMenu()->GetItem(0)->Label, "child");
}

void WriteEmptyStyle(CArchive& ar) {
    for (int i = 0; i < 13; ++i)
        ar.WriteInt(0);
    ar.WriteText("");
}

// An item block whose sub-menu head claims `count` items and whose name claims `nameLength`.
std::string LyingBlock(std::int32_t count, std::int32_t nameLength, const char* tag) {
    CArchive ar;
    ar.WriteText(tag);
    ar.WriteInt(1);
    ar.WriteInt(nameLength);
    ar.WriteInt(0);
    for (int i = 0; i < 9; ++i)
        ar.WriteInt(0);
    WriteEmptyStyle(ar);
    WriteEmptyStyle(ar);
    WriteEmptyStyle(ar);
    ar.WriteInt(1);
    ar.WriteInt(count);
    for (int i = 0; i < 14; ++i)
        ar.WriteText("");
    ar.WriteInt(1);
    return ar.Bytes();
}

TEST(ByteForm, LyingCountsLengthsAndTagsAreRejected) {
    CFurlinItem target;
    target.Label = "keep";
    ASSERT_TRUE(target.FromBytes(LyingBlock(0, 0, "CFurlinItem")));
    target.Label = "keep";
    EXPECT_FALSE(target.FromBytes(LyingBlock(0x7FFFFFFF, 0, "CFurlinItem")));
    EXPECT_FALSE(target.FromBytes(LyingBlock(-1, 0, "CFurlinItem")));
    EXPECT_FALSE(target.FromBytes(LyingBlock(1, 0, "CFurlinItem")));
    EXPECT_FALSE(target.FromBytes(LyingBlock(0, 0x7FFFFFF0, "CFurlinItem")));
    EXPECT_FALSE(target.FromBytes(LyingBlock(0, -5, "CFurlinItem")));
    EXPECT_FALSE(target.FromBytes(LyingBlock(0, 0, "CFurlin")));
    EXPECT_FALSE(target.FromBytes(""));

    std::string badSchema = LyingBlock(0, 0, "CFurlinItem");
    badSchema[4 + 11] = 2;
    EXPECT_FALSE(target.FromBytes(badSchema));
    EXPECT_EQ(target.Label, "keep");
}

TEST(ByteForm, NestingUpToTheLimitIsReadAndDeeperIsRejected) {
    CFurlinItem deep;
    BuildChain(*deep.GetSubMenu(), kMaxDepth);
    CFurlinItem target;
    ASSERT_TRUE(target.FromBytes(deep.ToBytes()));
    EXPECT_EQ(ChainDepth(*target.GetSubMenu()), kMaxDepth);

    CFurlinItem tooDeep;
    BuildChain(*tooDeep.GetSubMenu(), kMaxDepth + 1);
    target.Label = "keep";
    EXPECT_FALSE(target.FromBytes(tooDeep.ToBytes()));
    EXPECT_EQ(target.Label, "keep");
    EXPECT_EQ(ChainDepth(*target.GetSubMenu()), kMaxDepth);
}

} // namespace
