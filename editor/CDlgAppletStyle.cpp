#include "CDlgAppletStyle.h"

#include "CColorButton.h"
#include "CDlgAnimateSpeed.h"
#include "CDlgAppletBackground.h"
#include "CEditSession.h"
#include "DataExchange.h"
#include "PageDialogs.h"
#include "PageLayout.h"
#include "TodaysBrowsersGroup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

CDlgAppletStyle::CDlgAppletStyle(CEditSession* session, QWidget* parent)
    : CRecordPage(tr("More Styles"), session, parent), m_menuTopEdit(DigitsEdit(this)),
      m_selectionCheck(new QCheckBox(tr("Show Selection Always"))),
      m_branchesCheck(new QCheckBox(tr("Display All Branchs"))),
      m_linesCheck(new QCheckBox(tr("Has Lines"))), m_lineColorButton(new CColorButton),
      m_thickEdit(DigitsEdit(this)), m_indentEdit(DigitsEdit(this)), m_messageEdit(new QLineEdit),
      m_progressCheck(new QCheckBox(tr("With Progress Bar"))) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, tr("Menu Display From(Y Value):"), m_menuTopEdit);

    auto* middle = new QHBoxLayout;
    layout->addLayout(middle);
    auto* globalBox = new QGroupBox(tr("Global Properties"));
    auto* globalLayout = new QVBoxLayout(globalBox);
    globalLayout->addWidget(m_selectionCheck);
    globalLayout->addWidget(m_branchesCheck);
    globalLayout->addWidget(m_linesCheck);
    middle->addWidget(globalBox);

    auto* lineBox = new QGroupBox(tr("Tree Line"));
    auto* lineGrid = new QGridLayout(lineBox);
    AddLabeledRow(lineGrid, 0, tr("Color:"), m_lineColorButton);
    AddLabeledRow(lineGrid, 1, tr("Thick:"), m_thickEdit);
    AddLabeledRow(lineGrid, 2, tr("Indent:"), m_indentEdit);
    middle->addWidget(lineBox);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto* speed = new QPushButton(tr("Animate Speed ..."));
    auto* background = new QPushButton(tr("Background Style ..."));
    buttons->addWidget(speed);
    buttons->addWidget(background);

    auto* messageBox = new QGroupBox(tr("Loading Message"));
    auto* messageGrid = new QGridLayout(messageBox);
    AddLabeledRow(messageGrid, 0, tr("Message:"), m_messageEdit);
    messageGrid->addWidget(m_progressCheck, 1, 0, 1, 2);
    layout->addWidget(messageBox);
    layout->addStretch();

    connect(m_lineColorButton, &QPushButton::clicked, m_lineColorButton,
            &CColorButton::ChooseColor);
    connect(speed, &QPushButton::clicked, this, &CDlgAppletStyle::OnAnimateSpeed);
    connect(background, &QPushButton::clicked, this, &CDlgAppletStyle::OnBackgroundStyle);

    // Read in this order, so the first refusal is the topmost field.
    m_fields.Bind(NumberField(m_menuTopEdit), &CAppletParameters::MenuTop);
    m_fields.Bind(CheckField(m_selectionCheck), &CAppletParameters::ShowSelectionAlways);
    m_fields.Bind(CheckField(m_branchesCheck), &CAppletParameters::DisplayAllBranches);
    m_fields.Bind(CheckField(m_linesCheck), &CAppletParameters::HasLines);
    m_fields.Bind(ColorField(m_lineColorButton), &CAppletParameters::LineColor);
    m_fields.Bind(NumberField(m_thickEdit), &CAppletParameters::LineThick);
    m_fields.Bind(NumberField(m_indentEdit), &CAppletParameters::LineIndent);
    m_fields.Bind(TextField(m_messageEdit), &CAppletParameters::LoadingMessage);
    m_fields.Bind(CheckField(m_progressCheck), &CAppletParameters::ProgressBar);
    AddTodaysBrowsersGroup(layout, m_fields);
    FinishFields();
}

CAppletParameters* CDlgAppletStyle::RecordOf(const CEditTarget& target) const {
    return target.applet;
}

void CDlgAppletStyle::OnAnimateSpeed() {
    CDlgAnimateSpeed dialog(this);
    dialog.Preset(m_session->Model());
    if (RunPageDialog(dialog) && dialog.Apply(m_session->Model()))
        emit ModelChanged();
}

void CDlgAppletStyle::OnBackgroundStyle() {
    CDlgAppletBackground dialog(this);
    dialog.Preset(m_session->Model());
    if (RunPageDialog(dialog) && dialog.Apply(m_session->Model()))
        emit ModelChanged();
}
