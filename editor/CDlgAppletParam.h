// "Applet Parameters": name, alignment, size, code base and background of the applet.
#pragma once

#include "CAppletParameters.h"
#include "RecordPage.h"

class CColorButton;
class CSpinEdit;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;

class CDlgAppletParam : public CRecordPage<CAppletParameters> {
    Q_OBJECT
public:
    explicit CDlgAppletParam(CEditSession* session, QWidget* parent = nullptr);

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
    CAppletParameters* RecordOf(const CEditTarget& target) const override;
    void Filled() override;
    void Stored(CAppletParameters& model) override;

private:
    void EnablePosition();
    void BuildLayout();
    // A "..." button: reads the controls, asks for a file preset from fileName and the record's
    // web folder, and on OK stores the normalised web folder at once and gives the chosen path.
    bool ChooseFile(const QString& fileName, const QString& filter,
                    std::string CAppletParameters::*webPath, QString* path);
    // The same for a field that takes the chosen path.
    void BrowseInto(QLineEdit* field, const QString& filter,
                    std::string CAppletParameters::*webPath);

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
};
