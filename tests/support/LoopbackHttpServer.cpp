#include "tests/support/LoopbackHttpServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

LoopbackHttpServer::LoopbackHttpServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::onNewConnection);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    for (const Connection &connection : std::as_const(m_connections)) {
        if (connection.socket)
            connection.socket->abort();
    }
}

bool LoopbackHttpServer::listen(const QHostAddress &address)
{
    if (m_server->isListening())
        return true;
    m_address = address;
    return m_server->listen(address, 0);
}

quint16 LoopbackHttpServer::port() const
{
    return m_server->serverPort();
}

QString LoopbackHttpServer::url(const QString &pathAndQuery) const
{
    return u"http://" + m_address.toString() + u':' + QString::number(port()) + pathAndQuery;
}

QList<LoopbackHttpServer::Request> LoopbackHttpServer::received() const
{
    return m_received;
}

QStringList LoopbackHttpServer::requests() const
{
    QStringList targets;
    for (const Request &request : m_received)
        targets.append(request.target);
    return targets;
}

int LoopbackHttpServer::requestCount() const
{
    return int(m_received.size());
}

void LoopbackHttpServer::clearRequests()
{
    m_received.clear();
}

void LoopbackHttpServer::setRoute(const QString &path, const QByteArray &body, const QByteArray &contentType,
                                  const QByteArray &extraHeaders, const QByteArray &status)
{
    m_routes.insert(path, Route{status, extraHeaders, contentType, body});
}

void LoopbackHttpServer::setAnswerDelay(int ms)
{
    m_answerDelayMs = ms;
}

void LoopbackHttpServer::setHoldAnswers(bool hold)
{
    m_hold = hold;
}

void LoopbackHttpServer::releaseHeld()
{
    QList<QPair<QPointer<QTcpSocket>, QString>> held;
    for (Connection &connection : m_connections) {
        if (connection.held) {
            connection.held = false;
            held.append({connection.socket, connection.target});
        }
    }
    for (const auto &[socket, target] : std::as_const(held)) {
        if (socket)
            answer(socket, target);
    }
}

int LoopbackHttpServer::heldCount() const
{
    int count = 0;
    for (const Connection &connection : m_connections) {
        if (connection.held && connection.socket && connection.socket->state() == QAbstractSocket::ConnectedState)
            ++count;
    }
    return count;
}

LoopbackHttpServer::Connection *LoopbackHttpServer::find(QTcpSocket *socket)
{
    for (Connection &connection : m_connections) {
        if (connection.socket == socket)
            return &connection;
    }
    return nullptr;
}

void LoopbackHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        m_connections.append(Connection{socket, {}, {}, false});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_connections.removeIf([socket](const Connection &c) { return c.socket == socket || !c.socket; });
            socket->deleteLater();
        });
    }
}

void LoopbackHttpServer::onReadyRead(QTcpSocket *socket)
{
    Connection *connection = find(socket);
    if (!connection)
        return;
    connection->buffer += socket->readAll();
    const qsizetype headerEnd = connection->buffer.indexOf("\r\n\r\n");
    if (!connection->target.isEmpty() || headerEnd < 0)
        return;
    const qsizetype lineEnd = connection->buffer.indexOf("\r\n");
    const QByteArray headers = connection->buffer.mid(lineEnd + 2, headerEnd - lineEnd - 2);
    // A body is read as long as its Content-Length says.
    qsizetype bodyLength = 0;
    for (const QByteArray &header : headers.split('\n')) {
        if (header.toLower().startsWith("content-length:"))
            bodyLength = header.mid(15).trimmed().toLongLong();
    }
    if (connection->buffer.size() < headerEnd + 4 + bodyLength)
        return;

    // Request line: METHOD SP target SP version.
    const QList<QByteArray> parts = connection->buffer.left(lineEnd).split(' ');
    const QString target = parts.size() >= 2 ? QString::fromLatin1(parts.at(1)) : QStringLiteral("/");
    connection->target = target;

    if (target == u"/favicon.ico") {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    m_received.append({target, parts.constFirst(), headers, connection->buffer.mid(headerEnd + 4, bodyLength)});
    if (m_hold)
        connection->held = true;
    else
        answer(socket, target);
}

void LoopbackHttpServer::answer(QTcpSocket *socket, const QString &target)
{
    if (m_answerDelayMs <= 0) {
        sendAnswer(socket, target);
        return;
    }
    QTimer::singleShot(m_answerDelayMs, socket, [this, socket, target] { sendAnswer(socket, target); });
}

void LoopbackHttpServer::sendAnswer(QTcpSocket *socket, const QString &target)
{
    const auto found = m_routes.constFind(target.section(u'?', 0, 0));
    const Route route = found != m_routes.cend()
        ? *found
        : Route{"200 OK", "Cache-Control: no-store\r\n", "text/html; charset=utf-8",
                (u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Loopback</title></head><body><p>"
                 + target.toHtmlEscaped() + u"</p></body></html>").toUtf8()};
    QByteArray response = "HTTP/1.1 " + route.status + "\r\nContent-Type: " + route.contentType
                          + "\r\nConnection: close\r\n" + route.headers;
    // A route may announce more than it sends, to cut an answer short.
    if (!route.headers.contains("Content-Length:"))
        response += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
    socket->write(response + "\r\n" + route.body);
    socket->disconnectFromHost();
}
