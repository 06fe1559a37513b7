// "Applet Parameters": name, alignment, size, code base and background of the applet.
#pragma once

#include "CPropertySheet.h"

#include <cstdint>

class CColorButton;
class CSpinEdit;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;

class CDlgAppletParam : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDlgAppletParam(CFoldline* component, QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;
    int HelpTopic() const override { return 131175; }

    // The "..." buttons beside "Image:", "Audio:" and the class file ("Web Path:").
    void OnBrowseImage();
    void OnBrowseAudio();
    void OnBrowseClass();
    // The name field lost the focus: store the name and show it on the root node.
    void OnNameFocusOut();

    // The class file text: the applet's local folder and its class file, composed once.
    const QString& ClassFile() const { return m_classFile; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ReadControls();
    void FillControls();
    void EnablePosition();
    void StoreName();

    QLineEdit* m_nameEdit;
    QComboBox* m_alignBox;
    QLineEdit* m_classEdit;
    CSpinEdit* m_widthEdit;
    CSpinEdit* m_heightEdit;
    CColorButton* m_backColorButton;
    QLineEdit* m_audioEdit;
    QLineEdit* m_imageEdit;
    QButtonGroup* m_tileGroup;
    QLabel* m_xLabel;
    QLineEdit* m_xEdit;
    QLabel* m_yLabel;
    QLineEdit* m_yEdit;

    QString m_classFile;
    QString m_name;
    int m_align = -1;
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_backColor = 0;
    QString m_audio;
    QString m_image;
    int m_imageTile = -1;
    int m_imageX = 0;
    int m_imageY = 0;
};
