#include "CDlgAnimateSpeed.h"

#include "CAppletParameters.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace {

// The position is the stored value: 0 fastest at the left, 50 slowest at the right.
QSlider* AddSpeedSlider(QVBoxLayout* layout, const QString& title) {
    auto* box = new QGroupBox(title);
    auto* row = new QHBoxLayout(box);
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 50);
    slider->setTickInterval(5);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setSingleStep(1);
    slider->setPageStep(5);
    row->addWidget(new QLabel(CDlgAnimateSpeed::tr("Fastest")));
    row->addWidget(slider, 1);
    row->addWidget(new QLabel(CDlgAnimateSpeed::tr("Slowest")));
    layout->addWidget(box);
    return slider;
}

} // namespace

CDlgAnimateSpeed::CDlgAnimateSpeed(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Furlin Animate Speed"));
    auto* layout = new QVBoxLayout(this);
    m_openSlider = AddSpeedSlider(layout, tr("Menu Open Speed"));
    m_closeSlider = AddSpeedSlider(layout, tr("Menu Close Speed"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CDlgAnimateSpeed::Preset(const CAppletParameters& model) {
    m_openSlider->setValue(model.OpenSpeed);
    m_closeSlider->setValue(model.CloseSpeed);
}

bool CDlgAnimateSpeed::Apply(CAppletParameters& model) const {
    const bool changed =
        model.OpenSpeed != m_openSlider->value() || model.CloseSpeed != m_closeSlider->value();
    model.OpenSpeed = m_openSlider->value();
    model.CloseSpeed = m_closeSlider->value();
    return changed;
}
