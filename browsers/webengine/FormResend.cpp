#include "browsers/webengine/FormResend.h"

#include <QWebEngineLoadingInfo>

#include <utility>

#include "platform/MessageBox.h"

namespace
{
// The engine's code for a form's answer that going back or forward (or
// waking a discarded page) finds no longer kept, and does not ask for again.
constexpr int CacheMissErrorCode = -400;

bool IsFormNotSentAgain(const QWebEngineLoadingInfo &info)
{
    return info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain && info.errorCode() == CacheMissErrorCode;
}
} // namespace

void CFormResend::Sent(const SBrowserRequest &request)
{
    m_request = request;
    m_load = ELoad::Sent;
}

void CFormResend::NotAForm()
{
    m_load = ELoad::None;
}

void CFormResend::Reloading()
{
    if (m_bShowsAnswer)
        m_load = ELoad::Resent;
}

void CFormResend::LoadEnded(bool failedWhileLoading)
{
    const ELoad load = std::exchange(m_load, ELoad::None);
    if (failedWhileLoading)
        m_bShowsAnswer = load != ELoad::None;
}

bool CFormResend::Settled(const QWebEngineLoadingInfo &info, EBrowserLoadOutcome outcome)
{
    const ELoad load = std::exchange(m_load, ELoad::None);
    if (outcome == EBrowserLoadOutcome::Stopped)
        return false;
    m_bShowsAnswer = load != ELoad::None || IsFormNotSentAgain(info);
    return outcome == EBrowserLoadOutcome::Failed && !IsFormNotSentAgain(info) && load != ELoad::Resent;
}

bool CFormResend::ShowsFormAnswer() const
{
    return m_bShowsAnswer;
}

SBrowserRequest CFormResend::RequestFor(const QUrl &failed) const
{
    return m_bShowsAnswer && !m_request.url.isEmpty() ? m_request : SBrowserRequest(failed.toString(QUrl::FullyEncoded));
}

bool CFormResend::MayLoadAgain() const
{
    return !m_bShowsAnswer
        || AfxMessageBox(QStringLiteral("The page shown is the answer to a form.\nSend the form data again?"),
                         MB_YESNO | MB_ICONQUESTION)
               == IDYES;
}
