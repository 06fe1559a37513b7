// A web server on the loopback interface for the link checks: a few paths that answer in known
// ways, a record of the requests and of how many were open at once.
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

#include <memory>
#include <vector>

class CLocalWebServer : public QObject {
public:
    // Paths: /ok (200), /gone (404), /nohead (405 to HEAD, 200 to GET), /moved (301 to /ok),
    // /slow (never answers), /hold (200 after 150 ms). `ports` servers, one port each.
    explicit CLocalWebServer(int ports = 1);

    QString Url(const QString& path, int port = 0) const;
    // "HEAD /ok" for each request, in arrival order.
    QStringList requests;
    int open = 0;
    int mostOpen = 0;

private:
    void Serve(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QString& method, const QString& path);

    std::vector<std::unique_ptr<QTcpServer>> m_servers;
};
