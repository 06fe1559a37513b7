// The built library registered into a scratch classes root and driven from another process, the
// way scripts and the program reach it.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>
#include <vector>

namespace {

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const char* build = std::getenv("FOLDLINE_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        m_build = build;
        m_library = m_build + "/component/libTesselFoldline.so";
        m_root = m_dir.File("classes.reg");
        ASSERT_TRUE(std::filesystem::exists(m_library));
        ASSERT_TRUE(std::filesystem::exists(m_build + "/bin/tessel-call"));
        ASSERT_TRUE(std::filesystem::exists(m_build + "/bin/tessel-regsvr"));
    }

    // Runs a command with the scratch classes root; returns its exit status.
    int Run(const std::string& command) const {
        const std::string line = "TESSEL_CLASSES_ROOT='" + m_root + "' " + command;
        const int status = std::system(line.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Regsvr(const std::string& flags) const {
        return Run("'" + m_build + "/bin/tessel-regsvr' " + flags + " '" + m_library +
                   "' > /dev/null 2>&1");
    }
    // Feeds the lines to tessel-call; returns its output lines.
    std::vector<std::string> Call(const std::vector<std::string>& input, int* status) const {
        std::string text;
        for (const std::string& line : input)
            text += line + "\n";
        CTempDir::Write(m_dir.File("in.txt"), text);
        *status = Run("'" + m_build + "/bin/tessel-call' < '" + m_dir.File("in.txt") + "' > '" +
                      m_dir.File("out.txt") + "' 2> /dev/null");
        std::vector<std::string> lines;
        std::istringstream out(CTempDir::Read(m_dir.File("out.txt")));
        for (std::string line; std::getline(out, line);)
            lines.push_back(line);
        return lines;
    }
    static std::string Quote(const std::string& path) { return "\"" + path + "\""; }

    CTempDir m_dir;
    std::string m_build;
    std::string m_library;
    std::string m_root;
};

TEST_F(EndToEnd, RegisterDriveAndUnregister) {
    ASSERT_EQ(Regsvr(""), 0);
    const std::string saved = m_dir.File("site/menu.tsl");
    std::filesystem::create_directories(m_dir.File("site"));

    int status = -1;
    auto out =
        Call({"[\"Title\"]", "[\"Title=\", \"Menu2\"]", "[\"title\"]",
              "[\"LastUpdateTime=\", 36487.5]", "[\"LastUpdateTime\"]", "[\"GetResourceNumber\"]",
              "[\"GetResourceName\", 0]", "[\"GetIconID\", 7]", "[\"GetHTMLPosition\", 5]",
              "[\"WriteConfigFile\", " + Quote(saved) + "]",
              "[\"ReadConfigFile\", " + Quote(m_dir.File("missing.tsl")) + "]",
              "[\"GetResourceName\", 70000]", "[99]", "[\"GetHTMLBody\", 0]", "[\"Config\"]"},
             &status);
    EXPECT_EQ(status, 1); // some lines failed on purpose
    const std::vector<std::string> expected = {
        "\"\"", "null",       "\"Menu2\"", "null",  "36487.5", "1", "\"furlin.class\"",
        "4000", "\"cursor\"", "true",      "false",
    };
    ASSERT_EQ(out.size(), 15u);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(out[i], expected[i]) << "line " << i;
    EXPECT_NE(out[11].find("\"hresult\": \"0x8002000A\""), std::string::npos) << out[11];
    EXPECT_NE(out[12].find("\"hresult\": \"0x80020003\""), std::string::npos) << out[12];
    EXPECT_NE(out[13].find("\"hresult\": \"0x8002000E\""), std::string::npos) << out[13];
    // Without a display no dialog can open: Config answers Cancel.
    EXPECT_EQ(out[14], "false");

    const std::string file = CTempDir::Read(saved);
    EXPECT_NE(file.find("Title = Menu2\r\n"), std::string::npos);
    EXPECT_NE(file.find("LastUpdateTime = 36487.500000000\r\n"), std::string::npos);
    EXPECT_NE(file.find("furlin.class=" +
                        std::filesystem::canonical(m_build + "/component").string() + "/="),
              std::string::npos);

    // A second instance reads the saved widget back.
    out = Call(
        {"[\"ReadConfigFile\", " + Quote(saved) + "]", "[\"Title\"]", "[\"GetHTMLBody\", 0, 1]"},
        &status);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], "true");
    EXPECT_EQ(out[1], "\"Menu2\"");
    EXPECT_NE(out[2].find("<applet"), std::string::npos);

    ASSERT_EQ(Regsvr("-u"), 0);
    out = Call({"[\"Title\"]"}, &status);
    EXPECT_EQ(status, 2); // nothing registered any more
    EXPECT_TRUE(out.empty());
}

} // namespace
