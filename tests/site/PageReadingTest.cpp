// The markers in a page's raw bytes, the page written around them, and what the parser reads.
#include "PageFacts.h"
#include "PageMarkers.h"

#include <gtest/gtest.h>

using site::MarkerSpan;

namespace {

const std::string kOpen = "<!-- foldline:Menu -->";
const std::string kClose = "<!-- /foldline:Menu -->";

} // namespace

TEST(PageMarkers, FoundOnlyWhenEachMarkerIsThereOnceInOrder) {
    const std::string page = "<p>a</p>" + kOpen + "old" + kClose + "<p>b</p>";
    MarkerSpan span = site::FindMarkers(page, "Menu");
    ASSERT_EQ(span.result, MarkerSpan::Result::Found);
    EXPECT_EQ(page.substr(span.begin, span.end - span.begin), "old");

    EXPECT_EQ(site::FindMarkers("<p>plain</p>", "Menu").result, MarkerSpan::Result::None);
    // Another widget's markers, and a name that only starts like ours, are not ours.
    EXPECT_EQ(site::FindMarkers("<!-- foldline:Other --><!-- /foldline:Other -->", "Menu").result,
              MarkerSpan::Result::None);
    EXPECT_EQ(site::FindMarkers("<!-- foldline:Menu2 --><!-- /foldline:Menu2 -->", "Menu").result,
              MarkerSpan::Result::None);
    // Blanks inside the comment are allowed.
    EXPECT_EQ(site::FindMarkers("<!--foldline:Menu--><!--\n\t/foldline:Menu  -->", "Menu").result,
              MarkerSpan::Result::Found);

    struct Case {
        std::string page;
        std::string reason;
    };
    const Case broken[] = {
        {kOpen + "x", "the closing marker <!-- /foldline:Menu --> is missing"},
        {"x" + kClose, "the opening marker <!-- foldline:Menu --> is missing"},
        {kOpen + kOpen + kClose, "the marker <!-- foldline:Menu --> appears 2 times"},
        {kOpen + kClose + kClose + kClose, "the marker <!-- /foldline:Menu --> appears 3 times"},
        {kClose + kOpen, "the closing marker comes before the opening one"},
    };
    for (const Case& c : broken) {
        span = site::FindMarkers(c.page, "Menu");
        EXPECT_EQ(span.result, MarkerSpan::Result::Broken) << c.page;
        EXPECT_EQ(span.reason, c.reason) << c.page;
    }
}

TEST(PageMarkers, CommentsEndWhereBrowsersEndThem) {
    // "<!-->" is a whole comment: the marker after it still counts.
    EXPECT_EQ(site::FindMarkers("<!--><!---> " + kOpen + kClose, "Menu").result,
              MarkerSpan::Result::Found);
    // A comment ends at its first "-->": a marker swallowed by another comment is no marker.
    const MarkerSpan swallowed = site::FindMarkers("<!-- note " + kOpen + kClose, "Menu");
    EXPECT_EQ(swallowed.result, MarkerSpan::Result::Broken);
    EXPECT_EQ(swallowed.reason, "the opening marker <!-- foldline:Menu --> is missing");
}

TEST(PageMarkers, OnlyTheBlockBetweenTheMarkersChanges) {
    const std::string head = "<html>\r\n<body>\r\n\xEF\xBB\xBF caf\xC3\xA9" + kOpen;
    const std::string tail = kClose + "\r\n</body>";
    const std::string page = head + "stale" + tail;
    const MarkerSpan span = site::FindMarkers(page, "Menu");
    const std::string out =
        site::PageWithMenu(page, span, "<ul>\r\n<li>Men\xC3\xBC</li>\r\n</ul>\r\n");
    EXPECT_EQ(out, head + "\r\n<ul>\r\n<li>Men\xC3\xBC</li>\r\n</ul>\r\n" + tail);

    // A page with LF line ends gets LF; an ASCII or legacy page gets character references.
    const std::string lf = "<p>x</p>\n" + kOpen + kClose + "\n";
    EXPECT_EQ(site::PageWithMenu(lf, site::FindMarkers(lf, "Menu"), "<li>Men\xC3\xBC</li>\r\n"),
              "<p>x</p>\n" + kOpen + "\n<li>Men&#xFC;</li>\n" + kClose + "\n");
    const std::string legacy = "<p>caf\xE9</p>" + kOpen + kClose;
    const std::string published =
        site::PageWithMenu(legacy, site::FindMarkers(legacy, "Menu"), "<li>\xE2\x82\xAC</li>");
    EXPECT_EQ(published, "<p>caf\xE9</p>" + kOpen + "\n<li>&#x20AC;</li>" + kClose);
    // The menu already in the page does not decide the encoding: publishing again is stable.
    EXPECT_EQ(site::PageWithMenu(published, site::FindMarkers(published, "Menu"),
                                 "<li>\xE2\x82\xAC</li>"),
              published);
}

namespace {

site::PageFacts Facts(std::string_view bytes) {
    site::PageFacts facts;
    std::string reason;
    EXPECT_TRUE(site::ReadPageFacts(bytes, facts, reason)) << reason;
    return facts;
}

} // namespace

TEST(PageFacts, TitleAndIdsFromAnyBytes) {
    const site::PageFacts facts =
        Facts("<html><head><title>\n  A   <b>b</b> &amp; c </title></head><body>"
              "<svg><title>not the page's</title></svg><div id=one><a name=two></a>"
              "<span name=three id=\"f\xC3\xBC\xC3\xBC\"></span></div></body></html>");
    EXPECT_EQ(facts.title, "A <b>b</b> & c");
    EXPECT_EQ(facts.ids, (std::set<std::string>{"one", "two", "f\xC3\xBC\xC3\xBC"}));

    // Windows-1252 pages are read as such.
    EXPECT_EQ(Facts("<title>Cr\xE8me \x80 5</title>").title, "Cr\xC3\xA8me \xE2\x82\xAC 5");
    EXPECT_EQ(Facts("\xEF\xBB\xBF<title>x</title>").title, "x");
    EXPECT_EQ(Facts("").title, "");
    EXPECT_TRUE(Facts(std::string("\0\0<ti\0tle>", 10)).ids.empty());
}

TEST(PageFacts, PagesTheParserWouldTakeTooLongOnAreGivenUp) {
    // The parser's work grows with the square of the nesting: deep enough, a page takes minutes.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<div>";
    deep += "<p id=bottom>x</p>";
    site::PageFacts facts;
    std::string reason;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(site::ReadPageFacts(deep, facts, reason, std::chrono::milliseconds(200)));
    EXPECT_EQ(reason, "too complex to read in time");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_TRUE(facts.ids.empty());

    // Nesting the parser takes in its stride is read whole and freed without recursion, however
    // deep (a recursive walk or free would overflow the stack here).
    std::string nested;
    for (int i = 0; i < 300000; ++i)
        nested += "<span>";
    nested += "<b id=bottom>x</b>";
    ASSERT_TRUE(site::ReadPageFacts(nested, facts, reason, std::chrono::minutes(2))) << reason;
    EXPECT_EQ(facts.ids.count("bottom"), 1u);
}
