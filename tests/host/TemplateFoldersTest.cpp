#include "TemplateFolders.h"
#include "CQuillaryToolDoc.h"
#include "CTemplateDialogs.h"
#include "HostTestSupport.h"
#include "Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Sets an environment variable for one test and puts the old value back.
class CScopedEnv {
public:
    CScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~CScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Pretends the given folders are read-only (the tests run as root, where access() passes).
class CReadOnlyFolders {
public:
    explicit CReadOnlyFolders(std::vector<std::string> folders) {
        host::SetFolderWritableCheck([folders](const std::string& folder) {
            return std::find(folders.begin(), folders.end(), folder) == folders.end();
        });
    }
    ~CReadOnlyFolders() { host::SetFolderWritableCheck({}); }
    CReadOnlyFolders(const CReadOnlyFolders&) = delete;
    CReadOnlyFolders& operator=(const CReadOnlyFolders&) = delete;
};

} // namespace

TEST(TemplateFolders, FollowWhetherTheComponentFolderCanBeWritten) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    CScopedEnv data("XDG_DATA_HOME", temp.path().toUtf8() + "/data/");
    const std::string component = (temp.path() + "/component").toStdString();
    const std::string user =
        (temp.path() + "/data/Velloran/Quillary Foldline/templates").toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(component)));
    EXPECT_EQ(host::UserTemplateFolder(), user);

    // Writable: the component folder alone, and nothing is created elsewhere.
    EXPECT_EQ(host::TemplateFolders(component), std::vector<std::string>{component});
    EXPECT_EQ(host::TemplateWriteFolder(component), component);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(user)));

    {
        CReadOnlyFolders readOnly({component});
        EXPECT_EQ(host::TemplateFolders(component), (std::vector<std::string>{component, user}));
        EXPECT_EQ(host::TemplateWriteFolder(component), user);
        EXPECT_TRUE(QFileInfo(QString::fromStdString(user)).isDir());
    }

    // Without a known component folder nothing may be written at the top of the file system.
    EXPECT_EQ(host::TemplateFolders(""), std::vector<std::string>{user});
    EXPECT_EQ(host::TemplateWriteFolder(""), user);

    // A folder that is not there cannot take templates.
    const std::string missing = component + "/missing";
    EXPECT_EQ(host::TemplateWriteFolder(missing), user);
    if (::geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(QString::fromStdString(component),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        EXPECT_EQ(host::TemplateWriteFolder(component), user);
        QFile::setPermissions(QString::fromStdString(component), QFileDevice::ReadOwner |
                                                                     QFileDevice::WriteOwner |
                                                                     QFileDevice::ExeOwner);
    }
}

TEST(TemplateFolders, UserFolderFallsBackToTheHomeDataFolder) {
    CScopedEnv home("HOME", "/home/someone");
    {
        CScopedEnv relative("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(host::UserTemplateFolder(),
                  "/home/someone/.local/share/Velloran/Quillary Foldline/templates");
    }
    CScopedEnv empty("XDG_DATA_HOME", "");
    EXPECT_EQ(host::UserTemplateFolder(),
              "/home/someone/.local/share/Velloran/Quillary Foldline/templates");
}

// The tests treat the test's own component folder as a read-only installation.
class ReadOnlyInstallTest : public OwnComponentFolderTest {
protected:
    void SetUp() override {
        OwnComponentFolderTest::SetUp();
        if (!ComponentRegistered())
            return;
        component = componentFolder;
        m_data = std::make_unique<CScopedEnv>("XDG_DATA_HOME", TempPath("data").toUtf8());
        user = TempPath("data/Velloran/Quillary Foldline/templates");

        // A template shipped with the installation, written before it turns read-only.
        CTessel writer;
        ASSERT_TRUE(writer.Create("TesselServer.Foldline"));
        ASSERT_EQ(writer.componentFolder, component.toStdString());
        writer.SetTitle("Shipped");
        writer.SetDescription("comes with the program");
        ASSERT_TRUE(writer.WriteConfigFile(
            host::TemplatePath(component.toStdString(), "Shipped", writer.progId)));
        m_readOnly =
            std::make_unique<CReadOnlyFolders>(std::vector<std::string>{component.toStdString()});
    }
    void TearDown() override {
        m_readOnly.reset();
        m_data.reset();
        OwnComponentFolderTest::TearDown();
    }

    std::string UserTemplate(const char* name) const {
        return (user + '/' + name + "_TesselServer.Foldline.tsl").toStdString();
    }

    QString component;
    QString user;

private:
    std::unique_ptr<CScopedEnv> m_data;
    std::unique_ptr<CReadOnlyFolders> m_readOnly;
};

TEST_F(ReadOnlyInstallTest, SaveAsTemplateWritesToTheUserFolderAndNewListsBoth) {
    REQUIRE_COMPONENT();
    CDlgSaveAsTemplate save("Mine", "my own", nullptr);
    ASSERT_TRUE(save.Initialize());
    EXPECT_EQ(save.TemplatePathText(), UserTemplate("Mine"));
    save.nameEdit->clear();
    EXPECT_EQ(save.pathLine->text(), user + "/");
    save.nameEdit->setText("Mine");
    EXPECT_EQ(save.templateList->count(), 1);
    ASSERT_TRUE(save.TryAccept());

    ASSERT_TRUE(Start());
    CQuillaryToolDoc& doc = *app->Document();
    ASSERT_TRUE(doc.SaveAsTemplateAt(save.Name(), save.Description(), save.TemplatePathText()));
    EXPECT_EQ(messages.last(), "Save as the template success!");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(UserTemplate("Mine"))));
    EXPECT_FALSE(QFile::exists(component + "/Mine_TesselServer.Foldline.tsl"));

    // A shipped template's name is taken.
    save.nameEdit->setText("Shipped");
    EXPECT_FALSE(save.TryAccept());
    EXPECT_EQ(messages.last(), component + "/Shipped_TesselServer.Foldline.tsl" +
                                   " is already exist.Please enter a new template name.\n");

    // The same name again is refused, now that the user folder holds it.
    CDlgSaveAsTemplate again("Mine", "", nullptr);
    ASSERT_TRUE(again.Initialize());
    EXPECT_FALSE(again.TryAccept());
    EXPECT_EQ(messages.last(), QString::fromStdString(UserTemplate("Mine")) +
                                   " is already exist.Please enter a new template name.\n");

    CTessel document;
    ASSERT_TRUE(document.Create("TesselServer.Foldline"));
    CDlgNew dialog(document);
    ASSERT_TRUE(dialog.Initialize());
    ASSERT_EQ(dialog.templates.Count(), 2);
    const auto mine = std::find(dialog.templates.paths.begin(), dialog.templates.paths.end(),
                                UserTemplate("Mine"));
    ASSERT_NE(mine, dialog.templates.paths.end());
    const int row = static_cast<int>(mine - dialog.templates.paths.begin());
    EXPECT_EQ(dialog.templateList->item(row)->text(), "Mine");
    EXPECT_EQ(dialog.templateList->item(1 - row)->text(), "Shipped");
    dialog.templateList->setCurrentRow(row);
    EXPECT_EQ(dialog.descriptionLine->text(), "my own");
    dialog.nameEdit->setText("Fresh");
    ASSERT_TRUE(dialog.TryAccept());
    EXPECT_EQ(document.GetTitle(), "Fresh");
}

TEST_F(ReadOnlyInstallTest, ManageRenamesIntoTheUserFolderAndReportsAnUndeletableFile) {
    REQUIRE_COMPONENT();
    ui::prompts().askOkCancel = [this](QWidget*, const QString&, const QString& text, ui::Icon) {
        questions << text;
        return true;
    };
    QDir().mkpath(user);
    {
        CTessel writer;
        ASSERT_TRUE(writer.Create("TesselServer.Foldline"));
        writer.SetTitle("Mine");
        ASSERT_TRUE(writer.WriteConfigFile(UserTemplate("Mine")));
    }
    CDlgManageTemplates dialog;
    ASSERT_TRUE(dialog.Initialize());
    ASSERT_EQ(dialog.templates.Count(), 2);
    ASSERT_EQ(dialog.templates.titles[0], "Shipped");
    const std::string shipped = dialog.templates.paths[0];

    // The shipped template cannot leave its read-only folder: renaming it would list it twice.
    dialog.nameEdit->setText("Renamed");
    dialog.OnRename();
    const QString denied = QString::fromStdString(shipped) + ": Permission denied";
    EXPECT_EQ(messages, QStringList{"Rename Failure!\n\n" + denied});
    EXPECT_EQ(dialog.templates.paths[0], shipped);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(shipped)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(UserTemplate("Renamed"))));
    messages.clear();
    dialog.OnDelete();
    EXPECT_EQ(messages, QStringList{"Delete Failure!\n\n" + denied});
    EXPECT_EQ(dialog.templates.Count(), 2);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(shipped)));

    // The shipped name is taken for the user's templates too.
    dialog.templateList->setCurrentRow(1);
    messages.clear();
    dialog.nameEdit->setText("Shipped");
    dialog.OnRename();
    EXPECT_EQ(messages, QStringList{"The Shipped template has been there,please give a new name!"});
    dialog.nameEdit->setText("Renamed");
    dialog.OnRename();
    EXPECT_EQ(dialog.templates.paths[1], UserTemplate("Renamed"));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(UserTemplate("Renamed"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(UserTemplate("Mine"))));

    // The file turns into something that cannot be removed while the dialog is open.
    const QString path = QString::fromStdString(dialog.templates.paths[1]);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + "/inside"));
    messages.clear();
    dialog.OnDelete();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Delete Failure!\n\n" + path + ": "))
        << messages[0].toStdString();
    EXPECT_EQ(dialog.templates.Count(), 2);
    EXPECT_EQ(dialog.templateList->count(), 2);
    EXPECT_EQ(dialog.Selected(), 1);
}
