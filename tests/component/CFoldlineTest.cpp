#include "CFoldline.h"
#include "CDlgConfig.h"
#include "CDlgCopyResources.h"
#include "CEditSession.h"
#include "CFoldlineApp.h"
#include "ModernMarkup.h"
#include "ObjectRef.h"
#include "Paths.h"
#include "PreviewMarkup.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <locale>
#include <sys/resource.h>
#include <vector>

namespace {

// The whole model as its lossless stored table.
std::vector<std::pair<std::string, std::string>> Snapshot(CAppletParameters& model) {
    CTesselFile table;
    model.WriteParameters(table);
    return table.Parameters().Entries();
}

struct CRunnerGuard {
    CFoldline::DialogRunner saved = CFoldline::ConfigDialogRunner();
    ~CRunnerGuard() { CFoldline::ConfigDialogRunner() = saved; }
};

TEST(CFoldline, FreshInstanceServesTheAppletClassAlone) {
    CObjectRef object;
    EXPECT_EQ(object.Int(DISPID_GetResourceNumber), 1);
    EXPECT_EQ(object.Text(DISPID_GetResourceName, {I(0)}), "furlin.class");
    EXPECT_EQ(object.Text(DISPID_GetResourceLocalPath, {I(0)}),
              CFoldlineApp::Instance().ComponentFolder() + "/");
    EXPECT_EQ(object.Text(DISPID_GetResourceLocalPath, {I(-1)}), "");
    EXPECT_EQ(object.Text(DISPID_GetResourceLocalPath, {I(1)}), "");
    EXPECT_EQ(object.Text(DISPID_GetResourceWebPathByName, {S("FURLIN.CLASS")}), "");
    // The component folder was taken from the library itself when it was loaded (the model
    // above saw it: the class file's local path).
    const char* build = std::getenv("FOLDLINE_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    EXPECT_EQ(CFoldlineApp::Instance().ComponentFolder(),
              std::filesystem::canonical(std::string(build) + "/component").string());
}

TEST(CFoldline, SetResourceLocalPathLastsUntilTheListIsRebuilt) {
    CObjectRef object;
    EXPECT_TRUE(object.Bool(DISPID_SetResourceLocalPath, {S("D:\\site")}));
    EXPECT_EQ(object.Text(DISPID_GetResourceLocalPath, {I(0)}), "D:\\site");
    EXPECT_EQ(object.Text(DISPID_GetResourceLocalPathByName, {S("furlin.class")}), "D:\\site");
    object.Text(DISPID_GetHTMLBody, {I(0), I(1)});
    EXPECT_EQ(object.Text(DISPID_GetResourceLocalPath, {I(0)}),
              CFoldlineApp::Instance().ComponentFolder() + "/");
}

TEST(CFoldline, CatalogueConstantsAndStringTable) {
    CObjectRef object;
    EXPECT_EQ(object.Text(DISPID_GetHTMLPosition, {I(5)}), "cursor");
    EXPECT_EQ(object.Int(DISPID_GetHTMLSegmentNumber), 1);
    EXPECT_EQ(object.Int(DISPID_GetIconID, {I(0)}), 4000);
    EXPECT_EQ(object.Int(DISPID_GetIconID, {I(7)}), 4000);

    const HINSTANCE module = object.Int(DISPID_GetResourceInstance);
    auto text = [&](DISPID id) { return LoadStringText(module, object.Int(id)); };
    EXPECT_EQ(text(DISPID_GetTesselTypeID), "Java Applet");
    EXPECT_EQ(text(DISPID_GetTesselNameID), "Quillary Foldline 1.1");
    EXPECT_EQ(text(DISPID_GetMenuTextID), "Quillary Foldline 1.1");
    EXPECT_EQ(text(DISPID_GetTipsTextID), "Quillary Foldline 1.1");
    EXPECT_EQ(text(DISPID_GetMessageTextID),
              "Build a perfect navigation tree in which the sub-menu will slide downwards");
    const std::string icon = LoadIconData(module, 4000);
    EXPECT_EQ(icon.rfind("<svg", 0), 0u);
    EXPECT_NE(icon.find("</svg>"), std::string::npos);
}

TEST(CFoldline, CataloguePropertiesAndLastUpdateTime) {
    CObjectRef object;
    VARIANT result;
    ASSERT_EQ(object.Call(DISPID_Title, {}, &result, nullptr, nullptr, DISPATCH_PROPERTYGET), S_OK);
    EXPECT_EQ(result.bstrVal, "");
    EXPECT_TRUE(object->Document().Descriptions().Contains("Title"));
    ASSERT_EQ(object.Put(DISPID_Description, S("  spaced  ")), S_OK);
    EXPECT_EQ(object.Text(DISPID_Description), "  spaced  ");

    // The user's locale must not turn the point into a comma.
    struct CommaPoint : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale saved =
        std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    ASSERT_EQ(object.Put(DISPID_LastUpdateTime, MakeVariantDate(36487.5)), S_OK);
    std::locale::global(saved);
    EXPECT_EQ(object->Document().GetDescription("LastUpdateTime"), "36487.500000000");
    ASSERT_EQ(object.Call(DISPID_LastUpdateTime, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_DATE);
    EXPECT_DOUBLE_EQ(result.date, 36487.5);

    object->SetLastUpdateTime(0);
    EXPECT_EQ(object->Document().GetDescription("LastUpdateTime"), "0.000000000");
    const std::pair<const char*, double> reads[] = {{"  12.25 days", 12.25},
                                                    {"-3", -3},
                                                    {".5", 0.5},
                                                    {"1e3x", 1000},
                                                    {"2e", 2},
                                                    {"abc", 0},
                                                    {"", 0},
                                                    {"+.e1", 0},
                                                    {"0x10", 0},
                                                    {"inf", 0}};
    for (const auto& [stored, expected] : reads) {
        object->Document().SetDescription("LastUpdateTime", stored);
        EXPECT_DOUBLE_EQ(object->GetLastUpdateTime(), expected) << stored;
    }
}

TEST(CFoldline, WriteAndReadConfigFile) {
    CTempDir dir;
    const std::string path = dir.File("menu.tsl");
    {
        CObjectRef object;
        object.Text(DISPID_Title);
        CFurlin* menu = object->Model().InsertNewMenu();
        ASSERT_NE(menu, nullptr);
        menu->InsertNewItem()->Label = "Home, sweet";
        object->Model().Name = "Nav";
        ASSERT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(path)}));
        const std::string text = CTempDir::Read(path);
        EXPECT_NE(text.find("\r\nTitle = \r\n"), std::string::npos);
        EXPECT_NE(text.find("\r\nProgID = TesselServer.Foldline\r\n"), std::string::npos);
        EXPECT_NE(text.find("\r\nPreviewPath = \r\n"), std::string::npos);
        EXPECT_NE(text.find("Segment Position = cursor\r\n"), std::string::npos);
        EXPECT_EQ(object->Document().GetSegmentCount(), 1);
        EXPECT_FALSE(object.Bool(DISPID_WriteConfigFile, {S(dir.File("none/x.tsl"))}));
    }
    {
        CObjectRef object;
        object->Model().InsertNewMenu();
        object->Model().InsertNewMenu();
        ASSERT_TRUE(object.Bool(DISPID_ReadConfigFile, {S(path)}));
        ASSERT_EQ(object->Model().Menus().size(), 1u);
        EXPECT_EQ(object->Model().Name, "Nav");
        EXPECT_EQ(object->Model().Menus()[0]->GetItem(0)->Label, "Home, sweet");
        // The list read from the file is served as it was read.
        object->Document().SetAllResourceLocalPaths("as read");
        EXPECT_EQ(object.Text(DISPID_GetResourceLocalPath, {I(0)}), "as read");

        EXPECT_FALSE(object.Bool(DISPID_ReadConfigFile, {S(dir.File("missing.tsl"))}));
        EXPECT_EQ(object->Model().Menus().size(), 1u);
    }
}

TEST(CFoldline, ModernKindsAreTheMarkupForTodaysBrowsers) {
    CTempDir dir;
    CTempDir::Write(dir.File("dot.png"), "png");
    CObjectRef object;
    CFurlinItem* item = object->Model().InsertNewMenu()->InsertNewItem();
    item->Label = "Home";
    item->Link = "index.html";
    item->NormalImage = dir.File("dot.png");
    item->OverImage = dir.File("deleted.png");
    object->Model().WebPath = "res/";
    object->SetDescriptionKey("PreviewPath", "/site/tmp/");

    const std::string local = object.Text(DISPID_GetHTMLBody, {I(0), I(2)});
    EXPECT_EQ(item->OverImage, ""); // a deleted file is dropped, as by kinds 0 and 1
    ModernMarkupOptions options;
    options.previewFolder = "/site/tmp/";
    EXPECT_EQ(local, ModernMarkup(object->Model(), options));
    EXPECT_EQ(local.rfind("<link rel=\"stylesheet\" href=\"/site/tmp/furlin.css\">\r\n", 0), 0u);
    EXPECT_NE(local.find("<img src=\"/site/tmp/dot.png\" alt=\"\" loading=\"lazy\">Home</a>"),
              std::string::npos);

    const std::string web = object.Text(DISPID_GetHTMLBody, {I(0), I(3)});
    options.mode = kHtmlWeb;
    EXPECT_EQ(web, ModernMarkup(object->Model(), options));
    EXPECT_NE(web.find("<img src=\"res/dot.png\""), std::string::npos);
    EXPECT_NE(web.find("\r\n<script src=\"res/furlin.js\" defer></script>\r\n"), std::string::npos);
    for (const std::string& html : {local, web}) {
        EXPECT_EQ(html.find("<applet"), std::string::npos);
        EXPECT_EQ(html.find("<p"), std::string::npos);
        EXPECT_EQ(html.find("<script>"), std::string::npos); // nothing inline
    }

    // The applet kinds and the stored segment stay the applet's.
    EXPECT_EQ(object.Text(DISPID_GetHTMLBody, {I(0), I(1)}).rfind("<p align=\"Center\">", 0), 0u);
    EXPECT_EQ(object.Int(DISPID_GetHTMLSegmentNumber), 1);
    ASSERT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(dir.File("menu.tsl"))}));
    EXPECT_EQ(object->Document().GetSegmentCount(), 1);
    EXPECT_NE(CTempDir::Read(dir.File("menu.tsl")).find("<applet codebase=\"/site/tmp/\""),
              std::string::npos);
}

// The program's live preview draws kind 4: local files, silent, no link followed, no runtime
// elements (its page has them), and it reads the widget without dropping anything from it.
TEST(CFoldline, LivePreviewKindIsSilentLocalMarkupThatChangesNothing) {
    CTempDir dir;
    CTempDir::Write(dir.File("dot.png"), "png");
    CObjectRef object;
    CFurlinItem* item = object->Model().InsertNewMenu()->InsertNewItem();
    item->Label = "Home";
    item->NormalImage = dir.File("dot.png");
    item->OverImage = dir.File("deleted.png");

    const std::string preview = object.Text(DISPID_GetHTMLBody, {I(0), I(kHtmlLivePreview)});
    EXPECT_EQ(item->OverImage, dir.File("deleted.png"));
    EXPECT_EQ(preview, PreviewMarkup(object->Model(), false));
    EXPECT_NE(preview.find("data-furlin-preview"), std::string::npos);
    EXPECT_NE(preview.find("<img src=\"file://" + dir.File("dot.png") + "\""), std::string::npos);
    EXPECT_EQ(preview.find("data-furlin-node"), std::string::npos);
    EXPECT_EQ(preview.find("<script"), std::string::npos);
    EXPECT_EQ(preview.find("<link"), std::string::npos);
    EXPECT_NE(PreviewMarkup(object->Model(), true).find("data-furlin-node=\"0.0\""),
              std::string::npos);
}

TEST(CFoldline, SavesPlaceTheRuntimeBesideTheDocument) {
    namespace fs = std::filesystem;
    CTempDir dir;
    const std::string source = std::string(FOLDLINE_SOURCE_DIR) + "/runtime/";
    CObjectRef object;
    object->Model().InsertNewMenu()->InsertNewItem();
    ASSERT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(dir.File("menu.tsl"))}));
    for (const char* name : {"furlin.js", "furlin.css"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(CTempDir::Read(dir.File(name)).empty());
        EXPECT_EQ(CTempDir::Read(dir.File(name)), CTempDir::Read(source + name));
        // The component folder holds them too, beside the applet class file.
        EXPECT_EQ(CTempDir::Read(CFoldlineApp::Instance().ComponentFolder() + "/" + name),
                  CTempDir::Read(source + name));
    }
    // The support-file list stays the applet's.
    EXPECT_EQ(object.Int(DISPID_GetResourceNumber), 1);
    EXPECT_EQ(object.Text(DISPID_GetResourceName, {I(0)}), "furlin.class");

    // Saved again: an unchanged copy is left alone, a changed one is replaced.
    const auto old = fs::last_write_time(dir.File("furlin.css")) - std::chrono::hours(1);
    fs::last_write_time(dir.File("furlin.css"), old);
    CTempDir::Write(dir.File("furlin.js"), "edited");
    ASSERT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(dir.File("menu.tsl"))}));
    EXPECT_EQ(fs::last_write_time(dir.File("furlin.css")), old);
    EXPECT_EQ(CTempDir::Read(dir.File("furlin.js")), CTempDir::Read(source + "furlin.js"));
}

// An author's own file that happens to share a runtime file's name is a clash like any other:
// the runtime must not be written over the copy the item now points at.
TEST(CFoldline, RuntimeNeverOverwritesASupportFileOfItsName) {
    CTempDir dir;
    CTempDir pictures;
    const std::string mine = pictures.File("furlin.css");
    CTempDir::Write(mine, "the author's file");
    CObjectRef object;
    CFurlinItem* item = object->Model().InsertNewMenu()->InsertNewItem();
    item->NormalImage = mine;
    auto& runner = CDlgCopyResources::Runner();
    const auto saved = runner;
    runner = [](CDlgCopyResources& dialog) {
        dialog.reject();
        return false;
    };
    const bool written = object.Bool(DISPID_WriteConfigFile, {S(dir.File("menu.tsl"))});
    runner = saved;
    ASSERT_TRUE(written);
    EXPECT_EQ(CTempDir::Read(item->NormalImage), "the author's file");
    EXPECT_EQ(CTempDir::Read(mine), "the author's file");
    EXPECT_EQ(CTempDir::Read(dir.File("furlin.css")),
              CTempDir::Read(std::string(FOLDLINE_SOURCE_DIR) + "/runtime/furlin.css"));
}

TEST(CFoldline, AnotherComponentsFileLeavesTheModel) {
    CTempDir dir;
    const std::string path = dir.File("other.tsl");
    CTempDir::Write(path, "========== Description Part Begin ==========\r\n"
                          "ProgID = TesselServer.Other\r\n"
                          "Title = Theirs\r\n"
                          "========== Description Part End ==========\r\n"
                          "========== Parameter Part Begin ==========\r\n"
                          "Version = 1.1\r\n"
                          "========== Parameter Part End ==========\r\n");
    CObjectRef object;
    object->Model().InsertNewMenu();
    object->Model().Name = "Mine";
    const auto before = Snapshot(object->Model());
    ASSERT_TRUE(object.Bool(DISPID_ReadConfigFile, {S(path)}));
    EXPECT_EQ(Snapshot(object->Model()), before);
    EXPECT_EQ(object.Text(DISPID_Title), "Theirs");
    EXPECT_EQ(object->Document().GetParameter("Version"), "1.1");
}

TEST(CFoldline, ConfigCancelRestoresAndOkKeeps) {
    CRunnerGuard guard;
    CObjectRef object;
    object->Model().InsertNewMenu()->InsertNewItem()->Label = "first";
    const auto before = Snapshot(object->Model());

    CDlgConfig* seen = nullptr;
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dialog) {
        seen = &dialog;
        // The dialog edits the component's own model through the session it was handed.
        EXPECT_TRUE(dialog.Session() && &dialog.Session()->Model() == &object->Model());
        object->Model().Name = "edited";
        object->Model().Menus()[0]->GetItem(0)->Label = "changed";
        object->Model().InsertNewMenu();
        return false;
    };
    EXPECT_FALSE(object.Bool(DISPID_Config));
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(Snapshot(object->Model()), before);

    // OK keeps the edits and the next resource query rebuilds the list.
    object.Bool(DISPID_SetResourceLocalPath, {S("stale")});
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig&) {
        object->Model().Name = "kept";
        return true;
    };
    EXPECT_TRUE(object.Bool(DISPID_Config));
    EXPECT_EQ(object->Model().Name, "kept");
    EXPECT_NE(object.Text(DISPID_GetResourceLocalPath, {I(0)}), "stale");

    // A failing dialog is a cancel, reported as an exception, and the object stays usable.
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig&) -> bool {
        object->Model().Name = "half done";
        throw std::runtime_error("dialog failed");
    };
    EXCEPINFO excep;
    EXPECT_EQ(object.Call(DISPID_Config, {}, nullptr, &excep), DISP_E_EXCEPTION);
    EXPECT_EQ(excep.bstrDescription, "dialog failed");
    EXPECT_EQ(object->Model().Name, "kept");
}

TEST(CFoldline, DispatchNamesAndErrors) {
    CObjectRef object;
    const char* names[] = {"gethtmlbody"};
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, DISPID_GetHTMLBody);
    const char* title[] = {"TITLE"};
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, title, 1, 0, &id), S_OK);
    EXPECT_EQ(id, DISPID_Title);
    const char* unknown[] = {"GetHTMLBodyX"};
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);

    VARIANT result;
    UINT argErr = 99;
    EXPECT_EQ(object.Call(1000, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(object.Call(0, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(object.Call(DISPID_GetHTMLBody, {I(0)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(object.Call(DISPID_Config, {I(0)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(object.Call(DISPID_Title, {S("x")}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(object.Call(DISPID_GetHTMLBody, {I(0), S("web")}, &result, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u); // the last argument comes first in rgvarg
    EXPECT_EQ(object.Call(DISPID_GetResourceName, {I(40000)}), DISP_E_OVERFLOW);
    EXPECT_EQ(object.Call(DISPID_GetResourceName, {I(-32769)}), DISP_E_OVERFLOW);
    EXPECT_EQ(object.Call(DISPID_GetResourceName, {S("0")}, &result), S_OK);
    EXPECT_EQ(result.bstrVal, "furlin.class");
    EXPECT_EQ(object.Put(DISPID_Config, MakeVariantBool(true)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(object.Put(DISPID_LastUpdateTime, S("soon")), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(object->Invoke(DISPID_Title, IID_IDispatch, 0, DISPATCH_PROPERTYGET, nullptr, &result,
                             nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    // No result variant is fine; so is a null parameter block for a call without arguments.
    EXPECT_EQ(object->Invoke(DISPID_GetTesselTypeID, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                             nullptr, nullptr),
              S_OK);

    IUnknown* unknownPtr = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownPtr)), S_OK);
    ASSERT_NE(unknownPtr, nullptr);
    unknownPtr->Release();
    void* factory = &id;
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &factory), E_NOINTERFACE);
    EXPECT_EQ(factory, nullptr);
}

TEST(CFoldline, EveryMemberTakesItsArgumentsAndItsKindOfCall) {
    struct Shape {
        DISPID id;
        bool property;
        std::vector<VARIANT> args; // a call that fits
    };
    const std::string missing = "/no/such/folder/x.tsl";
    CTempDir site;
    CTempDir::Write(site.File("index.html"), "<title>Home</title>");
    const std::string json = site.File("menu.json");
    const std::vector<Shape> members = {
        {DISPID_ProgID, true, {}},
        {DISPID_Title, true, {}},
        {DISPID_Description, true, {}},
        {DISPID_BitmapFileName, true, {}},
        {DISPID_PreviewPath, true, {}},
        {DISPID_LastUpdateTime, true, {}},
        {DISPID_ReadConfigFile, false, {S(missing)}},
        {DISPID_WriteConfigFile, false, {S(missing)}},
        {DISPID_Config, false, {}},
        {DISPID_GetTesselTypeID, false, {}},
        {DISPID_GetTesselNameID, false, {}},
        {DISPID_GetMenuTextID, false, {}},
        {DISPID_GetMessageTextID, false, {}},
        {DISPID_GetTipsTextID, false, {}},
        {DISPID_GetIconID, false, {I(0)}},
        {DISPID_GetHTMLSegmentNumber, false, {}},
        {DISPID_GetHTMLPosition, false, {I(0)}},
        {DISPID_GetHTMLBody, false, {I(0), I(1)}},
        {DISPID_GetResourceInstance, false, {}},
        {DISPID_GetResourceNumber, false, {}},
        {DISPID_GetResourceName, false, {I(0)}},
        {DISPID_GetResourceLocalPath, false, {I(0)}},
        {DISPID_GetResourceWebPath, false, {I(0)}},
        {DISPID_GetResourceLocalPathByName, false, {S("furlin.class")}},
        {DISPID_GetResourceWebPathByName, false, {S("furlin.class")}},
        {DISPID_SetResourceLocalPath, false, {S("/x/")}},
        {DISPID_PublishToSite, false, {S(site.Path()), MakeVariantBool(true)}},
        {DISPID_CheckLinks, false, {S(site.Path())}},
        {DISPID_GetItemLinks, false, {}},
        {DISPID_ImportSite, false, {S(site.Path())}},
        {DISPID_ExportJSON, false, {S(json)}},
        {DISPID_ImportJSON, false, {S(json)}},
        {DISPID_ConfigSelection, true, {}},
    };
    CRunnerGuard guard;
    CFoldline::ConfigDialogRunner() = [](CDlgConfig&) { return false; };
    CObjectRef object;
    for (const Shape& member : members) {
        VARIANT result;
        EXPECT_EQ(object.Call(member.id, member.args, &result), S_OK) << member.id;
        EXPECT_NE(result.vt, VT_EMPTY) << member.id;
        std::vector<VARIANT> more = member.args;
        more.push_back(I(0));
        EXPECT_EQ(object.Call(member.id, more), DISP_E_BADPARAMCOUNT) << member.id;
        if (!member.args.empty()) {
            std::vector<VARIANT> fewer(member.args.begin(), member.args.end() - 1);
            EXPECT_EQ(object.Call(member.id, fewer), DISP_E_BADPARAMCOUNT) << member.id;
        }
        const VARIANT value = member.id == DISPID_LastUpdateTime ? MakeVariantDate(1) : S("v");
        EXPECT_EQ(object.Put(member.id, value), member.property ? S_OK : DISP_E_MEMBERNOTFOUND)
            << member.id;
    }
    EXPECT_EQ(object.Text(DISPID_BitmapFileName), "v");
}

TEST(CFoldline, WriteErrorBecomesAnExceptionAndTheObjectStaysUsable) {
    CTempDir dir;
    const std::string path = dir.File("big.tsl");
    CTempDir::Write(path, "previous");
    CObjectRef object;
    object.Put(DISPID_Description, S(std::string(300000, 'd')));

    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 8192;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXCEPINFO excep;
    const HRESULT hr = object.Call(DISPID_WriteConfigFile, {S(path)}, nullptr, &excep);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_NE(excep.bstrDescription.find("write error"), std::string::npos);
    EXPECT_EQ(excep.bstrSource, "TesselServer.Foldline");
    EXPECT_EQ(CTempDir::Read(path), "previous");
    EXPECT_EQ(object.Text(DISPID_GetHTMLPosition, {I(0)}), "cursor");
    EXPECT_TRUE(object.Bool(DISPID_WriteConfigFile, {S(path)}));
}

TEST(CFoldline, FactoryAndObjectCount) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(
        DllGetClassObject(CLSID_Foldline, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        S_OK);
    const long before = CFoldline::ObjectCount();
    EXPECT_EQ(DllCanUnloadNow(), before == 0 ? S_OK : S_FALSE);

    IDispatch* first = nullptr;
    IDispatch* second = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&first)),
              S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&second)),
              S_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(CFoldline::ObjectCount(), before + 2);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    first->Release();
    second->Release();
    EXPECT_EQ(CFoldline::ObjectCount(), before);

    factory->LockServer(true);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(DllCanUnloadNow(), before == 0 ? S_OK : S_FALSE);

    int dummy = 0;
    void* none = &dummy;
    EXPECT_EQ(factory->CreateInstance(factory, IID_IDispatch, &none), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(CFoldline::ObjectCount(), before);
    factory->Release();

    const CLSID other = {
        0x0E58CB80, 0xD066, 0x11D2, {0x9E, 0x76, 0x52, 0x54, 0xAB, 0x10, 0xC8, 0x9A}};
    void* object = &none;
    EXPECT_EQ(DllGetClassObject(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
}

} // namespace
