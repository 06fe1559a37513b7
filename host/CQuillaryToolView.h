// The form that fills the main window: the widget's name and description, the HTML to paste into
// a page and the list of support files. It stores nothing of its own; everything comes from the
// document's component.
#pragma once

#include "CColorControls.h"

#include <QString>

class CQuillaryToolDoc;
class QPlainTextEdit;
class QTreeWidget;

class CQuillaryToolView : public CColorFormView {
    Q_OBJECT

public:
    explicit CQuillaryToolView(CQuillaryToolDoc* document, QWidget* parent = nullptr);

    CQuillaryToolDoc* GetDocument() const { return m_document; }

    // After every successful New and Open.
    void OnInitialUpdate();
    // Kind 0 local HTML, 1 web HTML.
    void RefreshHtml(int kind);
    void RefreshFileList();

    void OnConfigure();
    void OnRename();
    void OnGetLocalHtml();
    void OnGetWebHtml();
    // The web HTML followed by the browser runtime (kind 3).
    void OnGetModernHtml();

    // Shrinks the main window, where it is larger, so the form fills it exactly.
    void ResizeParentToFit();

    // The form's size in pixels (320 by 216 dialog units).
    QSize FormSize() const;
    QSize sizeHint() const override;

    // Controls, for the frame and tests.
    CColorLabel* nameValue;
    CColorLabel* descriptionValue;
    CColorLabel* nameCaption;
    CColorLabel* descriptionCaption;
    QTreeWidget* fileList;
    QPlainTextEdit* headPane;
    QPlainTextEdit* positionPane;
    CColorLabel* fileListCaption;
    CColorLabel* headPaneCaption;
    CColorLabel* positionPaneCaption;

protected:
    void changeEvent(QEvent* event) override;
    // Lays the form out again whenever the window gives it another size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The form's colours; the values keep the theme's text colour where it reads on the form.
    void ApplyFormColors();
    void LayOutForm();
    QRect DialogUnits(int x, int y, int w, int h) const;

    CQuillaryToolDoc* m_document;
    bool m_columnsPending = true;
    double m_unitX = 1.5;
    double m_unitY = 1.625;
};
