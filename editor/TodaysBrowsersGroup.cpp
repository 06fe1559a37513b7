#include "TodaysBrowsersGroup.h"

#include "CSpinEdit.h"
#include "PageLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>

namespace {

// The widest container a menu may fold in, in CSS px.
constexpr int kMaxCompactBelow = 10000;

QString Text(const char* source) {
    return QCoreApplication::translate("CDlgAppletStyle", source);
}

} // namespace

void AddTodaysBrowsersGroup(QBoxLayout* layout, CPageBindings<CAppletParameters>& fields) {
    auto* box = new QGroupBox(Text("Today's Browsers"));
    auto* grid = new QGridLayout(box);
    auto* fixed = new QCheckBox(Text("Fixed Box"));
    auto* compact = new CSpinEdit(0, kMaxCompactBelow, false);
    auto* direction = new QComboBox;
    direction->addItems({Text("Automatic"), Text("Left to Right"), Text("Right to Left")});
    grid->addWidget(fixed, 0, 0, 1, 2);
    AddLabeledRow(grid, 1, Text("Compact Below:"), compact);
    AddLabeledRow(grid, 2, Text("Direction:"), direction);
    grid->setColumnStretch(1, 1);
    layout->insertWidget(layout->count() - 1, box);

    fields.Bind(CheckField(fixed), &CAppletParameters::FixedBox);
    fields.Bind(RangeField(compact, 0, kMaxCompactBelow), &CAppletParameters::CompactBelow);
    fields.Bind(ChoiceField(direction), &CAppletParameters::Direction);
}
