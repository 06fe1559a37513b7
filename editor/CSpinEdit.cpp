#include "CSpinEdit.h"

#include "DataExchange.h"

#include <QLineEdit>

#include <algorithm>

CSpinEdit::CSpinEdit(int minimum, int maximum, bool allowMinus, QWidget* parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum), m_allowMinus(allowMinus) {
    setWrapping(false);
    setAccelerated(false);
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &CSpinEdit::TextChanged);
}

QString CSpinEdit::Text() const {
    return lineEdit()->text();
}

void CSpinEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
}

// Plain decimal digits, no group separators.
void CSpinEdit::SetValue(int value) {
    SetText(QString::number(value));
}

void CSpinEdit::stepBy(int steps) {
    int value = 0;
    if (!ParseInt(Text(), &value))
        value = std::clamp(0, m_minimum, m_maximum);
    long long next = static_cast<long long>(value) + steps;
    SetValue(static_cast<int>(std::clamp<long long>(next, m_minimum, m_maximum)));
    lineEdit()->selectAll();
}

QValidator::State CSpinEdit::validate(QString& input, int&) const {
    for (int i = 0; i < input.size(); ++i) {
        QChar c = input[i];
        if (c.isDigit() && c.unicode() < 128)
            continue;
        if (m_allowMinus && i == 0 && c == QLatin1Char('-'))
            continue;
        return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled CSpinEdit::stepEnabled() const {
    int value = 0;
    if (!ParseInt(Text(), &value))
        return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (value < m_maximum)
        enabled |= StepUpEnabled;
    if (value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}
