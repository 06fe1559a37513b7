// The configuration dialog as the keyboard and screen readers meet it: where the focus goes
// after a click, Enter and Escape between the tree and the pages, the Tab order and the names.
#include "PagesFixture.h"

#include "CIconButton.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <algorithm>

namespace {

void ShowActive(CDlgConfig& dialog) {
    dialog.resize(760, 560);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

QString NameOf(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// The widgets Tab visits from start until it comes back, start first.
std::vector<QWidget*> TabRound(QWidget* start) {
    std::vector<QWidget*> visited{start};
    start->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start)
            break;
        visited.push_back(now);
    }
    return visited;
}

} // namespace

// A click in the tree keeps the keyboard there, as a key move does, so the tree's keys act on
// the node clicked; Enter goes into its page and Escape on the page comes back.
TEST_F(PagesTest, TheTreeKeepsTheKeyboardAfterAClickEnterAndEscapeCrossToThePage) {
    CFurlin* a = AppendMenu(3);
    for (int i = 0; i < 3; ++i)
        a->GetItem(i)->Label = "item " + std::to_string(i);
    const std::string name = Model().Name;
    Configure([&](CDlgConfig& dialog) -> bool {
        ShowActive(dialog);
        QTreeWidget* tree = dialog.Tree();
        auto click = [&](QTreeWidgetItem* node) {
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                              tree->visualItemRect(node).center());
        };
        auto press = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        };
        click(NodeOf(dialog, a->GetItem(1)));
        EXPECT_EQ(dialog.SelectedNode(), NodeOf(dialog, a->GetItem(1)));
        EXPECT_EQ(QApplication::focusWidget(), tree);

        // Alt+Down right after the click moves the clicked item; Ctrl+Z takes the move back.
        press(Qt::Key_Down, Qt::AltModifier);
        EXPECT_EQ(a->GetItem(2)->Label, "item 1");
        EXPECT_EQ(QApplication::focusWidget(), tree);
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Model().Menus()[0]->GetItem(1)->Label, "item 1");

        // The root clicked and "*Start" typed with Enter: nothing renamed, nothing closed, and
        // Enter took the author into the root's page.
        click(dialog.RootNode());
        QTest::keyClicks(tree, "*Start");
        press(Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
        auto* nameField = Field<QLineEdit>(AppletTab(dialog, "Applet Parameters"), "Name:");
        EXPECT_EQ(QApplication::focusWidget(), nameField);
        EXPECT_EQ(nameField->text().toStdString(), name);

        // Escape on the page goes back to the tree and closes nothing; there Escape cancels.
        press(Qt::Key_Escape);
        EXPECT_EQ(QApplication::focusWidget(), tree);
        EXPECT_TRUE(dialog.isVisible());
        click(NodeOf(dialog, Model().Menus()[0]->GetItem(0)));
        press(Qt::Key_Enter);
        EXPECT_EQ(QApplication::focusWidget(),
                  Field<QPlainTextEdit>(ItemTab(dialog, "General"), "Item Label:"));
        press(Qt::Key_Escape);
        EXPECT_EQ(QApplication::focusWidget(), tree);
        press(Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
        return false;
    });
    EXPECT_EQ(Model().Name, name);
}

// Tab runs from the tree through the page to OK and Cancel, then to the live preview's
// controls; no stop is a nameless container. Screen readers read the names back.
TEST_F(PagesTest, TabRunsTreePagesOkCancelThenThePreviewAndEveryStopIsNamed) {
    CFurlin* a = AppendMenu(2);
    Configure([&](CDlgConfig& dialog) -> bool {
        ShowActive(dialog);
        Select(dialog, a->GetItem(0));
        const std::vector<QWidget*> round = TabRound(dialog.Tree());
        auto at = [&](QWidget* w) {
            return std::find(round.begin(), round.end(), w) - round.begin();
        };
        CPropertyPage* general = ItemTab(dialog, "General");
        QWidget* firstField = Field<QPlainTextEdit>(general, "Item Label:");
        QWidget* lastField = Button(general, "Audio...");
        EXPECT_LT(at(firstField), at(lastField));
        EXPECT_EQ(at(dialog.OkButton()), at(lastField) + 1) << "no stop after \"Audio...\"";
        EXPECT_EQ(at(dialog.CancelButton()), at(dialog.OkButton()) + 1);
        EXPECT_EQ(at(dialog.LivePreviewToggle()), at(dialog.CancelButton()) + 1);
        EXPECT_LT(at(dialog.LivePreviewToggle()), std::ptrdiff_t(round.size()));
        for (QWidget* stop : round)
            EXPECT_FALSE(NameOf(stop).trimmed().isEmpty()) << stop->metaObject()->className();

        EXPECT_EQ(NameOf(Field<QComboBox>(general, "Target Frame:")), "Target Frame");
        CPropertyPage* normal = ItemTab(dialog, "Normal");
        EXPECT_EQ(NameOf(Field<QComboBox>(normal, "Text:", "Align")), "Text alignment");
        EXPECT_EQ(NameOf(Field<QComboBox>(normal, "Image:", "Align")), "Image alignment");
        // The value a list shows is still read out, as its value.
        QAccessibleInterface* frame =
            QAccessible::queryAccessibleInterface(Field<QComboBox>(general, "Target Frame:"));
        EXPECT_EQ(frame->text(QAccessible::Value), "_self");
        EXPECT_EQ(frame->role(), QAccessible::ComboBox);
        return false;
    });
}
