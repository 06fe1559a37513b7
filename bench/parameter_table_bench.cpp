// Writes a widget to the stored parameter table and reads it back, for growing widgets. The
// per-item time must stay flat as the widget grows.
#include "CAppletParameters.h"
#include "CTesselFile.h"

#include <benchmark/benchmark.h>

#include <deque>

namespace {

// `count` items, ten to a menu, filled breadth first so the tree is wide and shallow like real
// widgets.
void BuildWidget(CAppletParameters& applet, int count) {
    std::deque<CFurlin*> open{applet.InsertNewMenu()};
    int made = 0;
    while (made < count) {
        CFurlin* menu = open.front();
        open.pop_front();
        for (int i = 0; i < 10 && made < count; ++i, ++made) {
            auto item = std::make_unique<CFurlinItem>();
            item->Label = "Item, number " + std::to_string(made);
            item->Link = "http://example.test/page" + std::to_string(made) + ".htm";
            item->NormalImage = "/site/img" + std::to_string(made % 50) + ".gif";
            item->NormalImageWebPath = "img/";
            open.push_back(item->GetSubMenu());
            menu->AddItem(std::move(item), false);
        }
    }
}

void WriteAndRead(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    CAppletParameters applet;
    BuildWidget(applet, count);
    for (auto _ : state) {
        CTesselFile document;
        applet.WriteParameters(document);
        CAppletParameters read;
        if (!read.ReadParameters(document, "/site/")) {
            state.SkipWithError("the written table did not read back");
            break;
        }
        benchmark::DoNotOptimize(read.Menus().data());
    }
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(count),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(WriteAndRead)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
