#include "tests/browsers/BrowserTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

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

#if defined(__SANITIZE_THREAD__)
// Qt itself is not built with ThreadSanitizer: its event queue is guarded by
// locks the sanitizer cannot see, so the copies Qt makes while a worker
// posts to the user-interface thread would be reported as races. Accesses
// made by Qt's own code are therefore not checked; everything the pages,
// the pool and the workers do themselves still is.
extern "C" const char *__tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n";
}
#endif
