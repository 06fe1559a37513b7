// The configuration dialog driven offscreen without exec(): tree, commands, pages and bindings.
#include "ConfigDialogFixture.h"

namespace {

TEST_F(ConfigDialogTest, OpeningBuildsTheTreeControlsAndMenu) {
    BuildSample();
    Model().Name = "Site Menu";
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Quillary Foldline 1.1");
    QTreeWidgetItem* root = dialog->RootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "Site Menu");
    EXPECT_EQ(Icon(root), kIconRoot);
    EXPECT_EQ(dialog->SelectedNode(), root);
    // A widget's first dialog opens the root and the top-level menus.
    EXPECT_TRUE(root->isExpanded());
    EXPECT_TRUE(Node({0})->isExpanded());
    EXPECT_FALSE(Node({0, 0})->isExpanded());

    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(Node({0})->text(0), "Alpha");
    EXPECT_EQ(Icon(Node({0})), kIconTopMenu);
    EXPECT_EQ(Icon(Node({1})), kIconTopMenuHidden);
    EXPECT_EQ(Node({0, 0})->text(0), "a1");
    EXPECT_EQ(Icon(Node({0, 0})), kIconBranch);
    EXPECT_EQ(Node({0, 0, 1})->text(0), "a1y");
    EXPECT_EQ(Icon(Node({0, 0, 1})), kIconLeaf);
    EXPECT_EQ(Icon(Node({0, 1})), kIconLeaf);
    EXPECT_EQ(Icon(Node({1, 0})), kIconLeafHidden);
    EXPECT_EQ(CDlgConfig::ItemOf(Node({0, 0})), a1);

    EXPECT_FALSE(dialog->AppletSheet()->isHidden());
    EXPECT_TRUE(dialog->ItemSheet()->isHidden());
    EXPECT_EQ(dialog->CurrentSheet(), dialog->AppletSheet());

    const char* tips[] = {"Cut",     "copy",     "Paste", "Insert a item", "Delete the item",
                          "Move up", "Move down"};
    const CDlgConfig::Command tools[] = {
        CDlgConfig::Cut,    CDlgConfig::Copy,   CDlgConfig::Paste,   CDlgConfig::Insert,
        CDlgConfig::Delete, CDlgConfig::MoveUp, CDlgConfig::MoveDown};
    for (int i = 0; i < 7; ++i) {
        CIconButton* button = dialog->ToolButton(tools[i]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), tips[i]);
        EXPECT_EQ(button->IconWidth(), 32);
    }
    EXPECT_EQ(dialog->ToolButton(CDlgConfig::Visible), nullptr);
    // Buttons left to right in that order.
    dialog->layout()->activate();
    for (int i = 1; i < 7; ++i)
        EXPECT_LT(dialog->ToolButton(tools[i - 1])->x(), dialog->ToolButton(tools[i])->x());

    // OK and Cancel show their icon left of the caption.
    for (CIconButton* button : {dialog->OkButton(), dialog->CancelButton()}) {
        EXPECT_EQ(button->IconLayout(), 0);
        EXPECT_EQ(button->IconRect(button->rect()).left(), 3);
    }
    EXPECT_EQ(dialog->OkButton()->text(), "OK");
    EXPECT_EQ(dialog->CancelButton()->text(), "Cancel");

    QStringList entries;
    for (QAction* action : dialog->ContextMenu()->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    // The first ten entries keep their texts and order; the added commands follow them.
    EXPECT_EQ(entries.mid(0, 10),
              QStringList({"&Cut", "C&opy", "&Paste", "-", "&Insert Menu/Item", "&Delete",
                           "&Visible", "-", "Move &Up", "Move Do&wn"}));
    EXPECT_EQ(entries.mid(10),
              QStringList({"-", "Insert &After", "Rena&me", "Edit Lin&k", "Apply &Look To", "-",
                           "U&ndo", "&Redo", "-", "&Find..."}));
}

TEST_F(ConfigDialogTest, InsertOnRootPutsTheNewMenuFirst) {
    BuildSample();
    Open();
    dialog->OnInsert();
    ASSERT_EQ(Model().Menus().size(), 3u);
    EXPECT_EQ(Model().Menus()[0]->Name, "top-level Foldline");
    EXPECT_EQ(CDlgConfig::MenuOf(Node({0})), Model().Menus()[0].get());
    EXPECT_EQ(Node({0})->text(0), "top-level Foldline");
    EXPECT_EQ(Icon(Node({0})), kIconTopMenu);
    EXPECT_EQ(dialog->SelectedNode(), Node({0}));

    // Insert on a top-level menu and on a branch: a new "item" first, icon 5.
    dialog->OnInsert();
    EXPECT_EQ(Model().Menus()[0]->Items().size(), 1u);
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0}));
    EXPECT_EQ(Node({0, 0})->text(0), "item");
    Select({1, 0});
    dialog->OnInsert();
    ASSERT_EQ(a1->GetSubMenu()->Items().size(), 3u);
    EXPECT_EQ(a1->GetSubMenu()->Items()[1].get(), a1x);
    EXPECT_EQ(Icon(Node({1, 0, 0})), kIconLeaf);
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0, 0}));
    EXPECT_TRUE(Node({1, 0})->isExpanded());
}

TEST_F(ConfigDialogTest, NewSubMenuTakesTheStyleOfItsDepthElseOfTheHoldingMenu) {
    BuildSample();
    Model().Menus()[0]->ItemWidth = 77;
    a1->GetSubMenu()->ItemWidth = 123; // a menu with items at depth 1
    a1->GetSubMenu()->Over.FontSize = 31;
    Open();

    Select({0, 1}); // a2, a leaf in Alpha
    dialog->OnInsert();
    EXPECT_EQ(a2->GetSubMenu()->ItemWidth, 123);
    EXPECT_EQ(a2->GetSubMenu()->Over.FontSize, 31);
    EXPECT_EQ(Icon(Node({0, 1})), kIconBranch);
    EXPECT_EQ(Icon(Node({0, 1, 0})), kIconLeaf);

    // A hidden leaf becomes a hidden branch.
    Model().Menus()[1]->ItemWidth = 55;
    Select({1, 0});
    dialog->OnInsert();
    EXPECT_EQ(Icon(Node({1, 0})), kIconBranchHidden);
    EXPECT_EQ(Icon(Node({1, 0, 0})), kIconLeaf);
    EXPECT_EQ(b1->GetSubMenu()->ItemWidth, 123); // not Beta's: depth 1 has a menu elsewhere
}

TEST_F(ConfigDialogTest, NewSubMenuFallsBackToTheHoldingMenu) {
    CFurlin* alpha = AddMenu(Model(), "Alpha");
    alpha->ItemWidth = 77;
    alpha->Normal.BackColor = 0x00112233;
    CFurlinItem* leaf = AddItem(alpha, "leaf");
    Open();
    Select({0, 0});
    dialog->OnInsert();
    EXPECT_EQ(leaf->GetSubMenu()->ItemWidth, 77);
    EXPECT_EQ(leaf->GetSubMenu()->Normal.BackColor, 0x00112233u);
}

TEST_F(ConfigDialogTest, VisibleTogglesFlagAndIconOnly) {
    BuildSample();
    a1->Visible = 0;
    Open();
    EXPECT_EQ(Icon(Node({0, 0})), kIconBranchHidden);
    Select({0, 0});
    dialog->UpdateCommandUI();
    EXPECT_FALSE(dialog->CommandAction(CDlgConfig::Visible)->isChecked());
    dialog->OnVisible();
    EXPECT_EQ(a1->Visible, 1);
    EXPECT_EQ(Icon(Node({0, 0})), kIconBranch);
    EXPECT_EQ(a1x->Visible, 1);
    dialog->UpdateCommandUI();
    EXPECT_TRUE(dialog->CommandAction(CDlgConfig::Visible)->isChecked());

    Select({1});
    dialog->OnVisible();
    EXPECT_EQ(Model().Menus()[1]->Visible, 1);
    EXPECT_EQ(Icon(Node({1})), kIconTopMenu);
    EXPECT_EQ(b1->Visible, 0);
    Select({1, 0});
    dialog->OnVisible();
    EXPECT_EQ(Icon(Node({1, 0})), kIconLeaf);

    dialog->SelectNode(dialog->RootNode());
    dialog->OnVisible();
    EXPECT_EQ(Icon(dialog->RootNode()), kIconRoot);
}

TEST_F(ConfigDialogTest, MovesKeepTheNodeAndItsShapeAndRefusalsChangeNothing) {
    BuildSample();
    Open();
    const std::string before = Dump(Model());
    Select({0});
    QTreeWidgetItem* first = Node({0});
    dialog->OnMoveUp();
    EXPECT_TRUE(Dump(Model()) == before);
    EXPECT_EQ(Node({0}), first);
    EXPECT_EQ(dialog->SelectedNode(), first);

    Node({0})->setExpanded(true);
    Node({0, 0})->setExpanded(true);
    Node({0, 1})->setExpanded(false);
    dialog->OnMoveDown();
    EXPECT_EQ(Model().Menus()[1]->Name, "Alpha");
    QTreeWidgetItem* moved = Node({1});
    EXPECT_EQ(moved, first);
    EXPECT_EQ(moved->text(0), "Alpha");
    EXPECT_EQ(dialog->SelectedNode(), moved);
    EXPECT_TRUE(moved->isSelected());
    EXPECT_EQ(dialog->RootNode()->childCount(), 2);
    // The node keeps its sub-tree as the author left it open.
    EXPECT_TRUE(moved->isExpanded());
    ASSERT_EQ(moved->childCount(), 2);
    EXPECT_TRUE(moved->child(0)->isExpanded());
    EXPECT_FALSE(moved->child(1)->isExpanded());
    EXPECT_EQ(moved->child(0)->childCount(), 2);
    EXPECT_EQ(Icon(moved->child(0)), kIconBranch);
    EXPECT_EQ(Node({0})->text(0), "Beta");
    EXPECT_EQ(Icon(Node({0})), kIconTopMenuHidden);

    const std::string afterDown = Dump(Model());
    dialog->OnMoveDown(); // already last
    EXPECT_TRUE(Dump(Model()) == afterDown);
    EXPECT_EQ(dialog->SelectedNode(), moved);

    // Items move inside their holding menu, also a sub-menu.
    dialog->SelectNode(moved->child(0)->child(1)); // a1y
    dialog->OnMoveUp();
    EXPECT_EQ(a1->GetSubMenu()->Items()[0]->Label, "a1y");
    EXPECT_EQ(Node({1, 0, 0})->text(0), "a1y");
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0, 0}));
    EXPECT_EQ(CDlgConfig::ItemOf(Node({1, 0, 1})), a1x);
}

TEST_F(ConfigDialogTest, DeleteAsksAndClearsBindingsBeforeDestroying) {
    BuildSample();
    Open();
    AttachProbes();

    dialog->OnDelete();
    EXPECT_EQ(messages, std::vector<QString>{"Can't delete root!"});
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(Model().Menus().size(), 2u);

    Select({0, 0, 0}); // a1x, the first of two
    answer = false;
    dialog->OnDelete();
    EXPECT_EQ(questions.back(), "Are you sure to delete this item?");
    EXPECT_EQ(a1->GetSubMenu()->Items().size(), 2u);
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0, 0}));

    answer = true;
    CFurlinItem* doomed = a1->GetSubMenu()->Items()[0].get();
    const int leavesBefore = itemProbe->leaves;
    dialog->OnDelete();
    // The page stored once, while its item still existed, and not again once it was gone.
    EXPECT_EQ(itemProbe->itemAtLeave, doomed);
    EXPECT_EQ(itemProbe->leaves, leavesBefore + 1);
    EXPECT_EQ(a1->GetSubMenu()->Items().size(), 1u);
    // The next sibling takes the selection.
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0, 0}));
    EXPECT_EQ(Node({0, 0, 0})->text(0), "a1y");
    EXPECT_EQ(session->CurrentItem, a1->GetSubMenu()->Items()[0].get());
    EXPECT_EQ(session->CurrentMenu, a1->GetSubMenu());
    EXPECT_EQ(Icon(Node({0, 0})), kIconBranch);

    dialog->OnDelete(); // the last one: a1 becomes a leaf, and with no sibling left is selected
    EXPECT_EQ(Icon(Node({0, 0})), kIconLeaf);
    EXPECT_EQ(Node({0, 0})->childCount(), 0);
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0}));
    EXPECT_EQ(session->CurrentItem, a1);

    Select({0, 0});
    AddItem(a1->GetSubMenu(), "late"); // the node keeps its icon until a command updates it
    dialog->SelectNode(Node({1}));
    dialog->SelectNode(Node({0, 0}));
    dialog->OnInsert();
    Select({0, 0});
    dialog->OnDelete();
    EXPECT_EQ(questions.back(), "Are you sure to delete this item and it's sub menu?");
    EXPECT_EQ(Model().Menus()[0]->Items().size(), 1u);
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0})); // a2, which followed
    EXPECT_EQ(session->CurrentItem, a2);

    Select({0, 0}); // the last item: the one before it would come next, else the parent
    dialog->OnDelete();
    EXPECT_EQ(dialog->SelectedNode(), Node({0}));
    EXPECT_EQ(session->CurrentItem, nullptr);

    dialog->OnDelete();
    EXPECT_EQ(questions.back(), "Are you sure to delete this top-level Foldline?");
    EXPECT_EQ(Model().Menus().size(), 1u);
    EXPECT_EQ(Model().Menus()[0]->Name, "Beta");
    EXPECT_EQ(dialog->SelectedNode(), Node({0})); // Beta, the next top-level menu
    EXPECT_EQ(dialog->RootNode()->childCount(), 1);
    dialog->OnDelete();
    EXPECT_EQ(dialog->SelectedNode(), dialog->RootNode());
    EXPECT_EQ(dialog->RootNode()->childCount(), 0);
}

TEST_F(ConfigDialogTest, CutTheOnlyItemTurnsTheParentIntoALeafAndPasteRepeats) {
    CFurlin* alpha = AddMenu(Model(), "Alpha");
    CFurlinItem* parent = AddItem(alpha, "parent");
    parent->Visible = 0;
    CFurlinItem* only = AddItem(parent->GetSubMenu(), "only,one\r\nline");
    only->Link = "page.htm";
    AddItem(only->GetSubMenu(), "grandchild");
    CFurlin* beta = AddMenu(Model(), "Beta");
    AddItem(beta, "existing");
    Open();

    Select({0, 0, 0});
    dialog->OnCut();
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(parent->GetSubMenu()->Items().empty());
    EXPECT_EQ(Icon(Node({0, 0})), kIconLeafHidden);
    EXPECT_EQ(dialog->SelectedNode(), Node({0, 0}));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("QuillaryFoldline1.1"));

    for (int i = 0; i < 3; ++i) {
        Select({1});
        dialog->OnPaste();
    }
    ASSERT_EQ(beta->Items().size(), 4u);
    EXPECT_EQ(beta->Items()[3]->Label, "existing");
    CFurlinItem* copy = beta->Items()[0].get();
    EXPECT_EQ(copy->Label, "only,one\r\nline");
    EXPECT_EQ(copy->Link, "page.htm");
    ASSERT_EQ(copy->GetSubMenu()->Items().size(), 1u);
    EXPECT_EQ(copy->GetSubMenu()->Items()[0]->Label, "grandchild");
    EXPECT_EQ(Icon(Node({1, 0})), kIconBranch);
    EXPECT_EQ(Node({1, 0})->text(0), "only,one\r\nline");
    EXPECT_EQ(dialog->SelectedNode(), Node({1, 0}));
    // Independent copies.
    copy->GetSubMenu()->Items()[0]->Label = "changed";
    EXPECT_EQ(beta->Items()[2]->GetSubMenu()->Items()[0]->Label, "grandchild");

    // Onto a leaf: the leaf becomes a branch keeping its own Visible.
    Select({0, 0});
    dialog->OnPaste();
    ASSERT_EQ(parent->GetSubMenu()->Items().size(), 1u);
    EXPECT_EQ(Icon(Node({0, 0})), kIconBranchHidden);
    EXPECT_EQ(Node({0, 0, 0, 0})->text(0), "grandchild");
}

TEST_F(ConfigDialogTest, EnablingFollowsSelectionAndClipboard) {
    BuildSample();
    Open();
    using C = CDlgConfig;
    EXPECT_FALSE(Enabled(C::Cut));
    EXPECT_FALSE(Enabled(C::Copy));
    EXPECT_FALSE(Enabled(C::Paste));
    EXPECT_FALSE(Enabled(C::MoveUp));
    EXPECT_FALSE(Enabled(C::MoveDown));
    EXPECT_FALSE(Enabled(C::Visible));
    EXPECT_TRUE(Enabled(C::Insert));
    EXPECT_TRUE(Enabled(C::Delete));

    Select({0});
    EXPECT_FALSE(Enabled(C::Cut));
    EXPECT_FALSE(Enabled(C::Paste));
    EXPECT_TRUE(Enabled(C::MoveUp)); // also at the first place
    EXPECT_TRUE(Enabled(C::Visible));

    Select({0, 1});
    EXPECT_TRUE(Enabled(C::Cut));
    EXPECT_TRUE(Enabled(C::Copy));
    EXPECT_FALSE(Enabled(C::Paste));
    dialog->OnCopy();
    EXPECT_TRUE(Enabled(C::Paste));

    // The root never pastes, even with the format on the clipboard.
    dialog->SelectNode(dialog->RootNode());
    EXPECT_FALSE(Enabled(C::Paste));
    const std::string before = Dump(Model());
    dialog->OnPaste();
    EXPECT_TRUE(Dump(Model()) == before);

    // Other clipboard content disables Paste; the idle update notices by itself. Plain text
    // pastes as an outline.
    Select({1});
    EXPECT_TRUE(Enabled(C::Paste));
    auto* image = new QMimeData;
    image->setData("image/png", QByteArray("\x89PNG"));
    QGuiApplication::clipboard()->setMimeData(image);
    QApplication::processEvents();
    EXPECT_FALSE(dialog->CommandAction(C::Paste)->isEnabled());
    EXPECT_FALSE(dialog->ToolButton(C::Paste)->isEnabled());
    QGuiApplication::clipboard()->setText("  \n\t");
    EXPECT_FALSE(Enabled(C::Paste)) << "blank text holds no outline";
    QGuiApplication::clipboard()->setText("plain text");
    QApplication::processEvents();
    EXPECT_TRUE(dialog->CommandAction(C::Paste)->isEnabled());
}

TEST_F(ConfigDialogTest, DamagedClipboardBlockIsRefused) {
    BuildSample();
    Open();
    Select({0, 0});
    dialog->OnCopy();
    const QByteArray good =
        QGuiApplication::clipboard()->mimeData()->data(CDlgConfig::kClipboardFormat);
    ASSERT_FALSE(good.isEmpty());

    for (const QByteArray& bad :
         {good.left(good.size() / 2), QByteArray("\xff\xff\xff\x7f garbage"), QByteArray()}) {
        auto* data = new QMimeData;
        data->setData(CDlgConfig::kClipboardFormat, bad);
        QGuiApplication::clipboard()->setMimeData(data);
        Select({1});
        const std::string before = Dump(Model());
        dialog->OnPaste();
        EXPECT_TRUE(Dump(Model()) == before);
        EXPECT_EQ(Node({1})->childCount(), 1);
        EXPECT_EQ(dialog->SelectedNode(), Node({1}));
    }
}

TEST_F(ConfigDialogTest, SelectionRunsThePagesAndKeepsTheBindings) {
    BuildSample();
    Open();
    AttachProbes();

    Select({0, 0, 1}); // a1y inside a1's sub-menu
    EXPECT_EQ(appletProbe->leaves, 1);
    EXPECT_EQ(itemProbe->enters, 1);
    EXPECT_EQ(session->CurrentItem, a1->GetSubMenu()->Items()[1].get());
    EXPECT_EQ(session->CurrentMenu, a1->GetSubMenu());
    EXPECT_FALSE(dialog->ItemSheet()->isHidden());
    EXPECT_TRUE(dialog->AppletSheet()->isHidden());
    EXPECT_EQ(dialog->CurrentSheet(), dialog->ItemSheet());

    Select({0, 1}); // a2 in Alpha
    EXPECT_EQ(itemProbe->leaves, 1);
    EXPECT_EQ(itemProbe->enters, 2);
    EXPECT_EQ(itemProbe->itemAtEnter, a2);
    EXPECT_EQ(session->CurrentMenu, Model().Menus()[0].get());

    // A top-level menu: no sheet, the text, bindings left on the item; OK stores nothing more.
    Select({1});
    EXPECT_EQ(itemProbe->leaves, 2);
    EXPECT_TRUE(dialog->ItemSheet()->isHidden());
    EXPECT_TRUE(dialog->AppletSheet()->isHidden());
    EXPECT_FALSE(dialog->NoPropertiesLabel()->isHidden());
    EXPECT_EQ(dialog->NoPropertiesLabel()->text(), "No properties for the Top-level Foldline!");
    EXPECT_EQ(session->CurrentItem, a2);
    EXPECT_EQ(session->CurrentMenu, Model().Menus()[0].get());
    dialog->OnOK();
    EXPECT_EQ(itemProbe->leaves, 2);
    EXPECT_EQ(appletProbe->leaves, 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    dialog->SelectNode(dialog->RootNode());
    EXPECT_EQ(session->CurrentItem, nullptr);
    EXPECT_EQ(session->CurrentMenu, nullptr);
    EXPECT_TRUE(dialog->NoPropertiesLabel()->isHidden());
    EXPECT_EQ(appletProbe->enters, 1);
    dialog->OnOK();
    EXPECT_EQ(appletProbe->leaves, 2);
}

TEST_F(ConfigDialogTest, LabelsSetWhileLeavingGoToTheNodeBeingLeft) {
    BuildSample();
    Open();
    AttachProbes();
    Select({0, 0});
    itemProbe->onLeave = [this] { dialog->SetItemNodeLabel("stored a1"); };
    appletProbe->onLeave = [this] { dialog->SetRootNodeLabel("stored root"); };
    Select({0, 1});
    EXPECT_EQ(Node({0, 0})->text(0), "stored a1");
    EXPECT_EQ(Node({0, 1})->text(0), "a2");
    itemProbe->onLeave = nullptr;
    dialog->SelectNode(dialog->RootNode());
    Select({1});
    EXPECT_EQ(dialog->RootNode()->text(0), "stored root");
    dialog->SetRootNodeLabel("ignored");
    dialog->SetItemNodeLabel("ignored");
    EXPECT_EQ(dialog->RootNode()->text(0), "stored root");
    EXPECT_EQ(Node({1})->text(0), "Beta");
}

TEST_F(ConfigDialogTest, ContextMenuPositionsAndRightClickSelectsTheNodeUnderThePointer) {
    BuildSample();
    Open();
    dialog->resize(700, 500);
    dialog->move(20, 20);
    dialog->show();
    QApplication::processEvents();

    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(100, 100),
                               dialog->mapToGlobal(QPoint(100, 100)));
    QApplication::sendEvent(dialog.get(), &keyboard);
    EXPECT_TRUE(dialog->ContextMenu()->isVisible());
    EXPECT_EQ(dialog->ContextMenu()->pos(), dialog->mapToGlobal(QPoint(5, 5)));
    dialog->ContextMenu()->hide();

    const QPoint at = dialog->mapToGlobal(QPoint(150, 120));
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, QPoint(150, 120), at);
    QApplication::sendEvent(dialog.get(), &mouse);
    EXPECT_EQ(dialog->ContextMenu()->pos(), at);
    dialog->ContextMenu()->hide();

    dialog->RootNode()->setExpanded(true);
    QTreeWidget* tree = dialog->Tree();
    const QPoint onNode = tree->visualItemRect(Node({1})).center();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(onNode),
                      QPointF(tree->viewport()->mapToGlobal(onNode)), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &press);
    // The menu then acts on the node clicked, not on the one selected before.
    EXPECT_EQ(dialog->SelectedNode(), Node({1}));
    dialog->SelectNode(dialog->RootNode());
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(onNode),
                     QPointF(tree->viewport()->mapToGlobal(onNode)), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &left);
    EXPECT_EQ(dialog->SelectedNode(), Node({1}));
}

TEST_F(ConfigDialogTest, TreeNeverGrowsDeeperThanReadersAccept) {
    CFurlin* menu = AddMenu(Model(), "Deep");
    CFurlinItem* item = nullptr;
    // Items at menu levels 1 .. kMaxDepth - 2; the deepest has its empty sub-menu one below.
    for (int level = 1; level <= kMaxDepth - 2; ++level) {
        item = AddItem(menu, "d");
        menu = item->GetSubMenu();
    }
    Open();
    QTreeWidgetItem* node = Node({0});
    while (node->childCount() > 0)
        node = node->child(0);
    dialog->SelectNode(node);
    dialog->OnInsert(); // the new item lies at level kMaxDepth - 1: accepted
    ASSERT_EQ(item->GetSubMenu()->Items().size(), 1u);
    QTreeWidgetItem* deepest = dialog->SelectedNode();
    ASSERT_EQ(deepest->parent(), node);
    dialog->OnInsert(); // one more would need level kMaxDepth + 1
    EXPECT_EQ(deepest->childCount(), 0);
    EXPECT_TRUE(item->GetSubMenu()->Items()[0]->GetSubMenu()->Items().empty());

    // A pasted leaf fits under the deepest item's parent, not below the deepest item.
    dialog->OnCopy();
    dialog->OnPaste();
    EXPECT_EQ(deepest->childCount(), 0);
    dialog->SelectNode(node);
    dialog->OnPaste();
    EXPECT_EQ(node->childCount(), 2);
}

TEST_F(ConfigDialogTest, CancelAfterManyEditsRestoresTheModelAndOkKeepsThem) {
    BuildSample();
    const std::string original = Dump(Model());
    ConfigRunnerGuard guard;

    auto edit = [this](CDlgConfig& dlg) {
        dlg.Initialize();
        EXPECT_EQ(&dlg.Session()->Model(), &component->Model());
        auto node = [&dlg](std::initializer_list<int> path) {
            QTreeWidgetItem* n = dlg.RootNode();
            for (int i : path)
                n = n->child(i);
            return n;
        };
        dlg.OnInsert();               // new menu first
        dlg.OnInsert();               // item in it
        dlg.OnInsert();               // sub-item under a leaf
        dlg.SelectNode(node({1, 0})); // a1
        dlg.OnCopy();
        dlg.SelectNode(node({2})); // Beta
        dlg.OnPaste();
        dlg.OnPaste();
        dlg.OnVisible();
        dlg.OnMoveUp();
        dlg.SelectNode(node({1, 1})); // a2
        dlg.OnDelete();
        dlg.SelectNode(node({2, 0}));
        dlg.OnCut();
        dlg.SelectNode(node({0, 0}));
        dlg.OnPaste();
        dlg.SelectNode(node({1, 0, 1}));
        dlg.OnMoveUp();
        dlg.Session()->CurrentItem->Label = "edited through the binding";
        component->Model().Name = "renamed";
        dlg.SelectNode(dlg.RootNode());
    };

    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dlg) {
        edit(dlg);
        EXPECT_FALSE(Dump(Model()) == original);
        dlg.reject();
        return dlg.result() == QDialog::Accepted;
    };
    EXPECT_FALSE(component->Config());
    EXPECT_TRUE(Dump(Model()) == original);

    std::string edited;
    CFoldline::ConfigDialogRunner() = [&](CDlgConfig& dlg) {
        edit(dlg);
        edited = Dump(Model());
        dlg.OnOK();
        return dlg.result() == QDialog::Accepted;
    };
    EXPECT_TRUE(component->Config());
    EXPECT_TRUE(Dump(Model()) == edited);
    EXPECT_FALSE(edited == original);
    EXPECT_EQ(Model().Name, "renamed");
}

} // namespace
