// The form that fills the main window: the widget's name and description, the HTML to paste into
// a page and the list of support files. It stores nothing of its own; everything comes from the
// document's component.
#pragma once

#include "CColorControls.h"
#include "FoldlineDispatch.h"

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
    // Kind 0 local HTML, 1 web HTML, 2 and 3 the same for today's browsers.
    void RefreshHtml(int kind);
    void RefreshFileList();

    // Whether the local and web HTML are the forms today's browsers run (kinds 2 and 3) rather
    // than the applet's (kinds 0 and 1). Changing it shows the local HTML in the chosen form.
    void SetModernHtml(bool modern);
    bool ModernHtml() const { return m_modernHtml; }
    int LocalHtmlKind() const { return m_modernHtml ? kHtmlModernLocal : kHtmlAppletLocal; }
    int WebHtmlKind() const { return m_modernHtml ? kHtmlModernWeb : kHtmlAppletWeb; }
    // The kind the position pane shows.
    int ShownKind() const { return m_shownKind; }

    void OnConfigure();
    // The widget changed outside the form (Configure, an import): shown anew, marked modified.
    void ShowChangedWidget();
    void OnRename();
    void OnGetLocalHtml();
    void OnGetWebHtml();
    // The web HTML for today's browsers (kind 3).
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

signals:
    // The form shows the widget anew: after New, Open, Configure, Rename and the output choice.
    void WidgetChanged();

protected:
    void changeEvent(QEvent* event) override;
    // Lays the form out again whenever the window gives it another size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The form's colours; the values keep the theme's text colour where it reads on the form.
    void ApplyFormColors();
    void MeasureDialogUnits();
    void LayOutForm();
    // Shows the widget's name and description in the form's value fields.
    void ShowTitles(const QString& name, const QString& description);
    QRect DialogUnits(int x, int y, int w, int h) const;
    // The HTML of today's browsers needs the runtime files beside the page: while the pane shows
    // it, the list ends with a row for each, in the folders of the applet class file's row.
    void SyncRuntimeRows();

    CQuillaryToolDoc* m_document;
    bool m_columnsPending = true;
    bool m_modernHtml = false;
    int m_shownKind = kHtmlAppletLocal;
    double m_unitX = 1.5;
    double m_unitY = 1.625;
};
