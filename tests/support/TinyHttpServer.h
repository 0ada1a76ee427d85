#pragma once

#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for tests: answers GET requests from a table of paths;
// anything else is 404. A file may be sent without a Content-Length (the closed connection ends
// it) or with a Content-Length larger than what is sent, as a transfer cut short.
class TinyHttpServer : public QTcpServer
{
public:
    enum class Length
    {
        Exact,
        Missing,
        Claimed
    };

    TinyHttpServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }

    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }
    void serve(const QString& path, const QByteArray& body, Length length = Length::Exact, qint64 claimed = 0)
    {
        m_files.insert(path, {body, length, claimed});
    }
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
        const File file = found ? m_files.value(path) : File{QByteArray("not found"), Length::Exact, 0};
        QByteArray head = found ? QByteArray("HTTP/1.1 200 OK\r\n") : QByteArray("HTTP/1.1 404 Not Found\r\n");
        if (file.length == Length::Exact)
            head += "Content-Length: " + QByteArray::number(file.body.size()) + "\r\n";
        else if (file.length == Length::Claimed)
            head += "Content-Length: " + QByteArray::number(file.claimed) + "\r\n";
        socket->write(head + "Connection: close\r\n\r\n" + file.body);
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    struct File
    {
        QByteArray body;
        Length length;
        qint64 claimed;
    };
    QHash<QString, File> m_files;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QStringList m_requests;
};
