// Publishing the menu into a site: every page holding the menu's markers gets the markup for
// today's browsers between them, with links and file references written for that page.
#pragma once

#include "SiteFolder.h"

#include <string>
#include <vector>

class CAppletParameters;

namespace site {

struct PublishReport {
    int updated = 0;
    int unchanged = 0;
    int withoutMarkers = 0;
    bool dryRun = false;
    std::vector<SiteProblem> problems; // pages skipped or not written, each with the reason

    // "N pages updated, M unchanged, K without the menu's markers", then one line per problem,
    // "path: reason". A dry run counts the pages it would update.
    std::string Text() const;
};

// Writes each page that changes, whole or not at all; a dry run writes nothing. The runtime and
// the support files are referenced in the site's kSiteFilesFolder (placing them is the caller's).
PublishReport PublishPages(const CAppletParameters& model, const SiteListing& listing, bool dryRun);

} // namespace site
