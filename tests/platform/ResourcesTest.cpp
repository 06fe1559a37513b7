#include "Resources.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace {

const StringResource kStrings[] = {{301, "TesselServer.Foldline"}, {302, "caf\xC3\xA9"}};
const unsigned char kPng[] = {0x89, 'P', 'N', 'G'};
const IconResource kIcons[] = {{128, kPng, sizeof kPng}};
const ModuleResources kOwn = {kStrings, 2, kIcons, 1};

std::string RealPath(const char* path) {
    char resolved[PATH_MAX];
    return ::realpath(path, resolved) ? resolved : path;
}

TEST(Resources, ProgramTableThroughItsOwnHandle) {
    static const char anchor = 0;
    RegisterOwnResources(&anchor, &kOwn);
    HINSTANCE own = GetModuleHandleOf(&anchor);
    ASSERT_NE(own, 0);
    EXPECT_GT(own, 0); // 31 bits
    EXPECT_EQ(GetModulePathOf(&anchor), RealPath("/proc/self/exe"));
    EXPECT_EQ(GetResourceHandle(), own); // the layer lives in this program

    EXPECT_EQ(LoadStringText(own, 301), "TesselServer.Foldline");
    EXPECT_EQ(LoadStringText(own, 999), "");
    EXPECT_EQ(LoadIconData(own, 128), std::string(reinterpret_cast<const char*>(kPng), 4));
    EXPECT_EQ(LoadIconData(own, 1), "");

    char buffer[6];
    EXPECT_EQ(LoadString(own, 301, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "Tesse");
    // "café" cut at 4 bytes would split the two-byte é.
    EXPECT_EQ(LoadString(own, 302, buffer, 5), 3);
    EXPECT_STREQ(buffer, "caf");
    EXPECT_EQ(LoadString(own, 999, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadString(own, 301, nullptr, 10), 0);
    EXPECT_EQ(LoadString(0, 301, buffer, sizeof buffer), 0);
    RegisterOwnResources(&anchor, nullptr);
    EXPECT_EQ(LoadStringText(own, 301), "");
}

TEST(Resources, LibraryTableThroughItsExport) {
    void* lib = ::dlopen(FIXTURE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << ::dlerror();
    void* entry = ::dlsym(lib, "DllGetClassObject");
    ASSERT_NE(entry, nullptr);
    HINSTANCE h = GetModuleHandleOf(entry);
    EXPECT_EQ(GetModulePathOf(entry), RealPath(FIXTURE_LIBRARY));
    EXPECT_NE(h, GetResourceHandle());

    SetResourceHandle(h);
    EXPECT_EQ(LoadStringText(GetResourceHandle(), 100), "Fixture Name");
    EXPECT_EQ(LoadIconData(GetResourceHandle(), 4000).size(), 6u);
    static const char anchor = 0;
    SetResourceHandle(GetModuleHandleOf(&anchor));
    ::dlclose(lib);
    // Once unloaded, its handle names nothing.
    void* still = ::dlopen(FIXTURE_LIBRARY, RTLD_LAZY | RTLD_NOLOAD);
    if (!still)
        EXPECT_EQ(LoadStringText(h, 100), "");
    else
        ::dlclose(still);
}

} // namespace
