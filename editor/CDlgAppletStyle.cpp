#include "CDlgAppletStyle.h"

#include "CColorButton.h"
#include "CDlgAnimateSpeed.h"
#include "CDlgAppletBackground.h"
#include "CFoldline.h"
#include "DataExchange.h"
#include "PageDialogs.h"
#include "PageLayout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

CDlgAppletStyle::CDlgAppletStyle(CFoldline* component, QWidget* parent)
    : CPropertyPage(QStringLiteral("More Styles"), component, parent),
      m_menuTopEdit(DigitsEdit(this)),
      m_selectionCheck(new QCheckBox(QStringLiteral("Show Selection Always"))),
      m_branchesCheck(new QCheckBox(QStringLiteral("Display All Branchs"))),
      m_linesCheck(new QCheckBox(QStringLiteral("Has Lines"))), m_lineColorButton(new CColorButton),
      m_thickEdit(DigitsEdit(this)), m_indentEdit(DigitsEdit(this)), m_messageEdit(new QLineEdit),
      m_progressCheck(new QCheckBox(QStringLiteral("With Progress Bar"))) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, QStringLiteral("Menu Display From(Y Value):"), m_menuTopEdit);

    auto* middle = new QHBoxLayout;
    layout->addLayout(middle);
    auto* globalBox = new QGroupBox(QStringLiteral("Global Properties"));
    auto* globalLayout = new QVBoxLayout(globalBox);
    globalLayout->addWidget(m_selectionCheck);
    globalLayout->addWidget(m_branchesCheck);
    globalLayout->addWidget(m_linesCheck);
    middle->addWidget(globalBox);

    auto* lineBox = new QGroupBox(QStringLiteral("Tree Line"));
    auto* lineGrid = new QGridLayout(lineBox);
    AddLabeledRow(lineGrid, 0, QStringLiteral("Color:"), m_lineColorButton);
    AddLabeledRow(lineGrid, 1, QStringLiteral("Thick:"), m_thickEdit);
    AddLabeledRow(lineGrid, 2, QStringLiteral("Indent:"), m_indentEdit);
    middle->addWidget(lineBox);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto* speed = new QPushButton(QStringLiteral("Animate Speed ..."));
    auto* background = new QPushButton(QStringLiteral("Background Style ..."));
    buttons->addWidget(speed);
    buttons->addWidget(background);

    auto* messageBox = new QGroupBox(QStringLiteral("Loading Message"));
    auto* messageGrid = new QGridLayout(messageBox);
    AddLabeledRow(messageGrid, 0, QStringLiteral("Message:"), m_messageEdit);
    messageGrid->addWidget(m_progressCheck, 1, 0, 1, 2);
    layout->addWidget(messageBox);
    layout->addStretch();

    connect(m_lineColorButton, &QPushButton::clicked, m_lineColorButton,
            &CColorButton::ChooseColor);
    connect(speed, &QPushButton::clicked, this, &CDlgAppletStyle::OnAnimateSpeed);
    connect(background, &QPushButton::clicked, this, &CDlgAppletStyle::OnBackgroundStyle);
    DisableAutoDefaultButtons();
    FillControls();
}

bool CDlgAppletStyle::ReadControls() {
    CDataExchange dx(this);
    dx.Int(m_menuTopEdit, m_menuTop);
    dx.Check(m_selectionCheck, m_showSelectionAlways);
    dx.Check(m_branchesCheck, m_displayAllBranches);
    dx.Check(m_linesCheck, m_hasLines);
    m_lineColor = m_lineColorButton->Color();
    dx.Int(m_thickEdit, m_lineThick);
    dx.Int(m_indentEdit, m_lineIndent);
    m_loadingMessage = m_messageEdit->text();
    dx.Check(m_progressCheck, m_progressBar);
    return dx.Ok();
}

void CDlgAppletStyle::FillControls() {
    m_menuTopEdit->setText(QString::number(m_menuTop));
    m_selectionCheck->setChecked(m_showSelectionAlways != 0);
    m_branchesCheck->setChecked(m_displayAllBranches != 0);
    m_linesCheck->setChecked(m_hasLines != 0);
    m_lineColorButton->SetColor(m_lineColor);
    m_thickEdit->setText(QString::number(m_lineThick));
    m_indentEdit->setText(QString::number(m_lineIndent));
    m_messageEdit->setText(m_loadingMessage);
    m_progressCheck->setChecked(m_progressBar != 0);
}

void CDlgAppletStyle::EnterPage() {
    const CAppletParameters& model = m_component->Model();
    m_showSelectionAlways = model.ShowSelectionAlways;
    m_displayAllBranches = model.DisplayAllBranches;
    m_hasLines = model.HasLines;
    m_lineIndent = model.LineIndent;
    m_lineThick = model.LineThick;
    m_menuTop = model.MenuTop;
    m_progressBar = model.ProgressBar;
    m_loadingMessage = ToQt(model.LoadingMessage);
    m_lineColor = model.LineColor;
    FillControls();
}

bool CDlgAppletStyle::LeavePage() {
    const bool ok = ReadControls();
    CAppletParameters& model = m_component->Model();
    model.ShowSelectionAlways = m_showSelectionAlways;
    model.DisplayAllBranches = m_displayAllBranches;
    model.HasLines = m_hasLines;
    model.LineIndent = m_lineIndent;
    model.LineThick = m_lineThick;
    model.MenuTop = m_menuTop;
    model.ProgressBar = m_progressBar;
    model.LoadingMessage = FromQt(m_loadingMessage);
    model.LineColor = m_lineColor;
    return ok;
}

void CDlgAppletStyle::OnAnimateSpeed() {
    CDlgAnimateSpeed dialog(this);
    dialog.Preset(m_component->Model());
    if (RunPageDialog(dialog))
        dialog.Apply(m_component->Model());
}

void CDlgAppletStyle::OnBackgroundStyle() {
    CDlgAppletBackground dialog(this);
    dialog.Preset(m_component->Model());
    if (RunPageDialog(dialog))
        dialog.Apply(m_component->Model());
}
