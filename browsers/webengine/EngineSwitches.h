#pragma once

#include <QByteArray>

// The switches the browser engine starts with beyond Qt WebEngine's own. The
// engine reads them from QTWEBENGINE_CHROMIUM_FLAGS once, when it starts
// (with the first profile made); later changes have no effect.

// By default the engine gives every site a renderer process of its own, about
// 7 MB each with an engine's result page; above the limit, pages of different
// sites share renderers. A renderer that crashes takes the pages it holds
// with it, each of which then offers to load its address again.
inline constexpr int kDefaultRendererProcessLimit = 8;

// The limit kept in section "WebPages", key "RendererProcessLimit"; 0 leaves
// the engine one renderer per site; a negative value, or none stored, gives
// the default.
int StoredRendererProcessLimit();

// `flags` with a renderer process limit of `limit` added, unless `limit` is 0
// or `flags` already set one (the user's own switch wins).
QByteArray WithRendererProcessLimit(const QByteArray &flags, int limit);

// The engine lowers the priority of renderers that hold no visible page, as a
// browser does for its background tabs. A search wants every engine's page
// at once, most of them in hidden tabs: with 60 engines the lowering made the
// last page load about 15% later, with about a third more CPU time in all,
// and the page shown no sooner.
// `flags` with the switch that keeps renderers as they are, unless it is
// there already.
QByteArray WithRenderersKeptInForeground(const QByteArray &flags);

// Adds the stored limit and the foreground switch to the engine's switches;
// before the engine starts.
void ApplyEngineSwitches();
