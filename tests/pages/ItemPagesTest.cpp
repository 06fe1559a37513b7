#include "PagesFixture.h"

#include "CDlgAudio.h"
#include "CDlgFont.h"
#include "CDlgImage.h"
#include "CSpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTabBar>
#include <QTest>

TEST_F(PagesTest, ItemSheetHasItsTabsInOrderAndKeepsTheChosenTab) {
    CFurlin* a = AppendMenu(2);
    Configure([&](CDlgConfig& dialog) -> bool {
        CPropertySheet* sheet = dialog.ItemSheet();
        QStringList titles;
        for (int i = 0; i < sheet->PageCount(); ++i)
            titles << sheet->Page(i)->Title();
        EXPECT_EQ(titles, QStringList({"General", "Size", "Normal", "Mouse Over", "Clicked"}));
        EXPECT_EQ(sheet->currentIndex(), 0);

        Select(dialog, a->GetItem(0));
        ItemTab(dialog, "Clicked");
        Select(dialog, a);
        Select(dialog, a->GetItem(1));
        EXPECT_EQ(sheet->ActivePage()->Title(), QString("Clicked"));
        return PressOk(dialog);
    });
}

// The look of a state belongs to the menu: every item of the menu shows and changes it, an item
// of another menu shows its own.
TEST_F(PagesTest, StatePageEditsTheHoldingMenuForAllItsItems) {
    CFurlin* a = AppendMenu(2);
    CFurlin* b = AppendMenu(1);
    b->Over.TextOffset = 7;
    b->Over.BackKind = 9;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        CPropertyPage* over = ItemTab(dialog, "Mouse Over");
        Field<CSpinEdit>(over, "Text Offset:", "Align")->SetText("-12");
        Field<QComboBox>(over, "Item's Background:")->setCurrentIndex(0);
        Button(over, "Sunken", "Border")->click();

        Select(dialog, a->GetItem(1));
        EXPECT_EQ(Field<CSpinEdit>(over, "Text Offset:", "Align")->Text(), QString("-12"));
        EXPECT_EQ(Field<QComboBox>(over, "Item's Background:")->currentText(),
                  QString("Transparent "));
        EXPECT_EQ(a->Over.TextOffset, -12);
        EXPECT_EQ(a->Over.BackKind, 0);
        EXPECT_EQ(a->Over.Border, 2);
        EXPECT_EQ(a->Normal.TextOffset, 0) << "only the page's own state changes";

        Select(dialog, b->GetItem(0));
        EXPECT_EQ(Field<CSpinEdit>(over, "Text Offset:", "Align")->Text(), QString("7"));
        EXPECT_EQ(Field<QComboBox>(over, "Item's Background:")->currentText(),
                  QString("Vertical Gradient from Color to White"));
        return PressOk(dialog);
    }));
    EXPECT_EQ(a->Over.TextOffset, -12);
    EXPECT_EQ(b->Over.TextOffset, 7);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(PagesTest, LabelWithLineBreaksReachesModelAndTreeWhenTheFieldLosesFocus) {
    CFurlin* a = AppendMenu(1);
    CFurlinItem* item = a->GetItem(0);
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, item);
        CPropertyPage* general = ItemTab(dialog, "General");
        auto* label = Field<QPlainTextEdit>(general, "Item Label:");
        label->setPlainText("Our\nProducts");
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(label, &out);
        EXPECT_EQ(item->Label, "Our\r\nProducts");
        EXPECT_EQ(NodeOf(dialog, item)->text(0), QString("Our\r\nProducts"));

        // The same through a real focus change to the next field.
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        label->setFocus();
        label->setPlainText("Focus\nmoved");
        Field<QLineEdit>(general, "Description:")->setFocus();
        EXPECT_EQ(item->Label, "Focus\r\nmoved");
        label->setPlainText("Our\nProducts");
        QApplication::sendEvent(label, &out);

        // Shown again with its line breaks, and stored unchanged by a later leave.
        Select(dialog, a);
        Select(dialog, item);
        EXPECT_EQ(label->toPlainText(), QString("Our\nProducts"));
        return PressOk(dialog);
    }));
    EXPECT_EQ(item->Label, "Our\r\nProducts");
}

TEST_F(PagesTest, TargetFrameShowsFirstMatchingEntryOrTheTypedText) {
    CFurlin* a = AppendMenu(3);
    a->GetItem(1)->TargetFrame = "_T";
    a->GetItem(2)->TargetFrame = "_new";
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        auto* target = Field<QComboBox>(ItemTab(dialog, "General"), "Target Frame:");
        EXPECT_EQ(target->currentText(), QString("_self"));
        Select(dialog, a->GetItem(1));
        EXPECT_EQ(target->currentText(), QString("_top"));
        Select(dialog, a->GetItem(2));
        EXPECT_EQ(target->currentText(), QString("_new"));
        target->setEditText("_content");
        Select(dialog, a->GetItem(0));
        return PressOk(dialog);
    }));
    EXPECT_EQ(a->GetItem(0)->TargetFrame, "_self");
    EXPECT_EQ(a->GetItem(1)->TargetFrame, "_top");
    EXPECT_EQ(a->GetItem(2)->TargetFrame, "_content");
}

// Images reach every item at every depth; audio only the items directly in top-level menus.
TEST_F(PagesTest, ApplyToAllItemsFromThreeLevelsDeep) {
    CFurlin* top = AppendMenu(2);
    CFurlin* second = AppendMenu(1);
    CFurlinItem* level1 = top->GetItem(0);
    CFurlinItem* level2 = AppendItem(SubMenu(*level1));
    CFurlinItem* level3 = AppendItem(SubMenu(*level2));
    CFurlinItem* sibling3 = AppendItem(SubMenu(*level2));
    const std::vector<CFurlinItem*> all = {level1, top->GetItem(1), second->GetItem(0),
                                           level2, level3,          sibling3};
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, level3);
        CPropertyPage* general = ItemTab(dialog, "General");

        AnswerDialog<CDlgImage>([](CDlgImage& d) {
            EXPECT_EQ(d.windowTitle(), QString("Image"));
            d.PathField(CDlgImage::kOver)->setText("/site/over.gif");
            Button(&d, "All the Items", "Apply to")->click();
        });
        Button(general, "Image...")->click();

        AnswerDialog<CDlgAudio>([](CDlgAudio& d) {
            d.PathField(CDlgAudio::kClick)->setText("/site/click.au");
            Button(&d, "All the Items", "Apply to")->click();
        });
        Button(general, "Audio...")->click();
        return PressOk(dialog);
    }));
    for (CFurlinItem* item : all)
        EXPECT_EQ(item->OverImage, "/site/over.gif");
    EXPECT_EQ(level1->ClickAudio, "/site/click.au");
    EXPECT_EQ(top->GetItem(1)->ClickAudio, "/site/click.au");
    EXPECT_EQ(second->GetItem(0)->ClickAudio, "/site/click.au");
    EXPECT_EQ(level2->ClickAudio, "");
    EXPECT_EQ(level3->ClickAudio, "") << "the item the dialog was opened from is deeper";
}

TEST_F(PagesTest, ImageScopesThisItemAndSameMenuAndTheBrowseButtons) {
    CFurlin* top = AppendMenu(2);
    CFurlinItem* first = top->GetItem(0);
    CFurlinItem* deep = AppendItem(SubMenu(*first));
    CFurlinItem* deepSibling = AppendItem(SubMenu(*first));
    deep->NormalImage = "/old/n.gif";
    deep->ClickImage = "/old/c.gif";
    deep->ClickImageWebPath = "pics/";
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, deep);
        CPropertyPage* general = ItemTab(dialog, "General");

        // "..." offers the field's path and web folder; the choice comes back normalised. A
        // hand-typed path keeps its web folder.
        AnswerDialog<CDlgImage>([](CDlgImage& d) {
            EXPECT_EQ(d.PathField(CDlgImage::kNormal)->text(), QString("/old/n.gif"));
            EXPECT_TRUE(Button(&d, "Only This Item", "Apply to")->isChecked());
            CWebPathFileDialog::DialogRunner() = [](CWebPathFileDialog& chooser) {
                EXPECT_EQ(chooser.Filter(), CWebPathFileDialog::kImageFilter);
                EXPECT_EQ(chooser.FileNamePreset(), QString("/old/c.gif"));
                EXPECT_EQ(chooser.WebPathPreset(), QString("pics/"));
                chooser.SetFilePath("/new/click.gif");
                chooser.SetWebPath("images\\menu");
                return true;
            };
            Browse(&d, CDlgImage::kClick)->click();
            CWebPathFileDialog::DialogRunner() = nullptr;
            EXPECT_EQ(d.PathField(CDlgImage::kClick)->text(), QString("/new/click.gif"));
            d.PathField(CDlgImage::kOver)->setText("/typed/over.gif");
        });
        Button(general, "Image...")->click();
        EXPECT_EQ(deep->ClickImage, "/new/click.gif");
        EXPECT_EQ(deep->ClickImageWebPath, "images/menu/");
        EXPECT_EQ(deep->OverImage, "/typed/over.gif");
        EXPECT_EQ(deep->OverImageWebPath, "");
        EXPECT_EQ(deepSibling->ClickImage, "");

        AnswerDialog<CDlgImage>([](CDlgImage& d) {
            d.PathField(CDlgImage::kNormal)->setText("/menu/n.gif");
            Button(&d, "All the Items in the Same Menu", "Apply to")->click();
        });
        Button(general, "Image...")->click();

        // Cancel changes nothing.
        AnswerDialog<CDlgImage>(
            [](CDlgImage& d) { d.PathField(CDlgImage::kNormal)->setText("/cancelled.gif"); },
            false);
        Button(general, "Image...")->click();
        return PressOk(dialog);
    }));
    EXPECT_EQ(deep->NormalImage, "/menu/n.gif");
    EXPECT_EQ(deepSibling->NormalImage, "/menu/n.gif");
    EXPECT_EQ(deepSibling->ClickImageWebPath, "images/menu/");
    EXPECT_EQ(first->NormalImage, "") << "the holding menu only, not its parent";
}

TEST_F(PagesTest, FontDialogChangesSurviveARefusedOffset) {
    CFurlin* a = AppendMenu(2);
    a->Normal.TextOffset = 4;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        CPropertyPage* normal = ItemTab(dialog, "Normal");
        Field<CSpinEdit>(normal, "Text Offset:", "Align")->SetText("x");
        AnswerDialog<CDlgFont>([](CDlgFont& d) {
            EXPECT_EQ(d.windowTitle(), QString("Font"));
            EXPECT_EQ(Field<QComboBox>(&d, "Font Name:")->currentText(), QString("TimesRoman"));
            EXPECT_EQ(Field<CSpinEdit>(&d, "Font Size:")->Text(), QString("14"));
            Field<QComboBox>(&d, "Font Name:")->setCurrentIndex(2);
            Field<CSpinEdit>(&d, "Font Size:")->SetText("30");
            Field<QComboBox>(&d, "Special Effects:")->setCurrentIndex(4);
            Button(&d, "Italic", "Font Style")->click();
        });
        Button(normal, "Font...")->click();
        EXPECT_EQ(a->Normal.FontSize, 30);

        m_messages.clear();
        EXPECT_FALSE(dialog.ItemSheet()->SetActivePage(0)) << "the page stays until corrected";
        EXPECT_EQ(dialog.ItemSheet()->ActivePage(), normal);
        EXPECT_EQ(m_messages, std::vector<QString>{"Please enter an integer."});
        // A tree selection change proceeds anyway.
        Select(dialog, a->GetItem(1));
        return PressOk(dialog);
    }));
    EXPECT_EQ(a->Normal.TextOffset, 4);
    EXPECT_EQ(a->Normal.FontName, 2);
    EXPECT_EQ(a->Normal.FontSize, 30);
    EXPECT_EQ(a->Normal.Effect, 4);
    EXPECT_EQ(a->Normal.FontStyle, 2);
}

TEST_F(PagesTest, FontDialogKeepsOpenOnABadSizeAndCancelWritesNothing) {
    CFurlin* a = AppendMenu(1);
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        CPropertyPage* click = ItemTab(dialog, "Clicked");
        PageDialogRunnerFunction() = [this](QDialog& d) {
            Field<CSpinEdit>(&d, "Font Size:")->SetText("");
            d.accept();
            EXPECT_EQ(d.result(), QDialog::Rejected) << "refused size keeps the dialog open";
            EXPECT_EQ(m_messages, std::vector<QString>{"Please enter an integer."});
            Field<CSpinEdit>(&d, "Font Size:")->SetText("99");
            d.reject();
            return false;
        };
        Button(click, "Font...")->click();
        return PressOk(dialog);
    }));
    EXPECT_EQ(a->Click.FontSize, 14);
}

// The hidden background fields exist and carry the menu's values through every visit.
TEST_F(PagesTest, SizePageChangesTheMenuAndPassesItsBackgroundThrough) {
    CFurlin* a = AppendMenu(2);
    a->BackStyle = 3;
    a->BackColor = 0x123456;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        CPropertyPage* size = ItemTab(dialog, "Size");
        EXPECT_TRUE(Field<QComboBox>(size, "Background Style:")->isHidden());
        EXPECT_TRUE(Field<QPushButton>(size, "Background Color:")->isHidden());
        EXPECT_EQ(Field<QComboBox>(size, "Background Style:")->itemText(0),
                  QString("Transparent and without Border"));
        Field<QLineEdit>(size, "Item Width:", "Size of the item")->setText("123");
        Field<QLineEdit>(size, "Indent of Menu:")->setText("-8");
        for (int visit = 0; visit < 3; ++visit) {
            Select(dialog, a->GetItem(1 - visit % 2));
            ItemTab(dialog, "General");
            ItemTab(dialog, "Size");
        }
        EXPECT_EQ(Field<QLineEdit>(size, "Item Width:", "Size of the item")->text(),
                  QString("123"));
        // A refused field keeps the model's value; the others are stored.
        Field<QLineEdit>(size, "Item Gaps:")->setText("");
        Field<QLineEdit>(size, "Item Height:")->setText("33");
        Select(dialog, a);
        return PressOk(dialog);
    }));
    EXPECT_EQ(a->ItemWidth, 123);
    EXPECT_EQ(a->Indent, -8);
    EXPECT_EQ(a->ItemHeight, 33);
    EXPECT_EQ(a->ItemGap, 5);
    EXPECT_EQ(a->BackStyle, 3);
    EXPECT_EQ(a->BackColor, 0x123456u);
    EXPECT_EQ(m_messages, std::vector<QString>{"Please enter an integer."});
}

// A value the list cannot show is carried through, not replaced by "no choice".
TEST_F(PagesTest, UnshowableStoredChoicesPassThroughUnchanged) {
    CFurlin* a = AppendMenu(1);
    a->Normal.BackKind = 12;
    a->Normal.Border = 7;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        CPropertyPage* normal = ItemTab(dialog, "Normal");
        EXPECT_EQ(Field<QComboBox>(normal, "Item's Background:")->currentIndex(), -1);
        ItemTab(dialog, "General");
        return PressOk(dialog);
    }));
    EXPECT_EQ(a->Normal.BackKind, 12);
    EXPECT_EQ(a->Normal.Border, 7);
}

TEST_F(PagesTest, SpinFieldsStepByOneWithoutWrappingAndAnswerArrowKeys) {
    CFurlin* a = AppendMenu(1);
    a->Over.ImageOffset = 4999;
    a->Over.TextOffset = -5000;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        CPropertyPage* over = ItemTab(dialog, "Mouse Over");
        auto* image = Field<CSpinEdit>(over, "Image Offset:", "Align");
        auto* text = Field<CSpinEdit>(over, "Text Offset:", "Align");
        QTest::keyClick(image, Qt::Key_Up);
        EXPECT_EQ(image->Text(), QString("5000"));
        QTest::keyClick(image, Qt::Key_Up);
        EXPECT_EQ(image->Text(), QString("5000"));
        QTest::keyClick(text, Qt::Key_Down);
        EXPECT_EQ(text->Text(), QString("-5000"));
        QTest::keyClick(text, Qt::Key_Up);
        EXPECT_EQ(text->Text(), QString("-4999"));

        // Typing: a leading minus on offsets, digits only on sizes.
        QString typed = "-12";
        int pos = 0;
        EXPECT_EQ(text->validate(typed, pos), QValidator::Acceptable);
        typed = "1-2";
        EXPECT_EQ(text->validate(typed, pos), QValidator::Invalid);
        return PressOk(dialog);
    }));
    EXPECT_EQ(a->Over.ImageOffset, 5000);
    EXPECT_EQ(a->Over.TextOffset, -4999);
}

TEST_F(PagesTest, HelpKeyOpensThePageTopicAndOnTheTabsTheSheetTopic) {
    CFurlin* a = AppendMenu(1);
    Configure([&](CDlgConfig& dialog) -> bool {
        Select(dialog, a->GetItem(0));
        const std::vector<std::pair<QString, int>> topics = {{"General", 136093},
                                                             {"Size", 131213},
                                                             {"Normal", 131216},
                                                             {"Mouse Over", 131219},
                                                             {"Clicked", 131220}};
        for (const auto& [title, topic] : topics) {
            CPropertyPage* page = ItemTab(dialog, title);
            m_helpTopics.clear();
            // From a control on the page, as the user presses it there.
            QWidget* control = page->findChildren<QLabel*>().front()->buddy();
            if (!control) {
                ADD_FAILURE() << "no control on " << title.toStdString();
                continue;
            }
            QTest::keyClick(control, Qt::Key_F1);
            EXPECT_EQ(m_helpTopics, std::vector<int>{topic}) << title.toStdString();
        }
        m_helpTopics.clear();
        QTest::keyClick(dialog.ItemSheet()->tabBar(), Qt::Key_F1);
        EXPECT_EQ(m_helpTopics, std::vector<int>{69541});

        Select(dialog, Model().Menus().front().get());
        dialog.SelectNode(dialog.RootNode());
        m_helpTopics.clear();
        QTest::keyClick(dialog.AppletSheet()->tabBar(), Qt::Key_F1);
        EXPECT_TRUE(m_helpTopics.empty());
        QTest::keyClick(AppletTab(dialog, "More Styles"), Qt::Key_F1);
        EXPECT_EQ(m_helpTopics, std::vector<int>{136089});
        return false;
    });
    EXPECT_TRUE(HelpTopicUrl(131175).toString().endsWith("/help/index.html#topic-131175"));
}

TEST_F(PagesTest, UnboundItemPagesShowNothingAndStoreNothing) {
    CEditSession session(Model());
    CMenuPropertySheet sheet(&session);
    CFurlin* a = AppendMenu(1);
    a->GetItem(0)->Label = "keep";
    session.CurrentItem = nullptr;
    session.CurrentMenu = a;
    sheet.EnterActivePage();
    auto* label = Field<QPlainTextEdit>(sheet.Page(0), "Item Label:");
    EXPECT_EQ(label->toPlainText(), QString());
    label->setPlainText("lost");
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(label, &out);
    a->Over.TextOffset = 9;
    a->ItemWidth = 99;
    EXPECT_TRUE(sheet.SetActivePage(3));
    auto* offset = Field<CSpinEdit>(sheet.Page(3), "Text Offset:", "Align");
    EXPECT_EQ(offset->Text(), QString("0")) << "state pages load only with both bindings";
    offset->SetText("55");
    EXPECT_TRUE(sheet.SetActivePage(1));
    EXPECT_EQ(Field<QLineEdit>(sheet.Page(1), "Item Width:", "Size of the item")->text(),
              QString("0"));
    EXPECT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(a->GetItem(0)->Label, "keep");
    EXPECT_EQ(a->Over.TextOffset, 9) << "nor store";
    EXPECT_EQ(a->ItemWidth, 99);
    // The buttons that need an item do nothing without one.
    Button(sheet.Page(0), "Image...")->click();
}
