// Several programs at once, each in a process of its own, sharing one classes root, one program
// folder and one profile, as the desktop starts them (one per opened file).
#include "CPreviewFolder.h"
#include "CQuillaryToolDoc.h"
#include "HostTestSupport.h"
#include "ProgramProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

// One menu whose item shows two images that lie beside the widget file.
const QByteArray kImagedWidget =
    OneMenuWidget("Imaged", "I0-1 = Home,,index.html,,dot.gif,over.gif,,,,1,img/,img/,,,\r\n", 1);

} // namespace

class ProgramInstancesTest : public HostTest {
protected:
    // The imaged widget in a folder of its own; its path.
    QString WriteImagedWidget(const QString& folderName) {
        const QString folder = TempPath(folderName);
        QDir().mkpath(folder);
        WriteText(folder + "/dot.gif", "GIF89a dot");
        WriteText(folder + "/over.gif", "GIF89a over");
        WriteText(folder + "/menu.tsl", kImagedWidget);
        return folder + "/menu.tsl";
    }
    // A saved copy of the widget still names both images, and both lie beside it intact.
    void ExpectImagesIntact(const QString& folder) {
        EXPECT_TRUE(ReadText(folder + "/menu.tsl").contains("Home,,index.html,,dot.gif,over.gif,"))
            << ReadText(folder + "/menu.tsl").toStdString();
        EXPECT_EQ(ReadText(folder + "/dot.gif"), "GIF89a dot");
        EXPECT_EQ(ReadText(folder + "/over.gif"), "GIF89a over");
    }
};

TEST_F(ProgramInstancesTest, PreviewAndExitOfOneProgramNeverChangeWhatTheOtherSaves) {
    REQUIRE_COMPONENT();
    const QString widget = WriteImagedWidget("site");
    for (int exitsFirst : {0, 1}) {
        CProgram programs[2];
        QString folders[2];
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(programs[i].Start(AppFolder(), {widget}))
                << programs[i].Errors().toStdString();
            folders[i] = programs[i].Ask("preview");
            EXPECT_TRUE(QFile::exists(folders[i] + "/preview.htm")) << folders[i].toStdString();
            EXPECT_TRUE(QFile::exists(folders[i] + "/dot.gif"));
        }
        EXPECT_NE(folders[0].toStdString(), folders[1].toStdString());
        EXPECT_EQ(QFileInfo(folders[0]).path(), AppFolder() + "/tmp");

        const int saves = 1 - exitsFirst;
        ASSERT_TRUE(programs[exitsFirst].Exit());
        EXPECT_FALSE(QFileInfo::exists(folders[exitsFirst]));
        EXPECT_TRUE(QFile::exists(folders[saves] + "/dot.gif"));

        const QString out = TempPath(QStringLiteral("saved%1").arg(exitsFirst));
        QDir().mkpath(out);
        EXPECT_EQ(programs[saves].Ask("save " + out + "/menu.tsl"), "ok")
            << programs[saves].Errors().toStdString();
        ExpectImagesIntact(out);
        ASSERT_TRUE(programs[saves].Exit());
        EXPECT_FALSE(QFileInfo::exists(AppFolder() + "/tmp"));
    }
}

TEST_F(ProgramInstancesTest, StartCleansThePreviewFoldersOfEndedProgramsOnly) {
    REQUIRE_COMPONENT();
    const QString widget = WriteImagedWidget("site");
    CProgram live;
    CProgram crashed;
    ASSERT_TRUE(live.Start(AppFolder(), {widget}));
    ASSERT_TRUE(crashed.Start(AppFolder(), {widget}));
    const QString liveFolder = live.Ask("preview");
    const QString staleFolder = crashed.Ask("preview");
    crashed.Kill();
    ASSERT_TRUE(QFileInfo::exists(staleFolder + "/preview.htm"));
    const QString tmp = AppFolder() + "/tmp";
    ASSERT_TRUE(QDir().mkpath(tmp + "/notes"));
    WriteText(tmp + "/notes/keep.txt", "not a program's");

    ASSERT_TRUE(Start());
    EXPECT_FALSE(QFileInfo::exists(staleFolder));
    EXPECT_TRUE(QFile::exists(liveFolder + "/preview.htm"));
    EXPECT_TRUE(QFile::exists(liveFolder + "/dot.gif"));
    EXPECT_TRUE(QFile::exists(tmp + "/notes/keep.txt"));

    // This program's own preview and exit leave the live one's folder alone too.
    app->OnPreview(0);
    EXPECT_NE(app->ProcessPreviewFolder().toStdString(), liveFolder.toStdString());
    app->ExitInstance();
    app.reset();
    EXPECT_TRUE(QFile::exists(liveFolder + "/dot.gif"));

    const QString out = TempPath("saved");
    QDir().mkpath(out);
    EXPECT_EQ(live.Ask("save " + out + "/menu.tsl"), "ok");
    ExpectImagesIntact(out);
    EXPECT_TRUE(live.Exit());
}

TEST_F(ProgramInstancesTest, RecentFilesSurviveAKilledProgramAndMergeAcrossTwo) {
    REQUIRE_COMPONENT();
    const QString first = WriteImagedWidget("one");
    const QString second = WriteImagedWidget("two");
    CProgram a;
    CProgram b;
    ASSERT_TRUE(a.Start(AppFolder(), {first}));
    ASSERT_TRUE(b.Start(AppFolder(), {second}));
    EXPECT_EQ(a.Ask("recent"), second + "|" + first);
    a.Kill();
    b.Kill();

    ASSERT_TRUE(Start());
    EXPECT_EQ(app->RecentFiles().Entries(), (QStringList{second, first}));
}

TEST_F(ProgramInstancesTest, RecentChangesOfOneProgramKeepTheOthersEntries) {
    REQUIRE_COMPONENT();
    const QString first = WriteImagedWidget("one");
    const QString second = WriteImagedWidget("two");
    CProgram other;
    ASSERT_TRUE(Start({first}));
    ASSERT_TRUE(other.Start(AppFolder(), {second}));
    // An entry that cannot be opened goes; the other program's entry stays.
    app->RecentFiles().Add(TempPath("gone.tsl"));
    EXPECT_EQ(app->RecentFiles().Entries(), (QStringList{TempPath("gone.tsl"), second, first}));
    EXPECT_FALSE(app->OpenDocumentFile(TempPath("gone.tsl"), 0));
    EXPECT_EQ(other.Ask("recent"), second + "|" + first);
    EXPECT_TRUE(other.Exit());
}
