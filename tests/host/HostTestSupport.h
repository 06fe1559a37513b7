// Shared set-up of the program's tests: a temporary classes root with the real component
// registered, a temporary profile, and the message, chooser and dialog seams recorded.
#pragma once

#include "CQuillaryToolApp.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// True once the component library was registered into the test classes root.
bool ComponentRegistered();
// Why it is not, for the failure message.
const std::string& ComponentProblem();
std::string ComponentLibraryPath();

#define REQUIRE_COMPONENT()                                                                        \
    ASSERT_TRUE(ComponentRegistered()) << "widget component unavailable: " << ComponentProblem()

// A whole widget file of one top-level menu holding `items` items, given as their parameter lines
// ("I0-1 = Label,,link,...\r\n").
QByteArray OneMenuWidget(const QByteArray& title, const QByteArray& itemLines, int items);

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A program folder inside the temporary folder.
    QString AppFolder() const { return m_temp.path() + QStringLiteral("/program"); }
    QString TempPath(const QString& name) const { return m_temp.path() + '/' + name; }
    // Starts the program object with the given command line; false when start-up ended it.
    bool Start(const QStringList& arguments = {});
    void WriteText(const QString& path, const QByteArray& content);
    QByteArray ReadText(const QString& path);

    std::unique_ptr<CQuillaryToolApp> app;

    QStringList messages;
    QStringList questions;
    std::deque<int> yesNoCancelAnswers; // popped per question; -1 (cancel) when empty
    // Questions with buttons of their own, recorded in questions too: the buttons of the last
    // one and its default; answers popped per question, -1 (closed) when empty.
    QStringList choiceButtons;
    int choiceDefault = -1;
    std::deque<int> choiceAnswers;
    QString folderToPick;
    QString saveFileToPick;
    QString openFileToPick;
    QString lastProposedSaveName;
    QList<QUrl> openedUrls;
    // Runs any dialog the program shows; by default a dialog is a test failure.
    std::function<bool(QDialog&)> dialogRunner;

private:
    void AnswerChoices();

    QTemporaryDir m_temp;
    QString m_savedCurrent;
};

// A program test whose component is registered from a folder of its own: a link to the built
// library inside the temporary folder, so the templates a test writes land there.
class OwnComponentFolderTest : public HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QString componentFolder;

private:
    std::string m_savedServer;
};
