// The page behind the live preview and the object its script talks to: the page stays on the
// document it was given (no link, form or script leaves it), and picks come back through a web
// channel.
#pragma once

#include <QObject>
#include <QWebEnginePage>

class CPreviewBridge : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Called by the page's script with the node identifier of the clicked item.
    Q_INVOKABLE void pick(const QString& node);

signals:
    void picked(const QString& node);
};

class CPreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    CPreviewPage(QWebEngineProfile* profile, QObject* parent);

    // Loads the page that hosts the widget; scripts and style sheets are taken from folder.
    void LoadShell(const QString& runtimeFolder);
    CPreviewBridge* Bridge() const { return m_bridge; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    CPreviewBridge* m_bridge;
    bool m_shellRequested = false;
};
