#include "PageDialogs.h"

#include "CWebPathFileDialog.h"

#include <QDialog>

PageDialogRunner& PageDialogRunnerFunction() {
    static PageDialogRunner runner = [](QDialog& dialog) {
        return dialog.exec() == QDialog::Accepted;
    };
    return runner;
}

bool RunPageDialog(QDialog& dialog) {
    return PageDialogRunnerFunction()(dialog);
}

bool ChooseWebPathFile(QWidget* parent, const QString& fileName, const QString& filter,
                       const QString& presetWebPath, QString* filePath, QString* webPath) {
    CWebPathFileDialog dialog(parent, fileName, filter, presetWebPath);
    if (!dialog.Run())
        return false;
    *filePath = dialog.FilePath();
    *webPath = NormalizeWebPath(dialog.WebPath());
    return true;
}
