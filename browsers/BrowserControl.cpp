#include "browsers/BrowserControl.h"

#include <utility>

IBrowserControl::~IBrowserControl() = default;

// A control without load reports (a stand-in that only counts calls) keeps
// these: it tells nothing and shows nothing of its own.
void IBrowserControl::SetLoadObserver(IBrowserLoadObserver *)
{
}

void IBrowserControl::SetEngineName(const QString &)
{
}

void IBrowserControl::ShowLoadFailure(const QString &)
{
}

IBrowserLoadObserver::~IBrowserLoadObserver() = default;

IBrowserControlFactory::~IBrowserControlFactory() = default;

namespace {
// Installed at start-up (or by a test) on the user-interface thread; pages
// read it only when they create their control, on the same thread.
IBrowserControlFactory *&Installed()
{
    static IBrowserControlFactory *factory = nullptr;
    return factory;
}
} // namespace

IBrowserControlFactory *InstallBrowserControlFactory(IBrowserControlFactory *factory)
{
    return std::exchange(Installed(), factory);
}

IBrowserControlFactory *InstalledBrowserControlFactory()
{
    return Installed();
}
