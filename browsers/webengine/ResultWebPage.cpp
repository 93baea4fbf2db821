#include "browsers/webengine/ResultWebPage.h"

#include <QPointer>
#include <QWebEngineCertificateError>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>

#include "platform/ShellOpen.h"

namespace
{
// Addresses handed to the user's own browser: web pages only, never a
// script, a local file or data.
bool MayOpenOutside(const QUrl &url)
{
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https");
}

// What the engine shows itself: web pages, local files (the first-show
// page), the page's own documents (an error page, a blob) and the blank page.
bool LoadsInPage(const QUrl &url)
{
    static const QStringList schemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                                        QStringLiteral("data"), QStringLiteral("blob"), QStringLiteral("about")};
    return schemes.contains(url.scheme());
}

// The address of the document's first OpenSearch link, resolved against the
// document's base; empty without one. Run in a world of its own, out of
// reach of the page's scripts and of what they replace in theirs.
const QString kFindSearchDescription = QStringLiteral(
    "(function () {"
    "  var link = document.querySelector('link[rel~=\"search\" i][type=\"application/opensearchdescription+xml\" i][href]');"
    "  return link ? link.href : '';"
    "})()");
} // namespace

CResultWebPage::CResultWebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    connect(this, &QWebEnginePage::newWindowRequested, this, &CResultWebPage::OnNewWindowRequested);
    connect(this, &QWebEnginePage::certificateError, this, &CResultWebPage::OnCertificateError);
    connect(this, &QWebEnginePage::featurePermissionRequested, this, &CResultWebPage::OnFeaturePermissionRequested);
    connect(this, &QWebEnginePage::loadStarted, this, [this] {
        m_searchDescription.clear();
        m_descriptionDue = false;
    });
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_descriptionDue = ok;
        FindSearchDescriptionWhenVisible();
    });
    connect(this, &QWebEnginePage::visibleChanged, this, &CResultWebPage::FindSearchDescriptionWhenVisible);
}

CResultWebPage::~CResultWebPage() = default;

QString CResultWebPage::CertificateReason() const
{
    return m_certificateReason;
}

void CResultWebPage::ClearCertificateReason()
{
    m_certificateReason.clear();
}

QUrl CResultWebPage::SearchDescriptionUrl() const
{
    return m_searchDescription;
}

void CResultWebPage::FindSearchDescriptionWhenVisible()
{
    if (m_descriptionDue && isVisible()) {
        m_descriptionDue = false;
        FindSearchDescription();
    }
}

void CResultWebPage::FindSearchDescription()
{
    const QUrl document = url();
    runJavaScript(kFindSearchDescription, QWebEngineScript::ApplicationWorld,
                  [page = QPointer<CResultWebPage>(this), document](const QVariant &found) {
                      // An answer for a document the page has left is dropped.
                      const QUrl link(found.toString());
                      if (page && page->url() == document && link.isValid() && (link.scheme() == u"http" || link.scheme() == u"https"))
                          page->m_searchDescription = link;
                  });
}

void CResultWebPage::OnNewWindowRequested(QWebEngineNewWindowRequest &request)
{
    // Without a user's gesture it is a pop-up: dropped. The result tabs
    // belong to the engines, so what the user opens goes to the user's own
    // browser. The request is left unanswered, so the engine opens nothing.
    if (request.isUserInitiated() && MayOpenOutside(request.requestedUrl()))
        OpenOutside(request.requestedUrl());
}

bool CResultWebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (LoadsInPage(url))
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    // Any other address would go to the desktop's opener, whatever program
    // it names; only a mail link the user clicked goes out.
    if (url.scheme() == u"mailto" && type == NavigationTypeLinkClicked)
        OpenOutside(url);
    else
        emit StatusTextChanged(u"Link not opened: " + url.toDisplayString() + u" is not a web or mail address.");
    return false;
}

void CResultWebPage::OpenOutside(const QUrl &url)
{
    const QString target = url.toString(QUrl::FullyEncoded);
    ShellExecuteOpen(target, this, [this, target](int code) {
        if (code <= SHELL_OPEN_LAST_ERROR)
            emit StatusTextChanged(u"Link not opened: no program could open " + target + u'.');
    });
}

void CResultWebPage::OnCertificateError(const QWebEngineCertificateError &error)
{
    m_certificateReason = error.description();
    QWebEngineCertificateError refused = error;
    refused.rejectCertificate();
}

void CResultWebPage::OnFeaturePermissionRequested(const QUrl &origin, QWebEnginePage::Feature feature)
{
    setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
}
