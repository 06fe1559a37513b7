#include "SiteFolder.h"

#include "Files.h"
#include "SitePaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace site {

namespace {

// Reads the folder's entries into `pages` and `folders` (site paths).
void ReadFolder(const fs::path& folder, const std::string& prefix, std::vector<std::string>& pages,
                std::vector<std::string>& folders, std::vector<SiteProblem>& problems) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        if (prefix.empty() && name == kSiteFilesFolder)
            continue;
        std::error_code statusError;
        const fs::file_status status = it->symlink_status(statusError);
        if (statusError)
            continue;
        if (fs::is_directory(status))
            folders.push_back(prefix + name);
        else if (fs::is_regular_file(status) && IsPageName(name))
            pages.push_back(prefix + name);
    }
    if (ec)
        problems.push_back({prefix.empty() ? std::string(".") : prefix, ec.message()});
}

} // namespace

bool ListSite(const std::string& folder, SiteListing& listing, std::string& reason) {
    listing = SiteListing();
    std::error_code ec;
    const fs::path root = fs::canonical(fs::path(folder), ec);
    if (ec) {
        reason = ec.message();
        return false;
    }
    if (!fs::is_directory(root, ec)) {
        reason = "not a folder";
        return false;
    }
    listing.root = root.string();
    // Without recursion: (folder, depth) pairs still to read.
    std::vector<std::pair<std::string, int>> pending{{std::string(), 0}};
    while (!pending.empty()) {
        auto [prefix, depth] = std::move(pending.back());
        pending.pop_back();
        std::vector<std::string> folders;
        ReadFolder(root / prefix, prefix, listing.pages, folders, listing.problems);
        for (std::string& sub : folders) {
            if (depth + 1 > kMaxFolderDepth)
                listing.problems.push_back({sub, "folders nested too deep"});
            else
                pending.emplace_back(sub + "/", depth + 1);
        }
    }
    if (listing.problems.size() == 1 && listing.problems.front().path == ".") {
        reason = listing.problems.front().reason;
        return false;
    }
    std::sort(listing.pages.begin(), listing.pages.end());
    return true;
}

bool ReadPage(const std::string& root, const std::string& page, std::string& bytes,
              std::string& reason) {
    return ReadFileCapped(root + "/" + page, kMaxPageBytes, bytes, reason);
}

SiteEntry LookUp(const std::string& root, const std::string& path, std::string* real) {
    if (path.find('\0') != std::string::npos)
        return SiteEntry::Missing; // no file name holds one
    std::error_code ec;
    const fs::path full = fs::canonical(fs::path(root) / path, ec);
    if (ec)
        return SiteEntry::Missing;
    const std::string text = full.string();
    const bool atRoot = text == root;
    if (root != "/" && !atRoot && text.compare(0, root.size() + 1, root + "/") != 0)
        return SiteEntry::Outside;
    if (real)
        *real = atRoot ? std::string() : text.substr(root == "/" ? 1 : root.size() + 1);
    if (fs::is_directory(full, ec))
        return SiteEntry::Folder;
    return fs::is_regular_file(full, ec) ? SiteEntry::File : SiteEntry::Missing;
}

} // namespace site
