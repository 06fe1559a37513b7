#include "DataExchange.h"

#include "Prompts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

const QString kDataExchangeTitle = QStringLiteral("Quillary Foldline");

bool ParseInt(const QString& text, int* value) {
    bool ok = false;
    int parsed = text.trimmed().toInt(&ok, 10);
    if (ok)
        *value = parsed;
    return ok;
}

void CDataExchange::Refuse(QWidget* field, const QString& message) {
    if (!m_ok || !m_report) {
        m_ok = false;
        return;
    }
    m_ok = false;
    ui::showMessage(m_owner, kDataExchangeTitle, message, ui::Icon::Exclamation);
    if (field) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
    }
}

void CDataExchange::Int(QLineEdit* field, int& value) {
    Int(field, field->text(), value);
}

void CDataExchange::Int(QWidget* field, const QString& text, int& value) {
    int parsed = 0;
    if (!ParseInt(text, &parsed)) {
        Refuse(field, tr("Please enter an integer."));
        return;
    }
    value = parsed;
}

void CDataExchange::IntRange(QWidget* field, const QString& text, int minimum, int maximum,
                             int& value) {
    int parsed = 0;
    if (!ParseInt(text, &parsed)) {
        Refuse(field, tr("Please enter an integer."));
        return;
    }
    if (parsed < minimum || parsed > maximum) {
        Refuse(field, tr("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum));
        return;
    }
    value = parsed;
}

void CDataExchange::Index(QComboBox* list, int& value) {
    if (list->currentIndex() >= 0)
        value = list->currentIndex();
}

void CDataExchange::Radio(QButtonGroup* group, int& value) {
    if (group->checkedId() >= 0)
        value = group->checkedId();
}

void CDataExchange::Check(QCheckBox* box, int& value) {
    value = box->isChecked() ? 1 : 0;
}

void ShowIndex(QComboBox* list, int value) {
    list->setCurrentIndex(value >= 0 && value < list->count() ? value : -1);
}

void ShowRadio(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied directly.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}
