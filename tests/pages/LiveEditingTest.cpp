// The pages inside the configuration dialog as the tree commands, the mouse, a live view and
// screen readers meet them.
#include "PagesFixture.h"

#include "CDlgImage.h"
#include "CIconButton.h"
#include "CSpinEdit.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTest>

namespace {

// The item on the clipboard's private block.
std::unique_ptr<CFurlinItem> ClipboardItem() {
    const QByteArray block =
        QGuiApplication::clipboard()->mimeData()->data(CDlgConfig::kClipboardFormat);
    auto item = std::make_unique<CFurlinItem>();
    EXPECT_TRUE(item->FromBytes(std::string_view(block.constData(), std::size_t(block.size()))));
    return item;
}

void ShowActive(CDlgConfig& dialog) {
    dialog.resize(760, 560);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.Tree()->expandAll();
}

} // namespace

// What was typed on a page since it was shown reaches the model before a tree command acts.
TEST_F(PagesTest, TreeCommandsStoreTheShownPageFirst) {
    CFurlin* a = AppendMenu(4);
    CFurlin* b = AppendMenu(1);
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        // Delete: the holding menu's sizes typed on the deleted item's page survive.
        Select(dialog, a->GetItem(0));
        Field<QLineEdit>(ItemTab(dialog, "Size"), "Item Width:", "Size of the item")
            ->setText("123");
        dialog.OnDelete();
        EXPECT_EQ(a->ItemWidth, 123);
        EXPECT_EQ(a->Items().size(), 3u);

        // Copy and Cut take the description and link just typed.
        CPropertyPage* general = nullptr;
        Select(dialog, a->GetItem(0));
        general = ItemTab(dialog, "General");
        Field<QLineEdit>(general, "Description:")->setText("typed");
        dialog.OnCopy();
        EXPECT_EQ(ClipboardItem()->Description, "typed");
        Field<QLineEdit>(general, "Link to:")->setText("cut.htm");
        dialog.OnCut();
        EXPECT_EQ(ClipboardItem()->Link, "cut.htm");

        // Move and Paste: the label and the item's menu look typed before.
        Select(dialog, a->GetItem(0));
        Field<QPlainTextEdit>(general, "Item Label:")->setPlainText("moved");
        dialog.OnMoveDown();
        EXPECT_EQ(a->Items().size(), 2u);
        EXPECT_EQ(a->GetItem(1) ? a->GetItem(1)->Label : "", "moved");
        Select(dialog, b->GetItem(0));
        Field<CSpinEdit>(ItemTab(dialog, "Normal"), "Text Offset:", "Align")->SetText("-7");
        dialog.OnPaste();
        EXPECT_EQ(b->Normal.TextOffset, -7);
        return PressOk(dialog);
    }));
    EXPECT_EQ(b->GetItem(0)->GetSubMenu()->GetItem(0)->Link, "cut.htm");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(PagesTest, ARightClickActsOnTheNodeUnderThePointer) {
    CFurlin* a = AppendMenu(2);
    CFurlinItem* second = a->GetItem(1);
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        ShowActive(dialog);
        Select(dialog, a->GetItem(0));
        const QPoint at = dialog.Tree()->visualItemRect(NodeOf(dialog, second)).center();
        QTest::mousePress(dialog.Tree()->viewport(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(dialog.Tree()->viewport(), Qt::RightButton, Qt::NoModifier, at);
        EXPECT_EQ(dialog.SelectedNode(), NodeOf(dialog, second));
        dialog.ContextMenu()->hide();
        dialog.CommandAction(CDlgConfig::Cut)->trigger();
        return PressOk(dialog);
    }));
    ASSERT_EQ(a->Items().size(), 1u);
    EXPECT_NE(a->GetItem(0), nullptr);
    EXPECT_EQ(a->GetItem(0)->Label, "item");
    EXPECT_NE(ClipboardItem(), nullptr);
}

// Screen readers name every control: by its caption, its label or its tooltip.
TEST_F(PagesTest, EveryControlOfTheDialogHasAnAccessibleName) {
    AppendMenu(1);
    Configure([&](CDlgConfig& dialog) -> bool {
        std::vector<QWidget*> scopes = {&dialog};
        CDlgImage image(&dialog);
        scopes.push_back(&image);
        int controls = 0;
        for (QWidget* scope : scopes) {
            for (QWidget* w : scope->findChildren<QWidget*>()) {
                // The line edits inside spin fields and lists are parts of those controls.
                if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                    qobject_cast<QComboBox*>(w->parentWidget()))
                    continue;
                if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w) &&
                    !qobject_cast<QPlainTextEdit*>(w) && !qobject_cast<QComboBox*>(w) &&
                    !qobject_cast<QAbstractSpinBox*>(w) && !qobject_cast<QTreeWidget*>(w) &&
                    !qobject_cast<QSlider*>(w))
                    continue;
                ++controls;
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
                EXPECT_FALSE(face && face->text(QAccessible::Name).trimmed().isEmpty())
                    << w->metaObject()->className() << " "
                    << w->parentWidget()->metaObject()->className();
            }
        }
        EXPECT_GT(controls, 60);
        EXPECT_EQ(dialog.Tree()->headerItem()->text(0), QString("Menu tree"));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.ToolButton(CDlgConfig::Copy))
                      ->text(QAccessible::Name),
                  QString("copy"));
        QPushButton* imageBrowse = Browse(&image, CDlgImage::kOver);
        EXPECT_EQ(imageBrowse->accessibleName(), QString("Choose the Mouse Over image file"));
        return false;
    });
}

// One signal follows every edit, and the page's values can be applied to a scratch copy of the
// model without storing them: what a live view needs.
TEST_F(PagesTest, ALiveViewFollowsEditsNotYetStored) {
    CFurlin* a = AppendMenu(2);
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        QSignalSpy edited(&dialog, &CDlgConfig::ModelEdited);
        auto scratch = [&] {
            auto copy = std::make_unique<CAppletParameters>();
            copy->Assign(Model());
            dialog.ApplyPageValuesTo(*copy);
            return copy;
        };
        Field<QLineEdit>(AppletTab(dialog, "Applet Parameters"), "Name:")->setText("Live");
        EXPECT_EQ(edited.count(), 1);
        EXPECT_EQ(scratch()->Name, "Live");
        Field<QLineEdit>(AppletTab(dialog, "More Styles"), "Thick:")->setText("9");
        EXPECT_EQ(scratch()->LineThick, 9);
        EXPECT_EQ(Model().LineThick, 5) << "the model waits until the page is left";
        EXPECT_EQ(Model().Name, "Live") << "leaving the tab stored the name";

        Select(dialog, a->GetItem(1));
        auto* offset = Field<CSpinEdit>(ItemTab(dialog, "Clicked"), "Image Offset:", "Align");
        const int before = edited.count();
        offset->SetText("12");
        EXPECT_EQ(edited.count(), before + 1);
        EXPECT_EQ(scratch()->Menus()[0]->Click.ImageOffset, 12);
        EXPECT_EQ(a->Click.ImageOffset, 0);
        Field<QPlainTextEdit>(ItemTab(dialog, "General"), "Item Label:")->setPlainText("Now\nhere");
        EXPECT_EQ(scratch()->Menus()[0]->GetItem(1)->Label, "Now\r\nhere");
        Field<QLineEdit>(ItemTab(dialog, "Size"), "Item Gaps:", "Size of the item")->setText("");
        EXPECT_EQ(scratch()->Menus()[0]->ItemGap, 5) << "a refused field gives the page's value";
        EXPECT_TRUE(m_messages.empty()) << "silently";

        // Tree commands and stores notify too; a top-level menu has no page to apply.
        Field<QLineEdit>(ItemTab(dialog, "Size"), "Item Gaps:", "Size of the item")->setText("6");
        edited.clear();
        Select(dialog, a);
        EXPECT_EQ(edited.count(), 1);
        EXPECT_EQ(a->ItemGap, 6);
        dialog.OnInsert();
        EXPECT_EQ(edited.count(), 2);
        Select(dialog, a);
        auto copy = std::make_unique<CAppletParameters>();
        copy->Assign(Model());
        copy->Menus()[0]->ItemGap = 77;
        dialog.ApplyPageValuesTo(*copy);
        EXPECT_EQ(copy->Menus()[0]->ItemGap, 77);
        return PressOk(dialog);
    }));
}

// A file chosen with a "..." button is an edit like a typed one: a live view follows it, and
// once the page is left it is a step Undo takes back, even when the web folder stayed the same.
TEST_F(PagesTest, AFileChosenWithABrowseButtonIsAnEditOfItsOwn) {
    Model().BackImageWebPath = "pics/";
    Model().BackImage = "/old/back.gif";
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* page = AppletTab(dialog, "Applet Parameters");
        QSignalSpy edited(&dialog, &CDlgConfig::ModelEdited);
        CWebPathFileDialog::DialogRunner() = [](CWebPathFileDialog& chooser) {
            chooser.SetFilePath("/new/back.jpg");
            return true;
        };
        Browse(page, 2)->click();
        EXPECT_EQ(edited.count(), 1);
        CAppletParameters scratch;
        scratch.Assign(Model());
        dialog.ApplyPageValuesTo(scratch);
        EXPECT_EQ(scratch.BackImage, "/new/back.jpg");
        EXPECT_EQ(Model().BackImage, "/old/back.gif");

        AppletTab(dialog, "More Styles");
        EXPECT_EQ(Model().BackImage, "/new/back.jpg");
        EXPECT_TRUE(dialog.CommandAction(CDlgConfig::Undo)->isEnabled());
        dialog.OnUndo();
        EXPECT_EQ(Model().BackImage, "/old/back.gif");
        dialog.OnRedo();
        EXPECT_EQ(Model().BackImage, "/new/back.jpg");
        return PressOk(dialog);
    }));
    EXPECT_EQ(Model().BackImage, "/new/back.jpg");
}
