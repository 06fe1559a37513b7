// The cost of the recovery copy of unsaved work: what the user-interface thread spends making
// the working document of a widget (the component's GetWorkingDocument, called as the program
// calls it every few seconds while there are unsaved changes; goal < 20 ms for 1,000 items), and
// the write that the program leaves to a thread of its own (a temporary file, synced, renamed).
#include "BenchWidget.h"
#include "CBackgroundWriter.h"
#include "CFoldline.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace {

// Support files that exist, so the working document lists them as a saved widget would.
const QTemporaryDir& Site() {
    static QTemporaryDir site;
    static bool made = false;
    if (!made) {
        for (int i = 0; i < 50; ++i) {
            QFile image(site.filePath(QStringLiteral("img%1.gif").arg(i)));
            if (image.open(QIODevice::WriteOnly))
                image.write("GIF89a");
        }
        made = true;
    }
    return site;
}

// One component instance, released at the end.
struct CInstance {
    CFoldline* object = new CFoldline();
    ~CInstance() { object->Release(); }
};

void WorkingDocument(benchmark::State& state) {
    CInstance widget;
    BuildWidget(widget.object->Model(), static_cast<int>(state.range(0)),
                Site().path().toStdString() + "/");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = widget.object->GetWorkingDocument();
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(WorkingDocument)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Off the user-interface thread: replacing the copy on disk, synced.
void BackgroundWrite(benchmark::State& state) {
    CInstance widget;
    BuildWidget(widget.object->Model(), static_cast<int>(state.range(0)),
                Site().path().toStdString() + "/");
    const QByteArray text = QByteArray::fromStdString(widget.object->GetWorkingDocument());
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("widget.tsl"));
    host::CBackgroundWriter writer;
    for (auto _ : state) {
        writer.Write(copy, text);
        writer.Flush();
    }
}
BENCHMARK(BackgroundWrite)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
