#include "PagesFixture.h"

#include "CColorButton.h"
#include "CDlgAnimateSpeed.h"
#include "CDlgAppletBackground.h"
#include "CDlgAppletParam.h"
#include "CSpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QSlider>
#include <QTest>

TEST_F(PagesTest, AppletSheetTabsAndWidthRange) {
    Model().Width = 200;
    Model().Height = 400;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertySheet* sheet = dialog.AppletSheet();
        EXPECT_EQ(sheet->PageCount(), 2);
        EXPECT_EQ(sheet->Page(0)->Title(), QString("Applet Parameters"));
        EXPECT_EQ(sheet->Page(1)->Title(), QString("More Styles"));
        CPropertyPage* page = sheet->ActivePage();
        EXPECT_EQ(page, sheet->Page(0));

        auto* width = Field<CSpinEdit>(page, "Width:", "Applet");
        auto* height = Field<CSpinEdit>(page, "Height:", "Applet");
        EXPECT_EQ(width->Text(), QString("200"));
        width->SetText("5001");
        height->SetText("");
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(height, &out);
        EXPECT_EQ(height->Text(), QString()) << "a field left empty keeps its text";
        EXPECT_FALSE(sheet->SetActivePage(1));
        EXPECT_EQ(sheet->ActivePage(), page);
        EXPECT_EQ(m_messages, std::vector<QString>{"Please enter an integer between 0 and 5000."});
        EXPECT_EQ(Model().Width, 200);
        EXPECT_EQ(Model().Height, 400);

        m_messages.clear();
        width->SetText("5000");
        EXPECT_FALSE(sheet->SetActivePage(1));
        EXPECT_EQ(m_messages, std::vector<QString>{"Please enter an integer."});
        EXPECT_EQ(Model().Width, 5000);
        height->SetText("0");
        EXPECT_TRUE(sheet->SetActivePage(1));
        EXPECT_EQ(Model().Height, 0);

        // The spin stops at the range end.
        sheet->SetActivePage(0);
        QTest::keyClick(width, Qt::Key_Up);
        EXPECT_EQ(width->Text(), QString("5000"));
        QTest::keyClick(width, Qt::Key_Down);
        EXPECT_EQ(width->Text(), QString("4999"));
        return PressOk(dialog);
    }));
    EXPECT_EQ(Model().Width, 4999);
}

TEST_F(PagesTest, TileGreysThePositionButKeepsItsValues) {
    Model().ImageTile = 0;
    Model().ImageX = 12;
    Model().ImageY = 34;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* page = AppletTab(dialog, "Applet Parameters");
        auto* x = Field<QLineEdit>(page, "X Pos:", "Display Image");
        auto* y = Field<QLineEdit>(page, "Y Pos:", "Display Image");
        EXPECT_TRUE(x->isEnabled());
        x->setText("56");
        Button(page, "Tile", "Display Image")->click();
        EXPECT_FALSE(x->isEnabled());
        EXPECT_FALSE(y->isEnabled());
        EXPECT_EQ(x->text(), QString("56"));
        AppletTab(dialog, "More Styles");
        EXPECT_EQ(Model().ImageTile, 1);
        EXPECT_EQ(Model().ImageX, 56);
        EXPECT_EQ(Model().ImageY, 34);

        AppletTab(dialog, "Applet Parameters");
        EXPECT_FALSE(x->isEnabled()) << "entering the page follows the stored choice";
        Button(page, "Specify Position", "Display Image")->click();
        EXPECT_TRUE(y->isEnabled());
        return PressOk(dialog);
    }));
    EXPECT_EQ(Model().ImageTile, 0);
}

TEST_F(PagesTest, RenamingTheAppletUpdatesTheRootWithoutLeavingThePage) {
    EXPECT_FALSE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* page = AppletTab(dialog, "Applet Parameters");
        auto* name = Field<QLineEdit>(page, "Name:");
        EXPECT_EQ(name->text(), QString("My Foldline"));
        name->setText("SiteNav");
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(name, &out);
        EXPECT_EQ(Model().Name, "SiteNav");
        EXPECT_EQ(dialog.RootNode()->text(0), QString("SiteNav"));
        EXPECT_EQ(dialog.AppletSheet()->ActivePage(), page);

        // A window losing activation is not the user leaving the field.
        name->setText("Other");
        QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(name, &deactivated);
        EXPECT_EQ(Model().Name, "SiteNav");
        return false;
    }));
    EXPECT_EQ(Model().Name, "My Foldline") << "Cancel restores the name";
}

TEST_F(PagesTest, BrowseButtonsSetTheWebFolders) {
    Model().WebPath = "code/";
    Model().BackImageWebPath = "old\\pics";
    Model().BackImage = "/old/back.gif";
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        auto* page = static_cast<CDlgAppletParam*>(AppletTab(dialog, "Applet Parameters"));
        auto* classFile = Field<QLineEdit>(page, "Web Path:", "Applet");
        EXPECT_TRUE(classFile->isReadOnly());
        EXPECT_EQ(classFile->text(), QString::fromStdString(Model().LocalPath) + "furlin.class");

        // The class "..." changes only the code base folder.
        CWebPathFileDialog::DialogRunner() = [&](CWebPathFileDialog& chooser) {
            EXPECT_EQ(chooser.Filter(), QString("Java Class(*.Class) | *.Class"));
            EXPECT_EQ(chooser.FileNamePreset(), classFile->text());
            EXPECT_EQ(chooser.WebPathPreset(), QString("code/"));
            chooser.SetFilePath("/elsewhere/other.class");
            chooser.SetWebPath("applets\\menu");
            return true;
        };
        const QString before = classFile->text();
        Browse(page, 0)->click();
        EXPECT_EQ(Model().WebPath, "applets/menu/");
        EXPECT_EQ(classFile->text(), before);
        EXPECT_EQ(page->ClassFile(), before);

        // The image "..." sets the web folder at once and the image at leaving.
        CWebPathFileDialog::DialogRunner() = [&](CWebPathFileDialog& chooser) {
            EXPECT_EQ(chooser.Filter(), CWebPathFileDialog::kImageFilter);
            EXPECT_EQ(chooser.FileNamePreset(), QString("/old/back.gif"));
            EXPECT_EQ(chooser.WebPathPreset(), QString("old\\pics"));
            chooser.SetFilePath("/new/back.jpg");
            return true;
        };
        Browse(page, 2)->click();
        EXPECT_EQ(Model().BackImageWebPath, "old/pics/");
        EXPECT_EQ(Model().BackImage, "/old/back.gif");
        EXPECT_EQ(Field<QLineEdit>(page, "Image:", "Background")->text(), QString("/new/back.jpg"));

        // An emptied web path stays empty; Cancel changes nothing.
        CWebPathFileDialog::DialogRunner() = [&](CWebPathFileDialog& chooser) {
            EXPECT_EQ(chooser.Filter(), CWebPathFileDialog::kAudioFilter);
            chooser.SetFilePath("/snd/bell.au");
            chooser.SetWebPath("");
            return true;
        };
        Browse(page, 1)->click();
        EXPECT_EQ(Model().AudioWebPath, "");
        CWebPathFileDialog::DialogRunner() = [](CWebPathFileDialog&) { return false; };
        Browse(page, 2)->click();
        EXPECT_EQ(Model().BackImageWebPath, "old/pics/");
        AppletTab(dialog, "More Styles");
        return PressOk(dialog);
    }));
    EXPECT_EQ(Model().BackImage, "/new/back.jpg");
    EXPECT_EQ(Model().Audio, "/snd/bell.au");
}

TEST_F(PagesTest, MoreStylesStoresChecksAndLineSettings) {
    Model().HasLines = 1;
    Model().LineColor = 0x0000ff;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* page = AppletTab(dialog, "More Styles");
        auto* lines = Button<QCheckBox>(page, "Has Lines", "Global Properties");
        EXPECT_TRUE(lines->isChecked());
        lines->setChecked(false);
        Button<QCheckBox>(page, "Display All Branchs", "Global Properties")->setChecked(true);
        Field<QLineEdit>(page, "Thick:", "Tree Line")->setText("3");
        Field<QLineEdit>(page, "Message:", "Loading Message")->setText("Wait, please");
        Field<QLineEdit>(page, "Menu Display From(Y Value):")->setText("abc");
        ui::prompts().pickColor = [](QWidget*, QColor* color) {
            EXPECT_EQ(*color, QColor(255, 0, 0));
            *color = QColor(0x10, 0x20, 0x30);
            return true;
        };
        Field<CColorButton>(page, "Color:", "Tree Line")->click();
        EXPECT_FALSE(dialog.AppletSheet()->SetActivePage(0));
        return PressOk(dialog);
    }));
    EXPECT_EQ(Model().HasLines, 0);
    EXPECT_EQ(Model().DisplayAllBranches, 1);
    EXPECT_EQ(Model().LineThick, 3);
    EXPECT_EQ(Model().LoadingMessage, "Wait, please");
    EXPECT_EQ(Model().LineColor, 0x302010u);
    EXPECT_EQ(Model().MenuTop, 0);
}

// The settings only today's browsers read: shown as the widget holds them, stored on OK, a width
// out of range refused with the standard message.
TEST_F(PagesTest, TodaysBrowsersGroupStoresFixedBoxCompactBelowAndDirection) {
    Model().CompactBelow = 500;
    Model().Direction = 1;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* page = AppletTab(dialog, "More Styles");
        auto* fixed = Button<QCheckBox>(page, "Fixed Box", "Today's Browsers");
        auto* compact = Field<CSpinEdit>(page, "Compact Below:", "Today's Browsers");
        auto* direction = Field<QComboBox>(page, "Direction:", "Today's Browsers");
        EXPECT_FALSE(fixed->isChecked());
        EXPECT_EQ(compact->Text(), QString("500"));
        EXPECT_EQ(direction->count(), 3);
        EXPECT_EQ(direction->itemText(0), QString("Automatic"));
        EXPECT_EQ(direction->itemText(1), QString("Left to Right"));
        EXPECT_EQ(direction->itemText(2), QString("Right to Left"));
        EXPECT_EQ(direction->currentIndex(), 1);

        compact->SetText("10001");
        EXPECT_FALSE(dialog.AppletSheet()->SetActivePage(0));
        EXPECT_EQ(m_messages, std::vector<QString>{"Please enter an integer between 0 and 10000."});
        compact->SetText("0");
        fixed->setChecked(true);
        direction->setCurrentIndex(2);
        return PressOk(dialog);
    }));
    EXPECT_EQ(Model().FixedBox, 1);
    EXPECT_EQ(Model().CompactBelow, 0);
    EXPECT_EQ(Model().Direction, 2);
}

TEST_F(PagesTest, AnimateSpeedEndsAndCancel) {
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* page = AppletTab(dialog, "More Styles");
        AnswerDialog<CDlgAnimateSpeed>([](CDlgAnimateSpeed& d) {
            EXPECT_EQ(d.windowTitle(), QString("Furlin Animate Speed"));
            EXPECT_EQ(d.OpenSlider()->value(), 5);
            EXPECT_EQ(d.OpenSlider()->tickInterval(), 5);
            EXPECT_EQ(Group(&d, "Menu Open Speed")->findChildren<QLabel*>().front()->text(),
                      QString("Fastest"));
            d.OpenSlider()->triggerAction(QAbstractSlider::SliderToMinimum);
            d.CloseSlider()->triggerAction(QAbstractSlider::SliderToMaximum);
            d.CloseSlider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        });
        Button(page, "Animate Speed ...")->click();
        EXPECT_EQ(Model().OpenSpeed, 0);
        EXPECT_EQ(Model().CloseSpeed, 50);

        AnswerDialog<CDlgAnimateSpeed>([](CDlgAnimateSpeed& d) { d.OpenSlider()->setValue(30); },
                                       false);
        Button(page, "Animate Speed ...")->click();
        EXPECT_EQ(Model().OpenSpeed, 0);
        return PressOk(dialog);
    }));
}

TEST_F(PagesTest, AppletBackgroundListAndChoices) {
    Model().BackKind = 4;
    Model().GradientDir = 1;
    Model().BackBorder = 0;
    ASSERT_TRUE(Configure([&](CDlgConfig& dialog) -> bool {
        CPropertyPage* page = AppletTab(dialog, "More Styles");
        AnswerDialog<CDlgAppletBackground>([](CDlgAppletBackground& d) {
            EXPECT_EQ(d.windowTitle(), QString("Appelt Background Style"));
            auto* kind = Field<QComboBox>(&d, "Applet's Background Style:");
            EXPECT_EQ(kind->count(), 5);
            EXPECT_EQ(kind->itemText(0), QString("Fullfilled with Color"));
            EXPECT_EQ(kind->currentText(), QString("Vertical Gradient from Color to White"));
            kind->setCurrentIndex(0);
            Button(&d, "Single Direction", "Gradient Direction")->click();
            Button(&d, "Sunken", "Border")->click();
        });
        Button(page, "Background Style ...")->click();
        return PressOk(dialog);
    }));
    EXPECT_EQ(Model().BackKind, 0);
    EXPECT_EQ(Model().GradientDir, 0);
    EXPECT_EQ(Model().BackBorder, 2);
}
