// Moving values between a page's controls and its member values, with the standard refusals
// for number fields.
#pragma once

#include "QtText.h"

#include <QCoreApplication>
#include <QString>

#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

// Title of the refusal messages.
extern const QString kDataExchangeTitle;

// One reading pass over a page's controls. A refused field keeps its value; the first refusal of
// the pass is reported and its field gets the focus, later ones only keep their values, so one
// mistake never costs the user a cascade of boxes.
class CDataExchange {
    Q_DECLARE_TR_FUNCTIONS(CDataExchange)

public:
    explicit CDataExchange(QWidget* owner) : m_owner(owner) {}
    // A pass that refuses without telling anyone: for reading controls into a scratch copy.
    static CDataExchange Silent() { return CDataExchange(nullptr, false); }

    void Int(QLineEdit* field, int& value);
    void Int(QWidget* field, const QString& text, int& value);
    void IntRange(QWidget* field, const QString& text, int minimum, int maximum, int& value);
    // A list or radio group showing no choice keeps the value: a stored value the control cannot
    // show passes through unchanged instead of becoming -1.
    void Index(QComboBox* list, int& value);
    void Radio(QButtonGroup* group, int& value);
    void Check(QCheckBox* box, int& value);

    bool Ok() const { return m_ok; }

private:
    CDataExchange(QWidget* owner, bool report) : m_owner(owner), m_report(report) {}
    void Refuse(QWidget* field, const QString& message);

    QWidget* m_owner;
    bool m_report = true;
    bool m_ok = true;
};

// Parses a whole field as a decimal integer (surrounding blanks allowed).
bool ParseInt(const QString& text, int* value);

// Shows a value in a control; an index the control does not hold selects nothing.
void ShowIndex(QComboBox* list, int value);
void ShowRadio(QButtonGroup* group, int value);
