#include "CDlgAppletBackground.h"

#include "CAppletParameters.h"
#include "DataExchange.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CDlgAppletBackground::CDlgAppletBackground(QWidget* parent)
    : QDialog(parent), m_kindBox(new QComboBox) {
    setWindowTitle(QStringLiteral("Appelt Background Style"));
    // The applet has no transparent background and no horizontal gradients; the position in
    // this list is the stored value.
    m_kindBox->addItems({QStringLiteral("Fullfilled with Color"),
                         QStringLiteral("Vertical Gradient from Black to Color"),
                         QStringLiteral("Vertical Gradient from White to Color"),
                         QStringLiteral("Vertical Gradient from Color to Black"),
                         QStringLiteral("Vertical Gradient from Color to White")});
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    AddLabeledRow(grid, 0, QStringLiteral("Applet's Background Style:"), m_kindBox);
    AddGradientAndBorderGroups(this, layout, &m_gradientGroup, &m_borderGroup);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CDlgAppletBackground::Preset(const CAppletParameters& model) {
    BackKind = model.BackKind;
    GradientDir = model.GradientDir;
    BackBorder = model.BackBorder;
    ShowIndex(m_kindBox, BackKind);
    ShowRadio(m_gradientGroup, GradientDir);
    ShowRadio(m_borderGroup, BackBorder);
}

void CDlgAppletBackground::ReadControls() {
    CDataExchange dx(this);
    dx.Index(m_kindBox, BackKind);
    dx.Radio(m_gradientGroup, GradientDir);
    dx.Radio(m_borderGroup, BackBorder);
}

void CDlgAppletBackground::accept() {
    ReadControls();
    QDialog::accept();
}

void CDlgAppletBackground::Apply(CAppletParameters& model) const {
    model.BackKind = BackKind;
    model.GradientDir = GradientDir;
    model.BackBorder = BackBorder;
}
