#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "app/SearchRequest.h"

class QLocalServer;
class QLocalSocket;
class QLockFile;

// A folder that only this user can write to, for the hand-over socket and
// its lock; an empty path when there is none, and then why not.
struct SPrivateFolder
{
    QString strPath;
    QString strProblem;
};

// One program window per user. The owner is decided by a lock in a private
// folder, taken before anyone listens: the program holding it listens on the
// socket beside it once its window is up; a later start connects, sends its
// search request and waits for the answer, so the running program searches
// instead of a second window opening.
//
// The exchange (app/HandOverMessage.h): the later start writes the request
// and a line feed; the running program carries it out and only then answers
// "OK", or "REFUSED" with the reason. A connection that sends more than a
// request's worth, or nothing within the time allowed, is closed unanswered.
class CSingleInstance final : public QObject
{
    Q_OBJECT

public:
    // Without a folder the program runs alone: it neither listens nor hands over.
    explicit CSingleInstance(const SPrivateFolder &folder, QObject *parent = nullptr);
    ~CSingleInstance() override;
    Q_DISABLE_COPY_MOVE(CSingleInstance)

    enum class EClaim
    {
        Owner,      // this start owns the window: it opens it and listens
        HandedOver, // the running program carried the request out
        Refused,    // the running program could not carry it out
        NoAnswer,   // the running program did not answer in time
        Alone,      // no private folder, or its lock cannot be made
    };
    struct SClaim
    {
        EClaim eClaim = EClaim::Alone;
        QString strReason; // of Refused and Alone
    };

    // Takes the lock, or hands `request` to the program that holds it. While
    // that program is still starting (it holds the lock but does not listen
    // yet) the request waits for it, as long as kOwnerStartLimitMs; once
    // delivered, kHandOverTimeoutMs for the answer.
    SClaim Claim(const SSearchRequest &request);

    // The owner starts listening, first removing a socket that an earlier
    // owner left behind. False (the lock is then given up, so later starts
    // need not wait for this program) when the socket cannot be made.
    bool Listen();
    // Stops taking requests, keeping the lock: later starts wait for it.
    void StopListening();

    // Carries out an accepted request in the window. Called again every
    // little while as long as it answers NotNow, until the answer is due.
    using RequestHandler = std::function<SRequestOutcome(const SSearchRequest &)>;
    void SetRequestHandler(RequestHandler handler);

    QString SocketPath() const;

    // The runtime folder `runtimeDir` (XDG_RUNTIME_DIR) when it is a folder
    // of this user's that nobody else may write to; otherwise the folder
    // "quaerio-<user id>" in `tempRoot`, made with owner-only access, or
    // none when someone else made it or it is open to others.
    static SPrivateFolder PrivateFolder(const QString &runtimeDir, const QString &tempRoot);
    // The same for this process's environment and temporary folder.
    static SPrivateFolder PrivateFolderForUser();

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket *socket, QDeadlineTimer answerDue);
    void CarryOut(QLocalSocket *socket, const SSearchRequest &request, QDeadlineTimer answerDue);

    SPrivateFolder m_folder;
    std::unique_ptr<QLockFile> m_pLock;
    QLocalServer *m_pServer = nullptr;
    RequestHandler m_handler;
};

// Exit code when the running program refused what a later start sent it.
inline constexpr int kHandOverRefusedExitCode = 1;
// How long a later start waits for the running program's answer, and how
// long the running program waits for a later start to send its request.
inline constexpr int kHandOverTimeoutMs = 2000;
// How long a later start waits for a program that holds the lock to listen.
inline constexpr int kOwnerStartLimitMs = 30000;
