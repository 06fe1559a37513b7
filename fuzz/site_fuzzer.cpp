// Feeds arbitrary bytes to the site work as a page and as a JSON menu: finding the markers and
// publishing between them (only the block changes, and publishing again changes nothing),
// reading the page's title and ids, rewriting a link, and reading a menu whose JSON, once
// written, reads back the same.
#include "CAppletParameters.h"
#include "MenuJson.h"
#include "PageFacts.h"
#include "PageMarkers.h"
#include "SitePaths.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kMarkup = "<ul>\r\n<li>Caf\xC3\xA9 \xE2\x82\xAC</li>\r\n</ul>\r\n";

void Page(std::string_view page) {
    const site::MarkerSpan span = site::FindMarkers(page, "Menu");
    if (span.result == site::MarkerSpan::Result::Found) {
        if (span.begin > span.end || span.end > page.size())
            std::abort();
        const std::string out = site::PageWithMenu(page, span, kMarkup);
        if (out.compare(0, span.begin, page.substr(0, span.begin)) != 0 ||
            out.size() < page.size() - span.end ||
            out.compare(out.size() - (page.size() - span.end), std::string::npos,
                        page.substr(span.end)) != 0)
            std::abort(); // a byte outside the markers changed
        const site::MarkerSpan again = site::FindMarkers(out, "Menu");
        if (again.result != site::MarkerSpan::Result::Found ||
            site::PageWithMenu(out, again, kMarkup) != out)
            std::abort(); // a second publish would change the page
    }
    site::PageFacts facts;
    std::string reason;
    site::ReadPageFacts(page, facts, reason, std::chrono::milliseconds(500));
    site::LinkForPage("a/b/c.html", page.substr(0, 200));
    site::ResolveSiteLink(page.substr(0, 200));
}

void Json(std::string_view text) {
    std::vector<std::unique_ptr<CFurlin>> menus;
    std::string reason;
    if (!site::MenuFromJson(text, menus, reason))
        return;
    CAppletParameters model;
    for (auto& menu : menus)
        model.AddMenu(std::move(menu), false);
    const std::string written = site::MenuToJson(model);
    std::vector<std::unique_ptr<CFurlin>> back;
    if (!site::MenuFromJson(written, back, reason))
        std::abort();
    CAppletParameters reread;
    for (auto& menu : back)
        reread.AddMenu(std::move(menu), false);
    if (site::MenuToJson(reread) != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Page(text);
    Json(text);
    return 0;
}
