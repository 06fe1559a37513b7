// A temporary folder holding the classes root, set up before and removed after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tessel-platform-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_root = m_dir + "/data/classes.reg";
        ::setenv("TESSEL_CLASSES_ROOT", m_root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_dir + "/config").c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    std::string RootText() const {
        std::ifstream in(m_root, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteRoot(const std::string& text) const {
        std::filesystem::create_directories(m_dir + "/data");
        std::ofstream(m_root, std::ios::binary) << text;
    }
    std::string m_dir;
    std::string m_root;
};
