#pragma once

#include <QString>

// The string table: command prompts ("status-bar prompt\ntooltip"), button
// labels and framework texts, looked up by resource id. An unknown id gives
// an empty string, as loading a missing string resource does.
QString LoadResString(int id);

// The status-bar prompt of a command: the part before the first line feed.
QString CommandPrompt(int id);

// The tooltip of a command: the part after the first line feed, empty when none.
QString CommandTooltip(int id);

// The web addresses that the Help menu and the About box open.
extern const QString kProductHomeUrl;
extern const QString kMakerHomeUrl;
extern const QString kAuthorBlogUrl;
extern const QString kAuthorMailAddress;
extern const QString kMakerDomain;
