// The component's site members as hosts call them: publishing with the runtime and the support
// files, the menu from a folder and as JSON, and the configuration dialog opened at an item.
#include "CDlgConfig.h"
#include "ModelFixtures.h"
#include "ObjectRef.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QTreeWidgetItem>

#include <filesystem>

namespace fs = std::filesystem;

using testing_model::AddItem;

namespace {

const std::string kOpen = "<!-- foldline:My Foldline -->";
const std::string kClose = "<!-- /foldline:My Foldline -->";

void Write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    CTempDir::Write(path, text);
}

// A call that fails as a whole: its exception's description.
std::string Failure(CObjectRef& object, DISPID id, std::vector<VARIANT> args) {
    EXCEPINFO excep;
    EXPECT_EQ(object.Call(id, std::move(args), nullptr, &excep), DISP_E_EXCEPTION);
    return excep.bstrDescription;
}

class SiteMembers : public ::testing::Test {
protected:
    void SetUp() override {
        site = dir.File("site");
        Write(site + "/index.html", kOpen + kClose);
        Write(site + "/docs/deep/page.html", "<title>Deep</title>" + kOpen + kClose);
        Write(dir.File("images/dot.png"), "dot");
        CFurlin& top = *object->Model().InsertNewMenu();
        AddItem(top, "Home", "index.html")->NormalImage = dir.File("images/dot.png");
        AddItem(top, "Deep", "docs/deep/page.html");
    }

    CTempDir dir;
    std::string site;
    CObjectRef object;
};

} // namespace

TEST_F(SiteMembers, PublishingPlacesTheRuntimeAndSupportFilesOnceForEveryPage) {
    EXPECT_EQ(object.Text(DISPID_PublishToSite, {S(site), MakeVariantBool(true)}),
              "2 pages updated, 0 unchanged, 0 without the menu's markers (a dry run: nothing was "
              "written)");
    EXPECT_FALSE(fs::exists(site + "/foldline"));
    EXPECT_EQ(CTempDir::Read(site + "/index.html"), kOpen + kClose);

    EXPECT_EQ(object.Text(DISPID_PublishToSite, {S(site), MakeVariantBool(false)}),
              "2 pages updated, 0 unchanged, 0 without the menu's markers");
    for (const char* file : {"furlin.js", "furlin.css", "dot.png"})
        EXPECT_TRUE(fs::is_regular_file(site + "/foldline/" + file)) << file;
    EXPECT_EQ(CTempDir::Read(site + "/foldline/dot.png"), "dot");
    const std::string deep = CTempDir::Read(site + "/docs/deep/page.html");
    EXPECT_NE(deep.find("\"../../foldline/dot.png\""), std::string::npos);
    EXPECT_NE(deep.find("\"../../foldline/furlin.js\""), std::string::npos);
    // The widget's own file reference stays where the author keeps the file.
    EXPECT_EQ(object->Model().Menus()[0]->GetItem(0)->NormalImage, dir.File("images/dot.png"));

    // Two different files of one name cannot both be in the files folder.
    Write(dir.File("other/dot.png"), "other dot");
    object->Model().Menus()[0]->GetItem(1)->NormalImage = dir.File("other/dot.png");
    const std::string report = object.Text(DISPID_PublishToSite, {S(site), MakeVariantBool(false)});
    EXPECT_NE(report.find("\nfoldline/dot.png: two support files have this name: " +
                          dir.File("images/dot.png") + ", " + dir.File("other/dot.png")),
              std::string::npos)
        << report;

    // A support file cannot take the place of the runtime's own file of its name.
    Write(dir.File("mine/furlin.js"), "mine");
    object->Model().Menus()[0]->GetItem(1)->NormalImage = dir.File("mine/furlin.js");
    const std::string clash = object.Text(DISPID_PublishToSite, {S(site), MakeVariantBool(false)});
    EXPECT_NE(clash.find("\nfoldline/furlin.js: not copied from " + dir.File("mine/furlin.js") +
                         ": the runtime's file has this name"),
              std::string::npos)
        << clash;
    EXPECT_NE(CTempDir::Read(site + "/foldline/furlin.js"), "mine");
    EXPECT_GT(CTempDir::Read(site + "/foldline/furlin.js").size(), 100u);
}

TEST_F(SiteMembers, PublishingFailsAsAWholeWithTheReason) {
    EXPECT_EQ(Failure(object, DISPID_PublishToSite, {S(dir.File("none")), MakeVariantBool(false)}),
              "Cannot publish to " + dir.File("none") + ": No such file or directory");
    // A files folder that is a link could lead the copies out of the site.
    fs::create_directory_symlink(dir.File("images"), site + "/foldline");
    EXPECT_EQ(Failure(object, DISPID_PublishToSite, {S(site), MakeVariantBool(false)}),
              "Cannot publish to " + site + ": foldline is not a folder of the site");
    EXPECT_EQ(CTempDir::Read(site + "/index.html"), kOpen + kClose);
}

TEST_F(SiteMembers, LinksMenusFromFoldersAndJsonRoundTrips) {
    object->Model().Menus()[0]->GetItem(1)->Link = "docs/missing.html";
    EXPECT_EQ(object.Text(DISPID_CheckLinks, {S(site)}),
              "0.1\tDeep\tdocs/missing.html\tno such file\n"
              "\t\tdocs/deep/page.html\tnot in the menu\n");
    EXPECT_EQ(object.Text(DISPID_GetItemLinks),
              "0.0\tHome\tindex.html\n0.1\tDeep\tdocs/missing.html\n");

    const std::string json = dir.File("menu.json");
    EXPECT_TRUE(object.Bool(DISPID_ExportJSON, {S(json)}));
    EXPECT_TRUE(object.Bool(DISPID_ImportSite, {S(site)}));
    // The page without a title by its name, the folders without an index page without a link.
    EXPECT_EQ(object.Text(DISPID_GetItemLinks),
              "0.0\tindex.html\tindex.html\n0.1.0.0\tdocs > deep > Deep\tdocs/deep/page.html\n");
    EXPECT_TRUE(object.Bool(DISPID_ImportJSON, {S(json)}));
    EXPECT_EQ(object.Text(DISPID_GetItemLinks),
              "0.0\tHome\tindex.html\n0.1\tDeep\tdocs/missing.html\n");

    Write(dir.File("bad.json"), "{\"menus\": 1}");
    EXPECT_EQ(Failure(object, DISPID_ImportJSON, {S(dir.File("bad.json"))}),
              "Cannot import " + dir.File("bad.json") + ": menus is missing or not a list");
    // A file name is bytes: one that is not UTF-8 is named as it is, and a "%2" in it stays.
    const std::string odd = dir.File("bad\xff%2.json");
    Write(odd, "{\"menus\": 1}");
    EXPECT_EQ(Failure(object, DISPID_ImportJSON, {S(odd)}),
              "Cannot import " + odd + ": menus is missing or not a list");
    EXPECT_EQ(Failure(object, DISPID_ImportSite, {S(dir.File("images"))}),
              "Cannot make a menu from " + dir.File("images") +
                  ": no pages (.html or .htm files) in " +
                  fs::canonical(dir.File("images")).string());
    EXPECT_EQ(Failure(object, DISPID_ExportJSON, {S(dir.File("none/menu.json"))})
                  .rfind("Cannot write " + dir.File("none/menu.json") + ": ", 0),
              0u);
    EXPECT_EQ(object.Text(DISPID_GetItemLinks),
              "0.0\tHome\tindex.html\n0.1\tDeep\tdocs/missing.html\n");
}

TEST_F(SiteMembers, ConfigOpensAtTheNodeAskedForOnce) {
    AddItem(*object->Model().Menus()[0]->GetItem(1)->GetSubMenu(), "Child", "child.html");
    const CFoldline::DialogRunner saved = CFoldline::ConfigDialogRunner();
    TreePath selected{-1};
    bool shown = false;
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dialog) {
        QTreeWidgetItem* node = dialog.SelectedNode();
        selected = node ? CDlgConfig::PathOf(node) : TreePath{-1};
        shown = node && node->parent() && node->parent()->isExpanded();
        return false;
    };
    ASSERT_EQ(object.Put(DISPID_ConfigSelection, S("0.1.0")), S_OK);
    EXPECT_EQ(object.Text(DISPID_ConfigSelection), "0.1.0");
    object.Bool(DISPID_Config);
    EXPECT_EQ(selected, (TreePath{0, 1, 0}));
    EXPECT_TRUE(shown);
    EXPECT_EQ(object.Text(DISPID_ConfigSelection), "");

    // A node that is not there, or no node at all, leaves the dialog at the widget.
    for (const char* node : {"0.7", "1", "0..1", "-1"}) {
        ASSERT_EQ(object.Put(DISPID_ConfigSelection, S(node)), S_OK);
        object.Bool(DISPID_Config);
        EXPECT_TRUE(selected.empty() || selected == TreePath{-1}) << node;
    }
    CFoldline::ConfigDialogRunner() = saved;
}

TEST_F(SiteMembers, OtherMenusOpenTheirTreeAsANewWidgetDoes) {
    const std::string json = dir.File("menu.json");
    ASSERT_TRUE(object.Bool(DISPID_ExportJSON, {S(json)}));
    const CFoldline::DialogRunner saved = CFoldline::ConfigDialogRunner();
    bool collapse = true;
    bool rootOpen = false;
    bool menuOpen = false;
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dialog) {
        QTreeWidgetItem* root = dialog.Tree()->topLevelItem(0);
        rootOpen = root && root->isExpanded();
        menuOpen = root && root->childCount() > 0 && root->child(0)->isExpanded();
        if (root && collapse)
            root->setExpanded(false);
        return false;
    };
    object.Bool(DISPID_Config);
    EXPECT_TRUE(rootOpen && menuOpen); // a widget not edited yet: the first two levels
    collapse = false;
    object.Bool(DISPID_Config);
    EXPECT_FALSE(rootOpen); // the tree as it was left
    for (DISPID import : {DISPID_ImportJSON, DISPID_ImportSite}) {
        collapse = true;
        object.Bool(DISPID_Config);
        ASSERT_TRUE(object.Bool(import, {S(import == DISPID_ImportJSON ? json : site)}));
        collapse = false;
        object.Bool(DISPID_Config);
        EXPECT_TRUE(rootOpen && menuOpen) << import;
    }
    CFoldline::ConfigDialogRunner() = saved;
}
