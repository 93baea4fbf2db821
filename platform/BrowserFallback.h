#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// Opening a web address with the user's registered web browser, for when the
// system's own opener has no handler for it.
//
// The registered browser is the BROWSER environment variable when set (its
// first entry, "%s" standing for the address), else the desktop entry that
// `xdg-settings get default-web-browser` names (its Exec line, the field codes
// %u, %U, %f and %F standing for the address). Either is brought to one form,
// a command line with "%1" where the address goes.

// The command line that starts the registered browser on `target`: the
// registered command cut at its first quoted "%1" (the four characters
// double quote, percent sign, one, double quote), or else at its first %1, or
// kept whole when it has neither, then a space and the target. The program
// and its arguments come from the cut command alone; the target is always
// one argument of its own, so no address can add options or words.
struct BrowserCommand
{
    QString commandLine; // as text, for showing
    QString program;     // empty when the command names no program
    QStringList arguments;
};
BrowserCommand FormFallbackCommand(const QString &registered, const QString &target);

// An Exec value of a desktop entry in the "%1" form: %u, %U, %f and %F become
// %1, %% becomes %, the other field codes are dropped.
QString DesktopExecToCommand(const QString &exec);

// The Exec value of the [Desktop Entry] group of a desktop file, with the key
// file escapes (\s, \n, \t, \r, \\) resolved; empty when there is none.
QString DesktopFileExec(const QString &path);

// The BROWSER variable's value in the "%1" form: its first non-empty entry
// (entries are separated by colons), with "%s" made "%1".
QString BrowserCommandFromVariable(const QString &value);

// The command in the "%1" form of the desktop entry `entry` (a file name such
// as "firefox.desktop", looked up in the applications folders); empty when
// the entry is unknown or has no Exec line.
QString DesktopEntryCommand(const QString &entry);

// True for http and https addresses, the only ones the browser fallback takes.
bool IsWebAddress(const QString &target);

// Starts the registered browser on `target` through the platform services'
// Launch, with the address as one argument, and then calls `done` with
// whether it started. The BROWSER variable answers at once; otherwise
// `xdg-settings` is asked in the background, so the user-interface thread
// never waits for it, and an answer that takes longer than 5 s counts as
// none. `done` runs on the user-interface thread, at once when no question
// needs asking (a non-web address, BROWSER set, no xdg-settings), and never
// once `context` is gone (the question dies with it).
void OpenWithRegisteredBrowser(const QString &target, QObject *context, std::function<void(bool started)> done);
