// "General": the item's own texts, and the doors to its images and audio clips.
#pragma once

#include "CPropertySheet.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CDlgItem : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDlgItem(CFoldline* component, QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;
    int HelpTopic() const override { return 136093; }

    // "Image..." and "Audio...".
    void OnImage();
    void OnAudio();
    // The label field lost the focus: store the label and show it in the tree.
    void OnLabelFocusOut();

    // Shows a stored target frame: the first list entry beginning with it (ignoring case), or
    // the text itself when none does.
    void ShowTargetFrame(const QString& target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadControls();
    void FillControls();
    void StoreLabel();

    QPlainTextEdit* m_labelEdit;
    QLineEdit* m_descriptionEdit;
    QLineEdit* m_linkEdit;
    QComboBox* m_targetBox;

    // Label holds CR LF line breaks, as the model does.
    QString m_label;
    QString m_description;
    QString m_link;
    QString m_target;
};
