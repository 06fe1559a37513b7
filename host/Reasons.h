// Failures told with their reasons: the specified text first and exact, then the system's reason
// and the path; and the support files that a write could not copy.
#pragma once

#include <QString>
#include <QStringList>

#include <string>

class CTessel;
class QWidget;

namespace host {

// text, then a blank line and the reason when there is one.
QString WithReason(const QString& text, const QString& reason);
QString WithReason(const QString& text, const std::string& reason);

// What writing the widget came to.
struct WriteOutcome {
    bool written = false;
    QString reason;           // why it was not written: "path: reason"
    QStringList copyFailures; // "path: reason" for each support file that was not copied
};

// WriteConfigFile, where a write that failed part way counts as not written, with its reason.
WriteOutcome WriteWidget(CTessel& widget, const std::string& path);

// text, then why the write failed and the support files it could not copy.
QString WithReasons(const QString& text, const WriteOutcome& outcome);

// "These support files could not be copied:" and one line for each; empty when there is none.
QString CopyFailuresText(const QStringList& failures);
// Shows them in one message, when there are any.
void ReportCopyFailures(QWidget* parent, const QStringList& failures);

// Why the component's last read or write failed; empty when it cannot tell.
std::string LastError(CTessel& widget);

} // namespace host
