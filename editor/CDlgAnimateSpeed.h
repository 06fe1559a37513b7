// "Furlin Animate Speed": how fast sub-menus open and close.
#pragma once

#include <QDialog>

class CAppletParameters;
class QSlider;

class CDlgAnimateSpeed : public QDialog {
    Q_OBJECT
public:
    explicit CDlgAnimateSpeed(QWidget* parent = nullptr);

    void Preset(const CAppletParameters& model);
    // Writes both slider positions; call after the dialog closed with OK. True when that changed
    // the record.
    bool Apply(CAppletParameters& model) const;

    QSlider* OpenSlider() const { return m_openSlider; }
    QSlider* CloseSlider() const { return m_closeSlider; }

private:
    QSlider* m_openSlider;
    QSlider* m_closeSlider;
};
