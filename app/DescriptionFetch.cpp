#include "app/DescriptionFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

namespace
{
QString TooLarge()
{
    return QStringLiteral("the description is larger than %1 KB").arg(kOpenSearchMaxBytes / 1024);
}

// An address names its scheme ("https:"); a path, even one with a colon, has
// a slash or none before it. One letter before the colon is a drive.
bool IsAddress(const QString &source)
{
    const qsizetype colon = source.indexOf(u':');
    const qsizetype slash = source.indexOf(u'/');
    return colon > 1 && (slash < 0 || colon < slash) && QUrl(source).scheme().size() == colon;
}
} // namespace

CDescriptionFetch::CDescriptionFetch(QNetworkAccessManager &network, QObject *parent)
    : QObject(parent)
    , m_network(network)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kDescriptionTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this,
            [this] { Fail(QStringLiteral("no description arrived within %1 seconds").arg(kDescriptionTimeoutMs / 1000)); });
}

CDescriptionFetch::~CDescriptionFetch()
{
    DropReply();
}

void CDescriptionFetch::Start(const QString &source)
{
    // Every outcome is told from the event loop, so a caller connects and
    // starts in any order it likes.
    QMetaObject::invokeMethod(this, [this, source] {
        if (!IsAddress(source)) {
            ReadFile(source);
            return;
        }
        const QUrl url(source);
        if (url.scheme() == u"file")
            ReadFile(url.toLocalFile());
        else if (url.scheme() == u"http" || url.scheme() == u"https")
            Fetch(url);
        else
            Fail(QStringLiteral("descriptions are read from files and from http and https addresses only"));
    }, Qt::QueuedConnection);
}

void CDescriptionFetch::ReadFile(const QString &path)
{
    SEngineDescription engine;
    QString error;
    const EOpenSearchRead result = ReadOpenSearchFile(path, engine, error);
    Report(result, engine, error);
}

void CDescriptionFetch::Fetch(const QUrl &url)
{
    QNetworkRequest request(url);
    // Redirects are followed, but never from https to http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_network.get(request);
    // A length announced beyond the bound ends the fetch before any body.
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &CDescriptionFetch::OnReadyRead);
    connect(m_reply, &QNetworkReply::readyRead, this, &CDescriptionFetch::OnReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &CDescriptionFetch::OnReplyFinished);
    m_timeout.start();
}

void CDescriptionFetch::OnReadyRead()
{
    if (m_bFinished)
        return;
    m_bytes += m_reply->read(kOpenSearchMaxBytes + 1 - m_bytes.size());
    if (m_bytes.size() > kOpenSearchMaxBytes || m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > kOpenSearchMaxBytes)
        Fail(TooLarge());
}

void CDescriptionFetch::OnReplyFinished()
{
    if (m_bFinished)
        return;
    OnReadyRead();
    if (m_bFinished)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_reply->error() != QNetworkReply::NoError)
        Fail(QStringLiteral("the description cannot be fetched: %1").arg(m_reply->errorString()));
    else if (status >= 300)
        Fail(QStringLiteral("the server answered with HTTP status %1").arg(status));
    else
        Finish(m_bytes);
}

void CDescriptionFetch::DropReply()
{
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
}

void CDescriptionFetch::Fail(const QString &error)
{
    Report(EOpenSearchRead::Unreadable, {}, error);
}

void CDescriptionFetch::Finish(const QByteArray &bytes)
{
    SEngineDescription engine;
    QString error;
    const EOpenSearchRead result = ReadOpenSearchDescription(bytes, engine, error);
    Report(result, engine, error);
}

void CDescriptionFetch::Report(EOpenSearchRead result, const SEngineDescription &engine, const QString &error)
{
    if (m_bFinished)
        return;
    m_bFinished = true;
    m_timeout.stop();
    DropReply();
    emit Finished(result, engine, error);
}
