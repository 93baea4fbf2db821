#pragma once

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QWebEngineProfile;

// The one named web profile that every result page uses. It keeps cookies,
// consent choices and site preferences on disk across runs, under the user's
// data location in a folder named after the organisation and application
// (on Linux <XDG data>/Tavistel/Quaerio/WebProfile), with a disk cache under
// the cache location bounded to 100 MB. Scripts may not open windows on
// their own; pages' icons are not fetched (the program shows none).
//
// Chromium cannot open one storage folder with two profiles at once: delete
// the object (and every page on it) before making another over the same
// folder.
class CResultProfile final : public QObject
{
    Q_OBJECT

public:
    // `dataRoot` and `cacheRoot`: the folders that receive "WebProfile".
    CResultProfile(const QString &dataRoot, const QString &cacheRoot, QObject *parent = nullptr);
    ~CResultProfile() override;
    Q_DISABLE_COPY_MOVE(CResultProfile)

    QWebEngineProfile *Profile() const;
    // A network beside the profile's own: it sends the profile's cookies and
    // browser name, and the application's proxy as the engine does, for
    // what the program fetches on a page's behalf.
    QNetworkAccessManager *Network() const;
    QString StoragePath() const;

    // Clears cookies, the HTTP cache and visited links at once. Site storage
    // (local and session storage, databases, service workers) cannot be
    // removed from a running profile, so its folders are removed the next
    // time a profile opens this storage, before the engine reads them.
    void ClearBrowsingData();

    // <XDG data>/Tavistel/Quaerio and <XDG cache>/Tavistel/Quaerio.
    static QString DefaultDataRoot();
    static QString DefaultCacheRoot();

private:
    void RemoveSiteStorageIfAsked();

    QString m_storagePath;
    QWebEngineProfile *m_profile;
    QNetworkAccessManager *m_network;
};
