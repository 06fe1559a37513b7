// "Appelt Background Style": the applet's background kind, gradient direction and border.
#pragma once

#include <QDialog>

class CAppletParameters;
class QButtonGroup;
class QComboBox;

class CDlgAppletBackground : public QDialog {
    Q_OBJECT
public:
    explicit CDlgAppletBackground(QWidget* parent = nullptr);

    void Preset(const CAppletParameters& model);
    // Writes the three choices; call after the dialog closed with OK.
    void Apply(CAppletParameters& model) const;
    void accept() override;

    int BackKind = -1;
    int GradientDir = -1;
    int BackBorder = -1;

private:
    void ReadControls();

    QComboBox* m_kindBox;
    QButtonGroup* m_gradientGroup;
    QButtonGroup* m_borderGroup;
};
