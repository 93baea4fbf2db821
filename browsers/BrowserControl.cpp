#include "browsers/BrowserControl.h"

#include <utility>

IBrowserControl::~IBrowserControl() = default;

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
