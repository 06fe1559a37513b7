// Publishes a 500-item menu into a generated site of 1,000 pages (ten folders of ten folders of
// ten pages, each a few kilobytes with the markers): every page rewritten, then a second publish
// that finds every page unchanged. Goal: the full publish under 5 s.
#include "CAppletParameters.h"
#include "SiteFolder.h"
#include "SitePublish.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 10; // per level, two levels of folders
constexpr int kPagesPerFolder = 10;
const std::string kName = "Site Menu";

std::string PagePath(int a, int b, int c) {
    return "s" + std::to_string(a) + "/s" + std::to_string(b) + "/p" + std::to_string(c) + ".html";
}

std::string PageText(int n) {
    std::string text = "<!doctype html>\n<html><head><title>Page " + std::to_string(n) +
                       "</title></head>\n<body>\n<header>Site</header>\n<!-- foldline:" + kName +
                       " -->\n<!-- /foldline:" + kName + " -->\n<main>\n";
    for (int i = 0; i < 40; ++i)
        text += "<p>Paragraph " + std::to_string(i) + " of the page's own text.</p>\n";
    return text + "</main>\n</body></html>\n";
}

// The site in a scratch folder, its pages as first written (to write them again each round).
struct Site {
    std::string root;
    std::vector<std::pair<std::string, std::string>> pages;

    Site() {
        std::string pattern = (fs::temp_directory_path() / "foldline-publish-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        root = pattern;
        int n = 0;
        for (int a = 0; a < kFolders; ++a)
            for (int b = 0; b < kFolders; ++b)
                for (int c = 0; c < kPagesPerFolder; ++c)
                    pages.emplace_back(PagePath(a, b, c), PageText(n++));
        Reset();
    }
    ~Site() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    void Reset() const {
        for (const auto& [path, text] : pages) {
            fs::create_directories(fs::path(root + "/" + path).parent_path());
            std::ofstream(root + "/" + path, std::ios::binary | std::ios::trunc) << text;
        }
    }
};

// 500 items: ten at the top, seven below each, six below each of those, linking site pages.
void BuildMenu(CAppletParameters& model) {
    model.Name = kName;
    CFurlin& top = *model.InsertNewMenu();
    int made = 0;
    auto add = [&made](CFurlin& menu) {
        auto item = std::make_unique<CFurlinItem>();
        item->Label = "Item " + std::to_string(made);
        item->Link =
            PagePath(made % kFolders, (made / kFolders) % kFolders, (made / 100) % kPagesPerFolder);
        ++made;
        CFurlinItem* raw = item.get();
        menu.AddItem(std::move(item), false);
        return raw;
    };
    for (int i = 0; i < 10; ++i) {
        CFurlinItem* first = add(top);
        for (int j = 0; j < 7; ++j) {
            CFurlinItem* second = add(*first->GetSubMenu());
            for (int k = 0; k < 6; ++k)
                add(*second->GetSubMenu());
        }
    }
}

site::PublishReport Publish(const CAppletParameters& model, const std::string& root) {
    site::SiteListing listing;
    std::string reason;
    site::ListSite(root, listing, reason);
    return site::PublishPages(model, listing, false);
}

void PublishEveryPage(benchmark::State& state) {
    const Site site;
    CAppletParameters model;
    BuildMenu(model);
    for (auto _ : state) {
        state.PauseTiming();
        site.Reset();
        state.ResumeTiming();
        const site::PublishReport report = Publish(model, site.root);
        if (report.updated != 1000 || !report.problems.empty())
            state.SkipWithError(report.Text().c_str());
    }
}

void PublishUnchanged(benchmark::State& state) {
    const Site site;
    CAppletParameters model;
    BuildMenu(model);
    Publish(model, site.root);
    for (auto _ : state) {
        const site::PublishReport report = Publish(model, site.root);
        if (report.unchanged != 1000)
            state.SkipWithError(report.Text().c_str());
    }
}

} // namespace

BENCHMARK(PublishEveryPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(PublishUnchanged)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
