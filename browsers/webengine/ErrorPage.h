#pragma once

#include <QString>
#include <QUrl>
#include <QWebEnginePage>

// A readable page shown inside a result page when its own document cannot be
// shown: a heading, the name of what was asked (an engine's name or the
// address's host), the address, the reason, and a link that loads the address
// again. Every text is escaped, so an address or reason from the network
// cannot inject markup.
struct ErrorPageText
{
    QString heading;  // "This page could not be shown", "This page crashed"
    QString name;     // empty: the address's host
    QUrl address;     // the page that failed; the link loads it again
    QString reason;
    QString linkText; // "Reload", "Retry"; empty: no link
};

QString ErrorPageHtml(const ErrorPageText &text);

// The headings of the error pages.
QString LoadFailedHeading();
QString CertificateRefusedHeading();
QString CrashedHeading();

// Why a load failed, for people to read: `httpStatus` when the server
// answered with an error, else the engine's network error code and its own
// name of the error.
QString LoadFailureReason(int httpStatus, int errorCode, const QString &engineText);
// Said of a form's answer that failed: a link would ask without the form.
QString FormResentByRefresh();
// Why the process that showed a page ended.
QString TerminationReason(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);
