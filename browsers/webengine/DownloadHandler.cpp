#include "browsers/webengine/DownloadHandler.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "platform/PlatformServices.h"

namespace {

QString ProposedPath(const QWebEngineDownloadRequest *download)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(download->downloadFileName());
}

} // namespace

CDownloadHandler::CDownloadHandler(QObject *parent)
    : QObject(parent)
{
}

void CDownloadHandler::Watch(QWebEngineProfile *profile)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this, &CDownloadHandler::OnDownloadRequested);
}

CDownloadHandler *GetDownloadHandler()
{
    static QPointer<CDownloadHandler> handler;
    if (!handler && QCoreApplication::instance())
        handler = new CDownloadHandler(QCoreApplication::instance());
    return handler.data();
}

CDownloadHandler::~CDownloadHandler() = default;

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

void CDownloadHandler::OnDownloadRequested(QWebEngineDownloadRequest *download)
{
    // The engine cancels a download that is not accepted before this returns,
    // so the question is asked here.
    const QString proposed = ProposedPath(download);
    const QString chosen = PlatformServices().ChooseSaveFile(proposed);
    if (chosen.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(chosen);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    Track(download);
    download->accept();
}

void CDownloadHandler::Track(QWebEngineDownloadRequest *download)
{
    const QString name = download->downloadFileName();
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this, download, name] {
        emit StatusTextChanged(ProgressText(name, download->receivedBytes(), download->totalBytes()));
    });
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this, download, name](QWebEngineDownloadRequest::DownloadState state) {
                if (state == QWebEngineDownloadRequest::DownloadCompleted)
                    emit StatusTextChanged(FinishedText(name));
                else if (state == QWebEngineDownloadRequest::DownloadInterrupted)
                    emit StatusTextChanged(FailedText(name, download->interruptReasonString()));
                else if (state == QWebEngineDownloadRequest::DownloadCancelled)
                    emit StatusTextChanged(FailedText(name, QStringLiteral("cancelled")));
            });
}
