#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

// A tiny HTTP server on 127.0.0.1 for tests and benchmarks. It answers every
// GET with a small HTML page whose title is "Loopback" and whose body names
// the request target, and records each request target ("/path?query", as
// received, percent-encoding untouched). It can hold its answers until the
// test releases them, so a test can watch a page while it is loading.
// Requests for "/favicon.ico" are answered at once with 404 and not recorded.
class LoopbackHttpServer final : public QObject
{
    Q_OBJECT

public:
    explicit LoopbackHttpServer(QObject *parent = nullptr);
    ~LoopbackHttpServer() override;
    Q_DISABLE_COPY_MOVE(LoopbackHttpServer)

    // Listens on 127.0.0.1 on a free port; false if that failed.
    bool listen();
    quint16 port() const;
    // "http://127.0.0.1:<port>" followed by `pathAndQuery` (which should
    // start with "/").
    QString url(const QString &pathAndQuery = QStringLiteral("/")) const;

    // Every request target received so far, oldest first.
    QStringList requests() const;
    int requestCount() const;
    void clearRequests();

    // While holding, requests are recorded but not answered.
    void setHoldAnswers(bool hold);
    // Answers every request held so far (holding stays as it was).
    void releaseHeld();
    int heldCount() const;

    // The <title> of the pages served.
    void setTitle(const QString &title);

signals:
    void requestReceived(const QString &target);

private:
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
    QStringList m_requests;
    QString m_title = QStringLiteral("Loopback");
    bool m_hold = false;
};
