// Checking the menu's links against a site folder: every link that leads into the site must
// name a file there (a folder its index page, a fragment an element of the page), e-mail and
// telephone links must have their form; web addresses are the caller's to check online.
#pragma once

#include "SiteFolder.h"

#include <string>
#include <vector>

class CAppletParameters;

namespace site {

struct LinkFinding {
    std::string node; // the item's node; empty for a page that no item links to
    std::string path; // the item's path of labels
    std::string link;
    std::string reason;
};

struct LinkCheckResult {
    std::vector<LinkFinding> broken;
    std::vector<std::string> notInMenu; // site paths of pages no item links to
    std::vector<SiteProblem> unread;    // folders of the site that could not be read
};

LinkCheckResult CheckSiteLinks(const CAppletParameters& model, const SiteListing& listing);

// The findings as lines "node<TAB>path<TAB>link<TAB>reason", the broken links first, then each
// page not in the menu with an empty node and path and the reason "not in the menu", then each
// folder that could not be read ("not read: ...").
std::string FindingsText(const LinkCheckResult& result);

// Every item with a link, one line each: "node<TAB>path<TAB>link".
std::string ItemLinksText(const CAppletParameters& model);

// The form checks of the links that lead nowhere on disk; empty when the form is right.
std::string MailLinkProblem(std::string_view link);
std::string PhoneLinkProblem(std::string_view link);

} // namespace site
