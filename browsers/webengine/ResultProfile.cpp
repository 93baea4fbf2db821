#include "browsers/webengine/ResultProfile.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "platform/FileRemoval.h"

namespace {

// The storage name keeps the profile apart from any other of the process.
const QString kProfileName = QStringLiteral("WebProfile");
constexpr int kHttpCacheBytes = 100 * 1024 * 1024;
// Written by ClearBrowsingData; seen by the next profile over the folder.
const QString kClearSiteStorageMarker = QStringLiteral("clear-site-storage");
// Chromium's folders of site storage inside the profile's storage path.
const char *const kSiteStorageFolders[] = {"Local Storage", "Session Storage", "IndexedDB", "Service Worker",
                                           "databases", "File System", "WebStorage", "shared_proto_db"};

// Sends the browser name the engine sends.
class CProfileNetwork final : public QNetworkAccessManager
{
public:
    CProfileNetwork(const QWebEngineProfile *profile, QObject *parent)
        : QNetworkAccessManager(parent)
        , m_profile(profile)
    {
    }
    ~CProfileNetwork() override = default;
    Q_DISABLE_COPY_MOVE(CProfileNetwork)

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *data) override
    {
        QNetworkRequest sent = request;
        sent.setHeader(QNetworkRequest::UserAgentHeader, m_profile->httpUserAgent());
        return QNetworkAccessManager::createRequest(op, sent, data);
    }

private:
    const QWebEngineProfile *m_profile;
};

// The network's cookie jar follows the profile's cookie store, which tells
// of every cookie it loads from disk and every one set or removed later.
QNetworkAccessManager *NetworkOf(QWebEngineProfile *profile, QObject *parent)
{
    auto *network = new CProfileNetwork(profile, parent);
    auto *jar = new QNetworkCookieJar;
    network->setCookieJar(jar);
    QWebEngineCookieStore *store = profile->cookieStore();
    QObject::connect(store, &QWebEngineCookieStore::cookieAdded, jar, [jar](const QNetworkCookie &cookie) {
        jar->deleteCookie(cookie);
        jar->insertCookie(cookie);
    });
    QObject::connect(store, &QWebEngineCookieStore::cookieRemoved, jar,
                     [jar](const QNetworkCookie &cookie) { jar->deleteCookie(cookie); });
    store->loadAllCookies();
    return network;
}

QString OrganisationFolder(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location) + u"/Tavistel/Quaerio";
}

} // namespace

CResultProfile::CResultProfile(const QString &dataRoot, const QString &cacheRoot, QObject *parent)
    : QObject(parent)
    , m_storagePath(dataRoot + u'/' + kProfileName)
{
    RemoveSiteStorageIfAsked();
    m_profile = new QWebEngineProfile(kProfileName, this);
    m_profile->setPersistentStoragePath(m_storagePath);
    m_profile->setCachePath(cacheRoot + u'/' + kProfileName);
    m_profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    m_profile->setHttpCacheMaximumSize(kHttpCacheBytes);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    // A pop-up needs a user's gesture; new windows the user asks for go to
    // the user's own browser (see CResultWebPage).
    m_profile->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // The program shows no page's icon: fetching them cost every engine a
    // request more per search, and CPU time while the search's last pages
    // were still loading.
    m_profile->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    m_network = NetworkOf(m_profile, this);
}

CResultProfile::~CResultProfile() = default;

QWebEngineProfile *CResultProfile::Profile() const
{
    return m_profile;
}

QNetworkAccessManager *CResultProfile::Network() const
{
    return m_network;
}

QString CResultProfile::StoragePath() const
{
    return m_storagePath;
}

void CResultProfile::ClearBrowsingData()
{
    m_profile->cookieStore()->deleteAllCookies();
    m_profile->clearHttpCache();
    m_profile->clearAllVisitedLinks();
    QFile marker(m_storagePath + u'/' + kClearSiteStorageMarker);
    // Made anew, never written through a link that stands in its place.
    if (QDir().mkpath(m_storagePath) && marker.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        marker.close();
}

void CResultProfile::RemoveSiteStorageIfAsked()
{
    const QString markerPath = m_storagePath + u'/' + kClearSiteStorageMarker;
    if (!QFile::exists(markerPath))
        return;
    // A link among them is removed, never what it points to.
    for (const char *folder : kSiteStorageFolders)
        RemoveWithoutFollowingLinks(m_storagePath + u'/' + QLatin1StringView(folder));
    QFile::remove(markerPath);
}

QString CResultProfile::DefaultDataRoot()
{
    return OrganisationFolder(QStandardPaths::GenericDataLocation);
}

QString CResultProfile::DefaultCacheRoot()
{
    return OrganisationFolder(QStandardPaths::GenericCacheLocation);
}
