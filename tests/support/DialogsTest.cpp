#include "SupportFixture.h"

#include "CDlgBrowseFiles.h"
#include "CDlgCopyResources.h"
#include "Prompts.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <vector>

namespace {

// Records every message instead of showing it.
class DialogsTest : public SupportTest {
public:
    void SetUp() override {
        SupportTest::SetUp();
        ui::prompts().message = [this](QWidget*, const QString&, const QString& text,
                                       ui::Icon icon) {
            m_messages.push_back(text);
            m_icons.push_back(icon);
        };
    }
    void TearDown() override {
        ui::resetPrompts();
        SupportTest::TearDown();
    }

    std::vector<QString> m_messages;
    std::vector<ui::Icon> m_icons;
};

TEST_F(DialogsTest, CopyResourcesRenameRules) {
    std::string reference = "/pics/a.gif";
    CDlgCopyResources dialog(Dir("site") + "/");
    dialog.AddConflict(&reference);
    ASSERT_EQ(dialog.RowCount(), 1);

    // Names that could place the copy outside the destination folder are refused.
    for (const char* bad : {"", ".", "..", "../a.gif", "sub/a.gif", "..\\a.gif"}) {
        EXPECT_FALSE(dialog.RenameRow(0, QString::fromUtf8(bad))) << bad;
        EXPECT_EQ(dialog.RowDestinationName(0), "a.gif") << bad;
    }
    EXPECT_TRUE(dialog.RenameRow(0, "..a.gif"));
    EXPECT_EQ(dialog.RowDestinationName(0), "..a.gif");

    // The in-place editor that "Rename" opens commits through the same rules.
    QTreeWidget* list = dialog.List();
    list->setCurrentItem(list->topLevelItem(0));
    dialog.OnRename();
    auto* editor = list->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    const QModelIndex index = list->model()->index(0, 0);
    editor->setText("sub/x.gif");
    list->itemDelegate()->setModelData(editor, list->model(), index);
    EXPECT_EQ(dialog.RowDestinationName(0), "..a.gif");
    editor->setText("x.gif");
    list->itemDelegate()->setModelData(editor, list->model(), index);
    EXPECT_EQ(dialog.RowDestinationName(0), "x.gif");
    EXPECT_TRUE(m_messages.empty());

    list->setCurrentItem(nullptr);
    dialog.OnRename();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Please select a file to rename first!");
}

// The dialog as copying's resolver: one row per clash, and OK hands back each row's name.
TEST_F(DialogsTest, CopyResourcesAnswersTheClashesItWasAskedAbout) {
    std::string first = "/pics/a.gif";
    std::string second = "/pics/a.gif";
    std::string other = "/art/c.gif";
    const std::string site = Dir("site") + "/";
    const auto clashes = [&] {
        return std::vector<CopyConflict>{{"/art/c.gif", {&other}, ""},
                                         {"/pics/a.gif", {&first, &second}, ""}};
    };
    auto& runner = CDlgCopyResources::Runner();
    const auto saved = runner;
    int shown = 0;
    runner = [&](CDlgCopyResources& dialog) {
        ++shown;
        EXPECT_EQ(dialog.DestinationFolder(), site);
        EXPECT_EQ(dialog.ConflictCount(), 3);
        EXPECT_EQ(dialog.RowCount(), 2);
        EXPECT_EQ(dialog.RowSourcePath(1), "/pics/a.gif");
        EXPECT_TRUE(dialog.RenameRow(1, "b.gif"));
        dialog.accept();
        return true;
    };
    std::vector<CopyConflict> conflicts = clashes();
    CDlgCopyResources dialog("");
    EXPECT_TRUE(dialog.ResolveConflicts(site, conflicts));
    EXPECT_EQ(conflicts[0].targetName, "c.gif");
    EXPECT_EQ(conflicts[1].targetName, "b.gif");
    // The dialog itself copies nothing and rewrites no reference.
    EXPECT_EQ(first, "/pics/a.gif");
    EXPECT_EQ(FileCount(site), 0);

    // Escape: no names, nothing to copy.
    runner = [&](CDlgCopyResources& escaped) {
        ++shown;
        escaped.reject();
        return false;
    };
    conflicts = clashes();
    EXPECT_FALSE(CDlgCopyResources::OnDemand().ResolveConflicts(site, conflicts));
    EXPECT_EQ(conflicts[1].targetName, "");
    // With nothing to settle no dialog is made.
    std::vector<CopyConflict> none;
    EXPECT_FALSE(CDlgCopyResources::OnDemand().ResolveConflicts(site, none));
    EXPECT_EQ(shown, 2);
    runner = saved;
}

TEST_F(DialogsTest, BrowseFilesListsMatchingFilesSortedWithOneIconPerPattern) {
    const std::string site = Dir("site");
    for (const char* name : {"b.gif", "c.au", "a.gif", "notes.txt"})
        Write(site + "/" + name, name);

    CDlgBrowseFiles dialog(QString::fromStdString(site), "*.gif;*.jpg;*.jpeg;*.au");
    ASSERT_TRUE(dialog.Init());
    QListWidget* list = dialog.List();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "a.gif");
    EXPECT_EQ(list->item(1)->text(), "b.gif");
    EXPECT_EQ(list->item(2)->text(), "c.au");
    // Both GIF files show the icon taken for the first GIF found; c.au has its own.
    ASSERT_EQ(dialog.Icons().size(), 2u);
    EXPECT_EQ(dialog.IconIndexOf(0), 0);
    EXPECT_EQ(dialog.IconIndexOf(1), 0);
    EXPECT_EQ(dialog.IconIndexOf(2), 1);
    EXPECT_TRUE(m_messages.empty());

    // Sorted by name, not by pattern order.
    CDlgBrowseFiles audioFirst(QString::fromStdString(site), "*.au;*.gif");
    ASSERT_TRUE(audioFirst.Init());
    ASSERT_EQ(audioFirst.List()->count(), 3);
    EXPECT_EQ(audioFirst.List()->item(0)->text(), "a.gif");
    EXPECT_EQ(audioFirst.IconIndexOf(0), 1);
    EXPECT_EQ(audioFirst.List()->item(2)->text(), "c.au");
}

TEST_F(DialogsTest, BrowseFilesRefusesBlankAndMissingFolders) {
    EXPECT_FALSE(CDlgBrowseFiles(QString(), "*.gif").Init());
    EXPECT_FALSE(CDlgBrowseFiles(QString::fromStdString(Dir("site")), QString()).Init());
    const QString missing = QString::fromStdString(m_root + "/missing");
    EXPECT_FALSE(CDlgBrowseFiles(missing, "*.gif").Init());

    ASSERT_EQ(m_messages.size(), 3u);
    EXPECT_EQ(m_messages[0], "The directory and file type can not be blank!");
    EXPECT_EQ(m_messages[1], "The directory and file type can not be blank!");
    EXPECT_EQ(m_messages[2], "Directory " + missing + "/ does not exist!");
    EXPECT_EQ(m_icons, std::vector<ui::Icon>(3, ui::Icon::Warning));
}

} // namespace
