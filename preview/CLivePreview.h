// A pane that shows one widget as today's browsers draw it: its markup rendered by furlin.js in a
// web engine view. The page is loaded once; later markup replaces the widget in place, so open
// branches stay open and nothing flickers. The engine starts when the pane is first shown, once
// the window around it has been drawn. When the engine cannot start or its render process ends,
// the pane says so instead. Buttons above the view show the widget at a phone's or a tablet's
// width or the pane's own, and right to left; the choices are kept in the program's profile.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class CPreviewPage;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QStackedLayout;
class QTimer;
class QSettings;
class QWebEngineProfile;
class QWebEngineView;

class CLivePreview : public QWidget {
    Q_OBJECT
public:
    // The first line of what the pane shows instead of the widget.
    static const char* const kUnavailableText;
    // The room the pane asks for beside a form.
    static constexpr int kPreferredWidth = 360;
    static constexpr int kPreferredHeight = 420;
    static constexpr int kMinimumHeight = 200;
    // The widths the width buttons show, in CSS px; 0 is the pane's own.
    static constexpr int kPhoneWidth = 360;
    static constexpr int kTabletWidth = 768;
    static constexpr int kFullWidth = 0;

    // Where the width and direction choices are kept: the host's own profile.
    using Profile = std::function<std::unique_ptr<QSettings>()>;

    // Without a profile the choices go to the application's default settings.
    explicit CLivePreview(QWidget* parent = nullptr, Profile profile = {});
    ~CLivePreview() override;

    // The folder holding furlin.js and furlin.css; set before the pane is first shown.
    void SetRuntimeFolder(const QString& folder);
    // The widget's markup without the runtime's own elements; drawn as soon as the page is ready.
    void ShowMarkup(const QString& html);
    // Opens the branch of the item with this node identifier and shows the item clicked; kept
    // across later markup. Empty shows no item so.
    void Reveal(const QString& node);

    // The width the widget is shown at (kPhoneWidth, kTabletWidth or kFullWidth) and whether
    // it is shown in a right-to-left page, as the buttons set them; both are kept in the profile.
    void SetShownWidth(int cssPixels);
    int ShownWidth() const { return m_width; }
    void SetRightToLeft(bool rightToLeft);
    bool RightToLeft() const { return m_rightToLeft; }
    QAbstractButton* WidthButton(int cssPixels) const;
    QCheckBox* RightToLeftBox() const { return m_rtlBox; }

    // Starts the engine now rather than at the first showing.
    void Start();
    bool IsStarted() const { return m_started; }
    // The page has loaded, with the runtime and the way back for picks.
    bool IsReady() const { return m_ready; }
    bool IsUnavailable() const { return !m_problem.isEmpty(); }
    QString Problem() const { return m_problem; }
    QWebEngineView* View() const { return m_view; }
    QLabel* MessageLabel() const { return m_message; }
    // How many markups the page has drawn.
    int RenderCount() const { return m_renders; }

    QSize sizeHint() const override;
    // Narrower, a menu would wrap its labels in a way no page shows.
    QSize minimumSizeHint() const override;

    // Why no web engine can start in this process (its helper program is missing); empty when
    // one can.
    static QString EngineProblem();

signals:
    // An item was clicked in the pane; node is its identifier in the markup.
    void Picked(const QString& node);
    // The page shows the markup given last.
    void Rendered();
    void Unavailable(const QString& reason);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static void AllowRunningAsRoot();
    void OnLoaded(bool ok);
    void ProbeRuntime();
    void Flush();
    void Fail(const QString& reason);
    QWidget* BuildBar();
    void Redraw();

    QStackedLayout* m_stack = nullptr;
    QButtonGroup* m_widths = nullptr;
    QCheckBox* m_rtlBox = nullptr;
    Profile m_profileSettings;
    int m_width = kFullWidth;
    bool m_rightToLeft = false;
    // The markup drawn last, drawn again when the width or the direction changes.
    QString m_drawn;
    QLabel* m_message = nullptr;
    QWebEngineProfile* m_profile = nullptr;
    QWebEngineView* m_view = nullptr;
    CPreviewPage* m_page = nullptr;
    QTimer* m_watchdog = nullptr;
    QString m_runtimeFolder;
    QString m_problem;
    std::optional<QString> m_pending;
    QString m_revealed;
    int m_renders = 0;
    bool m_started = false;
    bool m_ready = false;
    bool m_rendering = false;
};
