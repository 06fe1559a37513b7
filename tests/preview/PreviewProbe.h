// Reads what a live preview pane shows: scripts run in its page, and waits for an answer.
#pragma once

#include "CLivePreview.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <optional>
#include <string>

namespace probe {

inline constexpr int kTimeoutMs = 20000;

// The number of items the pane's widget holds.
inline const QString kItemCount =
    QStringLiteral("String(document.querySelectorAll('#furlin-pane li').length)");

// The text of the item with this node identifier, or "(none)".
inline QString LabelOf(const QString& node) {
    return QStringLiteral("(function (id) {"
                          " var li = document.querySelector('#furlin-pane li[data-furlin-node=\"' "
                          "+ id + '\"]');"
                          " var control = li && li.querySelector(':scope > .furlin-item');"
                          " return control ? control.textContent : '(none)'; })('%1')")
        .arg(node);
}

// The script's answer as text; "(no answer)" when the page gives none in time.
inline std::string Text(CLivePreview& pane, const QString& script) {
    if (!pane.View())
        return "(no view)";
    auto answer = std::make_shared<std::optional<QVariant>>();
    pane.View()->page()->runJavaScript(script, [answer](const QVariant& v) { *answer = v; });
    (void)QTest::qWaitFor([&] { return answer->has_value(); }, kTimeoutMs);
    return answer->has_value() ? (*answer)->toString().toStdString() : "(no answer)";
}

// Waits until the script answers expected; the last answer otherwise.
inline std::string WaitFor(CLivePreview& pane, const QString& script, const std::string& expected) {
    QDeadlineTimer deadline(kTimeoutMs);
    std::string last;
    do {
        last = Text(pane, script);
        if (last == expected)
            break;
        QTest::qWait(10);
    } while (!deadline.hasExpired());
    return last;
}

// Waits until the page is ready (true) or the pane gave up (false).
inline bool WaitReady(CLivePreview& pane) {
    (void)QTest::qWaitFor([&] { return pane.IsReady() || pane.IsUnavailable(); }, kTimeoutMs * 2);
    return pane.IsReady();
}

} // namespace probe
