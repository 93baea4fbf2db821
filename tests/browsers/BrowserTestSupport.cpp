#include "tests/browsers/BrowserTestSupport.h"

#include <QCoreApplication>
#include <QTest>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << "{\n";
    for (const QString &text : texts)
        *out << "  \"" << text.toStdString() << "\"\n";
    *out << '}';
}

bool WaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    return QTest::qWaitFor(done, timeoutMs);
}

bool SettleWorkers(const CResultBrowserMap &pool, int timeoutMs)
{
    const bool finished = WaitUntil(
        [&pool] {
            const QList<CResultBrowser *> pages = pool.Pages();
            return std::all_of(pages.begin(), pages.end(), [](CResultBrowser *page) { return page->RunningWorkers() == 0; });
        },
        timeoutMs);
    // Every worker has posted before it ended; deliver what it posted.
    QCoreApplication::sendPostedEvents();
    return finished;
}

RecordingPoolTest::RecordingPoolTest()
{
    m_factory.Install();
    m_parent.resize(800, 600);
    // Shown (offscreen), so that pages and controls take their sizes at once.
    m_parent.show();
    m_pool.SetParentWnd(&m_parent);
}

RecordingPoolTest::~RecordingPoolTest()
{
    SetBrowserControlFactory({});
}

CResultBrowser *RecordingPoolTest::Activate(int index, const QString &urlTemplate)
{
    CResultBrowser *page = m_pool.GetBrowser(index);
    if (page) {
        page->SetQueryTemplate(urlTemplate);
        page->m_bActive = true;
    }
    return page;
}

CRecordingBrowserControl *RecordingPoolTest::ControlOf(const CResultBrowser *page) const
{
    return page ? dynamic_cast<CRecordingBrowserControl *>(page->Control()) : nullptr;
}
