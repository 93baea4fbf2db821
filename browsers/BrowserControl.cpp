#include "browsers/BrowserControl.h"

SBrowserRequest::SBrowserRequest(const QString &url)
    : url(url)
{
}

SBrowserRequest::SBrowserRequest(const QString &url, EEngineMethod method, const QByteArray &body)
    : url(url)
    , method(method)
    , body(body)
{
}

IBrowserControl::~IBrowserControl() = default;

QUrl IBrowserControl::SearchDescriptionUrl() const
{
    return {};
}

QNetworkAccessManager *IBrowserControl::Network()
{
    return nullptr;
}

IBrowserLoadObserver::~IBrowserLoadObserver() = default;

IBrowserControlFactory::~IBrowserControlFactory() = default;
