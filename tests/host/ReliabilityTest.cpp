// The program never loses work without a word: a damaged file is not overwritten unasked, a file
// another program changed is not silently replaced, and every failure says why.
#include "../FileSizeLimit.h"
#include "CMainFrame.h"
#include "CPreview.h"
#include "CQuillaryToolDoc.h"
#include "HostTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

// Two items, the first with an image that lies beside the file.
const QByteArray kTwoItems = OneMenuWidget("Site",
                                           "I0-1 = Home,,index.html,,big.gif,,,,,1,,,,,\r\n"
                                           "I0-2 = About,,about.html,,,,,,,1,,,,,\r\n",
                                           2);

class ReliabilityTest : public HostTest {
protected:
    CQuillaryToolDoc* Doc() { return app->Document(); }
    CTessel* Widget() { return app->Document()->Component(); }

    // The two-item widget written whole by the component, in a folder of its own, with a big
    // image beside it; its path.
    QString WholeWidget(const QString& folderName) {
        const QString folder = TempPath(folderName);
        QDir().mkpath(folder);
        WriteText(folder + "/big.gif", QByteArray(100000, 'g'));
        WriteText(folder + "/menu.tsl", kTwoItems);
        CTessel writer;
        EXPECT_TRUE(writer.Create("TesselServer.Foldline"));
        EXPECT_TRUE(writer.ReadConfigFile((folder + "/menu.tsl").toStdString()));
        EXPECT_TRUE(writer.WriteConfigFile((folder + "/menu.tsl").toStdString()));
        return folder + "/menu.tsl";
    }
};

TEST_F(ReliabilityTest, WholeTemplatesAndFixturesOpenWithoutAWord) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    QStringList files = {QStringLiteral(FOLDLINE_SOURCE_DIR "/tests/e2e/fixtures/three-level.tsl"),
                         WholeWidget("site")};
    const QString components = qEnvironmentVariable("FOLDLINE_BUILD_DIR") + "/component";
    for (const QFileInfo& found : QDir(components).entryInfoList({"*.tsl"}))
        files << found.absoluteFilePath();
    ASSERT_GE(files.size(), 5);
    for (const QString& file : files) {
        EXPECT_TRUE(app->OpenDocumentFile(file)) << file.toStdString();
        EXPECT_TRUE(messages.isEmpty())
            << file.toStdString() << ": " << messages.join("|").toStdString();
        EXPECT_FALSE(Doc()->IsModified()) << file.toStdString();
        EXPECT_FALSE(Doc()->SaveAsRequired());
    }
}

// Cut in the middle of each part and before each end marker: the author is told, the widget is
// marked changed, and neither Save nor the question at exit writes over the damaged file.
TEST_F(ReliabilityTest, ADamagedFileIsReportedAndNeverOverwrittenUnasked) {
    REQUIRE_COMPONENT();
    const QByteArray whole = ReadText(WholeWidget("site"));
    ASSERT_TRUE(Start());
    std::vector<int> cuts;
    for (const char* part : {"Description", "Parameter", "Resource", "HTML"}) {
        const int begin = whole.indexOf(QByteArray("========== ") + part + " Part Begin");
        const int end = whole.indexOf(QByteArray("========== ") + part + " Part End");
        cuts.push_back((begin + end) / 2);
        cuts.push_back(end);
    }
    for (const int cut : cuts) {
        const QString damaged = TempPath(QStringLiteral("cut%1.tsl").arg(cut));
        WriteText(damaged, whole.left(cut));
        messages.clear();
        if (!app->OpenDocumentFile(damaged)) {
            // Cut in the descriptions, the file no longer says whose it is.
            EXPECT_LT(cut, whole.indexOf("========== Parameter Part Begin"));
            EXPECT_TRUE(
                messages.value(0).startsWith("This File is not saved by Quillary Foldline!"));
            continue;
        }
        ASSERT_EQ(messages.size(), 1) << cut;
        EXPECT_TRUE(messages[0].startsWith(damaged + " is damaged: ")) << messages[0].toStdString();
        EXPECT_TRUE(Doc()->IsModified());
        EXPECT_EQ(Doc()->GetTitle(), QFileInfo(damaged).fileName());

        // Save asks for a name; cancelled, nothing is written.
        saveFileToPick.clear();
        EXPECT_FALSE(Doc()->DoFileSave());
        EXPECT_EQ(lastProposedSaveName, damaged);
        yesNoCancelAnswers = {1}; // "Save changes?" at exit: yes, which asks for a name too
        lastProposedSaveName.clear();
        EXPECT_FALSE(Doc()->SaveModified());
        EXPECT_EQ(lastProposedSaveName, damaged);
        EXPECT_EQ(ReadText(damaged), whole.left(cut));

        // Saved under a new name, the next Save goes there without asking.
        saveFileToPick = TempPath(QStringLiteral("rescued%1.tsl").arg(cut));
        EXPECT_TRUE(Doc()->DoFileSave());
        EXPECT_FALSE(Doc()->IsModified());
        EXPECT_EQ(ReadText(damaged), whole.left(cut));
        lastProposedSaveName.clear();
        Doc()->SetModifiedFlag(true);
        EXPECT_TRUE(Doc()->DoFileSave());
        EXPECT_TRUE(lastProposedSaveName.isEmpty());
        yesNoCancelAnswers = {0};
    }
}

// Run as root, acts as the unprivileged user "nobody" while it lives (effective ids only, so
// they can be taken back); otherwise changes nothing.
class CUnprivileged {
public:
    CUnprivileged() : m_wasRoot(::geteuid() == 0) {
        if (m_wasRoot) {
            EXPECT_EQ(::setegid(65534), 0);
            EXPECT_EQ(::seteuid(65534), 0);
        }
    }
    ~CUnprivileged() {
        if (m_wasRoot) {
            EXPECT_EQ(::seteuid(0), 0);
            EXPECT_EQ(::setegid(0), 0);
        }
    }
    CUnprivileged(const CUnprivileged&) = delete;
    CUnprivileged& operator=(const CUnprivileged&) = delete;

private:
    bool m_wasRoot;
};

// Two programs on one file: the later save asks before it replaces the other's.
TEST_F(ReliabilityTest, ASaveAsksBeforeWritingOverAnotherProgramsChanges) {
    REQUIRE_COMPONENT();
    const QString file = WholeWidget("site");
    ASSERT_TRUE(Start({file}));
    const auto otherProgramSaves = [](const QString& path, const std::string& title) {
        CTessel other;
        ASSERT_TRUE(other.Create("TesselServer.Foldline"));
        ASSERT_TRUE(other.ReadConfigFile(path.toStdString()));
        other.SetTitle(title);
        ASSERT_TRUE(other.WriteConfigFile(path.toStdString()));
    };
    // Unchanged, or only touched: no question.
    Widget()->SetTitle("FromA");
    Doc()->SetModifiedFlag(true);
    EXPECT_TRUE(Doc()->DoFileSave());
    QFile touched(file);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    touched.setFileTime(QDateTime::currentDateTime().addSecs(60),
                        QFileDevice::FileModificationTime);
    touched.close();
    Doc()->SetModifiedFlag(true);
    EXPECT_TRUE(Doc()->DoFileSave());
    EXPECT_TRUE(questions.isEmpty());

    otherProgramSaves(file, "FromB");
    Doc()->SetModifiedFlag(true);
    const QString asked = file + " was changed by another program since you opened it.";
    choiceAnswers = {2}; // Cancel
    EXPECT_FALSE(Doc()->DoFileSave());
    EXPECT_EQ(questions, QStringList{asked});
    EXPECT_EQ(choiceButtons, QStringList({"Save As...", "Overwrite", "Cancel"}));
    EXPECT_EQ(choiceDefault, 2);
    EXPECT_TRUE(ReadText(file).contains("Title = FromB\r\n"));
    EXPECT_TRUE(Doc()->IsModified());
    choiceAnswers = {}; // the question closed: nothing either
    EXPECT_FALSE(Doc()->DoFileSave());

    choiceAnswers = {0}; // Save As...
    saveFileToPick = TempPath("site/mine.tsl");
    EXPECT_TRUE(Doc()->DoFileSave());
    EXPECT_TRUE(ReadText(file).contains("Title = FromB\r\n"));
    EXPECT_TRUE(ReadText(saveFileToPick).contains("Title = FromA\r\n"));
    EXPECT_EQ(Doc()->GetPathName(), saveFileToPick);

    otherProgramSaves(saveFileToPick, "FromB again");
    choiceAnswers = {1}; // Overwrite
    Doc()->SetModifiedFlag(true);
    EXPECT_TRUE(Doc()->DoFileSave());
    EXPECT_TRUE(ReadText(saveFileToPick).contains("Title = FromA\r\n"));
    EXPECT_EQ(questions.size(), 4);
}

TEST_F(ReliabilityTest, FailedSavesSayWhyUnderTheSpecifiedText) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    Doc()->SetModifiedFlag(true);
    WriteText(TempPath("plain"), "a file, not a folder");
    const QString underFile = TempPath("plain/menu.tsl");
    EXPECT_FALSE(Doc()->DoSave(underFile));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Save to " + underFile + " Error!\n\n" + underFile +
                                       ": Not a directory"))
        << messages[0].toStdString();

    // A write that fails part way: the specified text, then the system's reason.
    QDir().mkpath(TempPath("site"));
    Widget()->SetDescription(std::string(300000, 'd'));
    messages.clear();
    const QString big = TempPath("site/big.tsl");
    {
        CFileSizeLimit limit(200000);
        EXPECT_FALSE(Doc()->DoSave(big));
    }
    EXPECT_EQ(messages, QStringList{"Save to " + big + " Error!\n\n" + big +
                                    ": write error: File too large"});
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_FALSE(QFile::exists(big));
}

TEST_F(ReliabilityTest, SavingIntoAReadOnlyFolderSaysPermissionDenied) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QString folder = TempPath("locked");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                      QFileDevice::ReadOther | QFileDevice::ExeOther);
    {
        // Permission bits do not stop root: the save is made as an ordinary user.
        CUnprivileged user;
        EXPECT_FALSE(Doc()->DoSave(folder + "/menu.tsl"));
    }
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Save to " + folder + "/menu.tsl Error!\n\n" + folder +
                                       "/menu.tsl: Permission denied"))
        << messages[0].toStdString();
}

// A support file that cannot be copied is named with its reason, and "success!" is not said.
TEST_F(ReliabilityTest, CopiesThatFailAreListedAndNeverCalledASuccess) {
    REQUIRE_COMPONENT();
    const QString file = WholeWidget("site");
    ASSERT_TRUE(Start({file}));
    const QString dest = TempPath("dest");
    QDir().mkpath(dest);
    folderToPick = dest;
    {
        CFileSizeLimit limit(20000); // the image and the runtime script do not fit
        Doc()->OnCopySupportFiles();
    }
    EXPECT_EQ(messages,
              QStringList{"Copy support files to " + dest +
                          " failure!\n\nThese support files could not be copied:\n" + dest +
                          "/furlin.js: File too large\n" + dest + "/big.gif: File too large"});

    // Saving reports them after the save, once.
    messages.clear();
    Doc()->SetModifiedFlag(true);
    {
        CFileSizeLimit limit(20000);
        EXPECT_TRUE(Doc()->DoSave(dest + "/menu.tsl"));
    }
    EXPECT_EQ(messages,
              QStringList{"These support files could not be copied:\n" + dest +
                          "/furlin.js: File too large\n" + dest + "/big.gif: File too large"});
    EXPECT_FALSE(Doc()->IsModified());
    // The reference whose copy failed still names the original image.
    EXPECT_TRUE(
        ReadText(dest + "/menu.tsl").contains("big.gif=" + TempPath("site").toUtf8() + "="));

    messages.clear();
    Doc()->OnCopySupportFiles();
    EXPECT_EQ(messages, QStringList{"Copy support files to " + dest + " success!"});

    // Preview shows the page all the same, then says which files it lacks.
    messages.clear();
    const QString preview = TempPath("preview");
    {
        CFileSizeLimit limit(20000);
        host::RunPreview(*Widget(), preview, 0, host::BrowserChoice{}, nullptr);
    }
    EXPECT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(messages,
              QStringList{"These support files could not be copied:\n" + preview +
                          "/furlin.js: File too large\n" + preview + "/big.gif: File too large"});
}

} // namespace
