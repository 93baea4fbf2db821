#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// A tiny HTTP server on a loopback address. It records each request's target
// (as received), headers, method and body, and answers it (a POST once its
// body arrived) by its route or with a page titled "Loopback" that names the
// target; it can hold answers until released. "/favicon.ico" gets a 404 and
// is not recorded.
class LoopbackHttpServer final : public QObject
{
    Q_OBJECT

public:
    explicit LoopbackHttpServer(QObject *parent = nullptr);
    ~LoopbackHttpServer() override;
    Q_DISABLE_COPY_MOVE(LoopbackHttpServer)

    // Listens on 127.0.0.1 (or another loopback address, so that each server
    // is a site of its own) on a free port; false if that failed.
    bool listen(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost));
    quint16 port() const;
    // "http://127.0.0.1:<port>" followed by `pathAndQuery` (which should
    // start with "/").
    QString url(const QString &pathAndQuery = QStringLiteral("/")) const;

    struct Request
    {
        QString target;
        QByteArray method;
        QByteArray headers;
        QByteArray body;
    };
    // What was recorded, oldest first; requests() gives the targets alone.
    QList<Request> received() const;
    QStringList requests() const;
    int requestCount() const;
    void clearRequests();

    // While holding, requests are recorded but not answered.
    void setHoldAnswers(bool hold);
    // Answers every request held so far (holding stays as it was).
    void releaseHeld();
    int heldCount() const;

    // Answers requests for `path` (the target without its query) with this
    // status line, extra header lines ("Name: value\r\n" each), content
    // type and body instead of the standard page.
    void setRoute(const QString &path, const QByteArray &body, const QByteArray &contentType = "text/html; charset=utf-8",
                  const QByteArray &extraHeaders = {}, const QByteArray &status = "200 OK");
    // Every answer waits this long before it is sent.
    void setAnswerDelay(int ms);

private:
    struct Route
    {
        QByteArray status;
        QByteArray headers;
        QByteArray contentType;
        QByteArray body;
    };
    void sendAnswer(QTcpSocket *socket, const QString &target);

    struct Connection
    {
        QPointer<QTcpSocket> socket;
        QByteArray buffer;
        QString target;
        bool held = false;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QString &target);
    Connection *find(QTcpSocket *socket);

    QTcpServer *m_server;
    QList<Connection> m_connections;
    QList<Request> m_received;
    QHash<QString, Route> m_routes;
    int m_answerDelayMs = 0;
    QHostAddress m_address{QHostAddress::LocalHost};
    bool m_hold = false;
};
