// Writes a widget to the stored parameter table and reads it back, for growing widgets, and times
// the round trip of a widget file (load and read, then write and save) against a plain copy of
// the same file's bytes. The per-item time must stay flat as the widget grows.
#include "BenchWidget.h"
#include "CAppletParameters.h"
#include "CTesselFile.h"
#include "FoldlineDispatch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

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

// A scratch folder for the widget files, removed at exit.
class CScratch {
public:
    CScratch() {
        const char* base = std::getenv("TMPDIR");
        m_folder = std::string(base && *base ? base : "/tmp") + "/foldline-bench-XXXXXX";
        if (::mkdtemp(m_folder.data()) == nullptr)
            std::abort();
        m_folder += "/";
    }
    ~CScratch() {
        for (const char* name : {"source.tsl", "written.tsl", "copy.tsl"})
            std::remove((m_folder + name).c_str());
        ::rmdir(m_folder.c_str());
    }
    std::string File(const char* name) const { return m_folder + name; }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};

const CScratch& Scratch() {
    static const CScratch scratch;
    return scratch;
}

// The widget file of `count` items, written once per size.
const std::string& WidgetFile(int count) {
    static int written = -1;
    static const std::string path = Scratch().File("source.tsl");
    if (written != count) {
        CAppletParameters applet;
        BuildWidget(applet, count);
        CTesselFile document;
        document.SetDescription("ProgID", kFoldlineProgID);
        applet.WriteParameters(document);
        if (!document.Save(path))
            std::abort();
        written = count;
    }
    return path;
}

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// What opening and saving a widget costs the component: load the file and rebuild the model,
// then rebuild the table and save it.
bool RoundTrip(const std::string& source, const std::string& target) {
    CTesselFile document;
    CAppletParameters model;
    if (!document.Load(source) || !model.ReadParameters(document, Scratch().Folder()))
        return false;
    CTesselFile out;
    out.SetDescription("ProgID", kFoldlineProgID);
    model.WriteParameters(out);
    return out.Save(target);
}

// The same bytes copied with nothing in between, as the file system copies a file.
bool PlainCopy(const std::string& source, const std::string& target) {
    std::error_code ec;
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing,
                               ec);
    return !ec;
}

double BestCopySeconds(const std::string& source) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        if (!PlainCopy(source, Scratch().File("copy.tsl")))
            std::abort();
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

void ReportPerItem(benchmark::State& state, int count) {
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(count),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void FileRoundTrip(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    const std::string& source = WidgetFile(count);
    const std::string target = Scratch().File("written.tsl");
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!RoundTrip(source, target)) {
            state.SkipWithError("the widget file did not make the round trip");
            break;
        }
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    ReportPerItem(state, count);
    if (state.iterations() > 0)
        state.counters["x_copy"] =
            total / static_cast<double>(state.iterations()) / BestCopySeconds(source);
}

void FileCopy(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    const std::string& source = WidgetFile(count);
    const std::string target = Scratch().File("copy.tsl");
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!PlainCopy(source, target)) {
            state.SkipWithError("the copy failed");
            break;
        }
        state.SetIterationTime(SecondsSince(start));
    }
    std::ifstream in(source, std::ios::binary | std::ios::ate);
    state.counters["bytes"] = static_cast<double>(in.tellg());
    ReportPerItem(state, count);
}

} // namespace

BENCHMARK(WriteAndRead)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FileRoundTrip)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FileCopy)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
