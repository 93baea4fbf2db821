#pragma once

#include <QObject>
#include <QString>

#include "app/SearchRequest.h"

class QLocalServer;
class QLocalSocket;

// One program window per user. The first program listens on a local socket
// named for the user; a later start connects, sends its search request and
// waits for the answer, so the running program searches instead of a second
// window opening.
//
// The exchange: the later start writes the request (EncodeRequest) and a line
// feed; the running program checks it (DecodeRequest) and answers "OK" or
// "REFUSED" and a line feed, then acts on an accepted request. A connection
// that sends more than a request's worth, or nothing within the time allowed,
// is closed unanswered.
class CSingleInstance final : public QObject
{
    Q_OBJECT

public:
    explicit CSingleInstance(const QString &socketName, QObject *parent = nullptr);
    ~CSingleInstance() override;
    Q_DISABLE_COPY_MOVE(CSingleInstance)

    enum class EHandOver
    {
        Accepted,   // the running program took the request
        Refused,    // a running program answered but rejected it
        NoAnswer,   // nobody listens, or nobody answered in time
    };

    // Sends the request to the program listening on the socket and waits at
    // most `timeoutMs` for its answer, without an event loop.
    static EHandOver HandOver(const QString &socketName, const SSearchRequest &request, int timeoutMs);

    // Starts listening, first removing a socket that a program which no
    // longer answers left behind. False (and the program runs on alone)
    // when the socket cannot be made.
    bool Listen();

    // The socket for the current user: in the user's runtime directory, or
    // named with the user's id where there is none.
    static QString SocketNameForUser();

signals:
    // An accepted request from a later start; its keywords may be empty,
    // which asks only for the window to come to the front.
    void RequestReceived(const SSearchRequest &request);

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket *socket);

    QString m_strSocketName;
    QLocalServer *m_pServer = nullptr;
};

// Exit code when the running program refused what a later start sent it.
inline constexpr int kHandOverRefusedExitCode = 1;
// How long a later start waits for the running program, and how long the
// running program waits for a later start to send its request.
inline constexpr int kHandOverTimeoutMs = 2000;
