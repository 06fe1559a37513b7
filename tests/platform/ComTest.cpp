#include "Com.h"
#include "ComCat.h"
#include "RegTree.h"
#include "Registry.h"
#include "TempRoot.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

const CLSID kFixture = {
    0x6A1E3C20, 0x5B7D, 0x4F0E, {0x9A, 0x31, 0x0C, 0x2D, 0x4E, 0x5F, 0x6A, 0x7B}};
const CLSID kOther = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

class Com : public TempRootTest {
protected:
    void Register(const CLSID& clsid, const std::string& library, const char* progId = nullptr) {
        std::string key = "CLSID\\" + StringFromCLSID(clsid);
        ASSERT_EQ(
            RegSetValue(HKEY_CLASSES_ROOT, (key + "\\InProcServer32").c_str(), library.c_str()),
            ERROR_SUCCESS);
        if (progId) {
            RegSetValue(HKEY_CLASSES_ROOT, (key + "\\ProgID").c_str(), progId);
            RegSetValue(HKEY_CLASSES_ROOT, (std::string(progId) + "\\CLSID").c_str(),
                        StringFromCLSID(clsid).c_str());
        }
    }
    HRESULT Create(const CLSID& clsid, IDispatch** out) {
        return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(out));
    }
};

bool IsLoaded(const char* path) {
    void* handle = ::dlopen(path, RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        ::dlclose(handle);
    return handle != nullptr;
}

TEST_F(Com, ProgIdsResolveBothWays) {
    Register(kFixture, FIXTURE_LIBRARY, "TesselTest.Fixture");
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID("tesseltest.fixture", &clsid), S_OK);
    EXPECT_EQ(clsid, kFixture);
    std::string progId;
    ASSERT_EQ(ProgIDFromCLSID(kFixture, &progId), S_OK);
    EXPECT_EQ(progId, "TesselTest.Fixture");

    EXPECT_EQ(CLSIDFromProgID("Not.There", &clsid), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(clsid, GUID_NULL);
    EXPECT_EQ(ProgIDFromCLSID(kOther, &progId), REGDB_E_CLASSNOTREG);
    // Names that would reach other keys of the classes root.
    EXPECT_EQ(CLSIDFromProgID("", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID("CLSID\\{6A1E3C20-5B7D-4F0E-9A31-0C2D4E5F6A7B}", &clsid),
              CO_E_CLASSSTRING);
    RegSetValue(HKEY_CLASSES_ROOT, "Bad.Thing\\CLSID", "not a guid");
    EXPECT_EQ(CLSIDFromProgID("Bad.Thing", &clsid), CO_E_CLASSSTRING);
}

TEST_F(Com, CreatesInstancesAndUnloadsUnusedLibraries) {
    Register(kFixture, FIXTURE_LIBRARY);
    IDispatch* object = nullptr;
    ASSERT_EQ(Create(kFixture, &object), S_OK);
    ASSERT_NE(object, nullptr);
    LPCOLESTR names[] = {"add"};
    DISPID id = 0;
    ASSERT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    VARIANT args[2] = {MakeVariantI4(40), MakeVariantBstr("2")};
    DISPPARAMS params{args, nullptr, 2, 0};
    VARIANT result;
    ASSERT_EQ(object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.lVal, 42);

    CoFreeUnusedLibraries();
    EXPECT_TRUE(IsLoaded(FIXTURE_LIBRARY)); // an instance is alive
    object->Release();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(IsLoaded(FIXTURE_LIBRARY));

    ASSERT_EQ(Create(kFixture, &object), S_OK); // loads again
    object->Release();
    CoFreeUnusedLibraries();
}

TEST_F(Com, BadRegistrationsFailWithoutCrashing) {
    IDispatch* object = reinterpret_cast<IDispatch*>(this);
    EXPECT_EQ(Create(kOther, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    Register(kOther, m_dir + "/missing.so");
    EXPECT_EQ(Create(kOther, &object), CO_E_DLLNOTFOUND);
    Register(kOther, "");
    EXPECT_EQ(Create(kOther, &object), CO_E_DLLNOTFOUND);

    std::string garbage = m_dir + "/garbage.so";
    std::ofstream(garbage) << "this is not a shared library";
    Register(kOther, garbage);
    EXPECT_EQ(Create(kOther, &object), CO_E_ERRORINDLL);
    Register(kOther, m_dir); // a folder
    EXPECT_EQ(Create(kOther, &object), CO_E_ERRORINDLL);
    Register(kOther, NOENTRY_LIBRARY);
    EXPECT_EQ(Create(kOther, &object), CO_E_ERRORINDLL);
    Register(kOther, UNRESOLVED_LIBRARY);
    EXPECT_EQ(Create(kOther, &object), CO_E_ERRORINDLL);

    // The right library asked for a class it does not serve.
    Register(kOther, FIXTURE_LIBRARY);
    EXPECT_EQ(Create(kOther, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CoCreateInstance(kFixture, reinterpret_cast<IUnknown*>(this), 0, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(kFixture, nullptr, 0, IID_IDispatch, nullptr), E_POINTER);
    CoFreeUnusedLibraries();
}

TEST_F(Com, InitializeFailsOnlyWhenTheRootFolderCannotBeMade) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    struct stat st {};
    EXPECT_EQ(::stat((m_dir + "/data").c_str(), &st), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    CoUninitialize();

    std::string file = m_dir + "/plain-file";
    std::ofstream(file) << "x";
    ::setenv("TESSEL_CLASSES_ROOT", (file + "/sub/classes.reg").c_str(), 1);
    EXPECT_TRUE(FAILED(CoInitialize(nullptr)));
    EXPECT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "A", "1"), ERROR_CANTWRITE);
    CoUninitialize(); // unbalanced: harmless
}

TEST_F(Com, CategoryManagerStoresWhatWindowsStores) {
    const CATID cat = {
        0x2542EDC1, 0x7EFB, 0x11D2, {0x8C, 0xA5, 0x00, 0x88, 0xCC, 0x08, 0x15, 0x31}};
    ICatRegister* reg = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                               IID_ICatRegister, reinterpret_cast<void**>(&reg)),
              S_OK);
    IDispatch* wrong = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, 0, IID_IDispatch,
                               reinterpret_cast<void**>(&wrong)),
              E_NOINTERFACE);

    std::u16string longText(200, u'x');
    longText[126] = u'\xD83D'; // a surrogate pair across the limit is not split
    longText[127] = u'\xDE00';
    CATEGORYINFO infos[] = {{cat, 0x409, u"Velloran Tessels \u00e9"}, {cat, 0x407, longText}};
    ASSERT_EQ(reg->RegisterCategories(2, infos), S_OK);
    ASSERT_EQ(reg->RegisterClassImplCategories(kFixture, 1, &cat), S_OK);

    std::string catKey = "Component Categories\\{2542EDC1-7EFB-11D2-8CA5-0088CC081531}";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, catKey.c_str(), &key), ERROR_SUCCESS);
    std::string value;
    EXPECT_EQ(RegQueryValueEx(key, "409", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, "Velloran Tessels \xC3\xA9");
    EXPECT_EQ(RegQueryValueEx(key, "407", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, std::string(126, 'x'));
    RegCloseKey(key);
    std::string implKey = "CLSID\\{6A1E3C20-5B7D-4F0E-9A31-0C2D4E5F6A7B}\\Implemented "
                          "Categories\\{2542EDC1-7EFB-11D2-8CA5-0088CC081531}";
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, implKey.c_str(), &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_NE(RootText().find("[HKEY_CLASSES_ROOT\\" + catKey + "]\n\"409\"=\"Velloran Tessels"),
              std::string::npos)
        << RootText();

    // Registering again leaves one value.
    ASSERT_EQ(reg->RegisterCategories(1, infos), S_OK);
    EXPECT_EQ(ReadClassesRoot().Find(catKey)->values.size(), 2u);

    ASSERT_EQ(reg->UnRegisterClassImplCategories(kFixture, 1, &cat), S_OK);
    EXPECT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, implKey.c_str(), &key), ERROR_FILE_NOT_FOUND);
    // Removing the parent "Implemented Categories" key is left to the component.
    EXPECT_NE(ReadClassesRoot().Find(implKey.substr(0, implKey.rfind('\\'))), nullptr);
    ASSERT_EQ(reg->UnRegisterCategories(1, &cat), S_OK);
    EXPECT_EQ(ReadClassesRoot().Find(catKey), nullptr);
    EXPECT_EQ(reg->RegisterCategories(1, nullptr), E_POINTER);
    reg->Release();
}

} // namespace
