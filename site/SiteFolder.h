// A site folder on disk: its pages, found without following any symbolic link (what a link
// points to inside the site is visited at its own place, so no page is seen twice and no walk
// leaves the site), and their bytes, read with a size limit.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace site {

// The folder inside the site that publishing fills with the runtime and the support files; it
// holds no pages of the site.
inline constexpr const char* kSiteFilesFolder = "foldline";
// Pages larger than this are not read.
inline constexpr std::size_t kMaxPageBytes = 16u << 20;
// Folders nested deeper than this below the site are not walked.
inline constexpr int kMaxFolderDepth = 100;

// Something that went wrong with one path of the site (a site path, or the site itself).
struct SiteProblem {
    std::string path;
    std::string reason;
};

struct SiteListing {
    std::string root;                  // the site folder, absolute, links resolved, no final "/"
    std::vector<std::string> pages;    // site paths of every ".html"/".htm" file, sorted
    std::vector<SiteProblem> problems; // folders that could not be read
};

// Lists the site's pages; false with the reason when `folder` is no readable folder. Names
// starting with "." and the top folder kSiteFilesFolder are passed over.
bool ListSite(const std::string& folder, SiteListing& listing, std::string& reason);

// Reads the page at a site path; false with the reason (too large, unreadable, no file).
bool ReadPage(const std::string& root, const std::string& page, std::string& bytes,
              std::string& reason);

enum class SiteEntry { Missing, File, Folder, Outside };
// What a site path names; a path whose symbolic links lead out of the site is Outside. `real`,
// when given, receives the site path with every link resolved (what the listing calls it).
SiteEntry LookUp(const std::string& root, const std::string& path, std::string* real = nullptr);

} // namespace site
