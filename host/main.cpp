#include "CQuillaryToolApp.h"
#include "SiteCommandLine.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Answered before QApplication, so they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs("usage: quillary-foldline [FILE.tsl]\n"
                   "       quillary-foldline SITE-COMMAND ARGUMENTS\n"
                   "Authoring tool for navigation-menu widgets; opens FILE.tsl when given.\n"
                   "The widget component must be registered in the classes root\n"
                   "(tessel-regsvr LIBRARY; see tessel-regsvr --help).\n"
                   "\n"
                   "  --help     show this text and exit\n"
                   "  --version  show the version and exit\n"
                   "\n"
                   "Site commands (no display needed; exit status 0 when all is well, 1 when\n"
                   "something failed or a link is broken, 2 for a wrong command line):\n",
                   stdout);
        std::fputs(host::kSiteCommandUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Quillary Foldline %s\n", FOLDLINE_VERSION);
        return 0;
    }
    if (host::IsSiteCommand(argc, argv))
        return host::RunSiteCommand(argc, argv);
    // The live preview's web engine shares its drawing contexts with the windows'.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velloran"));
    QApplication::setApplicationName(QStringLiteral("Quillary Foldline"));

    CQuillaryToolApp app(QCoreApplication::applicationDirPath());
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments)) {
        app.ExitInstance();
        return 1;
    }
    const int result = application.exec();
    app.ExitInstance();
    return result;
}
