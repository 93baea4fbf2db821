#pragma once

#include <QUrl>

#include "browsers/BrowserControl.h"

class QWebEngineLoadingInfo;

// What a result page knows of the forms it sent, so that a form is never
// sent again without the user's say. The engine sends a form again, unasked,
// on a reload of its answer; going back or forward to the answer (or waking
// a discarded page) it sends nothing, fails with a cache miss and shows its
// own page saying so, the history entry keeping the form.
class CFormResend final
{
public:
    CFormResend() = default;
    Q_DISABLE_COPY_MOVE(CFormResend)

    // A load starts: the POST `request`, or no form.
    void Sent(const SBrowserRequest &request);
    void NotAForm();
    // The document shown is reloaded: an answer's form goes again.
    void Reloading();
    // The program gave up on the load under way or on the page; with
    // `failedWhileLoading` the document that failed is the one that loaded.
    void LoadEnded(bool failedWhileLoading);
    // The engine settled the load under way as `outcome`. True when it
    // failed so that the program shows its own error page: not for the
    // engine's page of a form it did not send (again), which keeps the form
    // for Refresh to send, nor for a form sent again.
    bool Settled(const QWebEngineLoadingInfo &info, EBrowserLoadOutcome outcome);

    // The document shown (or the one that failed, for the error page) is
    // the answer to a form, which loading it again would send again.
    bool ShowsFormAnswer() const;
    // What Refresh of the error page for `failed` sends: the form that
    // failed, if it was one, else a GET of the address.
    SBrowserRequest RequestFor(const QUrl &failed) const;
    // True when the page does not show a form's answer, or the user agreed
    // to send the form again.
    bool MayLoadAgain() const;

private:
    // How the load under way involves a form.
    enum class ELoad
    {
        None,
        Sent,   // the POST Navigate was asked for, m_request
        Resent, // a reload of a form's answer the user agreed to
    };

    // The last POST Navigate was asked for.
    SBrowserRequest m_request;
    ELoad m_load = ELoad::None;
    bool m_bShowsAnswer = false;
};
