// Links in the tree's second column, edited in place as the page's field edits them, and the
// find bar over the tree.
#include "TreeEditingFixture.h"

#include "CFindBar.h"
#include "CLinkColumn.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>

namespace {

TEST_F(TreeEditingTest, TheLinkColumnShowsLinksAndTakesThemAsThePagesFieldDoes) {
    BuildSample();
    a1->Link = "one.htm";
    OpenShown();
    dialog->Tree()->expandAll();
    QTreeWidget* tree = dialog->Tree();
    EXPECT_FALSE(tree->isHeaderHidden());
    EXPECT_EQ(tree->headerItem()->text(CLinkColumn::kColumn), "Link");
    EXPECT_EQ(Node({0, 0})->text(1), "one.htm");
    EXPECT_EQ(Node({0})->text(1), "") << "menus show no link";

    Select({0, 1}); // a2
    Press(Qt::Key_L, Qt::ControlModifier);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(tree->currentColumn(), CLinkColumn::kColumn);
    Type("two.htm");
    Press(Qt::Key_Return);
    EXPECT_EQ(a2->Link, "two.htm");
    EXPECT_EQ(Node({0, 1})->text(1), "two.htm");
    EXPECT_EQ(QApplication::focusWidget(), tree);
    auto* field = Field<QLineEdit>(ItemPage("General"), "Link to:");
    EXPECT_EQ(field->text(), "two.htm") << "the page shows what the column took";
    // One step, as a link typed on the page is.
    dialog->OnUndo();
    EXPECT_EQ(Model().Menus()[0]->GetItem(1)->Link, "");
    EXPECT_EQ(Node({0, 1})->text(1), "");
    dialog->OnRedo();
    EXPECT_EQ(Node({0, 1})->text(1), "two.htm");

    // Typed on the page, the column shows it once the page stores.
    Select({0, 1});
    Field<QLineEdit>(ItemPage("General"), "Link to:")->setText("page.htm");
    Select({0, 0});
    EXPECT_EQ(Node({0, 1})->text(1), "page.htm");

    // F2 on the Link column edits the link; menus have none to edit.
    tree->setFocus();
    tree->setCurrentItem(Node({0, 0}), CLinkColumn::kColumn);
    Press(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), "one.htm");
    Press(Qt::Key_Escape);
    EXPECT_EQ(Model().Menus()[0]->GetItem(0)->Link, "one.htm");
    Select({0});
    Press(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(TreeEditingTest, TheLinkColumnHiddenFromTheHeaderStaysHiddenAndCtrlLGoesToThePage) {
    BuildSample();
    OpenShown();
    CLinkColumn* links = dialog->LinkColumn();
    ASSERT_TRUE(links->ShowAction()->isChecked());
    EXPECT_TRUE(links->HeaderMenu()->actions().contains(links->ShowAction()));
    links->ShowAction()->trigger();
    EXPECT_TRUE(dialog->Tree()->isColumnHidden(CLinkColumn::kColumn));
    Select({0, 0});
    dialog->Tree()->setFocus();
    Press(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), Field<QLineEdit>(ItemPage("General"), "Link to:"));

    dialog.reset();
    Open();
    EXPECT_TRUE(dialog->Tree()->isColumnHidden(CLinkColumn::kColumn)) << "the choice is kept";
    EXPECT_FALSE(dialog->LinkColumn()->ShowAction()->isChecked());
    dialog->LinkColumn()->ShowAction()->trigger();
    dialog.reset();
    Open();
    EXPECT_FALSE(dialog->Tree()->isColumnHidden(CLinkColumn::kColumn));
}

TEST_F(TreeEditingTest, FindHighlightsLabelsAndLinksAndWalksThroughThem) {
    BuildSample();
    b1->Link = "about-a1.htm";
    OpenShown();
    Press(Qt::Key_F, Qt::ControlModifier);
    CFindBar* bar = dialog->FindBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), bar->Field());
    Type("A1");
    // a1, a1x and a1y by their labels, b1 by its link; closed branches are opened to them.
    ASSERT_EQ(bar->Matches(),
              (NodeList{Node({0, 0}), Node({0, 0, 0}), Node({0, 0, 1}), Node({1, 0})}));
    const auto& highlighted = dialog->Tree()->highlighted;
    ASSERT_TRUE(highlighted);
    EXPECT_TRUE(highlighted(Node({1, 0})));
    EXPECT_FALSE(highlighted(Node({0, 1})));
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0}));
    EXPECT_EQ(bar->Status()->text(), "1 of 4");
    EXPECT_EQ(QApplication::focusWidget(), bar->Field()) << "typing goes on in the field";

    Press(Qt::Key_Return);
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0, 0}));
    Press(Qt::Key_Return, Qt::ShiftModifier);
    Press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0})) << "round the start";
    EXPECT_TRUE(Node({1})->isExpanded());
    EXPECT_EQ(bar->Status()->text(), "4 of 4");
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the field must not press OK";

    // A match deleted while the bar is open is no match any more.
    dialog->OnDelete();
    EXPECT_EQ(bar->Matches().size(), 3u);
    Press(Qt::Key_Return);
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0}));

    Type("zz");
    EXPECT_TRUE(bar->Matches().empty());
    EXPECT_EQ(bar->Status()->text(), "No match");
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0}));
    Press(Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog->Tree());
    EXPECT_FALSE(highlighted(Node({0, 0})));
}

} // namespace
