#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "app/HandOverMessage.h"

namespace
{
// How often a later start looks again for an owner that is still starting,
// and how often the owner tries again a request the window cannot take yet.
constexpr int kRetryMs = 50;
// The owner's answer is on its way this long before the later start gives up.
constexpr int kAnswerMarginMs = 500;

QString baseName()
{
    return QStringLiteral("quaerio-") + QString::number(::getuid());
}

QString systemError(const QString &path)
{
    return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// Why `path` cannot hold the socket, or nothing: it must be a folder itself
// (not a link to one), this user's, with none of the `forbidden` permissions.
QString folderProblem(const QString &path, mode_t forbidden)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return systemError(path);
    if (S_ISLNK(info.st_mode))
        return path + QStringLiteral(" is a symbolic link");
    if (!S_ISDIR(info.st_mode))
        return path + QStringLiteral(" is not a folder");
    if (info.st_uid != ::getuid())
        return path + QStringLiteral(" belongs to another user");
    if ((info.st_mode & forbidden) != 0)
        return path + QStringLiteral(" is open to other users");
    return {};
}

// Where others may write without the sticky bit, they could also move our
// folder away and put one of theirs in its place.
QString sharedFolderProblem(const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return systemError(path);
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0)
        return path + QStringLiteral(" lets other users rename what is in it");
    return {};
}

QString makeOwnFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), S_IRWXU) == 0)
        return ::chmod(name.constData(), S_IRWXU) == 0 ? QString() : systemError(path); // whatever the umask took
    return errno == EEXIST ? QString() : systemError(path);
}

int remainingMs(const QDeadlineTimer &deadline)
{
    return static_cast<int>(deadline.remainingTime());
}

enum class EDelivery
{
    Answered,
    NotListening, // nobody listens, or the listener went away unanswering
    NoAnswer,
};

// Sends the request and reads the answer, without an event loop.
EDelivery deliver(const QString &socketPath, const SSearchRequest &request, SHandOverAnswer &answer)
{
    const QDeadlineTimer deadline(kHandOverTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(remainingMs(deadline))) {
        const auto error = socket.error();
        return error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError
                   ? EDelivery::NotListening
                   : EDelivery::NoAnswer;
    }
    socket.write(EncodeRequest(request) + '\n');
    socket.waitForBytesWritten(remainingMs(deadline));

    QByteArray line;
    while (!line.contains('\n') && line.size() <= kMaxAnswerBytes) {
        if (!socket.waitForReadyRead(remainingMs(deadline))) {
            // An owner that stops listening closes what it has not answered.
            const bool closed = socket.state() == QLocalSocket::UnconnectedState && !deadline.hasExpired();
            return closed ? EDelivery::NotListening : EDelivery::NoAnswer;
        }
        line += socket.readAll();
    }
    answer = DecodeAnswer(line.left(line.indexOf('\n')));
    return EDelivery::Answered;
}

void sendAnswer(QLocalSocket *socket, const SHandOverAnswer &answer)
{
    socket->write(EncodeAnswer(answer) + '\n');
    socket->flush();
    socket->disconnectFromServer();
}
} // namespace

CSingleInstance::CSingleInstance(const SPrivateFolder &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
{
}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::SocketPath() const
{
    return m_folder.strPath.isEmpty() ? QString() : QDir(m_folder.strPath).filePath(baseName());
}

SPrivateFolder CSingleInstance::PrivateFolder(const QString &runtimeDir, const QString &tempRoot)
{
    if (QDir::isAbsolutePath(runtimeDir) && folderProblem(runtimeDir, S_IWGRP | S_IWOTH).isEmpty())
        return {runtimeDir, {}};
    const QString own = QDir(tempRoot).filePath(baseName());
    QString problem = sharedFolderProblem(tempRoot);
    if (problem.isEmpty())
        problem = makeOwnFolder(own);
    if (problem.isEmpty())
        problem = folderProblem(own, S_IRWXG | S_IRWXO);
    if (!problem.isEmpty())
        return {{}, problem};
    return {own, {}};
}

SPrivateFolder CSingleInstance::PrivateFolderForUser()
{
    return PrivateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath());
}

CSingleInstance::SClaim CSingleInstance::Claim(const SSearchRequest &request)
{
    if (m_folder.strPath.isEmpty())
        return {EClaim::Alone, m_folder.strProblem};
    m_pLock = std::make_unique<QLockFile>(SocketPath() + QStringLiteral(".lock"));
    // The owner holds the lock for its whole run: only the lock of a program
    // that is gone is stale.
    m_pLock->setStaleLockTime(0);
    const QDeadlineTimer startLimit(kOwnerStartLimitMs);
    for (int wait = 0; !m_pLock->tryLock(wait); wait = kRetryMs) {
        if (m_pLock->error() != QLockFile::LockFailedError)
            return {EClaim::Alone, m_pLock->fileName() + QStringLiteral(": cannot be made")};
        SHandOverAnswer answer;
        switch (deliver(SocketPath(), request, answer)) {
        case EDelivery::Answered:
            return {answer.bAccepted ? EClaim::HandedOver : EClaim::Refused, answer.strReason};
        case EDelivery::NoAnswer:
            return {EClaim::NoAnswer, {}};
        case EDelivery::NotListening:
            if (startLimit.hasExpired())
                return {EClaim::NoAnswer, {}};
            break;
        }
    }
    return {EClaim::Owner, {}};
}

bool CSingleInstance::Listen()
{
    if (!m_pLock || !m_pLock->isLocked())
        return false;
    delete m_pServer;
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket still there is an earlier owner's.
    QLocalServer::removeServer(SocketPath());
    if (!m_pServer->listen(SocketPath())) {
        m_pLock->unlock();
        return false;
    }
    connect(m_pServer, &QLocalServer::newConnection, this, [this] { OnNewConnection(); });
    return true;
}

void CSingleInstance::StopListening()
{
    if (m_pServer)
        m_pServer->close();
}

void CSingleInstance::SetRequestHandler(RequestHandler handler)
{
    m_handler = std::move(handler);
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket *socket = m_pServer->nextPendingConnection()) {
        const QDeadlineTimer answerDue(kHandOverTimeoutMs - kAnswerMarginMs);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, answerDue] { OnReadyRead(socket, answerDue); });
        // A start that connects and then says nothing is not waited for.
        QTimer::singleShot(kHandOverTimeoutMs, socket, [socket] { socket->abort(); });
    }
}

void CSingleInstance::OnReadyRead(QLocalSocket *socket, QDeadlineTimer answerDue)
{
    // More than a request and its line feed is not read at all.
    if (socket->bytesAvailable() > kMaxRequestBytes + 1) {
        socket->abort();
        return;
    }
    if (!socket->canReadLine())
        return;
    socket->disconnect(this); // one request per connection
    const std::optional<SSearchRequest> request = DecodeRequest(socket->readLine().chopped(1));
    if (request)
        CarryOut(socket, *request, answerDue);
    else
        sendAnswer(socket, {false, QStringLiteral("the request could not be read")});
}

void CSingleInstance::CarryOut(QLocalSocket *socket, const SSearchRequest &request, QDeadlineTimer answerDue)
{
    const SRequestOutcome outcome = m_handler ? m_handler(request)
                                              : SRequestOutcome{SRequestOutcome::EState::Refused, QStringLiteral("its window is closing")};
    if (outcome.eState == SRequestOutcome::EState::NotNow && !answerDue.hasExpired()) {
        QTimer::singleShot(kRetryMs, socket, [this, socket, request, answerDue] { CarryOut(socket, request, answerDue); });
        return;
    }
    sendAnswer(socket, {outcome.eState == SRequestOutcome::EState::Done, outcome.strReason});
}
