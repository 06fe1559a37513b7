// What the pages' buttons open: their modal dialogs (through a replaceable runner, so tests
// answer them without a modal loop) and the web-path file chooser.
#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Runs a dialog modally; true for OK. By default exec().
using PageDialogRunner = std::function<bool(QDialog& dialog)>;
PageDialogRunner& PageDialogRunnerFunction();
bool RunPageDialog(QDialog& dialog);

// Opens the CWebPathFileDialog; on OK filePath gets the chosen file and webPath the normalised
// web folder, and true is returned. Cancel leaves both untouched.
bool ChooseWebPathFile(QWidget* parent, const QString& fileName, const QString& filter,
                       const QString& presetWebPath, QString* filePath, QString* webPath);
