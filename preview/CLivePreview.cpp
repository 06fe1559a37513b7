#include "CLivePreview.h"

#include "PreviewPage.h"
#include "RuntimeFiles.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLibraryInfo>
#include <QPointer>
#include <QSettings>
#include <QStackedLayout>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <unistd.h>

namespace {

// A page that has not answered by then is taken for an engine that cannot run here.
constexpr int kStartTimeoutMs = 30000;
// When the pane is shown but not painted.
constexpr int kStartFallbackMs = 500;
// How often the page is asked whether its web channel is connected yet.
constexpr int kProbeIntervalMs = 20;

const char* const kProbeScript =
    "typeof Furlin !== 'object' || typeof Furlin.render !== 'function' ? 'runtime'"
    " : typeof QWebChannel !== 'function' ? 'channel'"
    " : window.furlinBridgeReady ? 'ready' : 'waiting'";

// Sets the pane's width (0 its own) and direction, draws the markup, then shows the revealed
// item again: node identifiers follow the tree.
const char* const kRenderScript = "(function (html, node, width, rtl) {"
                                  " var pane = document.getElementById('furlin-pane');"
                                  " pane.style.width = width ? width + 'px' : '';"
                                  " pane.dir = rtl ? 'rtl' : 'ltr';"
                                  " var drawn = Furlin.render(pane, html);"
                                  " if (node) Furlin.reveal(pane, node);"
                                  " return drawn; })";

// Where the choices of the width buttons are kept in the host's profile.
constexpr const char* kProfileGroup = "Live Preview";
constexpr const char* kWidthKey = "Width";
constexpr const char* kRightToLeftKey = "Right to Left";

QString ProfileKey(const char* key) {
    return QString::fromUtf8(kProfileGroup) + QLatin1Char('/') + QString::fromUtf8(key);
}

std::unique_ptr<QSettings> Settings(const CLivePreview::Profile& profile) {
    return profile ? profile() : std::make_unique<QSettings>();
}

const char* const kRevealScript =
    "(function (node) { return Furlin.reveal(document.getElementById('furlin-pane'), node); })";

// A call of one of the functions above with its arguments as script literals.
QString CallWith(const char* function, const QJsonArray& arguments) {
    return QString::fromUtf8(function) + QStringLiteral(".apply(null, ") +
           QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact)) +
           QLatin1Char(')');
}

QString TerminationText(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
    switch (status) {
    case QWebEnginePage::CrashedTerminationStatus:
        return CLivePreview::tr("The preview's render process crashed (exit code %1).")
            .arg(exitCode);
    case QWebEnginePage::KilledTerminationStatus:
        return CLivePreview::tr("The preview's render process was killed.");
    case QWebEnginePage::AbnormalTerminationStatus:
        return CLivePreview::tr("The preview's render process ended abnormally (exit code %1).")
            .arg(exitCode);
    case QWebEnginePage::NormalTerminationStatus:
        break;
    }
    return CLivePreview::tr("The preview's render process ended.");
}

bool IsExecutable(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

const char* const CLivePreview::kUnavailableText =
    QT_TRANSLATE_NOOP("CLivePreview", "Live preview is not available.");

CLivePreview::CLivePreview(QWidget* parent, Profile profile)
    : QWidget(parent), m_profileSettings(std::move(profile)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(BuildBar());
    auto* area = new QWidget(this);
    layout->addWidget(area, 1);
    m_stack = new QStackedLayout(area);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_message = new QLabel(this);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_stack->addWidget(m_message);
    setAccessibleName(tr("Live preview"));
}

CLivePreview::~CLivePreview() {
    // The page must go before the profile it was made with.
    delete m_view;
    m_view = nullptr;
}

// "Phone", "Tablet" and "Full" as one choice, and "Right to Left", as the profile last kept them.
QWidget* CLivePreview::BuildBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_widths = new QButtonGroup(this);
    const std::pair<int, QString> widths[] = {
        {kPhoneWidth, tr("Phone")}, {kTabletWidth, tr("Tablet")}, {kFullWidth, tr("Full")}};
    for (const auto& [width, text] : widths) {
        auto* button = new QToolButton(bar);
        button->setText(text);
        button->setCheckable(true);
        button->setAutoRaise(true);
        m_widths->addButton(button, width);
        row->addWidget(button);
    }
    m_rtlBox = new QCheckBox(tr("Right to Left"), bar);
    row->addStretch();
    row->addWidget(m_rtlBox);

    const std::unique_ptr<QSettings> settings = Settings(m_profileSettings);
    const int kept = settings->value(ProfileKey(kWidthKey), kFullWidth).toInt();
    m_width = m_widths->button(kept) ? kept : kFullWidth;
    m_rightToLeft = settings->value(ProfileKey(kRightToLeftKey), false).toBool();
    m_widths->button(m_width)->setChecked(true);
    m_rtlBox->setChecked(m_rightToLeft);
    connect(m_widths, &QButtonGroup::idClicked, this, &CLivePreview::SetShownWidth);
    connect(m_rtlBox, &QCheckBox::toggled, this, &CLivePreview::SetRightToLeft);
    return bar;
}

QAbstractButton* CLivePreview::WidthButton(int cssPixels) const {
    return m_widths->button(cssPixels);
}

void CLivePreview::SetShownWidth(int cssPixels) {
    if (!m_widths->button(cssPixels) || cssPixels == m_width)
        return;
    m_width = cssPixels;
    m_widths->button(cssPixels)->setChecked(true);
    Settings(m_profileSettings)->setValue(ProfileKey(kWidthKey), cssPixels);
    Redraw();
}

void CLivePreview::SetRightToLeft(bool rightToLeft) {
    if (rightToLeft == m_rightToLeft)
        return;
    m_rightToLeft = rightToLeft;
    m_rtlBox->setChecked(rightToLeft);
    Settings(m_profileSettings)->setValue(ProfileKey(kRightToLeftKey), rightToLeft);
    Redraw();
}

// The widget reads its direction when drawn, so a new frame draws it again.
void CLivePreview::Redraw() {
    if (!m_pending && !m_drawn.isNull())
        m_pending = m_drawn;
    Flush();
}

QSize CLivePreview::sizeHint() const {
    return {kPreferredWidth, kPreferredHeight};
}

QSize CLivePreview::minimumSizeHint() const {
    return {kPreferredWidth, kMinimumHeight};
}

void CLivePreview::SetRuntimeFolder(const QString& folder) {
    m_runtimeFolder = folder;
}

QString CLivePreview::EngineProblem() {
    // Without its helper program the engine ends the whole process, so it is looked for first,
    // where the engine looks for it.
    const QString named = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!named.isEmpty())
        return IsExecutable(named)
                   ? QString()
                   : tr("The web engine's helper program %1 was not found.").arg(named);
    const QString name = QStringLiteral("/QtWebEngineProcess");
    for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath),
                                  QCoreApplication::applicationDirPath()})
        if (IsExecutable(folder + name))
            return {};
    return tr("The web engine's helper program %1 was not found.").arg(name.mid(1));
}

// The engine refuses to start its sandbox as root and then ends the whole process. The pane shows
// only the widget's own markup and never leaves it, so as root it runs without the sandbox.
void CLivePreview::AllowRunningAsRoot() {
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

void CLivePreview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Should no painting come (a window never exposed), the engine starts all the same.
    if (!m_started)
        QTimer::singleShot(kStartFallbackMs, this, [this] {
            if (isVisible())
                Start();
        });
}

void CLivePreview::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The window around the pane is drawn and usable first: the engine's start holds the event
    // loop for a moment, so it waits until the painting in progress is done.
    if (!m_started)
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                Start();
        });
}

void CLivePreview::Start() {
    if (m_started)
        return;
    m_started = true;
    if (QString problem = EngineProblem(); !problem.isEmpty())
        return Fail(problem);
    for (const char* file : kRuntimeFiles) {
        const QString name = QString::fromUtf8(file);
        const QString path = m_runtimeFolder + QLatin1Char('/') + name;
        if (m_runtimeFolder.isEmpty() || !QFileInfo(path).isFile())
            return Fail(tr("The widget's runtime %1 was not found.")
                            .arg(m_runtimeFolder.isEmpty() ? name : path));
    }
    AllowRunningAsRoot();
    // Off the record: the preview writes no cache or storage into the author's home.
    m_profile = new QWebEngineProfile(this);
    m_view = new QWebEngineView(this);
    m_page = new CPreviewPage(m_profile, m_view);
    m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    m_view->setPage(m_page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    // The view is what takes the focus; screen readers name it as the pane.
    m_view->setAccessibleName(accessibleName());
    m_stack->addWidget(m_view);
    connect(m_page, &QWebEnginePage::loadFinished, this, &CLivePreview::OnLoaded);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                Fail(TerminationText(status, exitCode));
            });
    connect(m_page->Bridge(), &CPreviewBridge::picked, this, &CLivePreview::Picked);
    m_watchdog = new QTimer(this);
    m_watchdog->setSingleShot(true);
    connect(m_watchdog, &QTimer::timeout, this,
            [this] { Fail(tr("The web engine did not answer.")); });
    m_watchdog->start(kStartTimeoutMs);
    m_page->LoadShell(m_runtimeFolder);
}

void CLivePreview::OnLoaded(bool ok) {
    if (m_ready || IsUnavailable())
        return;
    if (!ok)
        return Fail(tr("The preview page could not be loaded."));
    ProbeRuntime();
}

// The web channel connects after the load; the page is ready once picks can come back.
void CLivePreview::ProbeRuntime() {
    QPointer<CLivePreview> self(this);
    m_page->runJavaScript(QString::fromUtf8(kProbeScript), [self](const QVariant& answer) {
        if (!self || self->m_ready || self->IsUnavailable())
            return;
        const QString state = answer.toString();
        if (state == QLatin1String("runtime"))
            return self->Fail(tr("The widget's runtime %1 did not start.")
                                  .arg(QString::fromUtf8(kRuntimeScript)));
        if (state == QLatin1String("channel"))
            return self->Fail(tr("The preview's web channel did not start."));
        if (state != QLatin1String("ready")) {
            QTimer::singleShot(kProbeIntervalMs, self, &CLivePreview::ProbeRuntime);
            return;
        }
        self->m_ready = true;
        self->m_watchdog->stop();
        self->m_stack->setCurrentWidget(self->m_view);
        self->Flush();
    });
}

void CLivePreview::ShowMarkup(const QString& html) {
    m_pending = html;
    Flush();
}

// One drawing at a time; markup that arrives meanwhile replaces what waits, so a burst of edits
// costs one more drawing, not one each.
void CLivePreview::Flush() {
    if (!m_ready || m_rendering || !m_pending)
        return;
    const QString script =
        CallWith(kRenderScript, QJsonArray{*m_pending, m_revealed, m_width, m_rightToLeft});
    m_drawn = *m_pending;
    m_pending.reset();
    m_rendering = true;
    QPointer<CLivePreview> self(this);
    m_page->runJavaScript(script, [self](const QVariant&) {
        if (!self || !self->m_ready)
            return;
        self->m_rendering = false;
        ++self->m_renders;
        emit self->Rendered();
        self->Flush();
    });
}

void CLivePreview::Reveal(const QString& node) {
    m_revealed = node;
    if (m_ready && !node.isEmpty())
        m_page->runJavaScript(CallWith(kRevealScript, QJsonArray{node}));
}

void CLivePreview::Fail(const QString& reason) {
    if (IsUnavailable())
        return;
    m_problem = reason;
    m_ready = false;
    m_pending.reset();
    if (m_watchdog)
        m_watchdog->stop();
    m_message->setText(tr(kUnavailableText) + QLatin1Char('\n') + reason);
    m_stack->setCurrentWidget(m_message);
    if (m_view)
        m_view->hide();
    emit Unavailable(reason);
}
