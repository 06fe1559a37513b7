#include "CPreview.h"

#include "CTessel.h"
#include "FoldlineDispatch.h"
#include "HostServices.h"
#include "HostStrings.h"
#include "Reasons.h"
#include "TemplateFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cctype>

namespace host {
namespace {

const char* const kUseDefault = "Use Default";
const char* const kSpecifyBrowser = "Specify Browser";
const char* const kKnownBrowser = "Known Browser";

// Restores the widget's preview path however the page building ends.
class PreviewPathGuard {
public:
    PreviewPathGuard(CTessel& widget) : m_widget(widget), m_saved(widget.GetPreviewPath()) {
        m_widget.SetPreviewPath("");
    }
    ~PreviewPathGuard() {
        try {
            m_widget.SetPreviewPath(m_saved);
        } catch (...) {
            // The instance is gone; there is nothing left to restore.
        }
    }
    PreviewPathGuard(const PreviewPathGuard&) = delete;
    PreviewPathGuard& operator=(const PreviewPathGuard&) = delete;

private:
    CTessel& m_widget;
    std::string m_saved;
};

QString PreviewFailure() {
    return QCoreApplication::translate("host", "Preview Failure!");
}

} // namespace

BrowserChoice ReadBrowserChoice(QSettings& profile) {
    BrowserChoice choice;
    profile.beginGroup(QString::fromUtf8(kSectionWebBrowser));
    choice.mode = profile.value(QString::fromUtf8(kUseDefault), 1).toInt();
    choice.program = profile.value(QString::fromUtf8(kSpecifyBrowser), QString()).toString();
    choice.knownIndex = profile.value(QString::fromUtf8(kKnownBrowser), 0).toInt();
    profile.endGroup();
    return choice;
}

void WriteBrowserChoice(QSettings& profile, const BrowserChoice& choice) {
    profile.beginGroup(QString::fromUtf8(kSectionWebBrowser));
    profile.setValue(QString::fromUtf8(kUseDefault), choice.mode);
    profile.setValue(QString::fromUtf8(kSpecifyBrowser), choice.program);
    profile.setValue(QString::fromUtf8(kKnownBrowser), choice.knownIndex);
    profile.endGroup();
    profile.sync();
}

std::vector<KnownBrowser> KnownBrowsers() {
    struct Candidate {
        const char* name;
        std::vector<const char*> programs;
    };
    static const std::vector<Candidate> candidates = {
        {"Firefox", {"firefox", "firefox-esr"}},
        {"Chromium", {"chromium", "chromium-browser"}},
        {"Google Chrome", {"google-chrome", "google-chrome-stable"}},
        {"Epiphany", {"epiphany", "epiphany-browser"}},
        {"Konqueror", {"konqueror"}},
        {"Opera", {"opera"}},
        {"Vivaldi", {"vivaldi", "vivaldi-stable"}},
        {"Brave", {"brave-browser", "brave"}},
        {"Falkon", {"falkon"}},
    };
    std::vector<KnownBrowser> found;
    for (const Candidate& candidate : candidates) {
        for (const char* program : candidate.programs) {
            const QString path = QStandardPaths::findExecutable(QString::fromUtf8(program));
            if (!path.isEmpty()) {
                found.push_back({QString::fromUtf8(candidate.name), path});
                break;
            }
        }
    }
    return found;
}

bool LaunchBrowser(const BrowserChoice& choice, const QString& file) {
    QString program;
    if (choice.mode == 0) {
        program = choice.program;
    } else if (choice.mode != 1) {
        const std::vector<KnownBrowser> browsers = KnownBrowsers();
        if (choice.knownIndex >= 0 && static_cast<std::size_t>(choice.knownIndex) < browsers.size())
            program = browsers[static_cast<std::size_t>(choice.knownIndex)].program;
    }
    if (choice.mode == 1 || (choice.mode != 0 && program.isEmpty())) {
        services().openUrl(QUrl::fromLocalFile(file));
        return true;
    }
    if (program.contains(QStringLiteral("APPLETVIEWER"), Qt::CaseInsensitive)) {
        // The applet viewer resolves the page against its current folder.
        const QString folder = QString::fromStdString(FolderOfPath(file.toStdString()));
        const QString name = QString::fromStdString(FileNameOfPath(file.toStdString()));
        if (!folder.isEmpty())
            QDir::setCurrent(folder);
        services().startProgram(program, {name}, folder);
    } else {
        services().startProgram(program, {file}, QString());
    }
    return true;
}

QString PreviewFolderFor(const QString& appFolder) {
    if (IsWritableFolder(appFolder.toStdString()))
        return appFolder + QStringLiteral("/tmp");
    return QString::fromStdString(UserDataFolder()) + QStringLiteral("/tmp");
}

std::string BuildPreviewPage(const std::string& style, const std::string& script,
                             const std::string& position) {
    std::string page = "<HTML>\r\n<HEAD>\r\n<TITLE>Preview</TITLE>\r\n";
    page += style;
    page += "\r\n";
    page += script;
    page += "\r\n</HEAD>\r\n";
    page += "<BODY>\r\n";
    page += position;
    page += "\r\n</BODY>\r\n";
    page += "</HTML>";
    return page;
}

std::string BuildModernPreviewPage(const std::string& language, const std::string& style,
                                   const std::string& script, const std::string& position) {
    std::string page = "<!DOCTYPE html>\r\n<html lang=\"" + language + "\">\r\n<head>\r\n";
    page += "<meta charset=\"utf-8\">\r\n";
    page += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n";
    page += "<title>Preview</title>\r\n";
    for (const std::string* part : {&style, &script})
        if (!part->empty())
            page.append(*part).append("\r\n");
    page += "</head>\r\n<body>\r\n";
    page += position;
    page += "</body>\r\n</html>\r\n";
    return page;
}

std::string PreviewLanguage() {
    // A tag of letters, digits and hyphens only: it goes into an attribute.
    std::string tag = QLocale().bcp47Name().toStdString();
    const bool plain = !tag.empty() && std::all_of(tag.begin(), tag.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
    });
    return plain && tag != "C" ? tag : "en";
}

void RunPreview(CTessel& widget, const QString& previewFolder, int kind,
                const BrowserChoice& choice, QWidget* owner) {
    // Without a folder the write would copy the support files into the root folder.
    if (previewFolder.isEmpty()) {
        Message(owner, WithReason(PreviewFailure(),
                                  QCoreApplication::translate(
                                      "host", "No folder for the preview could be created.")));
        return;
    }
    QDir().mkpath(previewFolder);
    // Whether the scratch document was written is not consulted; the copies it made are.
    const WriteOutcome copies =
        WriteWidget(widget, (previewFolder + QStringLiteral("/preview.tsl")).toStdString());

    const QString pagePath = previewFolder + QStringLiteral("/preview.htm");
    QFile page(pagePath);
    const auto pageFailure = [&] {
        Message(owner,
                WithReason(PreviewFailure(), pagePath + QStringLiteral(": ") + page.errorString()));
    };
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        pageFailure();
        return;
    }
    std::string style, script, position;
    {
        PreviewPathGuard guard(widget);
        const int count = widget.GetHTMLSegmentNumber();
        for (int i = 0; i < count; ++i) {
            const std::string word = widget.GetHTMLPosition(i);
            if (word == "style")
                style = widget.GetHTMLBody(i, kind);
            else if (word == "script")
                script = widget.GetHTMLBody(i, kind);
            else if (word == "cursor")
                position = widget.GetHTMLBody(i, kind);
        }
    }
    const bool modern = kind == kHtmlModernLocal || kind == kHtmlModernWeb;
    const std::string text =
        modern ? BuildModernPreviewPage(PreviewLanguage(), style, script, position)
               : BuildPreviewPage(style, script, position);
    const bool written = page.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size()) &&
                         page.flush();
    if (!written) {
        pageFailure();
        return;
    }
    page.close();
    LaunchBrowser(choice, pagePath);
    ReportCopyFailures(owner, copies.copyFailures);
}

void CleanUpPreviewFolder(const QString& previewFolder) {
    QDir folder(previewFolder);
    if (!folder.exists())
        return;
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(entry.absoluteFilePath());
    QDir().rmdir(previewFolder);
}

} // namespace host
