#include "browsers/webengine/ErrorPage.h"

QString ErrorPageHtml(const ErrorPageText &text)
{
    const QString address = text.address.toString(QUrl::FullyEncoded);
    const QString name = text.name.isEmpty() ? text.address.host() : text.name;
    const QString title = name.isEmpty() ? text.heading : name + u" \u2014 " + text.heading;
    QString html = u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title.toHtmlEscaped()
                   + u"</title><style>body{font-family:sans-serif;margin:2em;color:#222}"
                     u"p.address{color:#555;word-break:break-all}</style></head><body><h1>"
                   + text.heading.toHtmlEscaped() + u"</h1>";
    if (!name.isEmpty())
        html += u"<p class=\"name\">" + name.toHtmlEscaped() + u"</p>";
    if (!address.isEmpty())
        html += u"<p class=\"address\">" + address.toHtmlEscaped() + u"</p>";
    if (!text.reason.isEmpty())
        html += u"<p class=\"reason\">" + text.reason.toHtmlEscaped() + u"</p>";
    // Only web and file addresses get a link: anything else would run in the
    // error page's own context.
    const QString scheme = text.address.scheme();
    if (!text.linkText.isEmpty() && (scheme == u"http" || scheme == u"https" || scheme == u"file"))
        html += u"<p><a id=\"reload\" href=\"" + address.toHtmlEscaped() + u"\">" + text.linkText.toHtmlEscaped() + u"</a></p>";
    html += u"</body></html>";
    return html;
}

QString LoadFailedHeading()
{
    return QStringLiteral("This page could not be shown");
}

QString CertificateRefusedHeading()
{
    return QStringLiteral("The site's certificate was refused");
}

QString CrashedHeading()
{
    return QStringLiteral("This page crashed");
}

QString LoadFailureReason(int httpStatus, int errorCode, const QString &engineText)
{
    if (httpStatus > 0)
        return u"The server answered with HTTP status " + QString::number(httpStatus) + u'.';
    QString text;
    switch (errorCode) {
    case -102:
        text = QStringLiteral("The server refused the connection.");
        break;
    case -105:
    case -137:
        text = QStringLiteral("The server's name could not be found.");
        break;
    case -7:
    case -118:
        text = QStringLiteral("The server did not answer in time.");
        break;
    case -106:
        text = QStringLiteral("There is no network connection.");
        break;
    case -100:
    case -101:
    case -324:
        text = QStringLiteral("The server closed the connection without an answer.");
        break;
    case -400:
        text = QStringLiteral("The page is the answer to a form, which is not sent again unasked.");
        break;
    default:
        return engineText.isEmpty() ? QStringLiteral("The page could not be loaded.") : engineText;
    }
    // The engine's own name of the error helps whoever looks further.
    return engineText.isEmpty() ? text : text + u" (" + engineText + u')';
}

QString FormResentByRefresh()
{
    return QStringLiteral("Refresh sends the form again.");
}

QString TerminationReason(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode)
{
    switch (status) {
    case QWebEnginePage::KilledTerminationStatus:
        return QStringLiteral("The process that showed the page was killed.");
    case QWebEnginePage::CrashedTerminationStatus:
        return QStringLiteral("The process that showed the page crashed.");
    default:
        return u"The process that showed the page ended unexpectedly (exit code " + QString::number(exitCode) + u").";
    }
}
