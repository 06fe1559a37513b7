// "Appelt Background Style": the applet's background kind, gradient direction and border.
#pragma once

#include "CAppletParameters.h"
#include "PageBindings.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;

class CDlgAppletBackground : public QDialog {
    Q_OBJECT
public:
    explicit CDlgAppletBackground(QWidget* parent = nullptr);

    void Preset(const CAppletParameters& model);
    // Writes the three choices; call after the dialog closed with OK. True when that changed the
    // record.
    bool Apply(CAppletParameters& model) const;
    void accept() override;

private:
    QComboBox* m_kindBox;
    QButtonGroup* m_gradientGroup;
    QButtonGroup* m_borderGroup;
    CPageBindings<CAppletParameters> m_fields;
};
