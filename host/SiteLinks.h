// The findings of a link check as the program shows and prints them, and the check of web
// addresses: that needs the network, so it is the program's (Qt Network), not the component's.
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <string>

namespace host {

// The component's reason for a page of the site that no item links to.
inline constexpr const char* kNotInMenu = "not in the menu";

struct LinkRow {
    QString node; // the item's node ("0.3.1"); empty for a page or folder of the site
    QString path; // the item's path of labels
    QString link;
    QString reason;
    // Everything but a page that is not in the menu is a fault.
    bool Broken() const { return reason != QLatin1String(kNotInMenu); }
};

// The component's lines: "node<TAB>path<TAB>link<TAB>reason" (CheckLinks) or
// "node<TAB>path<TAB>link" (GetItemLinks).
QList<LinkRow> ParseLinkRows(const std::string& text);

// What a check of the web addresses found: the rows that failed, and whether the author stopped
// it before every address was asked.
struct WebCheckOutcome {
    QList<LinkRow> failed;
    bool stopped = false;
};

// The rows whose link is a web address (http: or https:).
QList<LinkRow> WebLinks(const QList<LinkRow>& rows);

struct WebCheckLimits {
    int timeoutMs = 5000; // for each request
    int parallel = 8;     // links checked at once
    // Told how many links are checked so far, at each answer and a few times a second; answering
    // false stops the check: requests in flight are dropped and the rest are never asked.
    std::function<bool(int checked, int total)> progress;
};

// Asks for each row's web address: HEAD, then GET when HEAD does not show the page is there
// (servers that refuse HEAD), each request given limits.timeoutMs. Answers the rows that failed,
// each with the reason. Runs its own event loop until every answer is in or the check is stopped.
QList<LinkRow> CheckWebLinks(const QList<LinkRow>& rows, const WebCheckLimits& limits = {});

} // namespace host
