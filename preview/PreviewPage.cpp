#include "PreviewPage.h"

#include "RuntimeFiles.h"

#include <QDir>
#include <QFile>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

// The widget is drawn inside #furlin-pane; every pick is handed to the program. A click on a
// label (not on what opens and closes a sub-menu) opens the item's own sub-menu too, so a parent
// with a link shows its items. The runtime's style sheet and script fill in %1 and %2.
const char* const kShell = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Live preview</title>
<link rel="stylesheet" href="%1">
<script src="%2"></script>
</head><body>
<div id="furlin-pane"></div>
<script>
var furlinLabelClicked = false;
document.addEventListener('click', function (event) {
    var at = event.target;
    furlinLabelClicked = !(at && at.closest && at.closest('[aria-expanded]'));
}, true);
new QWebChannel(qt.webChannelTransport, function (channel) {
    var bridge = channel.objects.preview;
    document.addEventListener('furlin-pick', function (event) {
        var node = String(event.detail && event.detail.node || '');
        var label = furlinLabelClicked;
        furlinLabelClicked = false;
        if (label && node)
            Furlin.reveal(document.getElementById('furlin-pane'), node, true);
        bridge.pick(node);
    });
    window.furlinBridgeReady = true;
});
</script>
</body></html>
)";

QString ChannelScript() {
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void CPreviewBridge::pick(const QString& node) {
    emit picked(node);
}

CPreviewPage::CPreviewPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    m_bridge = new CPreviewBridge(this);
    auto* channel = new QWebChannel(this);
    channel->registerObject(QStringLiteral("preview"), m_bridge);
    setWebChannel(channel);
    // The widget plays sounds on hover and click; the editor's preview is silent.
    setAudioMuted(true);
    QWebEngineScript script;
    script.setName(QStringLiteral("qwebchannel"));
    script.setSourceCode(ChannelScript());
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    scripts().insert(script);
}

void CPreviewPage::LoadShell(const QString& runtimeFolder) {
    m_shellRequested = true;
    setHtml(QString::fromUtf8(kShell).arg(QString::fromUtf8(kRuntimeStyleSheet),
                                          QString::fromUtf8(kRuntimeScript)),
            QUrl::fromLocalFile(QDir(runtimeFolder).absolutePath() + QLatin1Char('/')));
}

bool CPreviewPage::acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) {
    // Only the shell itself is loaded; whatever a widget's link or script asks for is refused.
    if (!isMainFrame)
        return false;
    const bool accept = m_shellRequested;
    m_shellRequested = false;
    return accept;
}
