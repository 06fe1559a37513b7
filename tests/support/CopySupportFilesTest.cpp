#include "SupportFixture.h"

#include "CDlgCopyResources.h"
#include "CopySupportFiles.h"

#include <chrono>
#include <functional>

namespace {

// Answers the "Copy Resources" dialog instead of showing it.
class CopySupportFilesTest : public SupportTest {
public:
    void SetUp() override {
        SupportTest::SetUp();
        m_savedRunner = CDlgCopyResources::Runner();
        CDlgCopyResources::Runner() = [this](CDlgCopyResources& dialog) {
            ++m_dialogsShown;
            return m_answer ? m_answer(dialog) : false;
        };
        m_pics = Dir("pics");
        m_site = Dir("site");
    }
    void TearDown() override {
        CDlgCopyResources::Runner() = m_savedRunner;
        SupportTest::TearDown();
    }

    int m_dialogsShown = 0;
    std::function<bool(CDlgCopyResources&)> m_answer;
    std::string m_pics, m_site;

private:
    std::function<bool(CDlgCopyResources&)> m_savedRunner;
};

TEST_F(CopySupportFilesTest, FolderThatHoldsEveryFileGetsOnlyTheClassFile) {
    Write(m_site + "/a.gif", "a");
    CAppletParameters model;
    model.BackImage = m_site + "/a.gif";
    AppendMenu(model, 1)->GetItem(0)->NormalImage = m_site + "/a.gif";

    CopySupportFiles(model, m_site + "/");
    EXPECT_EQ(m_dialogsShown, 0);
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

    CopySupportFiles(model, m_site); // the trailing "/" is supplied

    EXPECT_EQ(m_dialogsShown, 0);
    EXPECT_EQ(model.Audio, m_site + "/same.au");
    EXPECT_EQ(menu->GetItem(0)->OverImage, m_site + "/a.gif");
    EXPECT_EQ(menu->GetItem(1)->OverImage, m_site + "/a.gif");
    EXPECT_EQ(menu->GetItem(1)->ClickImage, "");
    EXPECT_EQ(Read(m_site + "/a.gif"), "a");
    EXPECT_EQ(FileCount(m_site), 3); // no temporary file left behind
}

TEST_F(CopySupportFilesTest, SharedConflictingImageRenamedOnceServesBothItems) {
    Write(m_pics + "/a.gif", "new image");
    Write(m_site + "/a.gif", "other image");
    CAppletParameters model;
    CFurlin* menu = AppendMenu(model, 2);
    for (CFurlinItem* item : {menu->GetItem(0), menu->GetItem(1)})
        item->NormalImage = m_pics + "/a.gif";

    m_answer = [&](CDlgCopyResources& dialog) {
        EXPECT_EQ(dialog.RowCount(), 1);
        EXPECT_EQ(dialog.ConflictCount(), 2);
        EXPECT_EQ(dialog.RowDestinationName(0), "a.gif");
        EXPECT_EQ(dialog.RowSourcePath(0).toStdString(), m_pics + "/a.gif");
        EXPECT_TRUE(dialog.RenameRow(0, "b.gif"));
        dialog.accept();
        return true;
    };
    CopySupportFiles(model, m_site + "/");

    EXPECT_EQ(m_dialogsShown, 1);
    EXPECT_EQ(menu->GetItem(0)->NormalImage, m_site + "/b.gif");
    EXPECT_EQ(menu->GetItem(1)->NormalImage, m_site + "/b.gif");
    EXPECT_EQ(Read(m_site + "/b.gif"), "new image");
    EXPECT_EQ(Read(m_site + "/a.gif"), "other image");
    EXPECT_EQ(FileCount(m_site), 3);
}

TEST_F(CopySupportFilesTest, EscapeCopiesNothingAndKeepsTheReferences) {
    Write(m_pics + "/a.gif", "new image");
    Write(m_site + "/a.gif", "other image");
    CAppletParameters model;
    model.BackImage = m_pics + "/a.gif";

    m_answer = [](CDlgCopyResources& dialog) {
        dialog.RenameRow(0, "b.gif");
        dialog.reject();
        return false;
    };
    CopySupportFiles(model, m_site + "/");

    EXPECT_EQ(m_dialogsShown, 1);
    EXPECT_EQ(model.BackImage, m_pics + "/a.gif");
    EXPECT_EQ(Read(m_site + "/a.gif"), "other image");
    EXPECT_EQ(FileCount(m_site), 2);
}

TEST_F(CopySupportFilesTest, FailedCopiesKeepTheOriginalReference) {
    Write(m_pics + "/a.gif", "a");
    Write(m_site + "/a.gif", "other");
    const std::string missing = m_root + "/no/such/folder/";
    CopiedFiles copied;
    std::string reference = m_pics + "/a.gif";
    EXPECT_TRUE(CopyResourceFile(reference, missing, copied));
    EXPECT_EQ(reference, m_pics + "/a.gif");

    EXPECT_FALSE(CopyResourceFile(reference, m_site + "/", copied));
    CDlgCopyResources dialog(missing);
    dialog.AddConflict(&reference);
    dialog.accept();
    EXPECT_EQ(reference, m_pics + "/a.gif");

    // Copying a file onto itself must not truncate it.
    EXPECT_TRUE(CopyFileReplacing(m_site + "/a.gif", m_site + "/a.gif"));
    EXPECT_EQ(Read(m_site + "/a.gif"), "other");
}

TEST_F(CopySupportFilesTest, WrittenFilesReplaceOnlyWhatDiffers) {
    namespace fs = std::filesystem;
    const std::string target = m_site + "/furlin.js";
    EXPECT_TRUE(WriteFileReplacing("one", target));
    EXPECT_EQ(Read(target), "one");

    // The same bytes leave the file as it is: not even rewritten.
    const auto old = fs::last_write_time(target) - std::chrono::hours(1);
    fs::last_write_time(target, old);
    EXPECT_TRUE(WriteFileReplacing("one", target));
    EXPECT_EQ(fs::last_write_time(target), old);
    EXPECT_TRUE(WriteFileReplacing(std::string("one\0two", 7), target));
    EXPECT_EQ(Read(target), std::string("one\0two", 7));
    EXPECT_TRUE(WriteFileReplacing("", target));
    EXPECT_EQ(Read(target), "");

    // A target that cannot be replaced keeps what it was, and no temporary file stays behind.
    EXPECT_FALSE(WriteFileReplacing("x", m_root + "/no/such/folder/furlin.js"));
    ASSERT_TRUE(fs::create_directory(m_site + "/furlin.css"));
    EXPECT_FALSE(WriteFileReplacing("x", m_site + "/furlin.css"));
    EXPECT_TRUE(fs::is_directory(m_site + "/furlin.css"));
    EXPECT_EQ(FileCount(m_site), 2);
}

} // namespace
