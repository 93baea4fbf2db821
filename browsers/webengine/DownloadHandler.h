#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CWebSession;
class QWebEngineDownloadRequest;
class QWebEngineProfile;

// Handles every download of the result pages. A download starts only from a
// click (or key press) in the page shown; one from a hidden page, or without
// the user's gesture (a script, a frame loading by itself), is refused, and
// so is one asked while another waits for its answer. The engine accepts a
// download only while telling of it, so it is accepted at once into a
// private folder of its own, and the user is asked where to save it without
// the window waiting: the question names the engine and the site, proposes
// the user's download folder and the name the site suggests. The file moves
// there once both the answer and the last byte have come; a cancelled
// question cancels the download and removes everything written for it.
// Refusals, progress, success and failure are told through
// StatusTextChanged, which the main window shows in its status bar.
class CDownloadHandler final : public QObject
{
    Q_OBJECT

public:
    // `session` tells which page asks; partial downloads wait in a folder
    // under `partialRoot`.
    CDownloadHandler(CWebSession &session, const QString &partialRoot, QObject *parent = nullptr);
    ~CDownloadHandler() override;
    Q_DISABLE_COPY_MOVE(CDownloadHandler)

    // Handles the downloads of `profile` from now on.
    void Watch(QWebEngineProfile *profile);

    // The texts told for one download, in the form StatusTextChanged
    // carries them.
    static QString ProgressText(const QString &fileName, qint64 received, qint64 total);
    static QString FinishedText(const QString &fileName);
    static QString FailedText(const QString &fileName, const QString &reason);
    static QString RefusedText(const QString &site, const QString &why);

signals:
    void StatusTextChanged(const QString &text);

private:
    struct SDownload;

    void OnDownloadRequested(QWebEngineDownloadRequest *download);
    // Why `download` may not start; empty when it may.
    QString Refusal(QWebEngineDownloadRequest *download) const;
    void OnAnswered(const std::shared_ptr<SDownload> &download, const QString &chosen);
    void OnStateChanged(const std::shared_ptr<SDownload> &download);
    void Deliver(SDownload &download);

    CWebSession &m_session;
    const QString m_partialRoot;
    // A question is open: further downloads are refused until it is answered.
    bool m_asking = false;
};
