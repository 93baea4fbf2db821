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
    if (scheme == u"http" || scheme == u"https" || scheme == u"file")
        html += u"<p><a id=\"reload\" href=\"" + address.toHtmlEscaped() + u"\">" + text.linkText.toHtmlEscaped() + u"</a></p>";
    html += u"</body></html>";
    return html;
}
