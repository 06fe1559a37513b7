#include "SupportFixture.h"

#include "../FileSizeLimit.h"
#include "CopySupportFiles.h"

#include <chrono>
#include <functional>

namespace {

// Settles clashes as the test says, recording what it was asked.
class CScriptedResolver : public IConflictResolver {
public:
    bool ResolveConflicts(const std::string& destinationFolder,
                          std::vector<CopyConflict>& conflicts) override {
        ++asked;
        askedFolder = destinationFolder;
        return answer ? answer(conflicts) : false;
    }
    int asked = 0;
    std::string askedFolder;
    std::function<bool(std::vector<CopyConflict>&)> answer;
};

class CopySupportFilesTest : public SupportTest {
public:
    void SetUp() override {
        SupportTest::SetUp();
        m_pics = Dir("pics");
        m_site = Dir("site");
    }

    CScriptedResolver m_resolver;
    std::string m_pics, m_site;
};

TEST_F(CopySupportFilesTest, FolderThatHoldsEveryFileGetsOnlyTheClassFile) {
    Write(m_site + "/a.gif", "a");
    CAppletParameters model;
    model.BackImage = m_site + "/a.gif";
    AppendMenu(model, 1)->GetItem(0)->NormalImage = m_site + "/a.gif";

    EXPECT_TRUE(CopySupportFiles(model, m_site + "/", &m_resolver).empty());
    EXPECT_EQ(m_resolver.asked, 0);
    EXPECT_EQ(Read(m_site + "/furlin.class"), "applet class");
    EXPECT_EQ(FileCount(m_site), 2);
    EXPECT_EQ(model.BackImage, m_site + "/a.gif");
}

TEST_F(CopySupportFilesTest, CopiesOnceDropsDeletedFilesAndReusesIdenticalOnes) {
    Write(m_pics + "/a.gif", "a");
    Write(m_pics + "/same.au", "same bytes");
    Write(m_site + "/same.au", "same bytes"); // e.g. left by an earlier preview
    CAppletParameters model;
    model.Audio = m_pics + "/same.au";
    CFurlin* menu = AppendMenu(model, 2);
    menu->Visible = 0; // hidden menus are copied too
    for (CFurlinItem* item : {menu->GetItem(0), menu->GetItem(1)})
        item->OverImage = m_pics + "/a.gif";
    menu->GetItem(1)->ClickImage = m_pics + "/deleted.gif";

    // The trailing "/" is supplied; a deleted file is dropped, not a failed copy.
    EXPECT_TRUE(CopySupportFiles(model, m_site, &m_resolver).empty());

    EXPECT_EQ(m_resolver.asked, 0);
    EXPECT_EQ(model.Audio, m_site + "/same.au");
    EXPECT_EQ(menu->GetItem(0)->OverImage, m_site + "/a.gif");
    EXPECT_EQ(menu->GetItem(1)->OverImage, m_site + "/a.gif");
    EXPECT_EQ(menu->GetItem(1)->ClickImage, "");
    EXPECT_EQ(Read(m_site + "/a.gif"), "a");
    EXPECT_EQ(FileCount(m_site), 3); // no temporary file left behind
}

TEST_F(CopySupportFilesTest, SharedConflictingImageRenamedOnceServesBothItems) {
    Write(m_pics + "/a.gif", "new image");
    Write(m_pics + "/z.gif", "another new image");
    Write(m_site + "/a.gif", "other image");
    Write(m_site + "/z.gif", "yet another image");
    CAppletParameters model;
    CFurlin* menu = AppendMenu(model, 3);
    for (CFurlinItem* item : {menu->GetItem(0), menu->GetItem(1)})
        item->NormalImage = m_pics + "/a.gif";
    menu->GetItem(2)->NormalImage = m_pics + "/z.gif";

    m_resolver.answer = [&](std::vector<CopyConflict>& conflicts) {
        EXPECT_EQ(conflicts.size(), 2u);
        if (conflicts.size() != 2u)
            return false;
        EXPECT_EQ(conflicts[0].source, m_pics + "/a.gif");
        EXPECT_EQ(conflicts[0].references.size(), 2u);
        EXPECT_EQ(conflicts[1].source, m_pics + "/z.gif");
        conflicts[0].targetName = "b.gif";
        // z.gif is left uncopied (no name given).
        return true;
    };
    EXPECT_TRUE(CopySupportFiles(model, m_site + "/", &m_resolver).empty());

    EXPECT_EQ(m_resolver.asked, 1);
    EXPECT_EQ(m_resolver.askedFolder, m_site + "/");
    EXPECT_EQ(menu->GetItem(0)->NormalImage, m_site + "/b.gif");
    EXPECT_EQ(menu->GetItem(1)->NormalImage, m_site + "/b.gif");
    EXPECT_EQ(menu->GetItem(2)->NormalImage, m_pics + "/z.gif");
    EXPECT_EQ(Read(m_site + "/b.gif"), "new image");
    EXPECT_EQ(Read(m_site + "/a.gif"), "other image");
    EXPECT_EQ(FileCount(m_site), 4);
}

TEST_F(CopySupportFilesTest, EscapeCopiesNothingAndKeepsTheReferences) {
    Write(m_pics + "/a.gif", "new image");
    Write(m_site + "/a.gif", "other image");
    CAppletParameters model;
    model.BackImage = m_pics + "/a.gif";

    m_resolver.answer = [](std::vector<CopyConflict>& conflicts) {
        conflicts[0].targetName = "b.gif"; // named, then cancelled
        return false;
    };
    EXPECT_TRUE(CopySupportFiles(model, m_site + "/", &m_resolver).empty());

    EXPECT_EQ(m_resolver.asked, 1);
    EXPECT_EQ(model.BackImage, m_pics + "/a.gif");
    EXPECT_EQ(Read(m_site + "/a.gif"), "other image");
    EXPECT_EQ(FileCount(m_site), 2);
    // Without a resolver the clash is left the same way.
    EXPECT_TRUE(CopySupportFiles(model, m_site + "/", nullptr).empty());
    EXPECT_EQ(model.BackImage, m_pics + "/a.gif");
}

TEST_F(CopySupportFilesTest, FailedCopiesAreReportedWithReasonsAndKeepTheirReferences) {
    Write(m_pics + "/a.gif", "a");
    Write(m_pics + "/b.gif", "b");
    Write(m_site + "/b.gif", "other");
    // A folder standing where the renamed copy should go.
    ASSERT_TRUE(std::filesystem::create_directory(m_site + "/taken.gif"));
    CAppletParameters model;
    model.BackImage = m_pics + "/a.gif";
    model.Audio = m_pics + "/b.gif";

    // Below a regular file no folder can exist, whoever runs the test.
    Write(m_root + "/plain", "a file");
    const std::string impossible = m_root + "/plain/sub/";
    const CopyFailures failures = CopySupportFiles(model, impossible, &m_resolver);
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_EQ(failures[0].path, impossible + "furlin.class");
    EXPECT_EQ(failures[1].Describe(), impossible + "a.gif: Not a directory");
    EXPECT_EQ(failures[2].Describe(), impossible + "b.gif: Not a directory");
    EXPECT_EQ(model.BackImage, m_pics + "/a.gif");
    EXPECT_EQ(model.Audio, m_pics + "/b.gif");

    // A clash renamed to a name that cannot be written.
    m_resolver.answer = [](std::vector<CopyConflict>& conflicts) {
        conflicts[0].targetName = "taken.gif";
        return true;
    };
    const CopyFailures renamed = CopySupportFiles(model, m_site + "/", &m_resolver);
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0].path, m_site + "/taken.gif");
    EXPECT_FALSE(renamed[0].reason.empty());
    EXPECT_EQ(model.BackImage, m_site + "/a.gif");
    EXPECT_EQ(model.Audio, m_pics + "/b.gif");

    // A missing folder.
    const CopyFailures missing = CopySupportFiles(model, m_root + "/missing/", nullptr);
    ASSERT_EQ(missing.size(), 3u);
    EXPECT_EQ(missing[2].Describe(), m_root + "/missing/b.gif: No such file or directory");

    // Copying a file onto itself must not truncate it.
    EXPECT_TRUE(CopyFileReplacing(m_site + "/b.gif", m_site + "/b.gif").Ok());
    EXPECT_EQ(Read(m_site + "/b.gif"), "other");
}

TEST_F(CopySupportFilesTest, AFullFileSystemIsAReasonNotASuccess) {
    Write(m_pics + "/big.gif", std::string(100000, 'x'));
    CAppletParameters model;
    model.BackImage = m_pics + "/big.gif";
    CopyFailures failures;
    {
        // A file size limit stands in for a full disk: the copy fails part way.
        CFileSizeLimit limit(4096);
        failures = CopySupportFiles(model, m_site + "/", nullptr);
    }
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Describe(), m_site + "/big.gif: File too large");
    EXPECT_EQ(model.BackImage, m_pics + "/big.gif");
    EXPECT_FALSE(std::filesystem::exists(m_site + "/big.gif"));
    EXPECT_EQ(FileCount(m_site), 1); // the class file; no temporary file left behind
}

TEST_F(CopySupportFilesTest, WrittenFilesReplaceOnlyWhatDiffers) {
    namespace fs = std::filesystem;
    const std::string target = m_site + "/furlin.js";
    EXPECT_TRUE(WriteFileReplacing("one", target).Ok());
    EXPECT_EQ(Read(target), "one");

    // The same bytes leave the file as it is: not even rewritten.
    const auto old = fs::last_write_time(target) - std::chrono::hours(1);
    fs::last_write_time(target, old);
    EXPECT_TRUE(WriteFileReplacing("one", target).Ok());
    EXPECT_EQ(fs::last_write_time(target), old);
    EXPECT_TRUE(WriteFileReplacing(std::string("one\0two", 7), target).Ok());
    EXPECT_EQ(Read(target), std::string("one\0two", 7));
    EXPECT_TRUE(WriteFileReplacing("", target).Ok());
    EXPECT_EQ(Read(target), "");

    // A target that cannot be replaced keeps what it was, and no temporary file stays behind.
    EXPECT_EQ(WriteFileReplacing("x", m_root + "/no/such/folder/furlin.js").reason,
              "No such file or directory");
    ASSERT_TRUE(fs::create_directory(m_site + "/furlin.css"));
    EXPECT_FALSE(WriteFileReplacing("x", m_site + "/furlin.css").Ok());
    EXPECT_TRUE(fs::is_directory(m_site + "/furlin.css"));
    EXPECT_EQ(FileCount(m_site), 2);
}

} // namespace
