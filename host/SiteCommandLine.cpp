#include "SiteCommandLine.h"

#include "CTessel.h"
#include "FoldlineDispatch.h"
#include "SiteLinks.h"
#include "Translation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace host {

const char* const kSiteCommandUsage =
    "  --publish MENU.tsl SITE [--dry-run]\n"
    "             put the menu into every page of SITE between <!-- foldline:NAME --> and\n"
    "             <!-- /foldline:NAME --> (NAME: the widget's name); --dry-run writes nothing\n"
    "  --check-links MENU.tsl SITE [--online]\n"
    "             check the menu's links against SITE: one line per broken link\n"
    "             (path<TAB>link<TAB>reason) and per page not in the menu; --online also\n"
    "             asks for every http(s) link\n"
    "  --import-site SITE OUT.tsl\n"
    "             write a first menu that follows the folders and pages of SITE\n"
    "  --export-json MENU.tsl OUT.json\n"
    "  --import-json IN.json OUT.tsl\n"
    "             the menu tree as JSON (help/index.html describes the format)\n";

namespace {

struct SiteCommand {
    const char* name;
    const char* flag; // the one option it takes, or null
    int (*run)(CTessel& widget, const QStringList& files, bool flag);
};

struct Text {
    Q_DECLARE_TR_FUNCTIONS(SiteCommandLine)
};

void PrintLine(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
}

std::string Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath().toStdString();
}

// The widget document; false, with the reason printed, when it cannot be read.
bool Open(CTessel& widget, const QString& path) {
    if (widget.ReadConfigFile(Absolute(path)))
        return true;
    PrintLine(stderr, Text::tr("Open %1 Error!").arg(path));
    return false;
}

int Save(CTessel& widget, const QString& path) {
    if (widget.WriteConfigFile(Absolute(path)))
        return 0;
    PrintLine(stderr, Text::tr("Cannot write %1.").arg(path));
    return 1;
}

int Publish(CTessel& widget, const QStringList& files, bool dryRun) {
    if (!Open(widget, files[0]))
        return 1;
    const QString report = QString::fromStdString(widget.PublishToSite(Absolute(files[1]), dryRun));
    PrintLine(stdout, report);
    // The first line counts the pages; every further line is a page or file in trouble.
    return report.contains('\n') ? 1 : 0;
}

int CheckLinks(CTessel& widget, const QStringList& files, bool online) {
    if (!Open(widget, files[0]))
        return 1;
    QList<LinkRow> rows = ParseLinkRows(widget.CheckLinks(Absolute(files[1])));
    if (online) {
        const QList<LinkRow> web = CheckWebLinks(WebLinks(ParseLinkRows(widget.GetItemLinks())));
        qsizetype at = 0; // after the broken links, before the pages not in the menu
        while (at < rows.size() && rows[at].Broken())
            ++at;
        for (const LinkRow& row : web)
            rows.insert(at++, row);
    }
    bool broken = false;
    for (const LinkRow& row : rows) {
        PrintLine(stdout, row.path + '\t' + row.link + '\t' + row.reason);
        broken = broken || row.Broken();
    }
    return broken ? 1 : 0;
}

int ImportSite(CTessel& widget, const QStringList& files, bool) {
    widget.ImportSite(Absolute(files[0]));
    return Save(widget, files[1]);
}

int ExportJson(CTessel& widget, const QStringList& files, bool) {
    if (!Open(widget, files[0]))
        return 1;
    widget.ExportJSON(Absolute(files[1]));
    return 0;
}

int ImportJson(CTessel& widget, const QStringList& files, bool) {
    widget.ImportJSON(Absolute(files[0]));
    return Save(widget, files[1]);
}

const SiteCommand kCommands[] = {
    {"--publish", "--dry-run", Publish},    {"--check-links", "--online", CheckLinks},
    {"--import-site", nullptr, ImportSite}, {"--export-json", nullptr, ExportJson},
    {"--import-json", nullptr, ImportJson},
};

const SiteCommand* FindCommand(const char* name) {
    for (const SiteCommand& command : kCommands)
        if (std::strcmp(command.name, name) == 0)
            return &command;
    return nullptr;
}

// The widget component, made without a message box: there may be no screen.
bool CreateWidget(CTessel& widget) {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(kFoldlineProgID, &clsid);
    if (SUCCEEDED(hr))
        widget.dispatch.CreateDispatch(clsid, &hr);
    if (SUCCEEDED(hr))
        return true;
    PrintLine(stderr, Text::tr("Cannot create the widget component %1: %2")
                          .arg(QString::fromUtf8(kFoldlineProgID),
                               QString::fromStdString(HResultDescription(hr))));
    return false;
}

int Run(const SiteCommand& command, const QStringList& files, bool flag) {
    if (FAILED(CoInitialize(nullptr))) {
        PrintLine(stderr, Text::tr("Cannot use the classes root."));
        return 2;
    }
    int status = 2;
    {
        CTessel widget;
        if (CreateWidget(widget)) {
            try {
                status = command.run(widget, files, flag);
            } catch (const CDispatchException& e) {
                PrintLine(stderr,
                          QString::fromStdString(e.description.empty() ? HResultDescription(e.hr)
                                                                       : e.description));
                status = 1;
            }
        }
    }
    CoUninitialize();
    return status;
}

} // namespace

bool IsSiteCommand(int argc, char** argv) {
    return argc >= 2 && FindCommand(argv[1]) != nullptr;
}

int RunSiteCommand(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ui::CTranslation translation;
    translation.Install(QCoreApplication::applicationDirPath(), false);
    const SiteCommand* command = FindCommand(argv[1]);
    QStringList files;
    bool flag = false;
    bool wrong = false;
    for (int i = 2; i < argc; ++i) {
        if (command->flag && std::strcmp(argv[i], command->flag) == 0)
            flag = true;
        else if (std::strncmp(argv[i], "--", 2) == 0)
            wrong = true; // an option this command does not take
        else
            files << QString::fromLocal8Bit(argv[i]);
    }
    if (wrong || files.size() != 2) {
        std::fprintf(stderr, "usage: quillary-foldline %s ...\n%s", command->name,
                     kSiteCommandUsage);
        return 2;
    }
    return Run(*command, files, flag);
}

} // namespace host
