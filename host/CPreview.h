// Preview of the widget in a browser, the browser choice and the launcher that honours it.
#pragma once

#include <QString>

#include <string>
#include <vector>

class CTessel;
class QSettings;
class QWidget;

namespace host {

// browserMode: 1 the system's default handler, 2 a known browser, 0 a program named by the author.
struct BrowserChoice {
    int mode = 1;
    QString program;
    int knownIndex = 0;
};

BrowserChoice ReadBrowserChoice(QSettings& profile);
void WriteBrowserChoice(QSettings& profile, const BrowserChoice& choice);

struct KnownBrowser {
    QString name;
    QString program; // full path
};

// The common browsers found on PATH, in a fixed order.
std::vector<KnownBrowser> KnownBrowsers();

// Opens the file with the chosen browser, without waiting. A known-browser index that names no
// entry falls back to the default handler. Always reports success.
bool LaunchBrowser(const BrowserChoice& choice, const QString& file);

// "tmp" beside the program, or in the per-user data folder when the program folder is read-only.
QString PreviewFolderFor(const QString& appFolder);

// The preview page around the widget's HTML.
std::string BuildPreviewPage(const std::string& style, const std::string& script,
                             const std::string& position);
// The preview page for today's browsers (HTML kinds 2 and 3): a standards-mode HTML5 page with a
// language, a character set and a viewport, so Preview shows what a site shows.
std::string BuildModernPreviewPage(const std::string& language, const std::string& style,
                                   const std::string& script, const std::string& position);
// The language that page declares: the user's.
std::string PreviewLanguage();

// Writes "preview.tsl" (the component copies the support files beside it) and "preview.htm" built
// from the HTML of the given kind with an empty code base, then launches the browser. Shows
// "Preview Failure!" when the page cannot be created.
void RunPreview(CTessel& widget, const QString& previewFolder, int kind,
                const BrowserChoice& choice, QWidget* owner);

// Deletes the files in the preview folder, then the folder itself when it is empty.
void CleanUpPreviewFolder(const QString& previewFolder);

} // namespace host
