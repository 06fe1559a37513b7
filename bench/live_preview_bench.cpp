// How quickly the configuration dialog's live preview follows an edit, and what the pane costs
// the dialog's opening. Run by hand (see bench/README.md); not a CTest.
#include "CAppletParameters.h"
#include "CConfigPreview.h"
#include "CDlgConfig.h"
#include "CEditSession.h"
#include "CFoldline.h"
#include "CFurlin.h"
#include "CLivePreview.h"
#include "CPropertySheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kEdits = 30;
constexpr int kOpenings = 5;

void WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

QString Evaluate(CLivePreview& pane, const QString& script) {
    auto answer = std::make_shared<std::optional<QString>>();
    pane.View()->page()->runJavaScript(script,
                                       [answer](const QVariant& v) { *answer = v.toString(); });
    WaitUntil([&] { return answer->has_value(); });
    return answer->value_or(QString());
}

// A widget of 1,000 items: 10 at the top, 9 below each, 10 below each of those.
void BuildLarge(CAppletParameters& model) {
    model.AddMenu(std::make_unique<CFurlin>(), false);
    CFurlin* top = model.Menus().back().get();
    auto add = [](CFurlin& menu, const std::string& label) {
        auto item = std::make_unique<CFurlinItem>();
        item->Label = label;
        item->Link = label + ".html";
        CFurlinItem* raw = item.get();
        menu.AddItem(std::move(item), false);
        return raw;
    };
    for (int a = 0; a < 10; ++a) {
        CFurlinItem* first = add(*top, "Item " + std::to_string(a));
        for (int b = 0; b < 9; ++b) {
            CFurlinItem* second = add(*first->GetSubMenu(), "Sub " + std::to_string(b));
            for (int c = 0; c < 10; ++c)
                add(*second->GetSubMenu(), "Leaf " + std::to_string(c));
        }
    }
}

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures Summary(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.back()};
}

// From setting the label field of the first item's page to the pane's document showing it.
Figures EditToPane(CFoldline& component) {
    CConfigPreview::Profile()->setValue(CConfigPreview::kShownKey, true);
    CEditSession session(component.Model());
    CDlgConfig dialog;
    dialog.SetSession(&session);
    dialog.show();
    CLivePreview* pane = dialog.LivePreview();
    WaitUntil([&] { return pane->IsReady() && pane->RenderCount() > 0; });
    QTreeWidgetItem* first = dialog.RootNode()->child(0)->child(0);
    dialog.SelectNode(first);
    const QString id = CConfigPreview::NodeId(CDlgConfig::PathOf(first));
    auto* label = dialog.ItemSheet()->ActivePage()->findChild<QPlainTextEdit*>();
    std::vector<double> samples;
    for (int i = 0; i < kEdits; ++i) {
        const QString text = QStringLiteral("Edit %1").arg(i);
        const QString probe =
            QStringLiteral("(function () { var li = document.querySelector('#furlin-pane "
                           "li[data-furlin-node=\"%1\"]'); return li ? li.textContent : ''; })()")
                .arg(id);
        QElapsedTimer clock;
        clock.start();
        label->setPlainText(text);
        while (!Evaluate(*pane, probe).startsWith(text) && clock.elapsed() < 10000) {
        }
        samples.push_back(double(clock.nsecsElapsed()) / 1e6);
        QTest::qWait(50);
    }
    dialog.reject();
    return Summary(samples);
}

// Notes when a widget is first painted.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* widget, const QElapsedTimer& clock) : m_clock(clock) {
        widget->installEventFilter(this);
    }
    qint64 at = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && at < 0)
            at = m_clock.nsecsElapsed();
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& m_clock;
};

// From constructing the dialog to its tree first painted, ready for input; then the longest the
// event loop was held in the next two seconds (the engine starts then when the pane is on).
std::pair<Figures, Figures> Opening(CFoldline& component, bool withPane) {
    std::vector<double> open;
    std::vector<double> stall;
    for (int run = 0; run < kOpenings; ++run) {
        CConfigPreview::Profile()->setValue(CConfigPreview::kShownKey, withPane);
        QElapsedTimer clock;
        clock.start();
        CEditSession session(component.Model());
        CDlgConfig dialog;
        dialog.SetSession(&session);
        FirstPaint painted(dialog.Tree()->viewport(), clock);
        dialog.show();
        WaitUntil([&] { return dialog.IsReady() && painted.at >= 0; });
        open.push_back(double(painted.at) / 1e6);
        qint64 last = clock.elapsed();
        qint64 longest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        tick.start(1);
        const qint64 until = clock.elapsed() + 2000;
        WaitUntil([&] { return clock.elapsed() > until; });
        stall.push_back(double(longest));
        if (withPane && !(dialog.LivePreview() && dialog.LivePreview()->IsReady()))
            std::fprintf(stderr, "the pane did not start: %s\n",
                         dialog.LivePreview() ? qPrintable(dialog.LivePreview()->Problem()) : "");
        dialog.reject();
    }
    return {Summary(open), Summary(stall)};
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", scratch.filePath("config").toUtf8());
    qputenv("TESSEL_CLASSES_ROOT", scratch.filePath("classes.reg").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As root the engine runs only without its sandbox.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    CFoldline* fixture = new CFoldline;
    const char* path = FOLDLINE_SOURCE_DIR "/tests/e2e/fixtures/three-level.tsl";
    if (!fixture->ReadConfigFile(path)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    CFoldline* large = new CFoldline;
    BuildLarge(large->Model());

    // Opening first, so the first run pays the engine's start in this process, as a user does.
    for (bool withPane : {false, true}) {
        const auto [open, stall] = Opening(*fixture, withPane);
        std::printf("dialog usable, pane %-3s: median %6.1f ms, worst %6.1f ms; longest event-loop "
                    "hold after it: median %5.0f ms, worst %5.0f ms\n",
                    withPane ? "on" : "off", open.median, open.worst, stall.median, stall.worst);
    }
    const std::pair<const char*, CFoldline*> widgets[] = {{"three-level fixture", fixture},
                                                          {"1,000 items", large}};
    for (const auto& [name, component] : widgets) {
        const Figures edit = EditToPane(*component);
        std::printf("edit to pane, %-19s: median %6.1f ms, worst %6.1f ms (%d edits)\n", name,
                    edit.median, edit.worst, kEdits);
    }
    fixture->Release();
    large->Release();
    return 0;
}
