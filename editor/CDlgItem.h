// "General": the item's own texts, and the doors to its images and audio clips.
#pragma once

#include "CFurlin.h"
#include "RecordPage.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CDlgItem : public CRecordPage<CFurlinItem> {
    Q_OBJECT
public:
    explicit CDlgItem(CEditSession* session, QWidget* parent = nullptr);

    int HelpTopic() const override { return 136093; }

    // "Image..." and "Audio...".
    void OnImage();
    void OnAudio();
    // The label field lost the focus: store the label and show it in the tree.
    void OnLabelFocusOut();

    // The "Link to:" field, and a link taken as if typed there and then stored alone: the same
    // reading, the same store and the same undo step as the field's own.
    QLineEdit* LinkField() const { return m_linkEdit; }
    void StoreLink(const QString& link);

    // Shows a stored target frame: the first list entry beginning with it (ignoring case), or
    // the text itself when none does.
    void ShowTargetFrame(const QString& target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    CFurlinItem* RecordOf(const CEditTarget& target) const override;
    void Stored(CFurlinItem& item) override;

private:
    // Opens the Image or Audio dialog for the bound item; their OK writes the model at once.
    template <class Dialog> void RunFilesDialog();

    QPlainTextEdit* m_labelEdit;
    QLineEdit* m_descriptionEdit;
    QLineEdit* m_linkEdit;
    QComboBox* m_targetBox;
};
