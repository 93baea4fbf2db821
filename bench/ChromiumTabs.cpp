#include "bench/ChromiumTabs.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>
#include <QWebSocket>

#include <algorithm>

#include "tests/support/TestSupport.h"

namespace
{
const QString kChromium = QStringLiteral("/usr/bin/chromium");
constexpr int kAskIntervalMs = 20;

quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The reply's body once it has finished, empty after an error or time-out.
QByteArray Await(QNetworkReply *reply, int timeoutMs)
{
    WaitUntil([reply] { return reply->isFinished(); }, timeoutMs);
    const QByteArray body = reply->isFinished() && reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    reply->deleteLater();
    return body;
}
} // namespace

QString LoadEndExpression(const QString &url)
{
    const QString sameAddress = url.isEmpty() ? QStringLiteral("true")
        : u"location.href === " + QString::fromUtf8(QJsonDocument(QJsonArray{url}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
    return u"(() => { const n = performance.getEntriesByType('navigation')[0];"
           u" return " + sameAddress + u" && n && n.loadEventEnd > 0 ? performance.timeOrigin + n.loadEventEnd : 0; })()";
}

struct CChromiumTabs::Tab
{
    QString url;
    QPointer<QNetworkReply> opening;
    QWebSocket socket;
    QTimer asker;
    double loadEndMs = 0;
};

CChromiumTabs::CChromiumTabs() = default;

CChromiumTabs::~CChromiumTabs()
{
    qDeleteAll(m_tabs);
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

bool CChromiumTabs::Available()
{
    return QFile::exists(kChromium);
}

bool CChromiumTabs::Start()
{
    if (!Available() || !m_profile.isValid())
        return false;
    const quint16 port = FreePort();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(kChromium,
                    {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                     QStringLiteral("--disable-background-networking"), QStringLiteral("--disable-component-update"),
                     QStringLiteral("--disable-sync"), QStringLiteral("--no-first-run"),
                     u"--user-data-dir=" + m_profile.path(), u"--remote-debugging-port=" + QString::number(port),
                     QStringLiteral("about:blank")});
    if (!m_process.waitForStarted())
        return false;
    m_endpoint = u"http://127.0.0.1:" + QString::number(port) + u"/json";
    return WaitUntil([this] {
        return !Await(m_network.get(QNetworkRequest(QUrl(m_endpoint + u"/version"))), 2000).isEmpty();
    }, 20000);
}

qint64 CChromiumTabs::ProcessId() const
{
    return m_process.processId();
}

void CChromiumTabs::OpenTabs(const QStringList &urls)
{
    m_openedAtMs = QDateTime::currentMSecsSinceEpoch();
    for (const QString &url : urls) {
        auto *tab = new Tab;
        tab->url = url;
        m_tabs.append(tab);
        tab->opening = m_network.put(QNetworkRequest(QUrl(m_endpoint + u"/new?" + url)), QByteArray());
        QObject::connect(tab->opening, &QNetworkReply::finished, tab->opening, [tab] {
            const QJsonObject target = QJsonDocument::fromJson(tab->opening->readAll()).object();
            tab->opening->deleteLater();
            const QString debugger = target.value(QStringLiteral("webSocketDebuggerUrl")).toString();
            if (!debugger.isEmpty())
                tab->socket.open(QUrl(debugger));
        });
        QObject::connect(&tab->socket, &QWebSocket::connected, &tab->asker, [this, tab] {
            tab->asker.start(kAskIntervalMs);
            Ask(*tab);
        });
        QObject::connect(&tab->asker, &QTimer::timeout, &tab->asker, [this, tab] { Ask(*tab); });
        QObject::connect(&tab->socket, &QWebSocket::textMessageReceived, &tab->asker, [tab](const QString &message) {
            const QJsonObject result = QJsonDocument::fromJson(message.toUtf8())
                                           .object()
                                           .value(QStringLiteral("result"))
                                           .toObject()
                                           .value(QStringLiteral("result"))
                                           .toObject();
            const double loadEnd = result.value(QStringLiteral("value")).toDouble();
            if (loadEnd > 0 && tab->loadEndMs == 0) {
                tab->loadEndMs = loadEnd;
                tab->asker.stop();
            }
        });
    }
}

void CChromiumTabs::NavigateTabs(const QStringList &urls)
{
    m_openedAtMs = QDateTime::currentMSecsSinceEpoch();
    for (qsizetype k = 0; k < m_tabs.size(); ++k) {
        Tab &tab = *m_tabs.at(k);
        tab.url = urls.value(k);
        tab.loadEndMs = 0;
        Send(tab, QStringLiteral("Page.navigate"), {{QStringLiteral("url"), tab.url}});
        tab.asker.start(kAskIntervalMs);
    }
}

void CChromiumTabs::Ask(Tab &tab)
{
    Send(tab, QStringLiteral("Runtime.evaluate"),
         {{QStringLiteral("expression"), LoadEndExpression(tab.url)}, {QStringLiteral("returnByValue"), true}});
}

void CChromiumTabs::Send(Tab &tab, const QString &method, const QJsonObject &params)
{
    const QJsonObject call{{QStringLiteral("id"), 1}, {QStringLiteral("method"), method}, {QStringLiteral("params"), params}};
    tab.socket.sendTextMessage(QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact)));
}

double CChromiumTabs::WaitAllLoadedMs(int timeoutMs)
{
    const auto allLoaded = [this] {
        return std::all_of(m_tabs.cbegin(), m_tabs.cend(), [](const Tab *tab) { return tab->loadEndMs > 0; });
    };
    if (m_tabs.isEmpty() || !WaitUntil(allLoaded, timeoutMs))
        return -1;
    double last = 0;
    for (const Tab *tab : m_tabs)
        last = std::max(last, tab->loadEndMs);
    return last - double(m_openedAtMs);
}
