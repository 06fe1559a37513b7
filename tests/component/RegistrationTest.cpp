#include "CFoldlineApp.h"
#include "Registry.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Each test gets its own empty classes root.
class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = std::getenv("TESSEL_CLASSES_ROOT") ? std::getenv("TESSEL_CLASSES_ROOT") : "";
        ::setenv("TESSEL_CLASSES_ROOT", m_dir.File("classes.reg").c_str(), 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override {
        CoUninitialize();
        ::setenv("TESSEL_CLASSES_ROOT", m_saved.c_str(), 1);
    }

    static std::string Value(const std::string& key) {
        std::string value;
        if (RegQueryValue(HKEY_CLASSES_ROOT, key.c_str(), &value) != ERROR_SUCCESS)
            return "<absent>";
        return value;
    }
    static std::string Named(const std::string& key, const char* name) {
        HKEY handle = nullptr;
        if (RegOpenKey(HKEY_CLASSES_ROOT, key.c_str(), &handle) != ERROR_SUCCESS)
            return "<absent>";
        std::string value;
        const LONG rc = RegQueryValueEx(handle, name, &value);
        RegCloseKey(handle);
        return rc == ERROR_SUCCESS ? value : "<absent>";
    }
    std::string RootText() const { return CTempDir::Read(m_dir.File("classes.reg")); }

    const std::string m_classKey = "CLSID\\{0E58CB80-D066-11D2-9E76-5254AB10C899}";
    const std::string m_category = "Component Categories\\{2542EDC1-7EFB-11D2-8CA5-0088CC081531}";
    CTempDir m_dir;
    std::string m_saved;
};

TEST_F(Registration, RegisterTwiceLeavesOneSetAndKeepsFirstValues) {
    // Someone else named the ProgID key first; that value is only written when absent.
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "TesselServer.Foldline", "Foldline widget"),
              ERROR_SUCCESS);
    ASSERT_EQ(DllRegisterServer(), S_OK);
    EXPECT_EQ(Value("TesselServer.Foldline"), "Foldline widget");
    EXPECT_EQ(Value("TesselServer.Foldline\\CLSID"), "{0E58CB80-D066-11D2-9E76-5254AB10C899}");
    EXPECT_EQ(Value(m_classKey), "TesselServer.Foldline");
    EXPECT_EQ(Value(m_classKey + "\\ProgID"), "TesselServer.Foldline");
    EXPECT_EQ(Value(m_classKey + "\\InprocServer32"), CFoldlineApp::Instance().LibraryPath());
    EXPECT_EQ(CFoldlineApp::Instance().LibraryPath(),
              std::filesystem::canonical(std::string(std::getenv("FOLDLINE_BUILD_DIR")) +
                                         "/component/libTesselFoldline.so")
                  .string());
    EXPECT_NE(
        Value(m_classKey + "\\Implemented Categories\\{2542EDC1-7EFB-11D2-8CA5-0088CC081531}"),
        "<absent>");
    EXPECT_EQ(Named(m_category, "409"), "Velloran Tessels");

    // The library resolves through the classes root like any host would find it.
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID("TesselServer.Foldline", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Foldline);

    const std::string once = RootText();
    ASSERT_EQ(DllRegisterServer(), S_OK);
    EXPECT_EQ(RootText(), once);
}

TEST_F(Registration, UnregisterRemovesTheClassButKeepsTheCategory) {
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "CLSID\\{11111111-2222-3333-4444-555555555555}",
                          "neighbour"),
              ERROR_SUCCESS);
    ASSERT_EQ(DllRegisterServer(), S_OK);
    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(Value(m_classKey), "<absent>");
    EXPECT_EQ(Value("TesselServer.Foldline"), "<absent>");
    EXPECT_EQ(Named(m_category, "409"), "Velloran Tessels");
    EXPECT_EQ(Value("CLSID\\{11111111-2222-3333-4444-555555555555}"), "neighbour");

    // Nothing registered any more: the ProgID lookup fails and that failure is returned.
    EXPECT_TRUE(FAILED(DllUnregisterServer()));
}

TEST_F(Registration, UnregisterKeepsKeysOthersAddedUnderTheProgID) {
    ASSERT_EQ(DllRegisterServer(), S_OK);
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "TesselServer.Foldline\\CurVer", "x"), ERROR_SUCCESS);
    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(Value("TesselServer.Foldline\\CLSID"), "<absent>");
    EXPECT_EQ(Value("TesselServer.Foldline\\CurVer"), "x");
    EXPECT_EQ(Value(m_classKey), "<absent>");
}

} // namespace
