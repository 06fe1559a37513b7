// How quickly the configuration dialog's find bar answers a keystroke in a 10,000-item widget:
// from the key typed into the find field to the matching rows highlighted and painted (goal
// 50 ms), and the step to the next match with Enter. Google Benchmark; run by hand.
#include "CAppletParameters.h"
#include "CConfigPreview.h"
#include "CDlgConfig.h"
#include "CEditSession.h"
#include "CFindBar.h"
#include "CFurlin.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// 100 items at the top, 99 below each: 10,000 items, each with a link.
void BuildTenThousand(CAppletParameters& model) {
    model.AddMenu(std::make_unique<CFurlin>(), false);
    CFurlin* top = model.Menus().back().get();
    auto add = [](CFurlin& menu, const std::string& label) {
        auto item = std::make_unique<CFurlinItem>();
        item->Label = label;
        item->Link = "page-" + label + ".html";
        CFurlinItem* raw = item.get();
        menu.AddItem(std::move(item), false);
        return raw;
    };
    for (int a = 0; a < 100; ++a) {
        CFurlinItem* first = add(*top, "Item " + std::to_string(a));
        for (int b = 0; b < 99; ++b)
            add(*first->GetSubMenu(), "Leaf " + std::to_string(a) + "." + std::to_string(b));
    }
}

// The dialog on screen with the find bar open, as the author has it.
struct Shown {
    CAppletParameters model;
    std::unique_ptr<CEditSession> session;
    std::unique_ptr<CDlgConfig> dialog;

    Shown() {
        BuildTenThousand(model);
        session = std::make_unique<CEditSession>(model);
        dialog = std::make_unique<CDlgConfig>();
        dialog->SetSession(session.get());
        dialog->resize(900, 700);
        dialog->show();
        dialog->activateWindow();
        (void)QTest::qWaitForWindowExposed(dialog.get());
        dialog->OnFind();
        QApplication::processEvents();
    }
    QLineEdit* Field() const { return dialog->FindBar()->Field(); }
};

// The field holds all of the query but its last character; the timing covers that character
// typed, the search, the first match selected and its page shown, and the tree painted.
void Keystroke(benchmark::State& state, const QString& query) {
    Shown shown;
    const QString before = query.left(query.size() - 1);
    const QChar last = query.back();
    std::size_t matches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        shown.Field()->setText(before);
        shown.dialog->FindBar()->Search(before);
        QApplication::processEvents();
        state.ResumeTiming();
        QTest::keyClick(shown.Field(), last.toLatin1());
        QApplication::processEvents();
        matches = shown.dialog->FindBar()->Matches().size();
    }
    state.counters["matches"] = double(matches);
}

void BM_KeystrokeMatchingAll(benchmark::State& state) {
    Keystroke(state, QStringLiteral("html")); // every link
}
void BM_KeystrokeMatchingFew(benchmark::State& state) {
    Keystroke(state, QStringLiteral("leaf 42.1")); // 11 labels, and the same 11 links
}
void BM_KeystrokeMatchingNone(benchmark::State& state) {
    Keystroke(state, QStringLiteral("nowhere"));
}

void BM_EnterToTheNextMatch(benchmark::State& state) {
    Shown shown;
    QTest::keyClicks(shown.Field(), QStringLiteral("leaf 9"));
    QApplication::processEvents();
    for (auto _ : state) {
        QTest::keyClick(shown.Field(), Qt::Key_Return);
        QApplication::processEvents();
    }
    state.counters["matches"] = double(shown.dialog->FindBar()->Matches().size());
}

BENCHMARK(BM_KeystrokeMatchingAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeMatchingFew)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeMatchingNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnterToTheNextMatch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Never the author's own profile; the live preview stays off, so no web engine starts.
    QTemporaryDir profile;
    qputenv("XDG_CONFIG_HOME", profile.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CConfigPreview::Profile()->setValue(QString::fromUtf8(CConfigPreview::kShownKey), false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
