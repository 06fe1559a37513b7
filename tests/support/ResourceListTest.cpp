#include "SupportFixture.h"

#include "CTesselFile.h"

namespace {

using ResourceListTest = SupportTest;

std::string Entry(const CTesselFile& document, std::size_t index) {
    if (index >= document.Resources().size())
        return "(none)";
    const ResourceEntry& e = document.Resources()[index];
    return e.name + " | " + e.localPath + " | " + e.webPath;
}

TEST_F(ResourceListTest, NewWidgetListsOnlyTheClassFile) {
    CAppletParameters model;
    model.WebPath = "applets/";
    CTesselFile document;
    document.AddResource("stale.gif", "/old", "");
    EXPECT_EQ(model.BuildResourceList(document), 1);
    EXPECT_EQ(document.Resources().size(), 1u);
    EXPECT_EQ(Entry(document, 0), "furlin.class | " + Dir("component") + "/ | applets/");
}

TEST_F(ResourceListTest, EveryFieldInFullWalkOrderAndMissingFilesDropped) {
    const std::string pics = Dir("pics");
    for (const char* name : {"back.gif", "a.gif", "over.gif", "click.au"})
        Write(pics + "/" + name, name);
    CAppletParameters model;
    model.BackImage = pics + "/back.gif";
    model.BackImageWebPath = "img/";
    model.Audio = pics + "/deleted.au";
    // One image used by three items, one of them hidden and one in a hidden menu.
    CFurlin* first = AppendMenu(model, 2);
    CFurlin* second = AppendMenu(model, 1);
    second->Visible = 0;
    first->GetItem(1)->Visible = 0;
    for (CFurlinItem* item : {first->GetItem(0), first->GetItem(1), second->GetItem(0)}) {
        item->NormalImage = pics + "/a.gif";
        item->NormalImageWebPath = "img/";
    }
    CFurlinItem* sub = AppendItem(*first->GetItem(0)->GetSubMenu());
    sub->OverImage = pics + "/over.gif";
    sub->ClickImage = pics + "/*.gif"; // never a pattern
    sub->OverAudio = pics;             // a folder is not a file
    sub->ClickAudio = pics + "/click.au";
    sub->ClickAudioWebPath = "c/";

    CTesselFile document;
    EXPECT_EQ(model.BuildResourceList(document), 7);
    // Menu 0 and its items, then the sub-menu of its first item, then the hidden menu.
    EXPECT_EQ(Entry(document, 1), "back.gif | " + pics + " | img/");
    EXPECT_EQ(Entry(document, 2), "a.gif | " + pics + " | img/");
    EXPECT_EQ(Entry(document, 3), "a.gif | " + pics + " | img/");
    EXPECT_EQ(Entry(document, 4), "over.gif | " + pics + " | ");
    EXPECT_EQ(Entry(document, 5), "click.au | " + pics + " | c/");
    EXPECT_EQ(Entry(document, 6), "a.gif | " + pics + " | img/");
    EXPECT_EQ(model.Audio, "");
    EXPECT_EQ(sub->ClickImage, "");
    EXPECT_EQ(sub->OverAudio, "");
}

TEST_F(ResourceListTest, ListStopsAtItsSixteenBitCountAndKeepsTheRestInTheModel) {
    const std::string image = Dir("pics") + "/a.gif";
    Write(image, "x");
    CAppletParameters model;
    CFurlin* menu = AppendMenu(model, 0);
    // The class file and 5 references per item: 13107 items make 65,536, one too many.
    for (int i = 0; i < 13107; ++i) {
        CFurlinItem* item = AppendItem(*menu);
        item->NormalImage = item->OverImage = item->ClickImage = item->OverAudio =
            item->ClickAudio = image;
    }
    CTesselFile document;
    EXPECT_EQ(model.BuildResourceList(document), 65535);
    EXPECT_EQ(document.Resources().size(), 65535u);
    EXPECT_EQ(menu->Items().back()->ClickAudio, image);
}

} // namespace
