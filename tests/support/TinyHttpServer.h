#pragma once

#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for tests: answers GET requests from a table of paths;
// anything else is 404.
class TinyHttpServer : public QTcpServer
{
public:
    TinyHttpServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }

    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }
    void serve(const QString& path, const QByteArray& body) { m_files.insert(path, body); }
    const QStringList& requests() const { return m_requests; }

private:
    void answer(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine.at(1)) : QString();
        m_requests << path;
        m_buffers.remove(socket);
        const bool found = m_files.contains(path);
        const QByteArray body = found ? m_files.value(path) : QByteArray("not found");
        socket->write((found ? QByteArray("HTTP/1.1 200 OK\r\n") : QByteArray("HTTP/1.1 404 Not Found\r\n")) +
                      "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QHash<QString, QByteArray> m_files;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QStringList m_requests;
};
