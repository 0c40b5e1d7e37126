// A tiny plain-HTTP server on loopback for the agents' failure paths: canned replies by path prefix.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

class TStubHttpServer : public QTcpServer {
public:
    struct TReply {
        int Status = 200;
        QByteArray Reason = "OK";
        QByteArray Body;
        bool Hang = false; // accept the request and never answer
    };

    TStubHttpServer() { listen(QHostAddress::LocalHost, 0); }

    QString BaseURL() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }
    // The longest matching prefix wins.
    void SetReply(const QByteArray &APathPrefix, const TReply &AReply) { FReplies[APathPrefix] = AReply; }
    // Answers every request when set: given the path and the body.
    void SetHandler(const std::function<TReply(const QByteArray &, const QByteArray &)> &AHandler) {
        FHandler = AHandler;
    }
    QList<QByteArray> Paths() const { return FPaths; }
    QList<QByteArray> Bodies() const { return FBodies; }

protected:
    void incomingConnection(qintptr AHandle) override {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(AHandle);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    void Serve(QTcpSocket *ASocket) {
        QByteArray &buffer = FBuffers[ASocket];
        buffer += ASocket->readAll();
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QByteArray head = buffer.left(headerEnd);
        qsizetype length = 0;
        for (const QByteArray &line : head.split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        const QByteArray path = head.split(' ').value(1);
        FPaths.append(path);
        FBodies.append(buffer.mid(headerEnd + 4, length));
        buffer.remove(0, headerEnd + 4 + length);

        TReply reply;
        reply.Status = 404;
        reply.Reason = "Not Found";
        qsizetype best = -1;
        for (auto it = FReplies.cbegin(); it != FReplies.cend(); ++it)
            if (path.startsWith(it.key()) && it.key().size() > best) {
                best = it.key().size();
                reply = it.value();
            }
        if (FHandler)
            reply = FHandler(path, FBodies.last());
        if (reply.Hang)
            return;
        ASocket->write("HTTP/1.1 " + QByteArray::number(reply.Status) + ' ' + reply.Reason +
                       "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                       QByteArray::number(reply.Body.size()) + "\r\n\r\n" + reply.Body);
    }

    std::function<TReply(const QByteArray &, const QByteArray &)> FHandler;
    QMap<QByteArray, TReply> FReplies;
    QMap<QTcpSocket *, QByteArray> FBuffers;
    QList<QByteArray> FPaths;
    QList<QByteArray> FBodies;
};
