#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "catalogue/EngineDescription.h"
#include "catalogue/OpenSearch.h"

class QNetworkAccessManager;
class QNetworkReply;

// How long a description may take to arrive from the network.
inline constexpr int kDescriptionTimeoutMs = 10'000;

// Reads a search engine's description (OpenSearch or a Mozilla search
// plugin) from a local file or from an http or https address, and makes the
// engine of it. From the network it takes at most kOpenSearchMaxBytes within
// kDescriptionTimeoutMs, and no other scheme; the page command and the
// command line both read descriptions so.
class CDescriptionFetch final : public QObject
{
    Q_OBJECT

public:
    // `network` (not owned) carries the requests; it must outlive the fetch.
    explicit CDescriptionFetch(QNetworkAccessManager &network, QObject *parent = nullptr);
    ~CDescriptionFetch() override;
    Q_DISABLE_COPY_MOVE(CDescriptionFetch)

    // Starts reading `source`: a file's path, or an address. Finished
    // follows once, never before Start returns.
    void Start(const QString &source);

signals:
    // `engine` is set when `result` is Read; `error` says why not otherwise.
    // Unreadable also stands for a description that could not be fetched.
    void Finished(EOpenSearchRead result, const SEngineDescription &engine, const QString &error);

private:
    void ReadFile(const QString &path);
    void Fetch(const QUrl &url);
    void OnReadyRead();
    void OnReplyFinished();
    void DropReply();
    void Fail(const QString &error);
    void Finish(const QByteArray &bytes);
    void Report(EOpenSearchRead result, const SEngineDescription &engine, const QString &error);

    QNetworkAccessManager &m_network;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_bytes;
    QTimer m_timeout;
    bool m_bFinished = false;
};
