#pragma once

#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// JavaScript that gives when the load event of the page's document ended, in
// ms since the epoch (the page's own clock, which is the machine's), or 0
// while it has not; with `url`, also 0 while the page shows another address.
// Read in the page, so that how often it is asked does not change the figure.
QString LoadEndExpression(const QString &url = {});

// Headless Chromium with a fresh profile, driven through its remote-debugging
// interface, so that benchmarks can set Quaerio's pages beside Chromium's
// tabs for the same addresses. Nothing here asserts; a step that fails
// returns a value that says so.
class CChromiumTabs final
{
public:
    CChromiumTabs();
    ~CChromiumTabs();
    Q_DISABLE_COPY_MOVE(CChromiumTabs)

    // Whether the browser is installed.
    static bool Available();

    // Starts the browser and waits for its debugging endpoint; false if it
    // could not be started or never answered.
    bool Start();
    qint64 ProcessId() const;

    // Opens every address as a tab of its own (one request each, all sent at
    // once, as a user opening a list of bookmarks in tabs would) and returns
    // at once. The moment of the first request is kept.
    void OpenTabs(const QStringList &urls);

    // Loads `urls` (one for each tab opened, in the same order) in the tabs
    // already open, as a new search in the same tabs would, and returns at
    // once. The moment of the first request is kept.
    void NavigateTabs(const QStringList &urls);

    // Waits until every tab has fired the load event of its latest address;
    // the time in ms from the first request to the last tab's load event, as
    // the pages themselves report it, or -1 if not all loaded within
    // `timeoutMs`.
    double WaitAllLoadedMs(int timeoutMs);

private:
    struct Tab;
    void Ask(Tab &tab);
    static void Send(Tab &tab, const QString &method, const QJsonObject &params);

    QTemporaryDir m_profile;
    QProcess m_process;
    QNetworkAccessManager m_network;
    QString m_endpoint;
    QList<Tab *> m_tabs;
    qint64 m_openedAtMs = 0; // wall clock, ms since the epoch
};
