#include "browsers/BrowserControl.h"

IBrowserControl::~IBrowserControl() = default;

IBrowserLoadObserver::~IBrowserLoadObserver() = default;

IBrowserControlFactory::~IBrowserControlFactory() = default;
