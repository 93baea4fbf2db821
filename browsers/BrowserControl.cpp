#include "browsers/BrowserControl.h"

#include <utility>

IBrowserControl::~IBrowserControl() = default;

namespace {
// Installed once at start-up (or by a test on the user-interface thread);
// pages read it only when they create their control, on the same thread.
BrowserControlFactory &InstalledFactory()
{
    static BrowserControlFactory factory;
    return factory;
}
} // namespace

void SetBrowserControlFactory(BrowserControlFactory factory)
{
    InstalledFactory() = std::move(factory);
}

BrowserControlFactory GetBrowserControlFactory()
{
    return InstalledFactory();
}
