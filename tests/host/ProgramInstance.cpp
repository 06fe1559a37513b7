// One running program for the tests that need several at once, each in a process of its own.
// usage: host_instance APP_FOLDER [FILE.tsl]; then one command per line of standard input, each
// answered by one line:
//   preview        previews the widget; answers this program's preview folder
//   save PATH      saves the widget to PATH; answers ok or failed
//   open PATH      opens PATH; answers ok or failed
//   recent         answers the recent files as the File menu shows them, separated by "|"
//   title NAME     gives the widget a new title, as Rename does; answers ok
//   tick           keeps the recovery copy now; answers its path, or none
//   state          answers the widget's title, the document's path and 1 when modified, by "|"
//   exit           ends the program as Exit does; answers ok
// Nothing is shown and no browser starts; messages go to standard error.
#include "CMainFrame.h"
#include "CQuillaryToolApp.h"
#include "CQuillaryToolDoc.h"
#include "HostServices.h"
#include "Prompts.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void Quiet() {
    ui::Prompts& p = ui::prompts();
    p.message = [](QWidget*, const QString&, const QString& text, ui::Icon) {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    };
    p.askOkCancel = [](QWidget*, const QString&, const QString&, ui::Icon) { return false; };
    p.askYesNoCancel = [](QWidget*, const QString&, const QString&) { return 0; };
    // The recovery offer: the answer comes from HOST_INSTANCE_CHOICE (the button's index); the
    // question goes to standard error.
    p.askChoice = [](QWidget*, const QString&, const QString& text, const QStringList&, int) {
        std::fprintf(stderr, "question: %s\n", text.toUtf8().constData());
        bool given = false;
        const int answer = qEnvironmentVariableIntValue("HOST_INSTANCE_CHOICE", &given);
        return given ? answer : -1;
    };
    host::Services& s = host::services();
    s.openUrl = [](const QUrl&) { return true; };
    s.startProgram = [](const QString&, const QStringList&, const QString&) { return true; };
    s.runDialog = [](QDialog&) { return false; };
}

std::string Answer(CQuillaryToolApp& app, const std::string& line) {
    const std::size_t space = line.find(' ');
    const std::string command = line.substr(0, space);
    const QString argument =
        space == std::string::npos ? QString() : QString::fromStdString(line.substr(space + 1));
    if (command == "preview") {
        app.OnPreview(0);
        return app.ProcessPreviewFolder().toStdString();
    }
    if (command == "save")
        return app.Document()->DoSave(argument) ? "ok" : "failed";
    if (command == "open")
        return app.OpenDocumentFile(argument) ? "ok" : "failed";
    if (command == "title") {
        app.Document()->Component()->SetTitle(argument.toStdString());
        app.Document()->SetModifiedFlag(true);
        return "ok";
    }
    if (command == "tick") {
        app.Recovery()->Tick();
        app.Recovery()->Flush();
        const QString copy = app.Recovery()->CopyPath();
        return QFile::exists(copy) ? copy.toStdString() : "none";
    }
    if (command == "state") {
        CQuillaryToolDoc& document = *app.Document();
        return document.Component()->GetTitle() + "|" + document.GetPathName().toStdString() + "|" +
               (document.IsModified() ? "1" : "0");
    }
    if (command == "recent") {
        app.MainFrame()->UpdateRecentFileMenu();
        return app.RecentFiles().Entries().join('|').toStdString();
    }
    return "unknown command";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    Quiet();
    CQuillaryToolApp app(QString::fromLocal8Bit(argv[1]));
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!app.InitInstance(arguments)) {
        app.ExitInstance();
        return 1;
    }
    std::cout << "started" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        QApplication::processEvents();
        if (line == "exit") {
            app.ExitInstance();
            std::cout << "ok" << std::endl;
            return 0;
        }
        std::cout << Answer(app, line) << std::endl;
    }
    return 0;
}
