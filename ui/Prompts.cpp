#include "Prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace ui {
namespace {

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Stop:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

Prompts defaults() {
    Prompts p;
    p.message = [](QWidget* parent, const QString& title, const QString& text, Icon icon) {
        QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, parent);
        box.exec();
    };
    p.askOkCancel = [](QWidget* parent, const QString& title, const QString& text, Icon icon) {
        QMessageBox box(toQt(icon), title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
        return box.exec() == QMessageBox::Ok;
    };
    p.askYesNoCancel = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Warning, title, text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        int r = box.exec();
        return r == QMessageBox::Yes ? 1 : r == QMessageBox::No ? 0 : -1;
    };
    p.askChoice = [](QWidget* parent, const QString& title, const QString& text,
                     const QStringList& buttons, int defaultButton) {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
        QList<QAbstractButton*> added;
        for (const QString& label : buttons)
            added << box.addButton(label, QMessageBox::ActionRole);
        // Escape and the close box answer -1, which every caller takes as the safe way out.
        QPushButton* escape = box.addButton(QMessageBox::Cancel);
        escape->hide();
        box.setEscapeButton(escape);
        if (defaultButton >= 0 && defaultButton < added.size())
            box.setDefaultButton(static_cast<QPushButton*>(added[defaultButton]));
        box.exec();
        return static_cast<int>(added.indexOf(box.clickedButton()));
    };
    p.pickColor = [](QWidget* parent, QColor* color) {
        QColor chosen = QColorDialog::getColor(*color, parent);
        if (!chosen.isValid())
            return false;
        *color = chosen;
        return true;
    };
    p.pickFolder = [](QWidget* parent, const QString& caption, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, caption, start);
    };
    p.pickOpenFile = [](QWidget* parent, const QString& caption, const QString& start,
                        const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, start, QtFileFilter(filter));
    };
    p.pickSaveFile = [](QWidget* parent, const QString& caption, const QString& start,
                        const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, start, QtFileFilter(filter));
    };
    return p;
}

} // namespace

QString QtFileFilter(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        patterns.replace(';', ' ');
        // A description that already names its patterns shows them once.
        const QString named = QStringLiteral("(%1)").arg(patterns);
        out << (description.endsWith(named) ? description
                                            : QStringLiteral("%1 %2").arg(description, named));
    }
    return out.join(QStringLiteral(";;"));
}

Prompts& prompts() {
    static Prompts current = defaults();
    return current;
}

void resetPrompts() {
    prompts() = defaults();
}

void showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    prompts().message(parent, title, text, icon);
}

bool askOkCancel(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    return prompts().askOkCancel(parent, title, text, icon);
}

bool canShowDialogs() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
           QGuiApplication::primaryScreen() != nullptr;
}

} // namespace ui
