#pragma once

#include <QString>
#include <QStringList>

#include <functional>

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

// The registered browser's command in the "%1" form; empty when none is known.
QString RegisteredBrowserCommand();

// True for http and https addresses, the only ones the browser fallback takes.
bool IsWebAddress(const QString &target);

// Starts the registered browser on `target`, detached; false when no browser
// is registered or it cannot be started.
bool OpenWithRegisteredBrowser(const QString &target);

// Starting a program detached. Tests install a hook that records the call and
// answers instead of starting anything; an empty hook restores the real start.
using LaunchHook = std::function<bool(const QString &program, const QStringList &arguments)>;
bool LaunchDetached(const QString &program, const QStringList &arguments);
LaunchHook SetLaunchHook(LaunchHook hook);
