#pragma once

#include <QString>

#include <functional>

#include "browsers/BrowserControl.h"

// A factory whose controls pass every call on to the controls of `inner` and
// report each navigation to `onNavigate` just before it starts, so a
// benchmark can time navigations without changing what the pages do.
BrowserControlFactory ObservedFactory(BrowserControlFactory inner, std::function<void(const QString &url)> onNavigate);
