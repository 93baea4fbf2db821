#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QtGlobal>

#include <functional>
#include <memory>

#include "catalogue/EngineDescription.h"

class QNetworkAccessManager;
class QWidget;

// What a control is asked to load: `url` by GET, or, by POST, `url` with
// `body` as an application/x-www-form-urlencoded form.
struct SBrowserRequest
{
    // A GET of `url`: an address alone is a request.
    SBrowserRequest(const QString &url = QString());
    SBrowserRequest(const QString &url, EEngineMethod method, const QByteArray &body);

    QString url;
    EEngineMethod method = EEngineMethod::Get;
    QByteArray body; // POST only

    friend bool operator==(const SBrowserRequest &, const SBrowserRequest &) = default;
};

// ---------------------------------------------------------------------------
// Load state reported upward. Commands go down to a control by direct call;
// what happens to its loads comes back through the observer its page sets.

// How a load of a control ended.
enum class EBrowserLoadOutcome
{
    Loaded,  // the document was shown
    Failed,  // no answer, a refused or broken connection, an HTTP error
    Stopped, // Stop was called, or the control gave up waiting
};

struct SBrowserLoadResult
{
    EBrowserLoadOutcome outcome = EBrowserLoadOutcome::Loaded;
    QString url;        // the address the page ended on
    int httpStatus = 0; // 0 when not known
    QString reason;     // why a load failed, for people to read; empty otherwise
};

// Told of every load of one control, on the user-interface thread, in this
// order: started, any number of progress reports, finished. A load that
// another navigation replaces reports no finish of its own: the next start
// stands for it.
class IBrowserLoadObserver
{
public:
    virtual ~IBrowserLoadObserver();

    virtual void OnLoadStarted(const QString &url) = 0;
    // 0 to 100.
    virtual void OnLoadProgress(int percent) = 0;
    virtual void OnLoadFinished(const SBrowserLoadResult &result) = 0;

protected:
    IBrowserLoadObserver() = default;
    Q_DISABLE_COPY_MOVE(IBrowserLoadObserver)
};
// ---------------------------------------------------------------------------

// The engine behind one result page: an embedded web browser driven only by
// these calls. Busy() tells whether it loads; the observer set with
// SetLoadObserver is told of each load.
// Every call is made on the user-interface thread.
class IBrowserControl
{
public:
    virtual ~IBrowserControl();

    // The view to show; a child of the page that created the control.
    virtual QWidget *Widget() = 0;
    // Starts loading the request's address (a web address, "about:blank" or
    // a local file path), by POST with its body when it says so, and returns
    // at once.
    virtual void Navigate(const SBrowserRequest &request) = 0;
    // Cancels loading; afterwards Busy() is false.
    virtual void Stop() = 0;
    // Neither sends a form again: going back or forward to the answer to a
    // form (a POST) shows it only if the engine kept it.
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    // Loads the document shown again; the answer to a form only after the
    // user agreed to send the form again.
    virtual void Refresh() = 0;
    // True from the start of a navigation until it finished, failed, was
    // stopped or was replaced by another one that has itself settled.
    virtual bool Busy() const = 0;
    // The address shown; "about:blank" for the blank page.
    virtual QString LocationURL() const = 0;
    // Text size: 0 smallest, 2 normal, 4 largest; other values are clamped.
    virtual void SetZoomLevel(int level) = 0;

    // Find in page.
    struct FindResult
    {
        int activeMatch = 0; // from 1; 0 when nothing matches
        int numberOfMatches = 0;
    };
    using FindCallback = std::function<void(const FindResult &)>;
    // Highlights every match of `text` (case-insensitive) and moves to the
    // next one, or the previous one when `backward`; repeating the same text
    // steps through the matches, wrapping at the ends. `done` receives the
    // outcome, possibly before FindText returns; a page without a document
    // reports no matches. Empty `text` clears the highlight, as StopFinding.
    virtual void FindText(const QString &text, bool backward, FindCallback done) = 0;
    // Clears the highlight of the last search.
    virtual void StopFinding() = 0;
    // `observer` (not owned; null: none) is told of every load from now on.
    virtual void SetLoadObserver(IBrowserLoadObserver *observer) = 0;
    // The name of the engine the page serves, for the pages the control
    // shows of its own (a load that failed).
    virtual void SetEngineName(const QString &name) = 0;
    // Shows, instead of the document, a readable page that names the engine,
    // the current address and `reason`, with a link that loads the address
    // again; the program gave up waiting for the page, for instance.
    virtual void ShowLoadFailure(const QString &reason) = 0;
    // The search engine description the document shown advertises (a
    // <link rel="search" type="application/opensearchdescription+xml">), as
    // a full address; empty when it advertises none or is still loading.
    virtual QUrl SearchDescriptionUrl() const;
    // The network the page's own requests go through, with its cookies, for
    // fetching what the page names; null when the control has none.
    virtual QNetworkAccessManager *Network();

protected:
    IBrowserControl() = default;
    Q_DISABLE_COPY_MOVE(IBrowserControl)
};

// Makes the control of each page. The program installs the real engine's
// factory with CInstalled (platform/Installed.h) at start-up; tests install a
// stand-in of their own. With none installed every page creation fails.
class IBrowserControlFactory
{
public:
    virtual ~IBrowserControlFactory();

    // A control whose widget is a child of `parent`; null when creation fails.
    virtual std::unique_ptr<IBrowserControl> Create(QWidget *parent) = 0;

protected:
    IBrowserControlFactory() = default;
    Q_DISABLE_COPY_MOVE(IBrowserControlFactory)
};

// Lowest and highest text-size level of SetZoomLevel.
inline constexpr int BROWSER_ZOOM_SMALLEST = 0;
inline constexpr int BROWSER_ZOOM_NORMAL = 2;
inline constexpr int BROWSER_ZOOM_LARGEST = 4;
