#include "Reasons.h"

#include "CTessel.h"
#include "HostServices.h"

#include <QCoreApplication>

namespace host {
namespace {

// A member that only tells a reason must not turn a failure into another one.
template <typename Ask> std::string Quietly(Ask ask) {
    try {
        return ask();
    } catch (const std::exception&) {
        return std::string();
    }
}

QStringList Lines(const std::string& text) {
    return QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
}

} // namespace

QString WithReason(const QString& text, const QString& reason) {
    return reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason;
}

QString WithReason(const QString& text, const std::string& reason) {
    return WithReason(text, QString::fromStdString(reason));
}

std::string LastError(CTessel& widget) {
    return Quietly([&widget] { return widget.GetLastError(); });
}

WriteOutcome WriteWidget(CTessel& widget, const std::string& path) {
    WriteOutcome outcome;
    std::string failure;
    try {
        outcome.written = widget.WriteConfigFile(path);
    } catch (const CDispatchException& e) {
        failure = e.description;
    }
    if (!outcome.written) {
        const std::string told = LastError(widget);
        outcome.reason = QString::fromStdString(told.empty() ? failure : told);
    }
    outcome.copyFailures = Lines(Quietly([&widget] { return widget.GetLastCopyFailures(); }));
    return outcome;
}

QString CopyFailuresText(const QStringList& failures) {
    if (failures.isEmpty())
        return QString();
    return QCoreApplication::translate("host", "These support files could not be copied:") +
           QLatin1Char('\n') + failures.join(QLatin1Char('\n'));
}

QString WithReasons(const QString& text, const WriteOutcome& outcome) {
    return WithReason(WithReason(text, outcome.reason), CopyFailuresText(outcome.copyFailures));
}

void ReportCopyFailures(QWidget* parent, const QStringList& failures) {
    if (!failures.isEmpty())
        Message(parent, CopyFailuresText(failures));
}

} // namespace host
