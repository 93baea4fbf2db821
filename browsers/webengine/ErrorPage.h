#pragma once

#include <QString>
#include <QUrl>

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
    QString linkText; // "Reload", "Retry"
};

QString ErrorPageHtml(const ErrorPageText &text);
