// Crash recovery: a copy of unsaved work while there is some, none after a clean end, and the
// copies of programs that were killed offered at the next start.
#include "CQuillaryToolDoc.h"
#include "CRecovery.h"
#include "HostServices.h"
#include "HostTestSupport.h"
#include "ProgramProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kOffer = "Quillary Foldline ended without saving this work:\n";

class RecoveryTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        host::services().startProgram = [this](const QString& program, const QStringList& args,
                                               const QString&) {
            started << QStringList{program} + args;
            return true;
        };
    }
    void TearDown() override {
        HostTest::TearDown();
        QDir(host::CRecovery::SharedFolder()).removeRecursively();
    }

    CQuillaryToolDoc* Doc() { return app->Document(); }
    CTessel* Widget() { return app->Document()->Component(); }
    host::CRecovery& Recovery() { return *app->Recovery(); }
    // What the recovery folder holds: one folder per program that has or had a copy.
    QStringList CopyFolders() {
        return QDir(host::CRecovery::SharedFolder())
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    QString SavedWidget(const QString& folderName) {
        QDir().mkpath(TempPath(folderName));
        const QString path = TempPath(folderName + "/menu.tsl");
        CTessel writer;
        EXPECT_TRUE(writer.Create("TesselServer.Foldline"));
        writer.SetTitle("Saved");
        EXPECT_TRUE(writer.WriteConfigFile(path.toStdString()));
        return path;
    }
    // A program that opened file, changed the title, kept its copy and was killed; the copy.
    QString Crash(const QString& file, const QString& title) {
        CProgram program;
        EXPECT_TRUE(program.Start(AppFolder(), {file})) << program.Errors().toStdString();
        EXPECT_EQ(program.Ask("title " + title), "ok");
        const QString copy = program.Ask("tick");
        EXPECT_TRUE(QFile::exists(copy)) << copy.toStdString();
        program.Kill();
        return copy;
    }

    QList<QStringList> started;
};

TEST_F(RecoveryTest, ACopyIsKeptOnlyWhileThereIsUnsavedWork) {
    REQUIRE_COMPONENT();
    ASSERT_TRUE(Start());
    const QString copy = Recovery().CopyPath();
    Recovery().Tick();
    Recovery().Flush();
    EXPECT_FALSE(QFile::exists(copy));

    Widget()->SetTitle("Unsaved");
    Doc()->SetModifiedFlag(true);
    Recovery().Tick();
    Recovery().Flush();
    EXPECT_TRUE(ReadText(copy).contains("Title = Unsaved\r\n"));
    Widget()->SetTitle("Changed again");
    Recovery().Tick();
    Recovery().Flush();
    EXPECT_TRUE(ReadText(copy).contains("Title = Changed again\r\n"));
    EXPECT_EQ(QDir(QFileInfo(copy).path()).entryList(QDir::Files), QStringList{"widget.tsl"});

    // A clean save removes it.
    QDir().mkpath(TempPath("site"));
    ASSERT_TRUE(Doc()->DoSave(TempPath("site/menu.tsl")));
    Recovery().Flush();
    EXPECT_FALSE(QFile::exists(copy));

    // Inside the configuration dialog: a copy once something changed, none after Cancel.
    Doc()->SetDialogEdit(true);
    Recovery().Tick();
    Recovery().Flush();
    EXPECT_FALSE(QFile::exists(copy));
    Widget()->SetTitle("Typed in the dialog");
    Recovery().Tick();
    Recovery().Flush();
    EXPECT_TRUE(ReadText(copy).contains("Title = Typed in the dialog\r\n"));
    Widget()->SetTitle("Unsaved");
    Doc()->SetDialogEdit(false);
    Recovery().Flush();
    EXPECT_FALSE(QFile::exists(copy));

    // A clean exit leaves nothing behind.
    Doc()->SetModifiedFlag(true);
    Recovery().Tick();
    Recovery().Flush();
    EXPECT_TRUE(QFile::exists(copy));
    app->ExitInstance();
    app.reset();
    EXPECT_TRUE(CopyFolders().isEmpty());
}

TEST_F(RecoveryTest, AKilledProgramsWorkIsOfferedAndRecoveredUnderItsOwnName) {
    REQUIRE_COMPONENT();
    const QString file = SavedWidget("site");
    CProgram running;
    ASSERT_TRUE(running.Start(AppFolder(), {file}));
    EXPECT_EQ(running.Ask("title Running"), "ok");
    const QString runningCopy = running.Ask("tick");
    const QString copy = Crash(file, "Crashed");
    EXPECT_NE(QFileInfo(copy).path(), QFileInfo(runningCopy).path());

    // Only the killed program's copy is offered; the running one's is its own.
    choiceAnswers = {0};
    ASSERT_TRUE(Start());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0],
              kOffer + file + "\n\nRecover opens it as unsaved work; Discard deletes it.");
    EXPECT_EQ(choiceButtons, QStringList({"Recover", "Discard"}));
    EXPECT_EQ(choiceDefault, 0);
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(Widget()->GetTitle(), "Crashed");
    EXPECT_EQ(Doc()->GetPathName(), file);
    EXPECT_EQ(Doc()->GetTitle(), "menu.tsl");
    EXPECT_TRUE(Doc()->IsModified());
    // The old copy went once this program held its own.
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(copy).path()));
    EXPECT_TRUE(ReadText(Recovery().CopyPath()).contains("Title = Crashed\r\n"));
    EXPECT_TRUE(QFile::exists(runningCopy));
    EXPECT_TRUE(running.Exit());
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(runningCopy).path()));

    // Saved where it came from, with no question: the file is as the killed program opened it.
    questions.clear();
    ASSERT_TRUE(Doc()->DoFileSave());
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(ReadText(file).contains("Title = Crashed\r\n"));
    Recovery().Flush();
    EXPECT_FALSE(QFile::exists(Recovery().CopyPath()));
}

TEST_F(RecoveryTest, CopiesAreKeptWhenTheQuestionIsClosedAndGoOnDiscard) {
    REQUIRE_COMPONENT();
    const QString copy = Crash(SavedWidget("site"), "Crashed");
    ASSERT_TRUE(Start()); // the question closed without an answer
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(Widget()->GetTitle(), "Normal");
    EXPECT_FALSE(Doc()->IsModified());
    app->ExitInstance();
    app.reset();
    EXPECT_TRUE(QFile::exists(copy));

    choiceAnswers = {1};
    ASSERT_TRUE(Start());
    EXPECT_EQ(questions.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(copy).path()));
    EXPECT_EQ(Widget()->GetTitle(), "Normal");
    app->ExitInstance();
    app.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(questions.size(), 2);
}

// Two killed programs, each with its own copy: one is recovered here, the other in a program of
// its own, which takes it over.
TEST_F(RecoveryTest, EveryProgramHasItsOwnCopyAndEachIsRecoveredInAWindowOfItsOwn) {
    REQUIRE_COMPONENT();
    const QString one = SavedWidget("one");
    const QString two = SavedWidget("two");
    const QString copies[] = {Crash(one, "First"), Crash(two, "Second")};
    EXPECT_NE(QFileInfo(copies[0]).path(), QFileInfo(copies[1]).path());
    EXPECT_EQ(CopyFolders().size(), 2);

    choiceAnswers = {0};
    ASSERT_TRUE(Start());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(one + "\n")) << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains(two + "\n")) << questions[0].toStdString();
    ASSERT_EQ(started.size(), 1);
    const QStringList& other = started[0];
    ASSERT_EQ(other.size(), 3);
    EXPECT_EQ(other[1], "--recover");
    const bool firstHere = Widget()->GetTitle() == "First";
    EXPECT_EQ(Doc()->GetPathName(), firstHere ? one : two);
    EXPECT_EQ(other[2], QFileInfo(copies[firstHere ? 1 : 0]).path());

    CProgram recovering;
    ASSERT_TRUE(recovering.Start(AppFolder(), {other[1], other[2]}));
    EXPECT_EQ(recovering.Ask("state"), firstHere ? "Second|" + two + "|1" : "First|" + one + "|1");
    EXPECT_FALSE(QFileInfo::exists(other[2]));
    const QString said = recovering.Errors();
    EXPECT_FALSE(said.contains("question:")) << said.toStdString();
    EXPECT_TRUE(recovering.Exit());
}

TEST_F(RecoveryTest, AProgramThatEndsCleanlyLeavesNoCopy) {
    REQUIRE_COMPONENT();
    CProgram program;
    ASSERT_TRUE(program.Start(AppFolder(), {SavedWidget("site")}));
    EXPECT_EQ(program.Ask("title Unsaved"), "ok");
    EXPECT_TRUE(QFile::exists(program.Ask("tick")));
    EXPECT_TRUE(program.Exit());
    EXPECT_TRUE(CopyFolders().isEmpty());
}

} // namespace
