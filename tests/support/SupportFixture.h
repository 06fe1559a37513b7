// A temporary workspace whose "component" folder holds the applet class file.
#pragma once

#include "CAppletParameters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <cstdlib>

class SupportTest : public ::testing::Test {
public:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "foldline-support-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        CAppletParameters::SetComponentFolder(Dir("component"));
        Write(Dir("component") + "/furlin.class", "applet class");
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }

    // A folder below the workspace (created), without a trailing "/".
    std::string Dir(const std::string& name) const {
        std::filesystem::create_directories(m_root + "/" + name);
        return m_root + "/" + name;
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static long FileCount(const std::string& folder) {
        auto entries = std::filesystem::directory_iterator(folder);
        return std::distance(begin(entries), end(entries));
    }

    // Appended at the end, unlike the editor's Insert.
    static CFurlin* AppendMenu(CAppletParameters& model, int items) {
        auto owned = std::make_unique<CFurlin>();
        CFurlin* menu = owned.get();
        model.AddMenu(std::move(owned), false);
        for (int i = 0; i < items; ++i)
            AppendItem(*menu);
        return menu;
    }
    static CFurlinItem* AppendItem(CFurlin& menu) {
        auto owned = std::make_unique<CFurlinItem>();
        CFurlinItem* item = owned.get();
        menu.AddItem(std::move(owned), false);
        return item;
    }

    std::string m_root;
};
