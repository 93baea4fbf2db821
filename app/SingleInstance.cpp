#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{
const QByteArray kAccepted = QByteArrayLiteral("OK\n");
const QByteArray kRefused = QByteArrayLiteral("REFUSED\n");
constexpr qsizetype kMaxAnswerBytes = 16;

QString userId()
{
#ifdef Q_OS_UNIX
    return QString::number(getuid());
#else
    return QDir::home().dirName();
#endif
}
} // namespace

CSingleInstance::CSingleInstance(const QString &socketName, QObject *parent)
    : QObject(parent)
    , m_strSocketName(socketName)
{
}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::SocketNameForUser()
{
    const QString name = QStringLiteral("quaerio-") + userId();
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

CSingleInstance::EHandOver CSingleInstance::HandOver(const QString &socketName, const SSearchRequest &request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return EHandOver::NoAnswer;
    socket.write(EncodeRequest(request) + '\n');
    socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));

    QByteArray answer;
    while (!answer.contains('\n') && answer.size() <= kMaxAnswerBytes) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return EHandOver::NoAnswer;
        answer += socket.readAll();
    }
    return answer == kAccepted ? EHandOver::Accepted : EHandOver::Refused;
}

bool CSingleInstance::Listen()
{
    delete m_pServer;
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(m_strSocketName)) {
        if (m_pServer->serverError() != QAbstractSocket::AddressInUseError)
            return false;
        // Nobody answered on it (the hand-over came first), so it is stale.
        QLocalServer::removeServer(m_strSocketName);
        if (!m_pServer->listen(m_strSocketName))
            return false;
    }
    connect(m_pServer, &QLocalServer::newConnection, this, [this] { OnNewConnection(); });
    return true;
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket *socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        // A start that connects and then says nothing is not waited for.
        QTimer::singleShot(kHandOverTimeoutMs, socket, [socket] { socket->abort(); });
    }
}

void CSingleInstance::OnReadyRead(QLocalSocket *socket)
{
    // More than a request and its line feed is not read at all.
    if (socket->bytesAvailable() > kMaxRequestBytes + 1) {
        socket->abort();
        return;
    }
    if (!socket->canReadLine())
        return;
    QByteArray message = socket->readLine();
    message.chop(1);
    const std::optional<SSearchRequest> request = DecodeRequest(message);
    socket->write(request ? kAccepted : kRefused);
    socket->flush();
    socket->disconnectFromServer();
    socket->disconnect(this);
    if (request)
        emit RequestReceived(*request);
}
