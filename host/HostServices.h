// The program's second seam next to ui::prompts(): opening documents and links with the system's
// handler, starting programs, and running modal dialogs. Tests replace these so nothing leaves
// the process or blocks.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QWidget;

namespace host {

struct Services {
    // Opens a file or link with the system's handler; true when a handler was started.
    std::function<bool(const QUrl& url)> openUrl;
    // Starts a program detached, in the given working folder (empty: the current one).
    std::function<bool(const QString& program, const QStringList& arguments,
                       const QString& workingFolder)>
        startProgram;
    // Shows a dialog modally; true when it was accepted.
    std::function<bool(QDialog& dialog)> runDialog;
};

Services& services();
void resetServices();

// Every message of the program: titled with the application title, exclamation icon, OK.
void Message(QWidget* parent, const QString& text);

// An OK/Cancel button row wired to the dialog's accept() and reject(); dialogs that check their
// fields do it in accept().
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// Makes the label the control's buddy, so screen readers name the control by the label. Lists and
// tables take no name from buddies; they are given the label's text without its colon.
void NameByLabel(QLabel* label, QWidget* control);

} // namespace host
