#include "workspace/EngineProgress.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QTableWidget>

#include "browsers/ResultBrowser.h"
#include "workspace/TabCtrl.h"

namespace
{
constexpr int kProgressColumn = 1;
constexpr int kMarkSize = 10;

const QString kBlankPage = QStringLiteral("about:blank");

// A small filled disc: amber while loading, green when done, red on failure.
QIcon MarkIcon(CEngineProgress::EMark mark)
{
    static QIcon drawn[4];
    const auto i = static_cast<std::size_t>(mark);
    if (mark == CEngineProgress::EMark::None || !drawn[i].isNull())
        return drawn[i];
    static const QColor colours[] = {{}, QColor(0xE0, 0xA0, 0x00), QColor(0x2E, 0x9E, 0x3E), QColor(0xD0, 0x30, 0x30)};
    QPixmap pixmap(kMarkSize, kMarkSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours[i]);
    painter.drawEllipse(1, 1, kMarkSize - 2, kMarkSize - 2);
    painter.end();
    drawn[i] = QIcon(pixmap);
    return drawn[i];
}
} // namespace

CEngineProgress::CEngineProgress(int index, CResultBrowser *page, QTableWidget *list, CTabCtrl *tabs, QObject *parent,
                                 int timeLimitMs)
    : QObject(parent)
    , m_nIndex(index)
    , m_page(page)
    , m_list(list)
    , m_tabs(tabs)
    , m_strName(index < tabs->count() ? tabs->tabText(index) : QString())
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(timeLimitMs);
    connect(&m_limit, &QTimer::timeout, this, &CEngineProgress::OnTimeLimit);
    if (!m_page)
        return;
    connect(m_page, &CWebBrowser2::LoadStarted, this, &CEngineProgress::OnStarted);
    connect(m_page, &CWebBrowser2::LoadProgress, this, &CEngineProgress::OnProgress);
    connect(m_page, &CWebBrowser2::LoadFinished, this, &CEngineProgress::OnFinished);
    // A page that is loading already (the first-show page) is followed from here.
    if (m_page->GetBusy())
        OnStarted(m_page->GetLocationURL());
}

CEngineProgress::~CEngineProgress() = default;

void CEngineProgress::Ask()
{
    if (!m_page)
        return;
    m_state = EState::Waiting;
    m_nPercent = 0;
    m_strUrl.clear();
    m_nHttpStatus = 0;
    m_nLoadMs = -1;
    m_strReason.clear();
    StartClock();
    Show();
}

void CEngineProgress::Skip()
{
    m_limit.stop();
    m_state = EState::Skipped;
    m_strUrl.clear();
    m_nLoadMs = -1;
    Show();
}

void CEngineProgress::MarkStopped()
{
    if (m_state != EState::Waiting && m_state != EState::Loading)
        return;
    m_limit.stop();
    m_state = EState::Stopped;
    Show();
}

void CEngineProgress::StartClock()
{
    m_clock.start();
    m_limit.start();
}

void CEngineProgress::OnStarted(const QString &url)
{
    if (url == kBlankPage)
        return;
    // A search's load keeps the clock and the time limit that started when
    // the engine was asked; a load of the user's own (a link) is timed for
    // the tooltip but never limited.
    if (m_state != EState::Waiting) {
        m_limit.stop();
        m_clock.start();
    }
    m_state = EState::Loading;
    m_nPercent = 0;
    m_strUrl = url;
    m_nHttpStatus = 0;
    m_nLoadMs = -1;
    m_strReason.clear();
    Show();
    emit Started();
}

void CEngineProgress::OnProgress(int percent)
{
    if (m_state != EState::Loading || percent == m_nPercent)
        return;
    m_nPercent = qBound(0, percent, 100);
    Show();
}

void CEngineProgress::OnFinished(const SBrowserLoadResult &result)
{
    if (m_state == EState::Loading && result.url != kBlankPage) {
        m_limit.stop();
        m_nLoadMs = m_clock.elapsed();
        m_strUrl = result.url;
        m_nHttpStatus = result.httpStatus;
        m_strReason = result.reason;
        switch (result.outcome) {
        case EBrowserLoadOutcome::Loaded:
            m_state = EState::Loaded;
            break;
        case EBrowserLoadOutcome::Failed:
            m_state = EState::Failed;
            break;
        case EBrowserLoadOutcome::Stopped:
            m_state = EState::Stopped;
            break;
        }
        Show();
    }
    emit Settled();
}

void CEngineProgress::OnTimeLimit()
{
    if (m_state != EState::Waiting && m_state != EState::Loading)
        return;
    // Marked first, so the stop that follows does not read "Stopped".
    m_state = EState::TimedOut;
    m_nLoadMs = m_clock.elapsed();
    m_strReason = QStringLiteral("No answer within %1 seconds.").arg(m_limit.interval() / 1000.0);
    if (m_page) {
        m_page->CancelQuery();
        if (m_page->GetBusy())
            m_page->Stop();
        m_page->ShowLoadFailure(m_strReason);
    }
    Show();
    emit Settled();
}

CEngineProgress::EState CEngineProgress::State() const
{
    return m_state;
}

QString CEngineProgress::Text() const
{
    switch (m_state) {
    case EState::Waiting:
    case EState::Loading:
        return QString::number(m_nPercent) + u'%';
    case EState::Failed:
        return QStringLiteral("Failed");
    case EState::Stopped:
        return QStringLiteral("Stopped");
    case EState::TimedOut:
        return QStringLiteral("Timed out");
    case EState::Skipped:
        return QStringLiteral("Skipped");
    case EState::Ready:
    case EState::Loaded:
        break;
    }
    return QStringLiteral("100%");
}

CEngineProgress::EMark CEngineProgress::Mark() const
{
    switch (m_state) {
    case EState::Waiting:
    case EState::Loading:
        return EMark::Loading;
    case EState::Loaded:
        return EMark::Done;
    case EState::Failed:
    case EState::TimedOut:
        return EMark::Failed;
    default:
        return EMark::None;
    }
}

QString CEngineProgress::ToolTip() const
{
    QStringList lines{m_strName};
    if (!m_strUrl.isEmpty())
        lines.append(m_strUrl);
    if (m_nHttpStatus > 0)
        lines.append(QStringLiteral("HTTP %1").arg(m_nHttpStatus));
    if (!m_strReason.isEmpty())
        lines.append(m_strReason);
    if (m_nLoadMs >= 0)
        lines.append(QStringLiteral("%1 ms").arg(m_nLoadMs));
    return lines.join(u'\n');
}

int CEngineProgress::TimeLimitMs() const
{
    return m_limit.interval();
}

void CEngineProgress::Show()
{
    if (m_list && m_nIndex < m_list->rowCount()) {
        QTableWidgetItem *cell = m_list->item(m_nIndex, kProgressColumn);
        if (cell) {
            cell->setText(Text());
            cell->setToolTip(Text());
        }
    }
    if (m_tabs && m_nIndex < m_tabs->count()) {
        m_tabs->setTabIcon(m_nIndex, MarkIcon(Mark()));
        m_tabs->setTabToolTip(m_nIndex, ToolTip());
    }
}
