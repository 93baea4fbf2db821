#pragma once

#include <QString>
#include <QWebEnginePage>

class QWebEngineCertificateError;
class QWebEngineNewWindowRequest;

// The engine's page of a result page, with what a result page may do. It
// behaves as the user's own browser would, within its tab: a new window or
// tab the user asks for opens in the user's default browser (or the
// registered one, when the desktop has no opener); a pop-up without a
// user's gesture is dropped; certificate errors are refused; location,
// notification, camera, microphone and screen requests are denied without a
// prompt. Only web pages, local files and the page's own data load in it; a
// "mailto:" link clicked goes to the user's mail program, and a link of any
// other scheme, which the engine would hand to the desktop, is refused. What
// is refused or cannot be opened is told through StatusTextChanged.
class CResultWebPage final : public QWebEnginePage
{
    Q_OBJECT

public:
    CResultWebPage(QWebEngineProfile *profile, QObject *parent);
    ~CResultWebPage() override;
    Q_DISABLE_COPY_MOVE(CResultWebPage)

    // Why the certificate of the current load was refused; empty when none
    // was since ClearCertificateReason.
    QString CertificateReason() const;
    void ClearCertificateReason();
    // The search engine description the document advertises; empty while a
    // document loads, for one that advertises none, and until the page has
    // been visible since its document loaded: only the shown page's matters,
    // and looking in every hidden page of a search would cost each renderer
    // a script world as the pages load.
    QUrl SearchDescriptionUrl() const;

signals:
    void StatusTextChanged(const QString &text);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    void OpenOutside(const QUrl &url);
    void OnNewWindowRequested(QWebEngineNewWindowRequest &request);
    void OnCertificateError(const QWebEngineCertificateError &error);
    void OnFeaturePermissionRequested(const QUrl &origin, QWebEnginePage::Feature feature);
    void FindSearchDescription();
    void FindSearchDescriptionWhenVisible();

    QString m_certificateReason;
    QUrl m_searchDescription;
    // The loaded document has not been looked at for a description yet.
    bool m_descriptionDue = false;
};
