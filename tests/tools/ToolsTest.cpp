// Drives tessel-regsvr and tessel-call from outside, as users and scripts do.
#include "RegTree.h"
#include "Registry.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string line; std::getline(s, line);)
        lines.push_back(line);
    return lines;
}

class Tools : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tessel-tools-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_root = m_dir + "/classes.reg";
        ::setenv("TESSEL_CLASSES_ROOT", m_root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_dir + "/config").c_str(), 1);
        // The tools are built beside this program; FOLDLINE_BUILD_DIR names the build tree.
        const char* build = std::getenv("FOLDLINE_BUILD_DIR");
        m_bin = build && *build
                    ? std::string(build) + "/bin"
                    : std::filesystem::canonical("/proc/self/exe").parent_path().string();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    Outcome Run(const std::string& tool, const std::string& args, const std::string& input = "") {
        std::ofstream(m_dir + "/in.txt", std::ios::binary) << input;
        std::string command = "'" + m_bin + "/" + tool + "' " + args + " < '" + m_dir +
                              "/in.txt' > '" + m_dir + "/out.txt' 2> '" + m_dir + "/err.txt'";
        int raw = std::system(command.c_str());
        Outcome outcome;
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.out = ReadFile(m_dir + "/out.txt");
        outcome.err = ReadFile(m_dir + "/err.txt");
        return outcome;
    }
    Outcome Register(bool unregister = false) {
        return Run("tessel-regsvr",
                   std::string(unregister ? "-u " : "") + "'" + FIXTURE_LIBRARY + "'");
    }
    Outcome Call(const std::string& input, const std::string& progId = "TesselTest.Fixture") {
        return Run("tessel-call", "--progid " + progId, input);
    }

    std::string m_dir;
    std::string m_root;
    std::string m_bin;
};

const char* kClassKey = "CLSID\\{6A1E3C20-5B7D-4F0E-9A31-0C2D4E5F6A7B}";

TEST_F(Tools, RegsvrRegistersAndUnregisters) {
    Outcome first = Register();
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("DllRegisterServer"), std::string::npos);
    EXPECT_NE(first.out.find("succeeded"), std::string::npos);

    CRegTree tree = ReadClassesRoot();
    const CRegKeyEntry* server =
        tree.Find(std::string(kClassKey) + "\\InprocServer32"); // written "InProcServer32"
    ASSERT_NE(server, nullptr) << ReadFile(m_root);
    EXPECT_EQ(server->defaultValue, std::filesystem::canonical(FIXTURE_LIBRARY).string());
    EXPECT_NE(tree.Find(std::string(kClassKey) + "\\Implemented Categories"), nullptr);
    EXPECT_NE(tree.Find("Component Categories\\{11111111-2222-3333-4444-555555555555}"), nullptr);

    Outcome removed = Register(true);
    ASSERT_EQ(removed.status, 0) << removed.err;
    tree = ReadClassesRoot();
    EXPECT_EQ(tree.Find(kClassKey), nullptr);
    EXPECT_EQ(tree.Find("TesselTest.Fixture"), nullptr);

    Outcome again = Register(true); // nothing left to find the ProgID by
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("0x80040154"), std::string::npos) << again.err;
}

TEST_F(Tools, RegsvrFailures) {
    Outcome missing = Run("tessel-regsvr", "'" + m_dir + "/nothing.so'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("0x"), std::string::npos);

    std::ofstream(m_dir + "/text.so") << "not a library";
    Outcome text = Run("tessel-regsvr", "'" + m_dir + "/text.so'");
    EXPECT_EQ(text.status, 1);
    EXPECT_NE(text.err.find("0x800401F9"), std::string::npos) << text.err;

    EXPECT_EQ(Run("tessel-regsvr", "").status, 1);
    EXPECT_EQ(Run("tessel-regsvr", "-u").status, 1);
    EXPECT_FALSE(std::filesystem::exists(m_root)); // nothing was written
}

TEST_F(Tools, CallAnswersEachLine) {
    ASSERT_EQ(Register().status, 0);
    Outcome result = Call("[\"Title\"]\n"
                          "[\"Title=\", \"Menu2\"]\n"
                          "\n"
                          "   \n"
                          "[\"title\"]\r\n"
                          "[1]\n"
                          "[\"Add\", 2, 40]\n"
                          "[\"Add\", \"2\", true]\n"
                          "[\"Half\", 5]\n"
                          "[\"Echo\", 2147483648]\n"
                          "[\"Echo\", false]\n"
                          "[\"Echo\", null]\n"
                          "[\"Nothing\"]\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Lines(result.out),
              (std::vector<std::string>{"\"\"", "null", "\"Menu2\"", "\"Menu2\"", "42", "1", "2.5",
                                        "2147483648", "false", "null", "null"}));
}

TEST_F(Tools, CallKeepsTextsIntact) {
    ASSERT_EQ(Register().status, 0);
    Outcome result =
        Call("[\"Echo\", \"q\\\"b\\\\s/\\n\\t\\u0001\\u00e9\\ud83d\\ude00 \xE2\x82\xAC\"]\n"
             "[\"Echo\", \"lone \\ud800 half\"]\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Lines(result.out),
              (std::vector<std::string>{
                  "\"q\\\"b\\\\s/\\n\\t\\u0001\xC3\xA9\xF0\x9F\x98\x80 \xE2\x82\xAC\"",
                  "\"lone \xEF\xBF\xBD half\""}));
}

TEST_F(Tools, CallReportsFailuresAndGoesOn) {
    ASSERT_EQ(Register().status, 0);
    Outcome result = Call("[\"Fail\"]\n"
                          "[\"NoSuchMember\"]\n"
                          "[\"Add\", 1]\n"
                          "[\"Add\", \"x\", 1]\n"
                          "[\"Add\", 2147483648.0, 1]\n"
                          "[99]\n"
                          "[\"Title=\", \"a\", \"b\"]\n"
                          "[\"Title\"\n"
                          "{\"a\": 1}\n"
                          "[\"Echo\", [1]]\n"
                          "[\"Title=\", \"still works\"]\n"
                          "[\"Title\"]\n");
    EXPECT_EQ(result.status, 1);
    std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 12u) << result.out;
    EXPECT_EQ(lines[0], "{\"error\": \"fixture failure\", \"hresult\": \"0x80020009\"}");
    const char* codes[] = {"0x80020006", "0x8002000E", "0x80020005", "0x8002000A", "0x80020003",
                           "0x8002000E", "0x80070057", "0x80070057", "0x80020005"};
    for (std::size_t i = 0; i < std::size(codes); ++i) {
        EXPECT_EQ(lines[i + 1].rfind("{\"error\": \"", 0), 0u) << lines[i + 1];
        EXPECT_NE(lines[i + 1].find(std::string("\"hresult\": \"") + codes[i] + "\"}"),
                  std::string::npos)
            << lines[i + 1];
    }
    EXPECT_EQ(lines[10], "null");
    EXPECT_EQ(lines[11], "\"still works\"");
}

TEST_F(Tools, CallAnswersTheIdentifierANameResolvesTo) {
    ASSERT_EQ(Register().status, 0);
    Outcome result = Call("[\"Title?\"]\n"
                          "[\"add?\"]\n"
                          "[\"7?\"]\n"
                          "[\"NoSuchMember?\"]\n"
                          "[\"Add?\", 1]\n"
                          "[\"Title\"]\n");
    EXPECT_EQ(result.status, 1);
    std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 6u) << result.out;
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "2");
    EXPECT_EQ(lines[2], "7"); // a number names itself
    EXPECT_NE(lines[3].find("0x80020006"), std::string::npos) << lines[3];
    EXPECT_NE(lines[4].find("0x8002000E"), std::string::npos) << lines[4];
    EXPECT_EQ(lines[5], "\"\""); // asking calls nothing
}

TEST_F(Tools, CallWithoutAnInstanceExitsTwo) {
    Outcome unregistered = Call("[\"Title\"]\n");
    EXPECT_EQ(unregistered.status, 2);
    EXPECT_EQ(unregistered.out, "");
    EXPECT_NE(unregistered.err.find("TesselTest.Fixture"), std::string::npos);

    ASSERT_EQ(Register().status, 0);
    Outcome defaultProgId = Run("tessel-call", "", "[\"Title\"]\n");
    EXPECT_EQ(defaultProgId.status, 2);
    EXPECT_NE(defaultProgId.err.find("TesselServer.Foldline"), std::string::npos);
    EXPECT_EQ(Call("", "Missing.Thing").status, 2);
    EXPECT_EQ(Run("tessel-call", "--bogus").status, 2);

    EXPECT_EQ(Call("").status, 0); // no lines, nothing failed
}

} // namespace
