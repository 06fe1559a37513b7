#include "PageBindings.h"

#include "CColorButton.h"
#include "CSpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <climits>

namespace {

// Runs an int-typed exchange step on a page value.
template <class Step> void ReadInt(CFieldValue& value, Step step) {
    int number = static_cast<int>(value.number);
    step(number);
    value.number = number;
}

template <class Sender, class Signal> auto WatchSignal(Sender* sender, Signal signal) {
    return [sender, signal](QObject* context, const std::function<void()>& changed) {
        QObject::connect(sender, signal, context, [changed] { changed(); });
    };
}

} // namespace

CFieldControl NumberField(QLineEdit* edit) {
    return {
        edit,
        {},
        [edit](const CFieldValue& v) { edit->setText(QString::number(v.number)); },
        [edit](CDataExchange& dx, CFieldValue& v) { ReadInt(v, [&](int& n) { dx.Int(edit, n); }); },
        WatchSignal(edit, &QLineEdit::textChanged)};
}

CFieldControl NumberField(CSpinEdit* edit) {
    return RangeField(edit, INT_MIN, INT_MAX);
}

CFieldControl RangeField(CSpinEdit* edit, int minimum, int maximum) {
    return {edit,
            {},
            [edit](const CFieldValue& v) { edit->SetValue(static_cast<int>(v.number)); },
            [edit, minimum, maximum](CDataExchange& dx, CFieldValue& v) {
                ReadInt(v, [&](int& n) { dx.IntRange(edit, edit->Text(), minimum, maximum, n); });
            },
            WatchSignal(edit, &CSpinEdit::TextChanged)};
}

CFieldControl ChoiceField(QComboBox* list) {
    return {list,
            {-1, {}},
            [list](const CFieldValue& v) { ShowIndex(list, static_cast<int>(v.number)); },
            [list](CDataExchange& dx, CFieldValue& v) {
                ReadInt(v, [&](int& n) { dx.Index(list, n); });
            },
            WatchSignal(list, &QComboBox::currentIndexChanged)};
}

CFieldControl RadioField(QButtonGroup* group) {
    return {group,
            {-1, {}},
            [group](const CFieldValue& v) { ShowRadio(group, static_cast<int>(v.number)); },
            [group](CDataExchange& dx, CFieldValue& v) {
                ReadInt(v, [&](int& n) { dx.Radio(group, n); });
            },
            WatchSignal(group, &QButtonGroup::idToggled)};
}

CFieldControl CheckField(QCheckBox* box) {
    return {
        box,
        {},
        [box](const CFieldValue& v) { box->setChecked(v.number != 0); },
        [box](CDataExchange& dx, CFieldValue& v) { ReadInt(v, [&](int& n) { dx.Check(box, n); }); },
        WatchSignal(box, &QCheckBox::toggled)};
}

CFieldControl ColorField(CColorButton* button) {
    return {button,
            {},
            [button](const CFieldValue& v) { button->SetColor(static_cast<COLORREF>(v.number)); },
            [button](CDataExchange&, CFieldValue& v) { v.number = button->Color(); },
            WatchSignal(button, &CColorButton::ColorChanged)};
}

CFieldControl TextField(QLineEdit* edit) {
    return {edit,
            {},
            [edit](const CFieldValue& v) { edit->setText(v.text); },
            [edit](CDataExchange&, CFieldValue& v) { v.text = edit->text(); },
            WatchSignal(edit, &QLineEdit::textChanged)};
}
