#include "LocalWebServer.h"

#include <QTcpSocket>
#include <QTimer>

CLocalWebServer::CLocalWebServer(int ports) {
    for (int i = 0; i < ports; ++i) {
        auto server = std::make_unique<QTcpServer>();
        server->listen(QHostAddress::LocalHost);
        QTcpServer* raw = server.get();
        connect(raw, &QTcpServer::newConnection, this, [this, raw] {
            while (QTcpSocket* socket = raw->nextPendingConnection())
                Serve(socket);
        });
        m_servers.push_back(std::move(server));
    }
}

QString CLocalWebServer::Url(const QString& path, int port) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_servers[port]->serverPort()).arg(path);
}

void CLocalWebServer::Serve(QTcpSocket* socket) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (socket->property("seen").toBool() || !socket->canReadLine())
            return;
        const QList<QByteArray> words = socket->readLine().trimmed().split(' ');
        if (words.size() < 2)
            return;
        socket->setProperty("seen", true);
        const QString method = QString::fromLatin1(words[0]);
        const QString path = QString::fromLatin1(words[1]);
        requests << method + ' ' + path;
        mostOpen = std::max(mostOpen, ++open);
        if (path == QLatin1String("/slow")) {
            connect(socket, &QTcpSocket::disconnected, this, [this] { --open; });
            return;
        }
        if (path == QLatin1String("/hold")) {
            QTimer::singleShot(150, socket,
                               [this, socket, method, path] { Answer(socket, method, path); });
            return;
        }
        Answer(socket, method, path);
    });
}

void CLocalWebServer::Answer(QTcpSocket* socket, const QString& method, const QString& path) {
    QByteArray status = "200 OK";
    QByteArray extra;
    if (path == QLatin1String("/gone"))
        status = "404 Not Found";
    else if (path == QLatin1String("/nohead") && method == QLatin1String("HEAD"))
        status = "405 Method Not Allowed";
    else if (path == QLatin1String("/moved"))
        status = "301 Moved Permanently", extra = "Location: /ok\r\n";
    const QByteArray body = method == QLatin1String("HEAD") ? QByteArray() : "page";
    socket->write("HTTP/1.1 " + status + "\r\n" + extra + "Content-Length: 4\r\n" +
                  "Connection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
    --open;
}
