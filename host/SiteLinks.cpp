#include "SiteLinks.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace host {

namespace {

// One pass over the rows: at most `parallel` links in flight, each first asked with HEAD.
class CWebCheck {
public:
    CWebCheck(const QList<LinkRow>& rows, const WebCheckLimits& limits)
        : m_rows(rows), m_limits(limits) {}

    QList<LinkRow> Run() {
        for (int i = 0; i < m_limits.parallel && m_next < m_rows.size(); ++i)
            Ask(m_next++, false);
        // Between answers too, so that a stop is heard while every request waits for its time.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &m_loop, [this] { Report(); });
        if (m_limits.progress)
            poll.start(200);
        if (m_active > 0)
            m_loop.exec();
        return m_failed.values(); // in the rows' order, however the answers came in
    }

private:
    void Ask(int index, bool get) {
        ++m_active;
        QNetworkRequest request(QUrl(m_rows[index].link.trimmed()));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setMaximumRedirectsAllowed(10);
        request.setHeader(QNetworkRequest::UserAgentHeader,
                          QStringLiteral("QuillaryFoldline (link check)"));
        QNetworkReply* reply = get ? m_network.get(request) : m_network.head(request);
        // A GET needs the answer's status only, never the page.
        if (get)
            QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply] {
                const int status =
                    reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                if (!reply->isFinished() && !reply->property("answered").toBool() && status > 0 &&
                    (status < 300 || status >= 400)) {
                    reply->setProperty("answered", true);
                    reply->abort();
                }
            });
        QTimer::singleShot(m_limits.timeoutMs, reply, [reply] {
            if (reply->isFinished())
                return; // answered, only not deleted yet
            reply->setProperty("timedOut", true);
            reply->abort();
        });
        QObject::connect(reply, &QNetworkReply::finished, &m_loop,
                         [this, reply, index, get] { Answered(reply, index, get); });
    }

    void Answered(QNetworkReply* reply, int index, bool get) {
        reply->deleteLater();
        --m_active;
        if (m_stopped) {
            StartNext();
            return;
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool timedOut = reply->property("timedOut").toBool();
        const bool answered =
            reply->error() == QNetworkReply::NoError || reply->property("answered").toBool();
        if (!timedOut && answered && status > 0 && status < 400) {
            Checked();
            return;
        }
        if (!get) {
            Ask(index, true);
            return;
        }
        LinkRow failed = m_rows[index];
        if (timedOut)
            failed.reason = QCoreApplication::translate("SiteLinks", "no answer within %1 s")
                                .arg(m_limits.timeoutMs / 1000.0);
        else if (status >= 400)
            failed.reason =
                QStringLiteral("HTTP %1 %2")
                    .arg(status)
                    .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        else
            failed.reason = reply->errorString();
        failed.reason = failed.reason.trimmed();
        m_failed.insert(index, failed);
        Checked();
    }

    void Checked() {
        ++m_checked;
        Report();
        StartNext();
    }

    void Report() {
        if (m_stopped || !m_limits.progress || m_limits.progress(m_checked, m_rows.size()))
            return;
        m_stopped = true;
        // Aborting answers at once, through Answered, which starts nothing more.
        for (QNetworkReply* reply : m_network.findChildren<QNetworkReply*>())
            if (!reply->isFinished())
                reply->abort();
        StartNext();
    }

    void StartNext() {
        if (!m_stopped && m_next < m_rows.size())
            Ask(m_next++, false);
        else if (m_active == 0)
            m_loop.quit();
    }

    const QList<LinkRow>& m_rows;
    const WebCheckLimits m_limits;
    QNetworkAccessManager m_network;
    QEventLoop m_loop;
    QMap<int, LinkRow> m_failed;
    int m_next = 0;
    int m_active = 0;
    int m_checked = 0;
    bool m_stopped = false;
};

} // namespace

QList<LinkRow> ParseLinkRows(const std::string& text) {
    QList<LinkRow> rows;
    for (const QString& line : QString::fromStdString(text).split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split('\t');
        if (fields.size() < 3)
            continue;
        rows.append({fields[0], fields[1], fields[2], fields.value(3)});
    }
    return rows;
}

QList<LinkRow> WebLinks(const QList<LinkRow>& rows) {
    QList<LinkRow> web;
    for (const LinkRow& row : rows) {
        const QString scheme = QUrl(row.link.trimmed()).scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
            web.append(row);
    }
    return web;
}

QList<LinkRow> CheckWebLinks(const QList<LinkRow>& rows, const WebCheckLimits& limits) {
    if (rows.isEmpty())
        return {};
    return CWebCheck(rows, limits).Run();
}

} // namespace host
