// The component's site work: the members that publish the menu into a site folder, check its
// links, make a menu from a folder and carry the menu as JSON (the work itself is in site/).
#include "CDlgConfig.h"
#include "CFoldline.h"
#include "Files.h"
#include "MenuJson.h"
#include "Paths.h"
#include "Runtime.h"
#include "RuntimeFiles.h"
#include "SiteFolder.h"
#include "SiteImport.h"
#include "SiteLinkCheck.h"
#include "SitePublish.h"

#include "QtText.h"

#include <QCoreApplication>
#include <QTreeWidgetItem>

#include <charconv>
#include <filesystem>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const std::string kFilesFolder = site::kSiteFilesFolder;

// The sentence that opens a failure, in the user's language, with its %1 (the site or file) and
// %2 (the reason, the site work's own) put in as bytes: a path need not be valid UTF-8.
std::string Failure(const char* sentence, const std::string& subject, const std::string& reason) {
    const std::string text = FromQt(QCoreApplication::translate("CFoldline", sentence));
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && (next == '1' || next == '2')) {
            out += next == '1' ? subject : reason;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The site's files folder (named without a final "/", which would follow a link), made when
// missing. It must be a folder of the site itself: a link there would let publishing write
// outside the site.
bool PrepareFilesFolder(const std::string& folder, std::string& reason) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder, ec);
    if (fs::is_symlink(status) || (fs::exists(status) && !fs::is_directory(status))) {
        reason = kFilesFolder + " is not a folder of the site";
        return false;
    }
    if (!fs::exists(status) && !fs::create_directory(folder, ec)) {
        reason = kFilesFolder + ": " + ec.message();
        return false;
    }
    return true;
}

// Copies the support files into the files folder (unless a dry run), where the published markup
// finds them by file name. References to files that no longer exist are dropped, as every
// output drops them; two different files of one name cannot both be there, and the runtime's
// files, written there just before, keep their names.
void PlaceSupportFiles(CAppletParameters& model, const std::string& folder, bool dryRun,
                       std::vector<site::SiteProblem>& problems) {
    std::map<std::string, std::string> sources; // file name -> the file placed under it
    for (const char* runtime : kRuntimeFiles)
        sources.emplace(runtime, std::string());
    model.ForEachFileReference([&](std::string& file, const std::string&) {
        if (!ReferencesExistingFile(file))
            return;
        const std::string name = FileNameOfPath(file);
        const auto [placed, first] = sources.emplace(name, file);
        const std::string where = kFilesFolder + "/" + name;
        if (!first) {
            if (placed->second.empty())
                problems.push_back(
                    {where, "not copied from " + file + ": the runtime's file has this name"});
            else if (placed->second != file && !SameFileContents(placed->second, file))
                problems.push_back(
                    {where, "two support files have this name: " + placed->second + ", " + file});
            return;
        }
        if (dryRun || SameFileContents(file, folder + name))
            return;
        if (const FileResult copied = CopyFileReplacing(file, folder + name); !copied)
            problems.push_back({where, "not copied from " + file + ": " + copied.reason});
    });
}

} // namespace

bool CFoldline::PublishToSite(const std::string& site, bool dryRun, std::string& report) {
    site::SiteListing listing;
    std::string reason;
    if (!site::ListSite(site, listing, reason) ||
        (!dryRun && !PrepareFilesFolder(listing.root + "/" + kFilesFolder, reason))) {
        report = Failure(QT_TRANSLATE_NOOP("CFoldline", "Cannot publish to %1: %2"), site, reason);
        return false;
    }
    const std::string folder = listing.root + "/" + kFilesFolder + "/";
    std::vector<site::SiteProblem> problems = listing.problems;
    if (!dryRun)
        for (const FileResult& failure : PlaceRuntimeFiles(folder))
            problems.push_back({kFilesFolder, failure.Describe()});
    // The published copy's references are what the pages get; the widget's own stay as they are.
    CAppletParameters published;
    published.Assign(m_model);
    PlaceSupportFiles(published, folder, dryRun, problems);
    site::PublishReport result = site::PublishPages(published, listing, dryRun);
    result.problems.insert(result.problems.begin(), problems.begin(), problems.end());
    report = result.Text();
    return true;
}

bool CFoldline::CheckLinks(const std::string& site, std::string& findings) {
    site::SiteListing listing;
    std::string reason;
    if (!site::ListSite(site, listing, reason)) {
        findings = Failure(QT_TRANSLATE_NOOP("CFoldline", "Cannot check the links against %1: %2"),
                           site, reason);
        return false;
    }
    findings = site::FindingsText(site::CheckSiteLinks(m_model, listing));
    return true;
}

std::string CFoldline::GetItemLinks() {
    return site::ItemLinksText(m_model);
}

bool CFoldline::ImportSite(const std::string& site, std::string& reason) {
    site::SiteListing listing;
    std::unique_ptr<CFurlin> menu;
    if (!site::ListSite(site, listing, reason) || !site::MenuFromSite(listing, menu, reason)) {
        reason =
            Failure(QT_TRANSLATE_NOOP("CFoldline", "Cannot make a menu from %1: %2"), site, reason);
        return false;
    }
    std::vector<std::unique_ptr<CFurlin>> menus;
    menus.push_back(std::move(menu));
    site::ReplaceMenus(m_model, std::move(menus));
    MenusReplaced();
    return true;
}

bool CFoldline::ExportJSON(const std::string& path, std::string& reason) {
    const FileResult written = WriteFileReplacing(site::MenuToJson(m_model), path);
    if (written)
        return true;
    reason = Failure(QT_TRANSLATE_NOOP("CFoldline", "Cannot write %1: %2"), path, written.reason);
    return false;
}

bool CFoldline::ImportJSON(const std::string& path, std::string& reason) {
    std::string text;
    std::vector<std::unique_ptr<CFurlin>> menus;
    if (!ReadFileCapped(path, site::kMaxJsonBytes, text, reason) ||
        !site::MenuFromJson(text, menus, reason)) {
        reason = Failure(QT_TRANSLATE_NOOP("CFoldline", "Cannot import %1: %2"), path, reason);
        return false;
    }
    site::ReplaceMenus(m_model, std::move(menus));
    MenusReplaced();
    return true;
}

void CFoldline::MenusReplaced() {
    m_resourcesCurrent = false;
    // Other menus: the old tree's remembered positions would open nodes of no meaning here.
    m_expansion = {};
}

void CFoldline::SelectConfigNode(CDlgConfig& dialog) {
    const std::string node = std::move(ConfigSelection);
    ConfigSelection.clear();
    TreePath path;
    for (std::size_t start = 0; start <= node.size() && !node.empty();) {
        const std::size_t dot = std::min(node.find('.', start), node.size());
        int index = -1;
        const auto [end, error] = std::from_chars(node.data() + start, node.data() + dot, index);
        if (error != std::errc() || end != node.data() + dot || index < 0)
            return; // names no node
        path.push_back(index);
        start = dot + 1;
    }
    dialog.Initialize();
    if (QTreeWidgetItem* found = path.empty() ? nullptr : dialog.NodeAt(path)) {
        for (QTreeWidgetItem* above = found->parent(); above; above = above->parent())
            above->setExpanded(true);
        dialog.SelectNode(found);
    }
}
