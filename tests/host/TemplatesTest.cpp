#include "CQuillaryToolDoc.h"
#include "CTemplateDialogs.h"
#include "HostTestSupport.h"
#include "NameRule.h"
#include "Prompts.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

// Every test gets a component folder of its own, so templates land there.
class TemplatesTest : public OwnComponentFolderTest {
protected:
    void SetUp() override {
        OwnComponentFolderTest::SetUp();
        if (!ComponentRegistered())
            return;
        folder = componentFolder;
        ASSERT_TRUE(widget.Create("TesselServer.Foldline"));
        ASSERT_EQ(widget.componentFolder, folder.toStdString());
    }

    // Writes the widget as a template file, as Save as Template does.
    std::string SaveTemplate(const std::string& name, const std::string& description) {
        const std::string path = host::TemplatePath(folder.toStdString(), name, widget.progId);
        widget.SetTitle(name);
        widget.SetDescription(description);
        EXPECT_TRUE(widget.WriteConfigFile(path));
        return path;
    }

    QString folder;
    CTessel widget;
};

TEST_F(TemplatesTest, NewDialogOpensWithNormalAndAnEmptyList) {
    REQUIRE_COMPONENT();
    CDlgNew dialog(widget);
    ASSERT_TRUE(dialog.Initialize());
    EXPECT_EQ(dialog.nameEdit->text(), "Normal");
    EXPECT_EQ(dialog.descriptionEdit->text(), "");
    EXPECT_EQ(dialog.templateList->count(), 0);

    dialog.nameEdit->setText("Site");
    dialog.descriptionEdit->setText("Our menu");
    widget.SetPreviewPath("old/");
    ASSERT_TRUE(dialog.TryAccept());
    EXPECT_EQ(widget.GetTitle(), "Site");
    EXPECT_EQ(widget.GetDescription(), "Our menu");
    EXPECT_EQ(widget.GetPreviewPath(), "");
}

TEST_F(TemplatesTest, NewDialogListsOnlyThisComponentsTemplatesAndReadsTheChosenOne) {
    REQUIRE_COMPONENT();
    const std::string blue = SaveTemplate("Blue", "A blue menu");
    SaveTemplate("Green", "A green menu");
    // Another component's widget file in the same folder.
    QFile foreign(folder + "/Other_TesselServer.Other.tsl");
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("========== Description Part Begin ==========\r\nProgID = TesselServer.Other\r\n"
                  "Title = Other\r\n========== Description Part End ==========\r\n\r\n");
    foreign.close();

    CTessel document;
    ASSERT_TRUE(document.Create("TesselServer.Foldline"));
    CDlgNew dialog(document);
    ASSERT_TRUE(dialog.Initialize());
    ASSERT_EQ(dialog.templateList->count(), 2);
    QStringList titles;
    for (int i = 0; i < 2; ++i)
        titles << dialog.templateList->item(i)->text();
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"Blue", "Green"}));
    EXPECT_EQ(dialog.templateList->currentRow(), 0);
    EXPECT_EQ(dialog.descriptionLine->text().toStdString(), dialog.templates.descriptions[0]);

    const int blueRow = dialog.templates.paths[0] == blue ? 0 : 1;
    dialog.templateList->setCurrentRow(blueRow);
    EXPECT_EQ(dialog.descriptionLine->text(), "A blue menu");
    dialog.nameEdit->setText("Mine");
    ASSERT_TRUE(dialog.TryAccept());
    EXPECT_EQ(document.GetTitle(), "Mine");
    EXPECT_EQ(document.GetProgID(), "TesselServer.Foldline");
}

TEST_F(TemplatesTest, NamesOutsideLettersAndDigitsAreRefused) {
    REQUIRE_COMPONENT();
    CDlgNew fresh(widget);
    ASSERT_TRUE(fresh.Initialize());
    for (const char* name : {"My Menu", "menu_1", "a-b", "\xc3\xa9t\xc3\xa9"}) {
        fresh.nameEdit->setText(QString::fromUtf8(name));
        EXPECT_FALSE(fresh.TryAccept()) << name;
    }
    fresh.nameEdit->clear();
    EXPECT_FALSE(fresh.TryAccept());
    ASSERT_EQ(messages.size(), 5);
    EXPECT_TRUE(messages[0].startsWith("The name of widget is not valid.It accept only"));
    EXPECT_EQ(messages[4], "You must enter a name!");

    messages.clear();
    CDlgSaveAsTemplate save("menu_1", "", nullptr);
    ASSERT_TRUE(save.Initialize());
    EXPECT_FALSE(save.TryAccept());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("The template name of widget is not valid."));
}

TEST_F(TemplatesTest, SaveAsTemplateNamesTheFileAndRefusesASecondSave) {
    REQUIRE_COMPONENT();
    CDlgSaveAsTemplate dialog("Menu2", "Second", nullptr);
    ASSERT_TRUE(dialog.Initialize());
    const std::string path = (folder + "/Menu2_TesselServer.Foldline.tsl").toStdString();
    EXPECT_EQ(dialog.TemplatePathText(), path);
    dialog.nameEdit->clear();
    EXPECT_EQ(dialog.pathLine->text(), folder + "/");
    dialog.nameEdit->setText("Menu2");
    ASSERT_TRUE(dialog.TryAccept());

    // The document writes the template and reports it; its own title stays.
    ASSERT_TRUE(Start());
    CQuillaryToolDoc& doc = *app->Document();
    doc.Component()->SetTitle("Current");
    ASSERT_TRUE(doc.SaveAsTemplateAt(dialog.Name(), dialog.Description(), path));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(doc.Component()->GetTitle(), "Current");
    EXPECT_EQ(messages.last(), "Save as the template success!");

    CDlgSaveAsTemplate again("Menu2", "", nullptr);
    ASSERT_TRUE(again.Initialize());
    EXPECT_EQ(again.templateList->count(), 1);
    EXPECT_FALSE(again.TryAccept());
    EXPECT_EQ(messages.last(), QString::fromStdString(path) +
                                   " is already exist.Please enter a new template name.\n");
}

TEST_F(TemplatesTest, ManageRenamesAndDeletesWithTheirRules) {
    REQUIRE_COMPONENT();
    SaveTemplate("Alpha", "first");
    SaveTemplate("Beta", "second");
    SaveTemplate("Gamma", "third");

    CDlgManageTemplates dialog;
    ASSERT_TRUE(dialog.Initialize());
    ASSERT_EQ(dialog.templateList->count(), 3);
    EXPECT_EQ(dialog.Selected(), 0);
    EXPECT_EQ(dialog.nameEdit->text().toStdString(), dialog.templates.titles[0]);

    // Renaming to its own name is refused: the file is there.
    const std::string own = dialog.templates.titles[0];
    dialog.OnRename();
    EXPECT_EQ(messages.last(), QString::fromStdString("The " + own +
                                                      " template has been there,please give a "
                                                      "new name!"));

    // A confirmed rename rewrites the file under the new name.
    dialog.templateList->setCurrentRow(1);
    const std::string oldPath = dialog.templates.paths[1];
    const std::string oldTitle = dialog.templates.titles[1];
    dialog.nameEdit->setText("Delta");
    dialog.descriptionEdit->setText("renamed");
    ui::prompts().askOkCancel = [this](QWidget*, const QString&, const QString& text, ui::Icon) {
        questions << text;
        return true;
    };
    dialog.OnRename();
    EXPECT_EQ(questions.last(), QString::fromStdString("Are you sure to rename \"" + oldTitle +
                                                       "\" template to \"Delta\"?"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(oldPath)));
    EXPECT_EQ(dialog.templates.titles[1], "Delta");
    EXPECT_EQ(dialog.templates.paths[1],
              (folder + "/Delta_TesselServer.Foldline.tsl").toStdString());
    EXPECT_EQ(dialog.Selected(), 1);
    EXPECT_EQ(dialog.templateList->item(1)->text(), "Delta");

    // Deleting the last entry selects the new last one; the only one empties the fields.
    dialog.templateList->setCurrentRow(2);
    const std::string last = dialog.templates.paths[2];
    dialog.OnDelete();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(last)));
    EXPECT_EQ(dialog.templateList->count(), 2);
    EXPECT_EQ(dialog.Selected(), 1);
    EXPECT_EQ(dialog.nameEdit->text(), "Delta");
    dialog.OnDelete();
    dialog.OnDelete();
    EXPECT_EQ(dialog.Selected(), -1);
    EXPECT_EQ(dialog.nameEdit->text(), "");
    EXPECT_EQ(dialog.descriptionEdit->text(), "");
    messages.clear();
    dialog.OnDelete();
    dialog.OnRename();
    EXPECT_EQ(messages,
              (QStringList{"Please select a template first!", "Please select a template first!"}));
}

// The templates the build places beside the component are found and read like any other.
TEST_F(HostTest, ShippedTemplatesAreListedAndReadBack) {
    REQUIRE_COMPONENT();
    CTessel component;
    ASSERT_TRUE(component.Create("TesselServer.Foldline"));
    TemplateList list;
    component.ScanTemplates(list.titles, list.descriptions, list.paths);
    std::vector<std::string> titles = list.titles;
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"Normal", "Ocean", "Paper", "SidebarDark",
                                                "SidebarLight"}));
    // Template names follow the name rule: letters and digits only.
    for (const std::string& title : titles)
        EXPECT_EQ(host::CheckName(QString::fromStdString(title)), host::NameCheck::Ok) << title;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& path = list.paths[static_cast<std::size_t>(i)];
        EXPECT_FALSE(list.descriptions[static_cast<std::size_t>(i)].empty()) << path;
        CTessel reader;
        ASSERT_TRUE(reader.Create("TesselServer.Foldline"));
        ASSERT_TRUE(reader.ReadConfigFile(path));
        EXPECT_EQ(reader.GetResourceLocalPath(0), reader.componentFolder + "/") << path;
        EXPECT_NE(reader.GetHTMLBody(0, 1).find("<param name=\"I0-0\""), std::string::npos) << path;
    }
}
