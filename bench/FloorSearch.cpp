// The floor under a search's loading: the same engines' pages in bare Qt
// WebEngine views, with the engine switches the program starts with and
// nothing of the program's (no frame, form, blank page, worker threads, load
// tracking or status bar). The first view is shown, the others hidden, as
// the tabs of a search are.
//
//   bench_floor_search BASE...   (one base address per engine)
//
// Each line read on standard input is a path and query; every view loads its
// base address followed by it, and once every page's load event has ended the
// program prints "loaded T C", T the last page's load-event end by the pages'
// clock (ms since the epoch), C the CPU time in ms its user-interface thread
// (the engine's browser thread) used since the line was read.

#include <QApplication>
#include <QSocketNotifier>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <unistd.h>

#include "bench/ChromiumTabs.h"
#include "bench/ProcessTree.h"
#include "browsers/webengine/EngineSwitches.h"

namespace
{
class CFloorPages final
{
public:
    explicit CFloorPages(const QStringList &bases)
        : m_bases(bases)
    {
        for (qsizetype k = 0; k < bases.size(); ++k) {
            auto view = std::make_unique<QWebEngineView>();
            view->resize(800, 600);
            if (k == 0)
                view->show();
            QWebEnginePage *page = view->page();
            QObject::connect(page, &QWebEnginePage::loadFinished, page, [this, page](bool) { OnLoadFinished(page); });
            m_views.push_back(std::move(view));
        }
    }
    Q_DISABLE_COPY_MOVE(CFloorPages)

    void Load(const QString &pathAndQuery)
    {
        m_pathAndQuery = pathAndQuery;
        m_loadEnds.clear();
        m_cpuAtLoadMs = ThreadCpuMs();
        for (size_t k = 0; k < m_views.size(); ++k)
            m_views[k]->load(QUrl(m_bases.at(qsizetype(k)) + pathAndQuery));
    }

private:
    void OnLoadFinished(QWebEnginePage *page)
    {
        const QString url = page->url().toString();
        if (m_pathAndQuery.isEmpty() || !url.endsWith(m_pathAndQuery))
            return;
        const QString expected = m_pathAndQuery;
        page->runJavaScript(LoadEndExpression(url), [this, expected](const QVariant &loadEnd) {
            if (expected != m_pathAndQuery || loadEnd.toDouble() <= 0)
                return;
            m_loadEnds.push_back(loadEnd.toDouble());
            if (m_loadEnds.size() == m_views.size()) {
                std::printf("loaded %.0f %.1f\n", *std::max_element(m_loadEnds.cbegin(), m_loadEnds.cend()),
                            ThreadCpuMs() - m_cpuAtLoadMs);
                std::fflush(stdout);
                m_pathAndQuery.clear();
            }
        });
    }

    QStringList m_bases;
    std::vector<std::unique_ptr<QWebEngineView>> m_views;
    QString m_pathAndQuery;
    std::vector<double> m_loadEnds;
    double m_cpuAtLoadMs = 0;
};
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    ApplyEngineSwitches();
    QApplication application(argc, argv);
    QStringList bases = QApplication::arguments().mid(1);
    if (bases.isEmpty()) {
        std::fprintf(stderr, "usage: bench_floor_search BASE...\n");
        return 2;
    }
    CFloorPages pages(bases);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &input, [&pages, &pending, &input] {
        char chunk[4096];
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending.append(chunk, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            pages.Load(QString::fromUtf8(pending.left(end)));
            pending.remove(0, end + 1);
        }
    });
    return QApplication::exec();
}
