#include "Registry.h"
#include "RegTree.h"
#include "TempRoot.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

namespace {

using Registry = TempRootTest;

std::string Query(const char* key) {
    std::string value;
    LONG rc = RegQueryValue(HKEY_CLASSES_ROOT, key, &value);
    return rc == ERROR_SUCCESS ? value : "<" + std::to_string(rc) + ">";
}

TEST_F(Registry, RootFollowsTheEnvironment) {
    const char* home = std::getenv("HOME");
    std::string savedHome = home ? home : "";
    EXPECT_EQ(ClassesRootPath(), m_root);
    ::unsetenv("TESSEL_CLASSES_ROOT");
    ::setenv("XDG_DATA_HOME", "/somewhere/data", 1);
    EXPECT_EQ(ClassesRootPath(), "/somewhere/data/tessel/classes.reg");
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(ClassesRootPath(), "/home/someone/.local/share/tessel/classes.reg");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", savedHome.c_str(), 1);
    ::setenv("TESSEL_CLASSES_ROOT", m_root.c_str(), 1);
}

TEST_F(Registry, MissingFileReadsAsEmpty) {
    EXPECT_EQ(Query("CLSID"), "<2>");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, "CLSID", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    std::string name;
    EXPECT_EQ(RegEnumKey(HKEY_CLASSES_ROOT, 0, &name), ERROR_NO_MORE_ITEMS);
}

TEST_F(Registry, ValuesRoundTripAndKeysCompareWithoutCase) {
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "CLSID\\{A}\\InProcServer32", "/lib/x.so"),
              ERROR_SUCCESS);
    EXPECT_EQ(Query("clsid\\{a}\\InprocServer32"), "/lib/x.so");
    EXPECT_EQ(Query("CLSID\\{A}"), ""); // created parent without a value
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "CLSID\\{a}\\INPROCSERVER32", "/lib/y.so"),
              ERROR_SUCCESS);
    EXPECT_EQ(Query("CLSID\\{A}\\InProcServer32"), "/lib/y.so");
    // One key, in the letter case first written.
    EXPECT_NE(RootText().find("[HKEY_CLASSES_ROOT\\CLSID\\{A}\\InProcServer32]\n@=\"/lib/y.so\""),
              std::string::npos)
        << RootText();

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, "clsid\\{A}", &key), ERROR_SUCCESS);
    std::string value;
    EXPECT_EQ(RegQueryValue(key, "InprocServer32", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, "/lib/y.so");
    ASSERT_EQ(RegSetValueEx(key, "409", "Described"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(key, "409", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, "Described");
    EXPECT_EQ(RegQueryValueEx(key, "410", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(key, nullptr, &value), ERROR_FILE_NOT_FOUND); // no default
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValue(key, "x", &value), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, SpecialCharactersCannotForgeKeys) {
    const char* tricky = "a\\b \"q\"\n[HKEY_CLASSES_ROOT\\Forged]\r\n@=\"x\"";
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "Key", tricky), ERROR_SUCCESS);
    EXPECT_EQ(Query("Key"), tricky);
    EXPECT_EQ(Query("Forged"), "<2>");
    EXPECT_NE(RootText().find("@=\"a\\\\b \\\"q\\\"\\n[HKEY"), std::string::npos) << RootText();
    EXPECT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "Bad\nName", "v"), ERROR_BADKEY);
    EXPECT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "", "v"), ERROR_ACCESS_DENIED);
}

TEST_F(Registry, BufferQueryReportsTheNeededSize) {
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "K", "12345"), ERROR_SUCCESS);
    char buffer[8];
    LONG size = 5;
    EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "K", buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6);
    size = sizeof buffer;
    ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "K", buffer, &size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "12345");
    EXPECT_EQ(size, 6);
}

TEST_F(Registry, EnumerateAndDeleteSubtrees) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, "P\\Zeta", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    RegSetValue(HKEY_CLASSES_ROOT, "P\\Alpha\\Deep", "d");
    RegSetValue(HKEY_CLASSES_ROOT, "P\\Mid", "m");
    RegSetValue(HKEY_CLASSES_ROOT, "Pother", "o"); // shares a prefix, not a parent
    ASSERT_EQ(RegOpenKey(HKEY_CLASSES_ROOT, "P", &key), ERROR_SUCCESS);
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; RegEnumKey(key, i, &name) == ERROR_SUCCESS; ++i)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Zeta", "Alpha", "Mid"}));

    EXPECT_EQ(RegDeleteKey(key, "alpha"), ERROR_SUCCESS);
    EXPECT_EQ(Query("P\\Alpha\\Deep"), "<2>");
    EXPECT_EQ(RegDeleteKey(key, "alpha"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "P"), ERROR_SUCCESS);
    EXPECT_EQ(RegEnumKey(key, 0, &name), ERROR_FILE_NOT_FOUND); // its key is gone
    EXPECT_EQ(Query("Pother"), "o");
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, nullptr), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(Registry, DamagedFilesReadAsEmptyAndAreKeptAside) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::string garbage;
        std::size_t length = random() % 400;
        for (std::size_t i = 0; i < length; ++i)
            garbage += static_cast<char>(random() % 256);
        if (round % 2)
            garbage = "Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\" + garbage;
        WriteRoot(garbage);
        std::string value;
        RegQueryValue(HKEY_CLASSES_ROOT, "CLSID", &value);
        std::string name;
        RegEnumKey(HKEY_CLASSES_ROOT, 0, &name);
    }
    WriteRoot("not a registry file\n[HKEY_CLASSES_ROOT\\A]\n@=\"1\"\n");
    EXPECT_EQ(Query("A"), "<2>");
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "B", "2"), ERROR_SUCCESS);
    EXPECT_EQ(Query("B"), "2");
    std::ifstream aside(m_root + ".damaged");
    std::string first;
    std::getline(aside, first);
    EXPECT_EQ(first, "not a registry file");
}

TEST_F(Registry, UnreadableFileIsNotReplaced) {
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "Kept", "1"), ERROR_SUCCESS);
    ::chmod(m_dir.c_str(), 0755);
    ::chmod((m_dir + "/data").c_str(), 0777);
    ::chmod((m_root + ".lock").c_str(), 0666);
    ::chmod(m_root.c_str(), 0200);
    // Permissions do not bind the superuser: try as an ordinary user in a child process.
    pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(RegSetValue(HKEY_CLASSES_ROOT, "Other", "2") == ERROR_CANTWRITE ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::chmod(m_root.c_str(), 0600);
    EXPECT_EQ(Query("Kept"), "1");
    EXPECT_EQ(Query("Other"), "<2>");
}

TEST(RegTree, ParsesHandWrittenText) {
    CRegTree tree = ParseRegTree("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_CLASSES_ROOT\\A\\B]\r\n"
                                 "@=\"x\\\\y\"\r\n"
                                 "\"Name\" = \"v\"\r\n"
                                 "\"Num\"=dword:00000001\r\n"
                                 "; a comment\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Other]\r\n"
                                 "@=\"ignored\"\r\n"
                                 "[HKEY_CLASSES_ROOT\\Broken\r\n"
                                 "@=\"unterminated\r\n");
    ASSERT_NE(tree.Find("a"), nullptr); // the missing parent is supplied
    const CRegKeyEntry* b = tree.Find("A\\b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->defaultValue, "x\\y");
    ASSERT_EQ(b->values.size(), 1u);
    EXPECT_EQ(b->values[0].name, "Name");
    EXPECT_EQ(b->values[0].value, "v");
    EXPECT_EQ(tree.Keys().size(), 2u);
    CRegTree again = ParseRegTree(SerializeRegTree(tree));
    EXPECT_EQ(SerializeRegTree(again), SerializeRegTree(tree));
}

TEST_F(Registry, TwoProcessesWritingAtOnceLoseNoKey) {
    constexpr int kKeys = 60;
    auto writer = [](const char* prefix) {
        for (int i = 0; i < kKeys; ++i) {
            std::string key = std::string("CLSID\\") + prefix + std::to_string(i);
            if (RegSetValue(HKEY_CLASSES_ROOT, key.c_str(), prefix) != ERROR_SUCCESS)
                return 1;
        }
        return 0;
    };
    pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0)
        ::_exit(writer("child"));
    int mine = writer("parent");
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(mine, 0);
    CRegTree tree = ReadClassesRoot();
    for (int i = 0; i < kKeys; ++i) {
        EXPECT_NE(tree.Find("CLSID\\child" + std::to_string(i)), nullptr) << i;
        EXPECT_NE(tree.Find("CLSID\\parent" + std::to_string(i)), nullptr) << i;
    }
    EXPECT_EQ(tree.Children("CLSID").size(), 2u * kKeys);
}

} // namespace
