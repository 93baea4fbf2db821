#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QWebEnginePage;
class QWebEngineView;
class QWidget;

// How result pages spend memory, given to the factory; the program keeps the
// defaults, the memory bench switches them to measure each.
struct WebEngineMemoryPolicy
{
    // Make a page's engine at its first navigation to a document rather than
    // with the control (blank pages cost no renderer).
    bool lazyView = true;
    // Give a page its view (the widget that draws it) only while the user can
    // see it; a hidden page keeps its document and history without one. Once
    // assistive technology has been active, a page keeps the view it has
    // (hidden while unseen): the view owns the accessible objects of the
    // page's document.
    bool viewOnlyWhenSeen = true;
    // Freeze a loaded page while the user cannot see it (no script or timer
    // runs), and wake it when it is shown.
    bool freezeHidden = true;
    // Discard a page unseen for this long (its renderer is freed; it reloads
    // when shown). 0: never.
    int discardAfterMs = 30 * 60 * 1000;
};

// What of one result page's engine runs, by whether the user can see it and
// the memory policy: the view that draws the page exists only while the page
// is seen; a hidden page is frozen once it no longer loads, and discarded
// after long unseen (it reloads when shown).
//
// It watches the host widget and the page around it; anything that may
// change what is seen (shown, hidden, moved, resized, raised) is announced
// through SeenMayHaveChanged, since one page raised hides its siblings: the
// owner then calls Update on every live page.
class CPageLifecycle final : public QObject
{
    Q_OBJECT

public:
    // `host` is the control's widget, a child of its page; `busy` tells
    // whether the page must not be frozen now.
    CPageLifecycle(QWidget *host, const WebEngineMemoryPolicy &policy, std::function<bool()> busy,
                   QObject *parent = nullptr);
    ~CPageLifecycle() override;
    Q_DISABLE_COPY_MOVE(CPageLifecycle)

    const WebEngineMemoryPolicy &Policy() const;
    // The page to look after, once made.
    void SetPage(QWebEnginePage *page);
    // The view that draws the page: null while the page is not seen (with
    // that policy) or does not exist.
    QWebEngineView *View() const;
    // Makes the view if there is none; null without a page.
    QWebEngineView *EnsureView();
    // Lets go of the view; the page stays.
    void DropView();
    // Wakes the page (frozen or discarded) before it acts.
    void Activate();

    // Whether the user can see the page: shown, not empty, and not covered by
    // a sibling page raised over it.
    bool IsSeen() const;
    // Brings the page and its view in line with whether it is seen. With
    // `keepView` a hidden page keeps its view, hidden.
    void Update(bool keepView);

signals:
    void SeenMayHaveChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnDiscardTimeout();

    QPointer<QWidget> m_host;
    const WebEngineMemoryPolicy m_policy;
    std::function<bool()> m_busy;
    QPointer<QWebEnginePage> m_page;
    QPointer<QWebEngineView> m_view;
    QTimer m_discardTimer;
};
