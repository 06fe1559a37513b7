#include "HostServices.h"

#include "HostStrings.h"
#include "Prompts.h"

#include <QAbstractItemView>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProcess>

namespace host {
namespace {

Services defaults() {
    Services s;
    s.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    s.startProgram = [](const QString& program, const QStringList& arguments,
                        const QString& workingFolder) {
        return QProcess::startDetached(program, arguments, workingFolder);
    };
    s.runDialog = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    return s;
}

} // namespace

Services& services() {
    static Services current = defaults();
    return current;
}

void resetServices() {
    services() = defaults();
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void NameByLabel(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    if (qobject_cast<QAbstractItemView*>(control) != nullptr) {
        QString name = label->text();
        if (name.endsWith(':'))
            name.chop(1);
        control->setAccessibleName(name);
    }
}

void Message(QWidget* parent, const QString& text) {
    ui::showMessage(parent, QString::fromUtf8(kAppTitle), text, ui::Icon::Exclamation);
}

} // namespace host
