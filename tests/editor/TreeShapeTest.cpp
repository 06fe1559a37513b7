// The tree keeps its shape and its place: open nodes stay open through every edit, undo and redo
// and from one dialog to the next; an insert and the label typed for it are one step.
#include "TreeEditingFixture.h"

#include "CTreeShape.h"
#include "ExpansionMemory.h"

#include <QTemporaryDir>

namespace {

using P = CConfigTree::DropPlace;

// The labels of the open nodes, in tree order.
std::vector<std::string> OpenNodes(CDlgConfig& dialog) {
    std::vector<std::string> open;
    for (QTreeWidgetItemIterator it(dialog.Tree()); *it; ++it)
        if ((*it)->isExpanded())
            open.push_back((*it)->text(0).toStdString());
    return open;
}

using Labels = std::vector<std::string>;

TEST_F(TreeEditingTest, OpenNodesStayOpenThroughMovesDropsPastesUndoAndRedo) {
    BuildSample();
    Open();
    // Opened as a widget's first dialog: the root and the top-level menus.
    EXPECT_EQ(OpenNodes(*dialog), (Labels{"My Foldline", "Alpha", "Beta"}));
    Node({0, 0})->setExpanded(true); // a1
    Node({1})->setExpanded(false);   // Beta
    const Labels shaped{"My Foldline", "Alpha", "a1"};

    Select({0});
    dialog->OnMoveDown(); // Alpha below Beta, with a1 still open
    EXPECT_EQ(OpenNodes(*dialog), (Labels{"My Foldline", "Alpha", "a1"}));
    EXPECT_EQ(Node({1})->text(0), "Alpha");
    dialog->OnUndo();
    EXPECT_EQ(OpenNodes(*dialog), shaped);
    EXPECT_EQ(Node({0})->text(0), "Alpha");
    dialog->OnRedo();
    EXPECT_TRUE(Node({1, 0})->isExpanded());
    dialog->OnUndo();

    // A paste elsewhere closes nothing; the pasted node is selected and in view.
    Select({0, 1});
    dialog->OnCopy();
    Select({1});
    dialog->OnPaste();
    EXPECT_EQ(OpenNodes(*dialog), (Labels{"My Foldline", "Alpha", "a1", "Beta"}));
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0}));

    // A dropped sub-tree lands open as it was, and comes back open with undo.
    dialog->DropNode(Node({0, 0}), Node({1, 0}), P::After, false);
    EXPECT_EQ(Node({1, 1})->text(0), "a1");
    EXPECT_TRUE(Node({1, 1})->isExpanded());
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 1}));
    // What the author closes after an edit stays closed when the edit is undone: the node
    // that comes back is known as the same node.
    Node({1, 1})->setExpanded(false);
    dialog->OnUndo();
    EXPECT_EQ(Node({0, 0})->text(0), "a1");
    EXPECT_FALSE(Node({0, 0})->isExpanded());
    dialog->OnRedo();
    EXPECT_FALSE(Node({1, 1})->isExpanded());
    EXPECT_TRUE(Node({1})->isExpanded());
}

TEST_F(TreeEditingTest, DeleteAndCutSelectTheNextSiblingElseThePreviousElseTheParent) {
    BuildSample();
    AddItem(Model().Menus()[0].get(), "a3");
    Open();
    Select({0, 1}); // a2, between a1 and a3
    dialog->OnDelete();
    EXPECT_EQ(dialog->SelectedNode()->text(0), "a3");
    dialog->OnCut(); // a3, the last: the one before it
    EXPECT_EQ(dialog->SelectedNode()->text(0), "a1");
    EXPECT_EQ(session->CurrentItem, Model().Menus()[0]->GetItem(0));
    Select({1, 0}); // b1, alone: its menu
    dialog->OnCut();
    EXPECT_EQ(dialog->SelectedNode(), Node({1}));
    EXPECT_EQ(session->CurrentItem, nullptr);
}

TEST_F(TreeEditingTest, AnInsertAndTheLabelTypedForItAreOneStep) {
    BuildSample();
    OpenShown();
    const std::string before = Plain(Model());
    Select({0, 1}); // a2
    Press(Qt::Key_Insert);
    Press(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    Type("Fresh");
    Press(Qt::Key_Return);
    EXPECT_EQ(a2->GetSubMenu()->GetItem(0)->Label, "Fresh");
    const std::string inserted = Plain(Model());
    // A second label for the same node is a step of its own.
    Press(Qt::Key_F2);
    Type("Again");
    Press(Qt::Key_Return);
    dialog->OnUndo();
    EXPECT_EQ(Plain(Model()), inserted);
    dialog->OnUndo();
    EXPECT_EQ(Plain(Model()), before) << "one step took back the item and its label";
    dialog->OnRedo();
    EXPECT_EQ(Plain(Model()), inserted);

    // Insert After opens the label by itself.
    Press(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_NE(Editor(), nullptr);
    Type("Next");
    Press(Qt::Key_Return);
    dialog->OnUndo();
    EXPECT_EQ(Plain(Model()), inserted);

    // With another step between, the label is a step of its own.
    Press(Qt::Key_Return, Qt::ControlModifier);
    Press(Qt::Key_Escape);
    dialog->OnVisible();
    Press(Qt::Key_F2);
    Type("Late");
    Press(Qt::Key_Return);
    dialog->OnUndo();
    // Undo made the model anew: a2 is found again by its place.
    const CFurlin* under = Model().Menus()[0]->GetItem(1)->GetSubMenu();
    ASSERT_EQ(under->Items().size(), 2u);
    EXPECT_EQ(under->GetItem(1)->Label, "item");
}

// Config runs the dialog shown here instead of modally; body answers OK or Cancel.
bool RunConfig(CFoldline& component, const std::function<bool(CDlgConfig&)>& body) {
    ConfigRunnerGuard guard;
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dialog) {
        dialog.Initialize();
        const bool ok = body(dialog);
        if (ok)
            dialog.OnOK();
        else
            dialog.reject();
        return ok;
    };
    return component.Config();
}

QTreeWidgetItem* At(CDlgConfig& dialog, const TreePath& path) {
    return dialog.NodeAt(path);
}

TEST_F(ConfigDialogTest, AWidgetsNextDialogOpensTheNodesLeftOpenAndANewWidgetTwoLevels) {
    BuildSample();
    RunConfig(*component, [&](CDlgConfig& dialog) {
        EXPECT_TRUE(At(dialog, {1})->isExpanded());
        At(dialog, {0, 0})->setExpanded(true);
        At(dialog, {1})->setExpanded(false);
        return true;
    });
    RunConfig(*component, [&](CDlgConfig& dialog) {
        EXPECT_EQ(OpenNodes(dialog), (Labels{"My Foldline", "Alpha", "a1"}));
        // Alpha moved below Beta and the edits dropped: the places open are those of the
        // widget as it is again, not those the edits made.
        dialog.SelectNode(At(dialog, {0}));
        dialog.OnMoveDown();
        At(dialog, {1, 1})->setExpanded(true); // a2, empty: stays as it was
        At(dialog, {1, 0, 0})->setExpanded(true);
        At(dialog, {0})->setExpanded(true);
        return false;
    });
    RunConfig(*component, [&](CDlgConfig& dialog) {
        EXPECT_EQ(At(dialog, {0})->text(0), "Alpha");
        EXPECT_TRUE(At(dialog, {0, 0})->isExpanded());
        EXPECT_TRUE(At(dialog, {1})->isExpanded()) << "Beta, opened again before Cancel";
        return false;
    });

    // Another widget read into the same component opens as any widget does the first time.
    QTemporaryDir folder;
    const std::string path = folder.filePath("menu.tsl").toStdString();
    ASSERT_TRUE(component->WriteConfigFile(path));
    ASSERT_TRUE(component->ReadConfigFile(path));
    RunConfig(*component, [&](CDlgConfig& dialog) {
        EXPECT_EQ(OpenNodes(dialog).size(), 3u);
        EXPECT_TRUE(At(dialog, {1})->isExpanded());
        EXPECT_FALSE(At(dialog, {0, 0})->isExpanded());
        return false;
    });
}

TEST(ExpansionMemoryTest, PlacesThatNoLongerExistAreSkipped) {
    QTreeWidget tree;
    auto* root = new QTreeWidgetItem(&tree);
    new QTreeWidgetItem(root);
    CTreeShape shape(tree);
    CExpansionMemory memory{true, {{}, {0}, {4}, {0, 3, 1}}};
    shape.Open(&memory);
    EXPECT_TRUE(root->isExpanded());
    CExpansionMemory kept;
    shape.Remember(kept, true);
    EXPECT_TRUE(kept.known);
    EXPECT_EQ(kept.expanded, (std::vector<TreePath>{{}, {0}}));
}

} // namespace
