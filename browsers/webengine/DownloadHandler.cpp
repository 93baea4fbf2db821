#include "browsers/webengine/DownloadHandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include <utility>

#include "browsers/webengine/WebEngineBrowserControl.h"
#include "browsers/webengine/WebSession.h"
#include "platform/PlatformServices.h"

namespace
{
QString ProposedPath(const QString &fileName)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(fileName);
}

QString SiteOf(const QWebEngineDownloadRequest *download)
{
    const QString host = download->url().host();
    return host.isEmpty() ? download->url().toDisplayString() : host;
}

bool Ended(QWebEngineDownloadRequest::DownloadState state)
{
    return state != QWebEngineDownloadRequest::DownloadRequested
           && state != QWebEngineDownloadRequest::DownloadInProgress;
}
} // namespace

// One download accepted: its private folder, and what the user answered.
struct CDownloadHandler::SDownload
{
    QPointer<QWebEngineDownloadRequest> request;
    std::unique_ptr<QTemporaryDir> partial;
    bool answered = false;
    // Where the user wants it; empty when the question was cancelled.
    QString target;
    // The outcome has been told.
    bool settled = false;
};

CDownloadHandler::CDownloadHandler(CWebSession &session, const QString &partialRoot, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_partialRoot(partialRoot + u"/PartialDownloads")
{
    // What a run that ended abruptly left there is nobody's any more.
    QDir(m_partialRoot).removeRecursively();
}

CDownloadHandler::~CDownloadHandler() = default;

void CDownloadHandler::Watch(QWebEngineProfile *profile)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this, &CDownloadHandler::OnDownloadRequested);
}

QString CDownloadHandler::ProgressText(const QString &fileName, qint64 received, qint64 total)
{
    const QLocale locale;
    if (total > 0)
        return u"Downloading " + fileName + u": " + QString::number(received * 100 / total) + u"% of "
               + locale.formattedDataSize(total);
    return u"Downloading " + fileName + u": " + locale.formattedDataSize(received);
}

QString CDownloadHandler::FinishedText(const QString &fileName)
{
    return u"Downloaded " + fileName;
}

QString CDownloadHandler::FailedText(const QString &fileName, const QString &reason)
{
    return u"Download of " + fileName + u" failed: " + reason;
}

QString CDownloadHandler::RefusedText(const QString &site, const QString &why)
{
    return u"Download from " + site + u" refused: " + why;
}

QString CDownloadHandler::Refusal(QWebEngineDownloadRequest *download) const
{
    if (m_asking)
        return QStringLiteral("another download is waiting for your answer.");
    CWebEngineBrowserControl *control = m_session.ControlOf(download->page());
    if (!control || !control->IsSeen() || !control->TakeUserGesture())
        return QStringLiteral("it did not start from a click in the page shown.");
    return {};
}

void CDownloadHandler::OnDownloadRequested(QWebEngineDownloadRequest *download)
{
    const QString site = SiteOf(download);
    const QString name = download->downloadFileName();
    if (const QString refusal = Refusal(download); !refusal.isEmpty()) {
        download->cancel();
        emit StatusTextChanged(RefusedText(site, refusal));
        return;
    }
    auto pending = std::make_shared<SDownload>();
    pending->request = download;
    QDir().mkpath(m_partialRoot);
    pending->partial = std::make_unique<QTemporaryDir>(m_partialRoot + u"/XXXXXX");
    if (!pending->partial->isValid()) {
        download->cancel();
        emit StatusTextChanged(FailedText(name, pending->partial->errorString()));
        return;
    }
    // The engine drops a download not accepted before this returns; it
    // waits for the answer in its own folder.
    download->setDownloadDirectory(pending->partial->path());
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this, pending] {
        if (!pending->target.isEmpty())
            emit StatusTextChanged(ProgressText(QFileInfo(pending->target).fileName(), pending->request->receivedBytes(),
                                                pending->request->totalBytes()));
    });
    connect(download, &QWebEngineDownloadRequest::stateChanged, this, [this, pending] { OnStateChanged(pending); });
    download->accept();

    const CWebEngineBrowserControl *control = m_session.ControlOf(download->page());
    const QString engine = control ? control->EngineName() : QString();
    const QString title = u"Save \u201c" + name + u"\u201d from " + site + (engine.isEmpty() ? QString() : u" (" + engine + u')');
    m_asking = true;
    PlatformServices().ChooseSaveFile({title, ProposedPath(name)}, this, [this, pending](const QString &chosen) {
        m_asking = false;
        OnAnswered(pending, chosen);
    });
}

void CDownloadHandler::OnAnswered(const std::shared_ptr<SDownload> &download, const QString &chosen)
{
    download->answered = true;
    download->target = chosen;
    if (!chosen.isEmpty()) {
        OnStateChanged(download);
        return;
    }
    download->settled = true;
    const QString name = download->request ? download->request->downloadFileName() : QString();
    if (download->request && !Ended(download->request->state()))
        download->request->cancel();
    else
        download->partial.reset();
    emit StatusTextChanged(FailedText(name, QStringLiteral("cancelled")));
}

void CDownloadHandler::OnStateChanged(const std::shared_ptr<SDownload> &download)
{
    QWebEngineDownloadRequest *request = download->request;
    if (!request || !Ended(request->state()))
        return;
    // Whatever was written waits for the answer; once the question was
    // cancelled, nothing of it stays, the engine's partial file included.
    if (!download->answered)
        return;
    if (std::exchange(download->settled, true)) {
        download->partial.reset();
        return;
    }
    const QString name = QFileInfo(download->target).fileName();
    switch (request->state()) {
    case QWebEngineDownloadRequest::DownloadCompleted:
        Deliver(*download);
        break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        emit StatusTextChanged(FailedText(name, request->interruptReasonString()));
        break;
    default:
        emit StatusTextChanged(FailedText(name, QStringLiteral("cancelled")));
        break;
    }
    download->partial.reset();
}

void CDownloadHandler::Deliver(SDownload &download)
{
    const QString written = QDir(download.request->downloadDirectory()).filePath(download.request->downloadFileName());
    const QString name = QFileInfo(download.target).fileName();
    // The question has already confirmed replacing a file of that name.
    if (QFileInfo::exists(download.target))
        QFile::remove(download.target);
    if (QFile::rename(written, download.target))
        emit StatusTextChanged(FinishedText(name));
    else
        emit StatusTextChanged(FailedText(name, u"it could not be written to " + download.target + u'.'));
}
