// Several nodes selected with Shift and Ctrl: Delete, Cut, Copy, Paste, the moves, drops and
// looks act on all of them, each as one step; the pages show the node selected last.
#include "TreeEditingFixture.h"

#include "TreeClipboard.h"

#include <QItemSelectionModel>
#include <QMimeData>

#include <algorithm>
#include <memory>

namespace {

using P = CConfigTree::DropPlace;

// The labels of a menu's items.
std::string Labels(const CFurlin& menu) {
    std::string out;
    for (const auto& item : menu.Items())
        out += item->Label + " ";
    return out;
}

class MultiSelectionTest : public TreeEditingTest {
protected:
    // Alpha: i0 .. i4; Beta: b0.
    void BuildFive() {
        CFurlin* alpha = AddMenu(Model(), "Alpha");
        for (int i = 0; i < 5; ++i)
            AddItem(alpha, "i" + std::to_string(i));
        AddItem(AddMenu(Model(), "Beta"), "b0");
    }
    const CFurlin& Alpha() { return *Model().Menus()[0]; }
    const CFurlin& Beta() { return *Model().Menus()[1]; }
    // Ctrl+click on each node, as the author picks them.
    void CtrlClick(std::initializer_list<std::initializer_list<int>> paths) {
        for (auto path : paths) {
            const QRect rect = dialog->Tree()->visualItemRect(Node(path));
            QTest::mouseClick(dialog->Tree()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              rect.center());
        }
    }
    std::size_t Steps() {
        std::size_t steps = 0;
        while (dialog->CommandAction(CDlgConfig::Undo)->isEnabled()) {
            dialog->OnUndo();
            ++steps;
        }
        return steps;
    }
};

TEST_F(MultiSelectionTest, PagesShowTheNodeSelectedLastAndShiftSelectsARun) {
    BuildFive();
    OpenShown();
    Select({0, 1});
    CtrlClick({{0, 3}, {1, 0}});
    EXPECT_EQ(dialog->Targets(), (NodeList{Node({0, 1}), Node({0, 3}), Node({1, 0})}));
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0}));
    EXPECT_EQ(session->CurrentItem, Beta().GetItem(0));
    // A node inside a selected one goes with it and is not a target of its own.
    CtrlClick({{0}});
    EXPECT_EQ(dialog->Targets(), (NodeList{Node({0}), Node({1, 0})}));
    EXPECT_FALSE(dialog->CommandAction(CDlgConfig::Copy)->isEnabled()) << "a menu among them";

    Select({0, 1});
    Press(Qt::Key_Down, Qt::ShiftModifier);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(dialog->Targets(), (NodeList{Node({0, 1}), Node({0, 2}), Node({0, 3})}));
    EXPECT_EQ(session->CurrentItem, Alpha().GetItem(3));
    EXPECT_TRUE(dialog->CommandAction(CDlgConfig::Copy)->isEnabled());
}

TEST_F(MultiSelectionTest, DeleteAsksOnceAndIsOneStep) {
    BuildFive();
    OpenShown();
    const std::string before = Plain(Model());
    Select({0, 1});
    CtrlClick({{0, 3}, {1, 0}, {0, 2}});
    answer = false;
    dialog->OnDelete();
    EXPECT_EQ(questions, std::vector<QString>{
                             "Are you sure to delete these 4 nodes and everything under them?"});
    EXPECT_EQ(Plain(Model()), before);
    answer = true;
    dialog->OnDelete();
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(Labels(Alpha()), "i0 i4 ");
    EXPECT_TRUE(Beta().Items().empty());
    // The node selected last went; what followed it takes the selection.
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 1}));
    EXPECT_EQ(session->CurrentItem, Alpha().GetItem(1));
    EXPECT_EQ(Steps(), 1u);
    EXPECT_EQ(Plain(Model()), before);

    // With the root among them, everything lies inside it: the root is refused as before.
    dialog->SelectNode(dialog->RootNode());
    CtrlClick({{1, 0}});
    dialog->OnDelete();
    EXPECT_EQ(messages, std::vector<QString>{"Can't delete root!"});
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(Beta().Items().size(), 1u);
}

TEST_F(MultiSelectionTest, CopyCutAndPasteCarryAllTheItemsInTreeOrder) {
    BuildFive();
    OpenShown();
    Select({0, 3});
    CtrlClick({{0, 1}});
    dialog->OnCopy();
    EXPECT_TRUE(ClipboardHasItem());
    // Other programs get both as outline lines.
    EXPECT_TRUE(ClipboardText().startsWith("i1 ")) << ClipboardText().toStdString();
    EXPECT_TRUE(ClipboardText().contains("\ni3 ")) << ClipboardText().toStdString();
    Select({1});
    dialog->OnPaste();
    EXPECT_EQ(Labels(Beta()), "i1 i3 b0 ");
    EXPECT_EQ(dialog->Targets(), (NodeList{Node({1, 0}), Node({1, 1})}));
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0}));

    // Cut of both pasted items: one step, and the clipboard holds them for the next paste.
    dialog->OnCut();
    EXPECT_EQ(Labels(Beta()), "b0 ");
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0}));
    Select({0, 0});
    dialog->OnPaste();
    EXPECT_EQ(Labels(*Alpha().GetItem(0)->GetSubMenu()), "i1 i3 ");
    EXPECT_EQ(Steps(), 3u);
    EXPECT_EQ(Labels(Beta()), "b0 ");
}

TEST_F(MultiSelectionTest, MovesKeepTheOrderHoldAtTheEdgeAndAreOneStepEach) {
    BuildFive();
    OpenShown();
    Select({0, 0});
    CtrlClick({{0, 2}, {0, 3}});
    dialog->OnMoveUp(); // i0 is first already and holds; i2 and i3 pass i1
    EXPECT_EQ(Labels(Alpha()), "i0 i2 i3 i1 i4 ");
    EXPECT_EQ(dialog->Targets(), (NodeList{Node({0, 0}), Node({0, 1}), Node({0, 2})}));
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 2}));
    dialog->OnMoveUp(); // all held now
    EXPECT_EQ(Labels(Alpha()), "i0 i2 i3 i1 i4 ");
    dialog->OnMoveDown();
    EXPECT_EQ(Labels(Alpha()), "i1 i0 i2 i3 i4 ");
    dialog->OnMoveDown();
    dialog->OnMoveDown();
    EXPECT_EQ(Labels(Alpha()), "i1 i4 i0 i2 i3 ");
    EXPECT_EQ(dialog->Targets().size(), 3u);
    EXPECT_EQ(Steps(), 3u);
    EXPECT_EQ(Labels(Alpha()), "i0 i1 i2 i3 i4 ");
}

TEST_F(MultiSelectionTest, SeveralNodesDropTogetherAsOneStepAndMixedKindsAreRefused) {
    BuildFive();
    OpenShown();
    EXPECT_TRUE(dialog->DropNodes({Node({0, 3}), Node({0, 1})}, Node({1, 0}), P::Before, false));
    EXPECT_EQ(Labels(Alpha()), "i0 i2 i4 ");
    EXPECT_EQ(Labels(Beta()), "i1 i3 b0 ");
    EXPECT_EQ(dialog->Targets(), (NodeList{Node({1, 0}), Node({1, 1})}));
    // Dropped where they are, they stay and make no step.
    EXPECT_FALSE(dialog->DropNodes({Node({1, 0}), Node({1, 1})}, Node({1, 2}), P::Before, false));
    EXPECT_FALSE(dialog->CanDrop({Node({0}), Node({1, 0})}, Node({1}), P::After, false));
    // Copies with Ctrl, through the tree's own drag data: several paths.
    QMimeData data;
    data.setData(CConfigTree::kNodeFormat, "0,0;1,2");
    const QPoint into = dialog->Tree()->visualItemRect(Node({0, 1})).center();
    EXPECT_TRUE(dialog->Tree()->DropData(&data, into, Qt::ControlModifier));
    EXPECT_EQ(Labels(*Alpha().GetItem(1)->GetSubMenu()), "i0 b0 ");
    EXPECT_EQ(Labels(Beta()), "i1 i3 b0 ");
    data.setData(CConfigTree::kNodeFormat, "0,0;7,7");
    EXPECT_FALSE(dialog->Tree()->AcceptsDrag(&data, into, {})) << "a path naming no node";
    EXPECT_EQ(Steps(), 2u);
    EXPECT_EQ(Labels(Alpha()), "i0 i1 i2 i3 i4 ");
}

TEST_F(MultiSelectionTest, ApplyLookToFromSeveralMenusIsOneStepAndTheCurrentOneWins) {
    BuildFive();
    CFurlin* alpha = Model().Menus()[0].get();
    CFurlin* sub = AddMenu(Model(), "Gamma");
    AddItem(sub, "g0");
    alpha->ItemWidth = 111;
    sub->ItemWidth = 333;
    AddItem(alpha->GetItem(0)->GetSubMenu(), "deep");
    AddItem(Model().Menus()[1]->GetItem(0)->GetSubMenu(), "deeper");
    Open();
    Select({0});
    dialog->Tree()->setCurrentItem(Node({1}), 0, QItemSelectionModel::Select);
    dialog->Tree()->setCurrentItem(Node({2}), 0, QItemSelectionModel::Select);
    ASSERT_EQ(dialog->Targets().size(), 3u);
    dialog->ApplyLookTo(LookScope::Below); // each menu's look to its own sub-menus
    EXPECT_EQ(Model().Menus()[0]->GetItem(0)->GetSubMenu()->ItemWidth, 111);
    EXPECT_EQ(Model().Menus()[1]->GetItem(0)->GetSubMenu()->ItemWidth,
              Model().Menus()[1]->ItemWidth);
    dialog->ApplyLookTo(LookScope::SameDepth); // the node selected last, Gamma, goes last
    EXPECT_EQ(Model().Menus()[0]->ItemWidth, 333);
    EXPECT_EQ(Steps(), 2u);
}

// Ctrl with an arrow moves the current node without selecting it: the pages follow it while the
// commands act on the selection.
TEST_F(MultiSelectionTest, DeletingTheSelectionKeepsThePageBoundToTheCurrentNode) {
    BuildFive();
    OpenShown();
    Select({0, 1});
    Press(Qt::Key_Down, Qt::ControlModifier);
    ASSERT_EQ(dialog->SelectedNode(), Node({0, 2}));
    ASSERT_EQ(dialog->Targets(), NodeList{Node({0, 1})});
    answer = true;
    dialog->OnDelete();
    EXPECT_EQ(Labels(Alpha()), "i0 i2 i3 i4 ");
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 1}));
    EXPECT_EQ(session->CurrentItem, Alpha().GetItem(1));
    // What is typed into the page now reaches the node it shows.
    auto* label = Field<QPlainTextEdit>(ItemPage("General"), "Item Label:");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->toPlainText(), "i2");
    label->setPlainText("typed");
    Select({0, 0});
    EXPECT_EQ(Labels(Alpha()), "i0 typed i3 i4 ");
}

TEST_F(MultiSelectionTest, MovesLeaveAnUnselectedCurrentNodeUnselected) {
    BuildFive();
    OpenShown();
    Select({0, 1});
    Press(Qt::Key_Down, Qt::ControlModifier);
    dialog->OnMoveUp();
    EXPECT_EQ(Labels(Alpha()), "i1 i0 i2 i3 i4 ");
    EXPECT_EQ(dialog->Targets(), NodeList{Node({0, 0})});
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 2}));
    EXPECT_FALSE(Node({0, 2})->isSelected());
    EXPECT_EQ(session->CurrentItem, Alpha().GetItem(2));
    // The next command acts on the moved node alone.
    dialog->OnMoveDown();
    dialog->OnMoveDown();
    EXPECT_EQ(Labels(Alpha()), "i0 i2 i1 i3 i4 ");
    EXPECT_EQ(dialog->Targets(), NodeList{Node({0, 2})});
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 1}));
    EXPECT_EQ(session->CurrentItem, Alpha().GetItem(1));
}

TEST_F(MultiSelectionTest, DragDataNamesTheDraggedNodesAndDamagedPathsNameNone) {
    BuildFive();
    OpenShown();
    Select({1, 0});
    CtrlClick({{0, 3}});
    QModelIndexList rows;
    for (const QModelIndex& index : dialog->Tree()->selectionModel()->selectedIndexes())
        if (index.column() == 0)
            rows << index;
    std::unique_ptr<QMimeData> data(dialog->Tree()->model()->mimeData(rows));
    ASSERT_NE(data, nullptr);
    const QByteArray paths = data->data(CConfigTree::kNodeFormat);
    EXPECT_TRUE(paths == "1,0;0,3" || paths == "0,3;1,0") << paths.toStdString();
    NodeList dragged = dialog->Tree()->DraggedNodes(data.get());
    std::sort(dragged.begin(), dragged.end());
    NodeList picked{Node({1, 0}), Node({0, 3})};
    std::sort(picked.begin(), picked.end());
    EXPECT_EQ(dragged, picked);
    // An empty path is the root's.
    data->setData(CConfigTree::kNodeFormat, "");
    EXPECT_EQ(dialog->Tree()->DraggedNodes(data.get()), NodeList{dialog->RootNode()});
    for (const char* bad : {"0,x", "0,-1", "0,5", "x,0", "2", "0,0;9"}) {
        data->setData(CConfigTree::kNodeFormat, bad);
        EXPECT_TRUE(dialog->Tree()->DraggedNodes(data.get()).empty()) << bad;
    }
}

TEST(ItemListClipboardTest, ListsReadBackAndDamagedListsAreRefusedWhole) {
    const std::vector<std::string> blocks{"abc", "", std::string("x\0y:", 4)};
    EXPECT_EQ(ItemListBlocks(ItemListBytes(blocks)), blocks);
    for (const char* bad :
         {"4:abc", "x:abc", ":abc", "3abc", "-1:a", "3:abc9", "99999999999999999999:"})
        EXPECT_TRUE(ItemListBlocks(QByteArray(bad)).empty()) << bad;
}

} // namespace
