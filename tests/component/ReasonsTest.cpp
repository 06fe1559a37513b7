// What the component tells its host beyond the specified results: why a read or write failed,
// what a damaged file lacks, which support files were not copied, and the working document from
// which unsaved work can be recovered.
#include "../FileSizeLimit.h"
#include "CFurlin.h"
#include "ObjectRef.h"
#include "TempDir.h"

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string Whole(CObjectRef& object, const std::string& path) {
    EXPECT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(path)}));
    return CTempDir::Read(path);
}

TEST(Reasons, ReadsTellWhyTheyFailedAndWhatADamagedFileLacks) {
    CTempDir dir;
    CObjectRef object;
    object->Model().InsertNewMenu()->InsertNewItem()->Label = "Home";
    const std::string text = Whole(object, dir.File("menu.tsl"));

    CObjectRef reader;
    EXPECT_FALSE(reader.Bool(DISPID_ReadConfigFile, {S(dir.File("none.tsl"))}));
    EXPECT_EQ(reader.Text(DISPID_LastError), dir.File("none.tsl") + ": No such file or directory");

    CTempDir::Write(dir.File("cut.tsl"), text.substr(0, text.find("========== Resource")));
    EXPECT_TRUE(reader.Bool(DISPID_ReadConfigFile, {S(dir.File("cut.tsl"))}));
    EXPECT_EQ(reader.Text(DISPID_LastError), "");
    EXPECT_EQ(reader.Text(DISPID_LastReadDamage),
              "the Resource part is missing; the HTML part is missing");
    // What was there was read: the menus came back.
    EXPECT_EQ(reader->Model().Menus().size(), 1u);

    // A whole table of menus that cannot be put together is damage too.
    std::string broken = text;
    broken.replace(broken.find("Misc = "), 7, "Misc = 9,");
    CTempDir::Write(dir.File("broken.tsl"), broken);
    EXPECT_TRUE(reader.Bool(DISPID_ReadConfigFile, {S(dir.File("broken.tsl"))}));
    EXPECT_EQ(reader.Text(DISPID_LastReadDamage),
              "the menus in the Parameter part could not be read");

    EXPECT_TRUE(reader.Bool(DISPID_ReadConfigFile, {S(dir.File("menu.tsl"))}));
    EXPECT_EQ(reader.Text(DISPID_LastReadDamage), "");
    // Read-only: there is nothing to put.
    EXPECT_EQ(reader.Put(DISPID_LastReadDamage, S("x")), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(reader.Put(DISPID_LastError, S("x")), DISP_E_MEMBERNOTFOUND);
}

TEST(Reasons, WritesTellWhyTheyFailed) {
    CTempDir dir;
    CObjectRef object;
    const auto reason = [&object](const std::string& path) {
        EXPECT_FALSE(object.Bool(DISPID_WriteConfigFile, {S(path)})) << path;
        return object.Text(DISPID_LastError);
    };
    EXPECT_EQ(reason(dir.File("missing/menu.tsl")),
              dir.File("missing/menu.tsl") + ": No such file or directory");
    CTempDir::Write(dir.File("plain"), "a file");
    EXPECT_EQ(reason(dir.File("plain/menu.tsl")), dir.File("plain/menu.tsl") + ": Not a directory");
    if (::geteuid() != 0) {
        fs::create_directory(dir.File("locked"));
        fs::permissions(dir.File("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(reason(dir.File("locked/menu.tsl")),
                  dir.File("locked/menu.tsl") + ": Permission denied");
    }

    // Part way through: the call fails as before, and the reason stays for the host.
    object.Put(DISPID_Description, S(std::string(300000, 'd')));
    HRESULT hr = S_OK;
    {
        CFileSizeLimit limit(200000);
        hr = object.Call(DISPID_WriteConfigFile, {S(dir.File("big.tsl"))});
    }
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_EQ(object.Text(DISPID_LastError), dir.File("big.tsl") + ": write error: File too large");
    EXPECT_FALSE(fs::exists(dir.File("big.tsl")));

    EXPECT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(dir.File("big.tsl"))}));
    EXPECT_EQ(object.Text(DISPID_LastError), "");
}

TEST(Reasons, SupportFilesThatWereNotCopiedAreListedWithTheirReasons) {
    CTempDir dir;
    fs::create_directory(dir.File("pics"));
    fs::create_directory(dir.File("site"));
    CTempDir::Write(dir.File("pics/big.gif"), std::string(100000, 'x'));
    CTempDir::Write(dir.File("pics/small.gif"), "small");
    CObjectRef object;
    CFurlinItem* item = object->Model().InsertNewMenu()->InsertNewItem();
    item->NormalImage = dir.File("pics/big.gif");
    item->OverImage = dir.File("pics/small.gif");
    bool written = false;
    {
        CFileSizeLimit limit(20000); // the runtime script and the big image do not fit
        written = object.Bool(DISPID_WriteConfigFile, {S(dir.File("site/menu.tsl"))});
    }
    EXPECT_TRUE(written);
    EXPECT_EQ(object.Text(DISPID_LastCopyFailures),
              dir.File("site/furlin.js") + ": File too large\n" + dir.File("site/big.gif") +
                  ": File too large");
    EXPECT_EQ(item->NormalImage, dir.File("pics/big.gif"));
    EXPECT_EQ(item->OverImage, dir.File("site/small.gif"));

    EXPECT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(dir.File("site/menu.tsl"))}));
    EXPECT_EQ(object.Text(DISPID_LastCopyFailures), "");
    EXPECT_EQ(item->NormalImage, dir.File("site/big.gif"));
}

// The working document copies nothing, and reads back with every file where it was, whatever
// folder the recovery copy lies in.
TEST(Reasons, TheWorkingDocumentReadsBackWithItsFilesInTheirFolders) {
    CTempDir dir;
    for (const char* folder : {"one", "two", "recovery"})
        fs::create_directory(dir.File(folder));
    CTempDir::Write(dir.File("one/a.gif"), "a");
    CTempDir::Write(dir.File("two/b.gif"), "b");
    CObjectRef object;
    object.Put(DISPID_Title, S("Unsaved"));
    object->Model().BackImage = dir.File("two/b.gif");
    CFurlin* menu = object->Model().InsertNewMenu();
    CFurlinItem* first = menu->InsertNewItem();
    first->Label = "First";
    first->NormalImage = dir.File("one/a.gif");
    first->ClickImage = dir.File("one/gone.gif");
    menu->InsertNewItem()->OverImage = dir.File("two/b.gif");

    const std::string text = object.Text(DISPID_GetWorkingDocument);
    EXPECT_EQ(object->Model().Menus()[0]->GetItem(1)->ClickImage, dir.File("one/gone.gif"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("one")), fs::directory_iterator()), 1);
    const std::string copy = dir.File("recovery/widget.tsl");
    CTempDir::Write(copy, text);

    CObjectRef recovered;
    EXPECT_TRUE(recovered.Bool(DISPID_ReadRecoveryFile, {S(copy)}));
    EXPECT_EQ(recovered.Text(DISPID_LastReadDamage), "");
    EXPECT_EQ(recovered.Text(DISPID_Title), "Unsaved");
    CAppletParameters& model = recovered->Model();
    EXPECT_EQ(model.BackImage, dir.File("two/b.gif"));
    ASSERT_EQ(model.Menus().size(), 1u);
    CFurlin& back = *model.Menus()[0];
    EXPECT_EQ(back.GetItem(1)->Label, "First");
    EXPECT_EQ(back.GetItem(1)->NormalImage, dir.File("one/a.gif"));
    EXPECT_EQ(back.GetItem(1)->ClickImage, ""); // gone, as a save would drop it
    EXPECT_EQ(back.GetItem(0)->OverImage, dir.File("two/b.gif"));
    EXPECT_EQ(recovered.Text(DISPID_GetResourceLocalPathByName, {S("a.gif")}), dir.File("one"));

    // A plain read of the same file finds the files beside it, as the file format says.
    CObjectRef plain;
    EXPECT_TRUE(plain.Bool(DISPID_ReadConfigFile, {S(copy)}));
    EXPECT_EQ(plain->Model().BackImage, dir.File("recovery/b.gif"));
}

} // namespace
