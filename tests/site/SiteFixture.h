// A generated site of pages at three depths and a menu for it, shared by the site tests, and a
// reading of published pages with the same HTML parser the site work uses.
#pragma once

#include "CAppletParameters.h"
#include "ModelFixtures.h"
#include "SiteFolder.h"
#include "TempDir.h"

#include <gumbo.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace site_test {

namespace fs = std::filesystem;

inline const std::string kName = "Site Menu";
inline const std::string kOpen = "<!-- foldline:Site Menu -->";
inline const std::string kClose = "<!-- /foldline:Site Menu -->";

// A page with the markers between a head and a tail the test can find again.
inline std::string MarkedPage(const std::string& title, const std::string& lineEnd = "\n",
                              const std::string& body = "") {
    return "<!doctype html>" + lineEnd + "<html><head><title>" + title + "</title></head>" +
           lineEnd + "<body>" + body + lineEnd + kOpen + kClose + lineEnd + "<p>tail of " + title +
           "</p></body></html>" + lineEnd;
}

inline void Write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    CTempDir::Write(path, text);
}

// The site: pages at the root, one and two folders down, with and without the markers, with
// broken markers, in Windows-1252, and places the walk must not enter.
struct GeneratedSite {
    CTempDir dir;
    CTempDir outside;
    std::string root;

    GeneratedSite() : root(dir.Path()) {
        Write(root + "/index.html", MarkedPage("Home \xC2\xB7 Caf\xC3\xA9", "\r\n"));
        Write(root + "/about.html", "<html><head><title>About</title></head><body>no menu</body>"
                                    "</html>\n");
        Write(root + "/products/index.html", MarkedPage("Products"));
        Write(root + "/products/a.html", MarkedPage("Gadget A"));
        Write(root + "/products/deep/index.html", MarkedPage("Specs"));
        Write(root + "/products/deep/b.html",
              MarkedPage("Deep B", "\n", "<h2 id=\"intro\">Intro</h2>"));
        Write(root + "/products/deep/latin1.html", MarkedPage("Cr\xE8me br\xFBl\xE9"
                                                              "e"));
        Write(root + "/broken.html", "<html><body>" + kOpen + "<p>half</p></body></html>\n");
        Write(root + "/twice.html", "<html><body>" + kOpen + kOpen + kClose + "</body></html>\n");
        Write(root + "/foldline/not-a-page.html", MarkedPage("Runtime folder"));
        Write(root + "/.hidden/x.html", MarkedPage("Hidden"));
        Write(outside.Path() + "/elsewhere.html", MarkedPage("Elsewhere"));
        fs::create_directory_symlink(outside.Path(), root + "/linked");
        fs::create_symlink(outside.Path() + "/elsewhere.html", root + "/linked-page.html");
    }

    std::string Read(const std::string& page) const { return CTempDir::Read(root + "/" + page); }

    // Every file under the site and outside it, with its bytes.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const std::string& base : {dir.Path(), outside.Path()})
            for (const auto& entry : fs::recursive_directory_iterator(base))
                if (entry.is_regular_file() && !entry.is_symlink())
                    files[entry.path().string()] = CTempDir::Read(entry.path().string());
        return files;
    }
};

using testing_model::AddItem;

// The menu for the generated site: links at every depth, a folder link, a fragment, and links
// that publishing leaves as written.
inline void FillSiteMenu(CAppletParameters& model) {
    model.Name = kName;
    CFurlin& top = *model.InsertNewMenu();
    AddItem(top, "Home", "index.html");
    CFurlinItem* products = AddItem(top, "Products", "products/");
    AddItem(*products->GetSubMenu(), "Gadget A", "products/a.html");
    CFurlinItem* specs = AddItem(*products->GetSubMenu(), "Specs", "products/deep/");
    AddItem(*specs->GetSubMenu(), "Deep B", "products/deep/b.html#intro");
    AddItem(*specs->GetSubMenu(), "Cr\xC3\xA8me", "products/deep/latin1.html?x=1");
    AddItem(top, "About", "about.html");
    AddItem(top, "Web", "https://example.com/a.html");
    AddItem(top, "Rooted", "/rooted.html");
    AddItem(top, "Top", "#top");
}

struct Anchor {
    std::string href;
    bool current = false;
};

// The links of a page's <a> elements, in order, read with the HTML parser.
inline std::vector<Anchor> AnchorsOf(const std::string& html) {
    std::vector<Anchor> anchors;
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
    std::vector<const GumboNode*> pending{output->root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboElement& element = node->v.element;
        if (element.tag == GUMBO_TAG_A) {
            const GumboAttribute* href = gumbo_get_attribute(&element.attributes, "href");
            const GumboAttribute* current =
                gumbo_get_attribute(&element.attributes, "aria-current");
            anchors.push_back(
                {href ? href->value : "", current && std::string(current->value) == "page"});
        }
        for (unsigned i = element.children.length; i > 0; --i)
            pending.push_back(static_cast<const GumboNode*>(element.children.data[i - 1]));
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return anchors;
}

inline site::SiteListing List(const std::string& folder) {
    site::SiteListing listing;
    std::string reason;
    site::ListSite(folder, listing, reason);
    return listing;
}

} // namespace site_test
