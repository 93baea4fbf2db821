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

IBrowserLoadObserver::~IBrowserLoadObserver() = default;

IBrowserControlFactory::~IBrowserControlFactory() = default;
