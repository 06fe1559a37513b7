// Publishing into a generated site of three depths: what changes, what never does, and the
// links and current item each page gets.
#include "SitePublish.h"
#include "SiteFixture.h"
#include "SitePaths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace site_test;

namespace {

const char* const kMarkedPages[] = {"index.html",           "products/index.html",
                                    "products/a.html",      "products/deep/index.html",
                                    "products/deep/b.html", "products/deep/latin1.html"};

class SitePublish : public ::testing::Test {
protected:
    void SetUp() override { FillSiteMenu(model); }

    site::PublishReport Publish(bool dryRun = false) {
        return site::PublishPages(model, List(site.root), dryRun);
    }

    GeneratedSite site;
    CAppletParameters model;
};

// The page's own bytes before its opening marker and after its closing one.
std::pair<std::string, std::string> Outside(const std::string& page) {
    const std::size_t open = page.find(kOpen);
    const std::size_t close = page.rfind(kClose);
    if (open == std::string::npos || close == std::string::npos)
        return {};
    return {page.substr(0, open + kOpen.size()), page.substr(close)};
}

// Where a link written in the page at `page` leads, as a site path.
std::string Landing(const std::string& page, const std::string& href) {
    const std::string folder = page.substr(0, page.rfind('/') + 1);
    const auto target = site::ResolveSiteLink(folder + href);
    return target ? target->path + (target->folder && !target->path.empty() ? "/" : "") : "?";
}

} // namespace

TEST_F(SitePublish, EveryMarkedPageGetsTheMenuAndNothingElseChanges) {
    const auto before = site.Snapshot();
    const site::PublishReport report = Publish();
    EXPECT_EQ(report.updated, 6);
    EXPECT_EQ(report.unchanged, 0);
    EXPECT_EQ(report.withoutMarkers, 1); // about.html
    EXPECT_EQ(report.Text(), "6 pages updated, 0 unchanged, 1 without the menu's markers\n"
                             "broken.html: skipped: the closing marker "
                             "<!-- /foldline:Site Menu --> is missing\n"
                             "twice.html: skipped: the marker <!-- foldline:Site Menu --> "
                             "appears 2 times");

    const auto after = site.Snapshot();
    ASSERT_EQ(after.size(), before.size()); // no file made or left behind
    for (const auto& [path, bytes] : before) {
        const std::string& now = after.at(path);
        const bool published = std::any_of(
            std::begin(kMarkedPages), std::end(kMarkedPages),
            [&, &file = path](const char* page) { return file == site.root + "/" + page; });
        if (!published) {
            EXPECT_EQ(now, bytes) << path; // broken markers, no markers, outside the walk
            continue;
        }
        EXPECT_NE(now, bytes) << path;
        EXPECT_EQ(Outside(now), Outside(bytes)) << path;
    }
    // The Windows-1252 page keeps its own bytes and takes the menu in ASCII.
    const std::string latin = site.Read("products/deep/latin1.html");
    EXPECT_NE(latin.find("Cr\xE8me br\xFBl\xE9"
                         "e"),
              std::string::npos);
    EXPECT_NE(latin.find("Cr&#xE8;me"), std::string::npos);
    EXPECT_EQ(latin.find("\xC3\xA8"), std::string::npos);
    // The UTF-8 page with CR LF line ends keeps both.
    const std::string home = site.Read("index.html");
    EXPECT_NE(home.find("Cr\xC3\xA8me"), std::string::npos);
    EXPECT_EQ(home.find("\n", home.find(kOpen)), home.find("\r\n", home.find(kOpen)) + 1);
}

TEST_F(SitePublish, LinksAndTheCurrentItemAreRightForEachPage) {
    Publish();
    // Each page's current item: the one whose link names the page (a folder link its index).
    const std::map<std::string, std::string> current = {
        {"index.html", "index.html"},
        {"products/index.html", "products/"},
        {"products/a.html", "products/a.html"},
        {"products/deep/index.html", "products/deep/"},
        {"products/deep/b.html", "products/deep/b.html"},
        {"products/deep/latin1.html", "products/deep/latin1.html"},
    };
    for (const char* page : kMarkedPages) {
        const std::vector<Anchor> anchors = AnchorsOf(site.Read(page));
        ASSERT_EQ(anchors.size(), 10u) << page;
        std::vector<std::string> landed;
        int currents = 0;
        for (const Anchor& anchor : anchors) {
            landed.push_back(anchor.href.find(':') == std::string::npos && anchor.href[0] != '/' &&
                                     anchor.href[0] != '#'
                                 ? Landing(page, anchor.href)
                                 : anchor.href);
            if (anchor.current) {
                ++currents;
                EXPECT_EQ(Landing(page, anchor.href), current.at(page)) << page;
            }
        }
        EXPECT_EQ(currents, 1) << page;
        EXPECT_EQ(landed, (std::vector<std::string>{
                              "index.html", "products/", "products/a.html", "products/deep/",
                              "products/deep/b.html", "products/deep/latin1.html", "about.html",
                              "https://example.com/a.html", "/rooted.html", "#top"}))
            << page;
        // Query and fragment travel with the rewritten link; the other links stay as written.
        EXPECT_NE(anchors[4].href.find("b.html#intro"), std::string::npos) << page;
        EXPECT_NE(anchors[5].href.find("latin1.html?x=1"), std::string::npos) << page;
    }
    EXPECT_EQ(AnchorsOf(site.Read("products/deep/b.html"))[0].href, "../../index.html");
}

TEST_F(SitePublish, TheRuntimeIsReferencedInTheSitesFilesFolderFromEveryPage) {
    Publish();
    for (const char* page : kMarkedPages) {
        const std::string text = site.Read(page);
        const std::string folder = site::FolderForPage(page, "foldline/");
        EXPECT_NE(text.find("\"" + folder + "furlin.js\""), std::string::npos) << page;
        EXPECT_NE(text.find("\"" + folder + "furlin.css\""), std::string::npos) << page;
    }
}

TEST_F(SitePublish, DryRunWritesNothingAndASecondPublishChangesNothing) {
    const auto before = site.Snapshot();
    const site::PublishReport dry = Publish(true);
    EXPECT_EQ(dry.updated, 6);
    EXPECT_EQ(dry.problems.size(), 2u);
    EXPECT_NE(dry.Text().find("(a dry run: nothing was written)"), std::string::npos);
    EXPECT_EQ(site.Snapshot(), before);

    Publish();
    const auto published = site.Snapshot();
    struct stat first {};
    ASSERT_EQ(::stat((site.root + "/index.html").c_str(), &first), 0);
    ::usleep(20000);
    const site::PublishReport again = Publish();
    EXPECT_EQ(again.updated, 0);
    EXPECT_EQ(again.unchanged, 6);
    EXPECT_EQ(site.Snapshot(), published);
    struct stat second {};
    ASSERT_EQ(::stat((site.root + "/index.html").c_str(), &second), 0);
    // Not even rewritten.
    EXPECT_EQ(second.st_mtim.tv_sec, first.st_mtim.tv_sec);
    EXPECT_EQ(second.st_mtim.tv_nsec, first.st_mtim.tv_nsec);
    EXPECT_EQ(second.st_ino, first.st_ino);

    // An edited menu changes the pages again, and a new item name shows on every page.
    model.Menus()[0]->GetItem(0)->Label = "Start";
    EXPECT_EQ(Publish().updated, 6);
    EXPECT_NE(site.Read("products/deep/b.html").find(">Start<"), std::string::npos);
}

TEST_F(SitePublish, PagesTooLargeAreReportedNotRead) {
    const std::string big = site.root + "/big.html";
    Write(big, kOpen + kClose);
    ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(site::kMaxPageBytes) + 1), 0);
    const site::PublishReport report = Publish();
    EXPECT_NE(report.Text().find("big.html: not read: larger than 16 MB"), std::string::npos);
    EXPECT_EQ(report.updated, 6);
}

TEST(SiteListing, WalksNoLinkAndNoHiddenOrFilesFolder) {
    GeneratedSite site;
    site::SiteListing listing;
    std::string reason;
    ASSERT_TRUE(site::ListSite(site.root + "/./products/..", listing, reason));
    EXPECT_EQ(listing.root, fs::canonical(site.root).string());
    EXPECT_EQ(listing.pages,
              (std::vector<std::string>{"about.html", "broken.html", "index.html",
                                        "products/a.html", "products/deep/b.html",
                                        "products/deep/index.html", "products/deep/latin1.html",
                                        "products/index.html", "twice.html"}));
    EXPECT_TRUE(listing.problems.empty());

    EXPECT_FALSE(site::ListSite(site.root + "/missing", listing, reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(site::ListSite(site.root + "/about.html", listing, reason));
    EXPECT_EQ(reason, "not a folder");

    EXPECT_EQ(site::LookUp(site.root, "products/deep"), site::SiteEntry::Folder);
    EXPECT_EQ(site::LookUp(site.root, "about.html"), site::SiteEntry::File);
    EXPECT_EQ(site::LookUp(site.root, "nothing.html"), site::SiteEntry::Missing);
    EXPECT_EQ(site::LookUp(site.root, "linked/elsewhere.html"), site::SiteEntry::Outside);
    EXPECT_EQ(site::LookUp(site.root, std::string("about.html\0x", 12)), site::SiteEntry::Missing);
}
