#include "CDlgAppletBackground.h"

#include "DataExchange.h"
#include "PageLayout.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CDlgAppletBackground::CDlgAppletBackground(QWidget* parent)
    : QDialog(parent), m_kindBox(new QComboBox) {
    setWindowTitle(tr("Appelt Background Style"));
    // The applet has no transparent background and no horizontal gradients; the position in
    // this list is the stored value.
    m_kindBox->addItems({tr("Fullfilled with Color"), tr("Vertical Gradient from Black to Color"),
                         tr("Vertical Gradient from White to Color"),
                         tr("Vertical Gradient from Color to Black"),
                         tr("Vertical Gradient from Color to White")});
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    AddLabeledRow(grid, 0, tr("Applet's Background Style:"), m_kindBox);
    AddGradientAndBorderGroups(this, layout, &m_gradientGroup, &m_borderGroup);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_fields.Bind(ChoiceField(m_kindBox), &CAppletParameters::BackKind);
    m_fields.Bind(RadioField(m_gradientGroup), &CAppletParameters::GradientDir);
    m_fields.Bind(RadioField(m_borderGroup), &CAppletParameters::BackBorder);
}

void CDlgAppletBackground::Preset(const CAppletParameters& model) {
    m_fields.Load(model);
    m_fields.Fill();
}

void CDlgAppletBackground::accept() {
    CDataExchange dx(this);
    m_fields.Read(dx);
    QDialog::accept();
}

bool CDlgAppletBackground::Apply(CAppletParameters& model) const {
    return m_fields.Store(model);
}
