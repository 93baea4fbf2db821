#pragma once

#include <QObject>
#include <QString>

class QWebEngineDownloadRequest;
class QWebEngineProfile;

// Handles every download of a profile: asks where to save it (through the
// platform services, proposing the user's download folder and the name the
// site suggests), and nothing is
// written before the user has chosen a place; a cancelled choice downloads
// nothing. Progress, success and failure are told through StatusTextChanged,
// which the main window shows in its status bar.
class CDownloadHandler final : public QObject
{
    Q_OBJECT

public:
    explicit CDownloadHandler(QObject *parent = nullptr);
    ~CDownloadHandler() override;
    Q_DISABLE_COPY_MOVE(CDownloadHandler)

    // Handles the downloads of `profile` from now on.
    void Watch(QWebEngineProfile *profile);

    // The texts told so far for one download, in the form StatusTextChanged
    // carries them.
    static QString ProgressText(const QString &fileName, qint64 received, qint64 total);
    static QString FinishedText(const QString &fileName);
    static QString FailedText(const QString &fileName, const QString &reason);

signals:
    void StatusTextChanged(const QString &text);

private:
    void OnDownloadRequested(QWebEngineDownloadRequest *download);
    void Track(QWebEngineDownloadRequest *download);
};

// The process-wide handler, made on first use (it touches no file); every
// result profile hands its downloads to it.
CDownloadHandler *GetDownloadHandler();
