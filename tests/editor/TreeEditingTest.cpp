// Editing the tree fast: keys, labels in place, drag and drop, undo, looks by level and the
// outline clipboard, driven through the dialog's own methods and key events offscreen.
#include "TreeEditingFixture.h"

#include "CDlgMenuStyle.h"
#include "CSpinEdit.h"

#include <QAccessible>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

namespace {

TEST_F(TreeEditingTest, KeysShowInTheMenuAndBesideTheToolTips) {
    BuildSample();
    Open();
    const std::pair<CDlgConfig::Command, const char*> keysOf[] = {
        {CDlgConfig::Cut, "Ctrl+X"},        {CDlgConfig::Copy, "Ctrl+C"},
        {CDlgConfig::Paste, "Ctrl+V"},      {CDlgConfig::Insert, "Ins"},
        {CDlgConfig::Delete, "Del"},        {CDlgConfig::MoveUp, "Alt+Up"},
        {CDlgConfig::MoveDown, "Alt+Down"}, {CDlgConfig::InsertAfter, "Ctrl+Return"},
        {CDlgConfig::Rename, "F2"},         {CDlgConfig::Undo, "Ctrl+Z"},
        {CDlgConfig::Redo, "Ctrl+Shift+Z"}};
    for (const auto& [command, key] : keysOf)
        EXPECT_EQ(dialog->CommandAction(command)->shortcut().toString(), key) << key;
    EXPECT_EQ(dialog->CommandAction(CDlgConfig::Redo)->shortcuts().value(1).toString(), "Ctrl+Y");
    EXPECT_EQ(dialog->CommandAction(CDlgConfig::InsertAfter)->shortcuts().value(1).toString(),
              "Ctrl+Enter");

    // The tooltip text stays as it is; the keys are shown after it.
    CIconButton* cut = dialog->ToolButton(CDlgConfig::Cut);
    EXPECT_EQ(cut->toolTip(), "Cut");
    EXPECT_EQ(cut->ShownToolTip(), "Cut (Ctrl+X)");
    EXPECT_EQ(dialog->ToolButton(CDlgConfig::Insert)->ShownToolTip(), "Insert a item (Ins)");
    CIconButton* after = dialog->ToolButton(CDlgConfig::InsertAfter);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->toolTip(), "Insert After");
    dialog->layout()->activate();
    EXPECT_LT(dialog->ToolButton(CDlgConfig::MoveDown)->x(), after->x());
}

TEST_F(TreeEditingTest, InsertAfterPlacesANewNodeBesideTheSelectedOne) {
    BuildSample();
    OpenShown();
    Select({0}); // Alpha: a new top-level menu after it, styled like the first one with items
    Model().Menus()[0]->ItemWidth = 66;
    dialog->OnInsertAfter();
    ASSERT_EQ(Model().Menus().size(), 3u);
    EXPECT_EQ(Model().Menus()[1]->ItemWidth, 66);
    EXPECT_EQ(Model().Menus()[1]->Name, "top-level Foldline");
    EXPECT_EQ(dialog->SelectedNode(), Node({1}));
    EXPECT_EQ(Editor(), nullptr) << "a menu has no label to edit";

    Select({0, 0}); // a1: the new item lies between a1 and a2, its label open for editing
    dialog->OnInsertAfter();
    EXPECT_EQ(Model().Menus()[0]->Items()[1]->Label, "item");
    EXPECT_EQ(Model().Menus()[0]->Items()[2].get(), a2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->selectedText(), "item");
    Press(Qt::Key_Escape); // the item stays with its label
    EXPECT_EQ(Model().Menus()[0]->Items().size(), 3u);
    dialog->SelectNode(dialog->RootNode());
    EXPECT_FALSE(dialog->CommandAction(CDlgConfig::InsertAfter)->isEnabled());
}

// A three-level menu of 30 items typed with the keyboard alone: a top-level menu, 3 items with
// 3 sub-items each, and 2 items under each of those.
TEST_F(TreeEditingTest, ThirtyItemsInThreeLevelsTypedWithTheKeyboardAlone) {
    OpenShown();
    int levelChanges = 0;
    int items = 0;
    auto label = [&](const QString& text) {
        ASSERT_NE(Editor(), nullptr) << "no label editor for " << text.toStdString();
        Type(text);
        Press(Qt::Key_Return);
        ++items;
    };
    Press(Qt::Key_Insert); // the top-level menu
    Press(Qt::Key_Insert); // its first item, one level down
    Press(Qt::Key_F2);
    levelChanges += 2;
    for (int a = 0; a < 3; ++a) {
        if (a > 0) {
            // Up from the last third-level item: to its parent, close it, to its parent.
            Press(Qt::Key_Left);
            Press(Qt::Key_Left);
            Press(Qt::Key_Left);
            levelChanges += 2;
            Press(Qt::Key_Return, Qt::ControlModifier);
        }
        label(QStringLiteral("Section %1").arg(a));
        for (int b = 0; b < 3; ++b) {
            if (b == 0) {
                Press(Qt::Key_Insert);
                Press(Qt::Key_F2);
            } else {
                Press(Qt::Key_Left);
                Press(Qt::Key_Return, Qt::ControlModifier);
            }
            ++levelChanges;
            label(QStringLiteral("Page %1.%2").arg(a).arg(b));
            Press(Qt::Key_Insert);
            Press(Qt::Key_F2);
            ++levelChanges;
            label(QStringLiteral("Part %1.%2.0").arg(a).arg(b));
            Press(Qt::Key_Return, Qt::ControlModifier);
            label(QStringLiteral("Part %1.%2.1").arg(a).arg(b));
        }
    }
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the label editor must not press OK";
    ASSERT_EQ(items, 30);
    ASSERT_EQ(Model().Menus().size(), 1u);
    const CFurlin& top = *Model().Menus()[0];
    ASSERT_EQ(top.Items().size(), 3u);
    std::string expected;
    for (int a = 0; a < 3; ++a) {
        // Leaving the General page stores the frame it shows for an empty one.
        expected += "Section " + std::to_string(a) + "||_self\n";
        for (int b = 0; b < 3; ++b) {
            const std::string page = std::to_string(a) + "." + std::to_string(b);
            expected += ".Page " + page + "||_self\n..Part " + page + ".0||_self\n..Part " + page +
                        ".1||_self\n";
        }
    }
    EXPECT_EQ(Shape(top), expected);
    // The count the report quotes; the goal is the label text plus two keys per item and two
    // per level change.
    std::printf("[ keys     ] %d labels typed in %d characters and %d further keys; %d level "
                "changes; goal at most %d further keys\n",
                items, typed, keys, levelChanges, 2 * items + 2 * levelChanges);
    EXPECT_LE(keys, 2 * items + 2 * levelChanges);
}

TEST_F(TreeEditingTest, LabelsEditedInPlaceKeepWithEnterAndDropWithEscape) {
    BuildSample();
    a1->Label = "two\r\nlines";
    OpenShown();
    Select({0, 1}); // a2
    auto* label = Field<QPlainTextEdit>(ItemPage("General"), "Item Label:");
    dialog->Tree()->setFocus();
    Press(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), "a2");
    Type("dropped");
    Press(Qt::Key_Escape);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(a2->Label, "a2");
    EXPECT_EQ(Node({0, 1})->text(0), "a2");
    EXPECT_FALSE(dialog->CommandAction(CDlgConfig::Undo)->isEnabled());

    Press(Qt::Key_F2);
    Type("Kept");
    Press(Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(a2->Label, "Kept");
    EXPECT_EQ(Node({0, 1})->text(0), "Kept");
    EXPECT_EQ(label->toPlainText(), "Kept") << "the General page shows the new label";

    // A double click opens the editor too; a label with line breaks confirmed unchanged keeps
    // them and makes no step.
    const QRect rect = dialog->Tree()->visualItemRect(Node({0, 0}));
    QTest::mouseClick(dialog->Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(dialog->Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QApplication::processEvents();
    ASSERT_NE(Editor(), nullptr);
    Press(Qt::Key_Return);
    EXPECT_EQ(a1->Label, "two\r\nlines");
    dialog->OnUndo();
    EXPECT_EQ(Model().Menus()[0]->Items()[1]->Label, "a2") << "the one step was the rename";
    EXPECT_EQ(Model().Menus()[0]->Items()[0]->Label, "two\r\nlines");
}

TEST_F(TreeEditingTest, DropsMoveAndCopySubTreesAndRefuseWhatCannotBe) {
    BuildSample(); // Alpha: a1 (a1x, a1y), a2; Beta: b1
    Open();
    using P = CConfigTree::DropPlace;
    // Into a leaf of another menu: the sub-tree moves, the leaf becomes a branch.
    EXPECT_TRUE(dialog->DropNode(Node({0, 0}), Node({1, 0}), P::Into, false));
    ASSERT_EQ(Model().Menus()[0]->Items().size(), 1u);
    EXPECT_EQ(Model().Menus()[0]->Items()[0]->Label, "a2");
    const CFurlinItem* moved = b1->GetSubMenu()->Items().at(0).get();
    EXPECT_EQ(moved->Label, "a1");
    EXPECT_EQ(moved->GetSubMenu()->Items().size(), 2u);
    EXPECT_EQ(Icon(Node({1, 0})), kIconBranchHidden);
    EXPECT_EQ(Node({1, 0, 0, 1})->text(0), "a1y");
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0, 0}));
    EXPECT_EQ(session->CurrentItem, moved);

    // Ctrl copies: the original stays. Then the copy moves before a2, inside one menu.
    EXPECT_TRUE(dialog->DropNode(Node({1, 0, 0}), Node({0, 0}), P::After, true));
    EXPECT_EQ(b1->GetSubMenu()->Items().size(), 1u);
    ASSERT_EQ(Model().Menus()[0]->Items().size(), 2u);
    EXPECT_EQ(Model().Menus()[0]->Items()[1]->Label, "a1");
    EXPECT_TRUE(dialog->DropNode(Node({0, 1}), Node({0, 0}), P::Before, false));
    EXPECT_EQ(Model().Menus()[0]->Items()[0]->Label, "a1");
    EXPECT_EQ(Node({0, 0})->text(0), "a1");
    EXPECT_EQ(Node({0, 0})->childCount(), 2);

    // Top-level menus reorder among themselves, their sub-trees with them.
    EXPECT_TRUE(dialog->DropNode(Node({1}), Node({0}), P::Before, false));
    EXPECT_EQ(Model().Menus()[0]->Name, "top-level Foldline");
    EXPECT_EQ(Model().Menus()[0]->Visible, 0);
    EXPECT_EQ(Node({0, 0})->text(0), "b1");
    EXPECT_EQ(Model().Menus()[1]->Items().size(), 2u);

    const std::string before = Dump(Model());
    EXPECT_FALSE(dialog->CanDrop(Node({0, 0}), Node({0, 0, 0, 0}), P::Into, false))
        << "into its own sub-tree";
    EXPECT_FALSE(dialog->CanDrop(Node({0, 0}), Node({0, 0}), P::After, true));
    EXPECT_FALSE(dialog->CanDrop(Node({1, 0}), Node({0}), P::Before, false))
        << "an item among the top-level menus";
    EXPECT_FALSE(dialog->CanDrop(Node({1}), Node({0, 0}), P::Into, false))
        << "a top-level menu inside a menu";
    EXPECT_FALSE(dialog->CanDrop(dialog->RootNode(), Node({0}), P::Into, false));
    EXPECT_FALSE(dialog->DropNode(Node({1, 0}), dialog->RootNode(), P::Into, false));
    EXPECT_TRUE(Dump(Model()) == before);
    EXPECT_TRUE(questions.empty());
}

// What the view's drag events ask: the node a drag carries and the place under the pointer.
TEST_F(TreeEditingTest, DragsOverTheViewShowRefusalsAndLandWhereThePointerIs) {
    BuildSample();
    OpenShown();
    CConfigTree* tree = dialog->Tree();
    tree->expandAll();
    auto carrying = [](const char* path) {
        auto data = std::make_unique<QMimeData>();
        data->setData(CConfigTree::kNodeFormat, QByteArray(path));
        return data;
    };
    auto middle = [tree](QTreeWidgetItem* node) { return tree->visualItemRect(node).center(); };
    auto topEdge = [tree](QTreeWidgetItem* node) {
        const QRect rect = tree->visualItemRect(node);
        return QPoint(rect.center().x(), rect.top() + 1);
    };
    CConfigTree::DropPlace place = CConfigTree::DropPlace::After;
    EXPECT_EQ(tree->DropTargetAt(topEdge(Node({0, 1})), &place), Node({0, 1}));
    EXPECT_EQ(place, CConfigTree::DropPlace::Before);
    EXPECT_EQ(tree->DropTargetAt(middle(Node({0, 1})), &place), Node({0, 1}));
    EXPECT_EQ(place, CConfigTree::DropPlace::Into);

    EXPECT_TRUE(tree->AcceptsDrag(carrying("0,1").get(), middle(Node({1, 0})), {})) << "a2 into b1";
    EXPECT_FALSE(tree->AcceptsDrag(carrying("0,0").get(), middle(Node({0, 0, 1})), {}))
        << "a1 into its own a1y";
    EXPECT_FALSE(tree->AcceptsDrag(carrying("0,1").get(), topEdge(Node({1})), {}))
        << "a2 before a top-level menu";
    EXPECT_FALSE(tree->AcceptsDrag(carrying("").get(), middle(Node({0})), {})) << "the root";
    auto other = std::make_unique<QMimeData>();
    other->setText("0,1");
    EXPECT_FALSE(tree->AcceptsDrag(other.get(), middle(Node({1, 0})), {})) << "foreign data";

    // Dropped on a1's top edge, a2 lands before it; with Ctrl held a copy lands.
    EXPECT_TRUE(tree->DropData(carrying("0,1").get(), topEdge(Node({0, 0})), {}));
    EXPECT_EQ(Model().Menus()[0]->Items()[0]->Label, "a2");
    EXPECT_EQ(Node({0, 0})->text(0), "a2");
    EXPECT_EQ(Model().Menus()[0]->Items().size(), 2u);
    tree->expandAll();
    EXPECT_TRUE(tree->DropData(carrying("0,0").get(), middle(Node({1, 0})), Qt::ControlModifier));
    EXPECT_EQ(Model().Menus()[0]->Items().size(), 2u);
    EXPECT_EQ(b1->GetSubMenu()->Items().at(0)->Label, "a2");
}

// A node path dragged in from another program (another dialog's tree) names none of this tree's
// nodes: dropping it must not move or copy the node that happens to sit at that path here.
TEST_F(TreeEditingTest, NodesDraggedFromAnotherProgramAreRefused) {
    BuildSample();
    OpenShown();
    CConfigTree* tree = dialog->Tree();
    tree->expandAll();
    const std::string before = Dump(Model());
    QMimeData data;
    data.setData(CConfigTree::kNodeFormat, QByteArray("0,1"));
    const QPoint at = tree->visualItemRect(Node({1, 0})).center();
    // No drag of this process is running, so the events have no source, as across programs.
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    EXPECT_FALSE(move.isAccepted());
    QDropEvent drop(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_TRUE(Dump(Model()) == before);
    EXPECT_EQ(Node({0, 1})->text(0), "a2");
}

TEST_F(TreeEditingTest, NothingLandsDeeperThanReadersAccept) {
    CFurlin* menu = AddMenu(Model(), "Deep");
    AddItem(menu, "branch");
    AddItem(menu->GetItem(0)->GetSubMenu(), "leaf");
    // A chain whose last item's empty sub-menu lies at the deepest level.
    for (int level = 2; level <= kMaxDepth; ++level)
        menu = AddItem(level == 2 ? Model().Menus()[0].get() : menu, "d")->GetSubMenu();
    Open();
    QTreeWidgetItem* deepest = Node({0, 1});
    while (deepest->childCount() > 0)
        deepest = deepest->child(0);
    using P = CConfigTree::DropPlace;
    EXPECT_FALSE(dialog->CanDrop(Node({0, 0, 0}), deepest, P::Into, false))
        << "its sub-menu would be one level too deep";
    EXPECT_TRUE(dialog->CanDrop(Node({0, 0, 0}), deepest, P::After, false));
    EXPECT_FALSE(dialog->CanDrop(Node({0, 0}), deepest->parent(), P::Into, false))
        << "a branch brings two levels";
    EXPECT_TRUE(dialog->CanDrop(Node({0, 0}), deepest->parent()->parent(), P::Into, false));

    // An outline pasted there flattens to the deepest level instead of losing lines.
    QGuiApplication::clipboard()->setText("x\n  y\n    z\n");
    dialog->SelectNode(deepest->parent());
    dialog->OnPaste();
    const CFurlin* holder = CDlgConfig::ItemOf(deepest->parent())->GetSubMenu();
    ASSERT_EQ(holder->Items().size(), 4u);
    EXPECT_EQ(holder->Items()[0]->Label, "x");
    EXPECT_EQ(holder->Items()[2]->Label, "z");
    EXPECT_TRUE(holder->Items()[1]->GetSubMenu()->Items().empty());
    dialog->SelectNode(deepest);
    const std::size_t items = CountItems(Model());
    dialog->OnPaste(); // the items would need a level beyond the deepest
    EXPECT_EQ(CountItems(Model()), items);
    EXPECT_EQ(deepest->childCount(), 0);
}

TEST_F(TreeEditingTest, UndoAndRedoWalkBackAndForthOverEveryKindOfChange) {
    BuildSample();
    Open();
    std::vector<std::string> states{Plain(Model())};
    auto step = [&](const char* what, const std::function<void()>& change) {
        change();
        EXPECT_FALSE(Plain(Model()) == states.back()) << what << " changed nothing";
        states.push_back(Plain(Model()));
    };
    using P = CConfigTree::DropPlace;
    step("insert", [&] { Select({0}), dialog->OnInsert(); });
    // Another node's label: the inserted one's would join the insert's step.
    step("label in place", [&] { dialog->Tree()->labelEdited(Node({0, 1}), "fresh"); });
    step("page value", [&] {
        Select({0, 1});
        Field<QLineEdit>(ItemPage("Size"), "Item Width:")->setText("99");
        Select({0});
    });
    step("applet name", [&] {
        dialog->SelectNode(dialog->RootNode());
        auto* sheet = reinterpret_cast<CPropertySheet*>(dialog->AppletSheet());
        Field<QLineEdit>(sheet->Page(0), "Name:")->setText("Renamed");
        Select({1});
    });
    step("drop", [&] { dialog->DropNode(Node({0, 1}), Node({1, 0}), P::Into, false); });
    step("look", [&] {
        Select({0, 0});
        dialog->ApplyLookTo(LookScope::All);
    });
    step("visible", [&] { dialog->OnVisible(); });
    step("move", [&] { dialog->OnMoveDown(); });
    step("cut", [&] { dialog->OnCut(); });
    step("paste", [&] { Select({1}), dialog->OnPaste(); });
    step("delete", [&] { Select({1, 0}), dialog->OnDelete(); });

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(dialog->CommandAction(CDlgConfig::Undo)->isEnabled()) << i;
        dialog->OnUndo();
        EXPECT_TRUE(Plain(Model()) == states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(dialog->CommandAction(CDlgConfig::Undo)->isEnabled());
    EXPECT_EQ(dialog->RootNode()->text(0), "My Foldline");
    for (std::size_t i = 1; i < states.size(); ++i) {
        dialog->OnRedo();
        EXPECT_TRUE(Plain(Model()) == states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(dialog->CommandAction(CDlgConfig::Redo)->isEnabled());
    // The tree follows the model: the bindings point into the restored objects.
    dialog->OnUndo();
    Select({1, 0});
    EXPECT_EQ(session->CurrentItem, Model().Menus()[1]->Items()[0].get());
    // A new change drops the steps that could be redone.
    dialog->OnVisible();
    EXPECT_FALSE(dialog->CommandAction(CDlgConfig::Redo)->isEnabled());
    EXPECT_TRUE(questions.size() == 1 && messages.empty());
}

TEST_F(TreeEditingTest, OkKeepsTheUndoneStateAndCancelStillDiscardsEverything) {
    BuildSample();
    const std::string original = Dump(Model());
    ConfigRunnerGuard guard;
    std::string afterOneInsert;
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dlg) {
        dlg.Initialize();
        dlg.OnInsert();
        afterOneInsert = Dump(Model());
        dlg.OnInsert();
        dlg.OnUndo();
        dlg.OnOK();
        return dlg.result() == QDialog::Accepted;
    };
    EXPECT_TRUE(component->Config());
    EXPECT_TRUE(Dump(Model()) == afterOneInsert);
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dlg) {
        dlg.Initialize();
        dlg.OnInsert();
        dlg.OnUndo();
        dlg.OnRedo();
        dlg.reject();
        return false;
    };
    EXPECT_FALSE(component->Config());
    EXPECT_TRUE(Dump(Model()) == afterOneInsert);
    EXPECT_FALSE(afterOneInsert == original);
}

// Alpha (depth 0): a1 with sub-menu S1 (depth 1: a1x with S2 at depth 2), a2; Beta (depth 0): b1
// with sub-menu T1 (depth 1).
TEST_F(TreeEditingTest, ApplyLookToReachesEachScopeInOneStep) {
    BuildSample();
    CFurlin* alpha = Model().Menus()[0].get();
    CFurlin* beta = Model().Menus()[1].get();
    CFurlin* s1 = a1->GetSubMenu();
    CFurlin* s2 = a1x->GetSubMenu();
    AddItem(s2, "deep");
    CFurlin* t1 = b1->GetSubMenu();
    AddItem(t1, "b1x");
    s1->ItemWidth = 131;
    s1->Normal.FontSize = 21;
    s1->Over.BackColor = 0x00ABCDEF;
    s1->Click.TextAlign = 2;
    beta->TopOffset = 99;
    Open();
    auto look = [](const CFurlin& m) {
        return std::to_string(m.ItemWidth) + "/" + std::to_string(m.Normal.FontSize) + "/" +
               std::to_string(m.Over.BackColor) + "/" + std::to_string(m.Click.TextAlign);
    };
    const std::string s1Look = look(*s1);
    const std::string plain = look(*alpha);

    Select({0, 0, 0}); // a1x: its holding menu S1 at depth 1
    std::string before = Plain(Model());
    dialog->ApplyLookTo(LookScope::SameDepth);
    EXPECT_EQ(look(*t1), s1Look);
    EXPECT_EQ(look(*s2), plain);
    EXPECT_EQ(look(*beta), plain);
    EXPECT_EQ(t1->Name, "Menu") << "the menus keep their names";
    dialog->OnUndo();
    EXPECT_TRUE(Plain(Model()) == before) << "one step";

    Select({0, 0, 0});
    dialog->ApplyLookTo(LookScope::Below);
    s2 = Model().Menus()[0]->Items()[0]->GetSubMenu()->Items()[0]->GetSubMenu();
    t1 = Model().Menus()[1]->Items()[0]->GetSubMenu();
    EXPECT_EQ(look(*s2), s1Look);
    EXPECT_EQ(look(*t1), plain);
    dialog->OnUndo();

    Select({0, 0, 0});
    dialog->ApplyLookTo(LookScope::All);
    for (const auto& top : Model().Menus())
        EXPECT_EQ(look(*top), s1Look);
    EXPECT_EQ(Model().Menus()[1]->TopOffset, 99) << "the encoder's working value stays";
    EXPECT_EQ(Model().Menus()[1]->Name, "Beta");
    before = Dump(Model());
    dialog->ApplyLookTo(LookScope::All);
    EXPECT_TRUE(Dump(Model()) == before);
    dialog->OnUndo();
    EXPECT_EQ(look(*Model().Menus()[0]), plain) << "applying it again made no step";

    // From a top-level menu its own look; the context menu and the Size page offer the scopes.
    Select({1});
    dialog->UpdateCommandUI();
    ASSERT_EQ(dialog->LookMenu()->actions().size(), 3);
    EXPECT_EQ(dialog->LookMenu()->actions()[2]->text(), "All Menus");
    dialog->LookMenu()->actions()[2]->trigger();
    EXPECT_EQ(look(*Model().Menus()[0]), plain);
    Select({1, 0});
    auto* size = qobject_cast<CDlgMenuStyle*>(ItemPage("Size"));
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->ApplyLookButton()->text(), "Apply Look To...");
}

TEST_F(TreeEditingTest, OutlineCopyPasteRoundTripAndThePrivateBlockFirst) {
    BuildSample();
    a1->Link = "a.htm";
    a1x->TargetFrame = "_top";
    a1->GetSubMenu()->Items()[1]->Label = "y | bar\r\nline";
    a1->GetSubMenu()->Normal.Extra = "only in the block";
    Open();
    Select({0, 0});
    dialog->OnCopy();
    const QString outline = QGuiApplication::clipboard()->text();
    // Copy stores the page first, and the General page shows "_self" for an empty frame.
    EXPECT_EQ(outline, "a1 | a.htm | _self\n  a1x |  | _top\n  y \\| bar\\nline\n");

    // The private block has priority: the copy keeps what no outline carries.
    Select({1});
    dialog->OnPaste();
    EXPECT_EQ(b1 == Model().Menus()[1]->Items()[0].get(), false);
    EXPECT_EQ(Model().Menus()[1]->Items()[0]->GetSubMenu()->Normal.Extra, "only in the block");

    // Another program's copy is text alone; pasted elsewhere it gives the same sub-tree.
    QGuiApplication::clipboard()->setText(outline);
    Select({1, 1}); // b1, a leaf
    dialog->OnPaste();
    CFurlin original;
    original.AddItem(std::make_unique<CFurlinItem>(*a1), false);
    EXPECT_EQ(Shape(*b1->GetSubMenu()), Shape(original));
    EXPECT_EQ(Icon(Node({1, 1})), kIconBranchHidden);
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 1, 0}));
    // The new sub-menu takes the style of the menus at its depth.
    EXPECT_EQ(b1->GetSubMenu()->Items()[0]->GetSubMenu()->Normal.Extra, "only in the block");
    dialog->OnUndo();
    EXPECT_TRUE(b1 != nullptr && Model().Menus()[1]->Items()[1]->GetSubMenu()->Items().empty());
}

TEST_F(TreeEditingTest, MalformedOutlinesLoseNothing) {
    BuildSample();
    Open();
    QGuiApplication::clipboard()->setText("    starts deep\r\n"
                                          "A | x.htm | _top | extra\n"
                                          "\t\t\tjumps | j.htm\n"
                                          "\n"
                                          "   \n"
                                          "| only.htm\n"
                                          "C:\\temp\\x | C:\\new\\page.htm\n");
    Select({1});
    dialog->OnPaste();
    const CFurlin& beta = *Model().Menus()[1];
    ASSERT_EQ(beta.Items().size(), 5u);
    EXPECT_EQ(beta.Items()[0]->Label, "starts deep");
    EXPECT_EQ(beta.Items()[1]->Label, "A | x.htm | _top | extra");
    ASSERT_EQ(beta.Items()[1]->GetSubMenu()->Items().size(), 1u);
    EXPECT_EQ(beta.Items()[1]->GetSubMenu()->Items()[0]->Label, "jumps");
    EXPECT_EQ(beta.Items()[1]->GetSubMenu()->Items()[0]->Link, "j.htm");
    EXPECT_EQ(beta.Items()[2]->Label, "");
    EXPECT_EQ(beta.Items()[2]->Link, "only.htm");
    EXPECT_EQ(beta.Items()[3]->Label, "C:\\temp\\x") << "only the outline's escapes are read";
    EXPECT_EQ(beta.Items()[3]->Link, "C:\\new\\page.htm");
    EXPECT_EQ(beta.Items()[4].get(), b1);
}

// A dialog destroyed while shown (the program quitting under it) hides on the way out, and the
// label editor open in the tree hands over its text then: it must reach no part of the dialog
// already gone. The sanitizer build catches the call.
TEST_F(TreeEditingTest, ADialogDestroyedWhileALabelIsEditedIgnoresTheEditor) {
    BuildSample();
    OpenShown();
    Select({0, 0});
    dialog->OnRename();
    QApplication::processEvents();
    ASSERT_NE(Editor(), nullptr);
    Type("zz");
    dialog.reset();
    QApplication::processEvents();
    EXPECT_EQ(a1->Label, "a1");
}

} // namespace

namespace {

const QString kDiscardQuestion = "Discard the changes made in this dialog?";

// Cancel, Escape and the close box each close a session without changes at once, and ask about
// one with changes; "Keep Editing" leaves the dialog open with the edits.
TEST_F(TreeEditingTest, ClosingWithoutOkAsksOnlyWhenTheSessionChangedSomething) {
    BuildSample();
    const std::function<void()> ways[] = {
        [this] { dialog->CancelButton()->click(); },
        [this] {
            dialog->Tree()->setFocus();
            Press(Qt::Key_Escape);
        },
        [this] { dialog->close(); },
    };
    for (const auto& close : ways) {
        OpenShown();
        Select({0, 1}); // its page shows "_self" for its empty frame: no change of the author's
        close();
        EXPECT_TRUE(choices.empty());
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    for (const auto& close : ways) {
        OpenShown();
        Select({0, 1});
        dialog->OnInsert();
        choices.clear();
        choiceAnswer = 1;
        close();
        ASSERT_EQ(choices.size(), 1u);
        EXPECT_EQ(choices[0], kDiscardQuestion);
        EXPECT_EQ(choiceButtons, QStringList({"Discard", "Keep Editing"}));
        EXPECT_EQ(choiceDefault, 1);
        EXPECT_TRUE(dialog->isVisible()) << "Keep Editing";
        choiceAnswer = -1; // the question's own close box keeps editing too
        close();
        EXPECT_TRUE(dialog->isVisible());
        choiceAnswer = 0;
        close();
        EXPECT_FALSE(dialog->isVisible()) << "Discard";
        EXPECT_EQ(choices.size(), 3u);
    }
}

// What the shown page holds counts before it is stored; a change undone again is no change.
TEST_F(TreeEditingTest, UnstoredPageValuesAskAndUndoneChangesDoNot) {
    BuildSample();
    OpenShown();
    Select({0, 1});
    auto* label = Field<QPlainTextEdit>(ItemPage("General"), "Item Label:");
    ASSERT_NE(label, nullptr);
    label->setPlainText("typed, not stored");
    choiceAnswer = 1;
    dialog->CancelButton()->click();
    EXPECT_EQ(choices.size(), 1u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(a2->Label, "a2");

    label->setPlainText("a2");
    dialog->OnInsert();
    dialog->OnUndo();
    choices.clear();
    dialog->CancelButton()->click();
    EXPECT_TRUE(choices.empty());
    EXPECT_FALSE(dialog->isVisible());
}

// Escape inside a label edit ends only that edit, even after other changes.
TEST_F(TreeEditingTest, EscapeInALabelEditEndsOnlyTheEdit) {
    BuildSample();
    OpenShown();
    Select({0, 1});
    dialog->OnInsert(); // a change, so a close would ask
    choiceAnswer = 0;
    dialog->OnRename();
    ASSERT_NE(Editor(), nullptr);
    Type("dropped");
    Press(Qt::Key_Escape);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(choices.empty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->SelectedNode()->text(0), "item");
    Press(Qt::Key_Escape); // now the dialog's own Escape
    EXPECT_EQ(choices.size(), 1u);
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
