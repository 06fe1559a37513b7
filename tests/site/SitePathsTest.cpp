// How the site reads links: which are its own, where they lead, how each page writes them.
#include "SitePaths.h"

#include <gtest/gtest.h>

using site::LinkKind;

TEST(SitePaths, KindsOfLinks) {
    EXPECT_EQ(site::KindOfLink(""), LinkKind::None);
    EXPECT_EQ(site::KindOfLink("  "), LinkKind::None);
    EXPECT_EQ(site::KindOfLink(" JavaScript:alert(1)"), LinkKind::None);
    EXPECT_EQ(site::KindOfLink("products/a.html"), LinkKind::SiteRelative);
    EXPECT_EQ(site::KindOfLink("../up.html"), LinkKind::SiteRelative);
    EXPECT_EQ(site::KindOfLink("#top"), LinkKind::SamePage);
    EXPECT_EQ(site::KindOfLink("?page=2"), LinkKind::SamePage);
    EXPECT_EQ(site::KindOfLink("/a.html"), LinkKind::Rooted);
    EXPECT_EQ(site::KindOfLink("\\a.html"), LinkKind::Rooted);
    EXPECT_EQ(site::KindOfLink("//cdn.example.com/x"), LinkKind::Web);
    EXPECT_EQ(site::KindOfLink("HTTPS://example.com"), LinkKind::Web);
    EXPECT_EQ(site::KindOfLink("mailto:a@b.c"), LinkKind::Mail);
    EXPECT_EQ(site::KindOfLink("tel:+1 555"), LinkKind::Phone);
    EXPECT_EQ(site::KindOfLink("ftp://x"), LinkKind::OtherScheme);
    EXPECT_EQ(site::KindOfLink("c:/x.html"), LinkKind::OtherScheme);
    // A colon after anything a scheme cannot hold is part of a path.
    EXPECT_EQ(site::KindOfLink("my page:1.html"), LinkKind::SiteRelative);
    EXPECT_EQ(site::KindOfLink("1st:a.html"), LinkKind::SiteRelative);
    EXPECT_EQ(site::KindOfLink("a.b/c:d"), LinkKind::SiteRelative);
    EXPECT_EQ(site::KindOfLink("x-y+z.1:q"), LinkKind::OtherScheme);
}

TEST(SitePaths, SiteLinksAreRewrittenForThePageAtEachDepth) {
    // From the root, one folder down and two folders down.
    EXPECT_EQ(site::LinkForPage("index.html", "products/a.html"), "products/a.html");
    EXPECT_EQ(site::LinkForPage("products/a.html", "index.html"), "../index.html");
    EXPECT_EQ(site::LinkForPage("products/a.html", "products/b.html"), "b.html");
    EXPECT_EQ(site::LinkForPage("products/deep/b.html", "index.html"), "../../index.html");
    EXPECT_EQ(site::LinkForPage("products/deep/b.html", "products/a.html"), "../a.html");
    EXPECT_EQ(site::LinkForPage("products/deep/b.html", "news/x.html"), "../../news/x.html");
    // Folders keep their slash; the page's own folder is "./".
    EXPECT_EQ(site::LinkForPage("products/a.html", "products/"), "./");
    EXPECT_EQ(site::LinkForPage("products/deep/b.html", "products/"), "../");
    EXPECT_EQ(site::LinkForPage("index.html", "products/deep/"), "products/deep/");
    // A folder written without its slash is still named, never shortened to nothing.
    EXPECT_EQ(site::LinkForPage("products/a.html", "products"), "../products");
    // Query and fragment stay as written; "." and ".." are applied.
    EXPECT_EQ(site::LinkForPage("products/a.html", "./products/deep/../b.html?x=1#y"),
              "b.html?x=1#y");
    // Escaped names compare with the folders they name.
    EXPECT_EQ(site::LinkForPage("my pages/a.html", "my%20pages/b.html"), "b.html");
    // A first name with ":" would read as a scheme.
    EXPECT_EQ(site::LinkForPage("dir/a.html", "dir/x:y.html"), "./x:y.html");
}

TEST(SitePaths, OtherLinksStayAsWritten) {
    for (const char* link : {"https://example.com/a.html", "/rooted.html", "#top", "?q=1",
                             "mailto:a@b.c", "javascript:void(0)", "", "../outside.html"})
        EXPECT_EQ(site::LinkForPage("products/deep/b.html", link), link) << link;
}

TEST(SitePaths, TargetsAndThePagesTheyName) {
    auto target = site::ResolveSiteLink("products/./my%20page.html#Sec%202");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->path, "products/my page.html");
    EXPECT_FALSE(target->folder);
    EXPECT_TRUE(target->hasFragment);
    EXPECT_EQ(target->fragment, "Sec 2");
    EXPECT_EQ(site::PagesNamedBy(*target),
              (std::vector<std::string>{"products/my page.html", "products/my page.html/index.html",
                                        "products/my page.html/index.htm"}));

    target = site::ResolveSiteLink("products/");
    ASSERT_TRUE(target);
    EXPECT_TRUE(target->folder);
    EXPECT_EQ(site::PagesNamedBy(*target),
              (std::vector<std::string>{"products/index.html", "products/index.htm"}));
    EXPECT_EQ(site::PagesNamedBy(*site::ResolveSiteLink("./")),
              (std::vector<std::string>{"index.html", "index.htm"}));

    EXPECT_FALSE(site::ResolveSiteLink("../x.html"));
    EXPECT_FALSE(site::ResolveSiteLink("a/../../x.html"));
    EXPECT_EQ(site::ResolveSiteLink("a/../x.html")->path, "x.html");
}

TEST(SitePaths, FoldersPathsAndPageNames) {
    EXPECT_EQ(site::FolderForPage("index.html", "foldline/"), "foldline/");
    EXPECT_EQ(site::FolderForPage("a/b/c.html", "foldline/"), "../../foldline/");
    EXPECT_EQ(site::LinkOfSitePath("my pages/caf\xC3\xA9 #1?.html"),
              "my%20pages/caf%C3%A9%20%231%3F.html");
    EXPECT_EQ(site::PercentDecoded("a%2Fb%zz%4"), "a/b%zz%4");
    EXPECT_EQ(site::PercentDecoded("%2f%C3%a9%G1"), "/\xC3\xA9%G1");
    EXPECT_TRUE(site::IsIndexName("index.html"));
    EXPECT_TRUE(site::IsIndexName("index.htm"));
    EXPECT_FALSE(site::IsIndexName("index.html5"));
    EXPECT_FALSE(site::IsIndexName("docs/index.html"));
    EXPECT_TRUE(site::IsPageName("A.HTML"));
    EXPECT_TRUE(site::IsPageName("b.htm"));
    EXPECT_FALSE(site::IsPageName(".html"));
    EXPECT_FALSE(site::IsPageName("x.html.bak"));
}
