// The one seam through which everything the user is told or asked passes. The defaults show
// Qt dialogs; tests replace the functions to read the exact texts and to answer.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace ui {

enum class Icon { None, Information, Warning, Exclamation, Stop, Question };

struct Prompts {
    // A message with an OK button.
    std::function<void(QWidget* parent, const QString& title, const QString& text, Icon icon)>
        message;
    // OK/Cancel question; true for OK.
    std::function<bool(QWidget* parent, const QString& title, const QString& text, Icon icon)>
        askOkCancel;
    // Yes/No/Cancel question: 1 yes, 0 no, -1 cancel.
    std::function<int(QWidget* parent, const QString& title, const QString& text)> askYesNoCancel;
    // A question answered by one of its own buttons: the index of the button chosen, or -1 when
    // the box was closed without one. Enter presses the default button.
    std::function<int(QWidget* parent, const QString& title, const QString& text,
                      const QStringList& buttons, int defaultButton)>
        askChoice;
    // A colour chooser preset to the colour; false when cancelled.
    std::function<bool(QWidget* parent, QColor* color)> pickColor;
    // A folder picker; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& start)>
        pickFolder;
    // An open-file chooser ("Description | *.a;*.b" filters); empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& start,
                          const QString& filter)>
        pickOpenFile;
    // A save-file chooser; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& start,
                          const QString& filter)>
        pickSaveFile;
};

// A "Description | *.a;*.b | ..." filter in Qt's form, "Description (*.a *.b);;...". A description
// that already ends with its patterns in brackets is kept as it is.
QString QtFileFilter(const QString& filter);

// The prompts in force (the Qt defaults until replaced).
Prompts& prompts();
// Puts the Qt defaults back.
void resetPrompts();

// Shorthands.
void showMessage(QWidget* parent, const QString& title, const QString& text,
                 Icon icon = Icon::Exclamation);
bool askOkCancel(QWidget* parent, const QString& title, const QString& text,
                 Icon icon = Icon::Question);

// True when a Qt application with a screen is running, so modal dialogs can be shown at all.
bool canShowDialogs();

} // namespace ui
