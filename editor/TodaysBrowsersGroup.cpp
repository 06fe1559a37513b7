#include "TodaysBrowsersGroup.h"

#include "CSpinEdit.h"
#include "PageLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>

namespace {

// The widest container a menu may fold in, in CSS px.
constexpr int kMaxCompactBelow = 10000;

// The group belongs to the "More Styles" page, so its texts are the page's.
struct Text {
    Q_DECLARE_TR_FUNCTIONS(CDlgAppletStyle)
};

} // namespace

void AddTodaysBrowsersGroup(QBoxLayout* layout, CPageBindings<CAppletParameters>& fields) {
    auto* box = new QGroupBox(Text::tr("Today's Browsers"));
    auto* grid = new QGridLayout(box);
    auto* fixed = new QCheckBox(Text::tr("Fixed Box"));
    auto* compact = new CSpinEdit(0, kMaxCompactBelow, false);
    auto* direction = new QComboBox;
    direction->addItems(
        {Text::tr("Automatic"), Text::tr("Left to Right"), Text::tr("Right to Left")});
    grid->addWidget(fixed, 0, 0, 1, 2);
    AddLabeledRow(grid, 1, Text::tr("Compact Below:"), compact);
    AddLabeledRow(grid, 2, Text::tr("Direction:"), direction);
    grid->setColumnStretch(1, 1);
    layout->insertWidget(layout->count() - 1, box);

    fields.Bind(CheckField(fixed), &CAppletParameters::FixedBox);
    fields.Bind(RangeField(compact, 0, kMaxCompactBelow), &CAppletParameters::CompactBelow);
    fields.Bind(ChoiceField(direction), &CAppletParameters::Direction);
}
