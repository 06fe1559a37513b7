// The check of the menu's links against a site: each kind of broken link, and no false alarm.
#include "SiteLinkCheck.h"
#include "SiteFixture.h"

#include <gtest/gtest.h>

using namespace site_test;

namespace {

struct Found {
    std::string node;
    std::string link;
    std::string reason;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return out << f.node << " | " << f.link << " | " << f.reason;
}

std::vector<Found> Broken(const site::LinkCheckResult& result) {
    std::vector<Found> found;
    for (const site::LinkFinding& f : result.broken)
        found.push_back({f.node, f.link, f.reason});
    return found;
}

} // namespace

TEST(SiteLinkCheck, ACleanSiteRaisesNoAlarm) {
    GeneratedSite site;
    CAppletParameters model;
    FillSiteMenu(model);
    const site::LinkCheckResult result = site::CheckSiteLinks(model, List(site.root));
    EXPECT_TRUE(result.broken.empty()) << Broken(result).front();
    // Pages no item links to are listed; a folder link counts for its index page.
    EXPECT_EQ(result.notInMenu, (std::vector<std::string>{"broken.html", "twice.html"}));
    EXPECT_EQ(site::FindingsText(result),
              "\t\tbroken.html\tnot in the menu\n\t\ttwice.html\tnot in the menu\n");
}

TEST(SiteLinkCheck, EachKindOfBrokenLinkIsFound) {
    GeneratedSite site;
    Write(site.root + "/empty/readme.txt", "no index here");
    CAppletParameters model;
    model.Name = kName;
    CFurlin& top = *model.InsertNewMenu();
    const char* links[] = {
        "products/missing.html",                         // 0.0
        "products/deep/b.html#nowhere",                  // 0.1
        "empty/",                                        // 0.2
        "../outside.html",                               // 0.3
        "linked/elsewhere.html",                         // 0.4 through a link out of the site
        "about.html/",                                   // 0.5
        "mailto:nobody",                                 // 0.6
        "mailto:",                                       // 0.7
        "tel:call-me",                                   // 0.8
        "#nothing",                                      // 0.9 on every page showing the menu
        "products/a.html#",                              // fine: the top of the page
        "products/deep/b.html#intro",                    // fine
        "products/deep/#top",                            // fine
        "mailto:a@example.com,b@example.org?subject=Hi", // fine
        "tel:+1 (555) 010-0000;ext=2",                   // fine
        "https://no-such-host.invalid/",                 // checked online only
        "/rooted/missing.html",                          // depends on where the site is served
        "",                                              // an item without a link
    };
    for (const char* link : links)
        AddItem(top, "item", link);
    AddItem(*top.GetItem(0)->GetSubMenu(), "child", "nope/");

    const site::LinkCheckResult result = site::CheckSiteLinks(model, List(site.root));
    EXPECT_EQ(Broken(result),
              (std::vector<Found>{
                  {"0.0", "products/missing.html", "no such file"},
                  {"0.0.0", "nope/", "no such folder"},
                  {"0.1", "products/deep/b.html#nowhere",
                   "no element with id \"nowhere\" in products/deep/b.html"},
                  {"0.2", "empty/", "a folder without index.html"},
                  {"0.3", "../outside.html", "outside the site"},
                  {"0.4", "linked/elsewhere.html", "outside the site"},
                  {"0.5", "about.html/", "no such folder"},
                  {"0.6", "mailto:nobody", "\"nobody\" is not an e-mail address"},
                  {"0.7", "mailto:", "no e-mail address"},
                  {"0.8", "tel:call-me", "\"call-me\" is not a telephone number"},
                  {"0.9", "#nothing",
                   "no element with id \"nothing\" in index.html and 5 other pages showing the "
                   "menu"},
              }));
    EXPECT_EQ(result.broken[0].path, "item");
    EXPECT_EQ(result.broken[1].path, "item > child");
}

TEST(SiteLinkCheck, FormOfMailAndTelephoneLinks) {
    for (const char* good :
         {"mailto:a@b", "MAILTO:%20a.b@c.example%20", "mailto:?to=a@b.c", "mailto:x@y.z?cc=w@v.u"})
        EXPECT_EQ(site::MailLinkProblem(good), "") << good;
    for (const char* bad : {"mailto:a@@b", "mailto:@b", "mailto:a@", "mailto:a b@c",
                            "mailto:a@b..c", "mailto:a@b,", "mailto:a@b_c"})
        EXPECT_NE(site::MailLinkProblem(bad), "") << bad;
    for (const char* good : {"tel:911", "tel:+44-20-7946-0000", "tel:(555)%20123"})
        EXPECT_EQ(site::PhoneLinkProblem(good), "") << good;
    for (const char* bad : {"tel:", "tel:+", "tel:12+3", "tel:abc", "tel:--"})
        EXPECT_NE(site::PhoneLinkProblem(bad), "") << bad;
}

TEST(SiteLinkCheck, ItemLinksListEveryLinkedItemOnOneLine) {
    CAppletParameters model;
    CFurlin& top = *model.InsertNewMenu();
    CFurlinItem* a = AddItem(top, "A\r\nline", "a.html");
    AddItem(*a->GetSubMenu(), "", "https://x.example/\tq");
    AddItem(top, "no link", " ");
    EXPECT_EQ(site::ItemLinksText(model),
              "0.0\tA  line\ta.html\n0.0.0\tA  line > (no label)\thttps://x.example/ q\n");
}

TEST(SiteLinkCheck, ALinkThroughALinkInsideTheSiteCountsForThePageItReaches) {
    GeneratedSite site;
    fs::create_symlink(site.root + "/about.html", site.root + "/alias.html");
    fs::create_directory_symlink(site.root + "/products", site.root + "/goods");
    CAppletParameters model;
    CFurlin& top = *model.InsertNewMenu();
    AddItem(top, "About", "alias.html");
    AddItem(top, "Goods", "goods/");
    const site::LinkCheckResult result = site::CheckSiteLinks(model, List(site.root));
    EXPECT_TRUE(result.broken.empty());
    const auto& unlisted = result.notInMenu;
    EXPECT_EQ(std::count(unlisted.begin(), unlisted.end(), "about.html"), 0);
    EXPECT_EQ(std::count(unlisted.begin(), unlisted.end(), "products/index.html"), 0);
    EXPECT_EQ(std::count(unlisted.begin(), unlisted.end(), "products/a.html"), 1);
}
