// Figures of the page pool, printed; nothing is asserted.
//
// For 10, 50 and 100 active pages, first on the recording stand-in, then on
// the real browser engine against a loopback HTTP server:
//   - how long SearchAll holds the user-interface thread,
//   - how long until every page's navigation has been started,
//   - with the real engine, how long until no page is busy,
//   - with the real engine, the memory each blank page adds: resident in
//     this process, and proportional (PSS) over this process and the
//     engine's helper processes.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <unistd.h>

#include "tests/support/RecordingBrowserControl.h"
#include "bench/ObservedControl.h"
#include "browsers/ResultBrowserMap.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "platform/MessageBox.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"

namespace {

QElapsedTimer g_clock;

// A "<key>: <n> kB" figure of a /proc file of a process, 0 if unknown.
long ProcKb(const QString &pid, const QString &file, const QByteArray &key)
{
    QFile status(u"/proc/" + pid + u"/" + file);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// "VmRSS" of a process in kB.
long RssKb(const QString &pid)
{
    return ProcKb(pid, QStringLiteral("status"), "VmRSS:");
}

// Proportional set size: shared pages divided among the processes sharing them.
long PssKb(const QString &pid)
{
    return ProcKb(pid, QStringLiteral("smaps_rollup"), "Pss:");
}

// This process and every process descended from it.
QStringList ProcessTree()
{
    const QString self = QString::number(getpid());
    QList<QString> tree{self};
    bool grown = true;
    const QStringList all = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    while (grown) {
        grown = false;
        for (const QString &pid : all) {
            if (tree.contains(pid))
                continue;
            QFile stat(u"/proc/" + pid + u"/stat");
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            // pid (comm) state ppid ...: the comm may hold spaces.
            const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && tree.contains(QString::fromLatin1(fields.at(1)))) {
                tree.append(pid);
                grown = true;
            }
        }
    }
    return tree;
}

// Proportional memory of this process and of the engine's helper processes.
long TreePssKb()
{
    long total = 0;
    for (const QString &pid : ProcessTree())
        total += PssKb(pid);
    return total;
}

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

struct Figures
{
    std::vector<double> hold;
    std::vector<double> started;
    std::vector<double> idle;
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Max(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void Print(const char *engine, int pages, const Figures &f)
{
    std::printf("%-10s %4d pages  SearchAll holds UI: median %8.3f ms, max %8.3f ms | all navigations started: median %8.2f ms",
                engine, pages, Median(f.hold), Max(f.hold), Median(f.started));
    if (!f.idle.empty())
        std::printf(" | none busy: median %8.1f ms", Median(f.idle));
    std::printf("\n");
    std::fflush(stdout);
}

QString TemplateFor(const LoopbackHttpServer *server, int index)
{
    const QString path = u"/engine" + QString::number(index) + u"?q=*&n=" + QString::number(index);
    return server ? server->url(path) : u"http://127.0.0.1:9" + path;
}

// One pool of `pages` active pages; `rounds` searches, each after a blanking.
Figures Run(int pages, int rounds, const LoopbackHttpServer *server, bool real, long *rssPerPageKb, long *treeRssPerPageKb)
{
    std::vector<qint64> navigations;
    CRecordingBrowserFactory recording;
    CWebEngineBrowserControlFactory engines;
    CObservedFactory observed(real ? static_cast<IBrowserControlFactory &>(engines) : recording,
                              [&navigations](const QString &) { navigations.push_back(g_clock.nsecsElapsed()); });
    const CInstalled<IBrowserControlFactory> installed(observed);

    QWidget parent;
    parent.resize(800, 600);
    parent.show();
    Figures figures;
    {
        CResultBrowserMap pool;
        pool.SetParentWnd(&parent);

        const long rssBefore = RssKb(QString::number(getpid()));
        const long treeBefore = TreePssKb();
        for (int i = 0; i < pages; ++i) {
            CResultBrowser *page = pool.GetBrowser(i);
            page->SetQueryTemplate(TemplateFor(server, i));
            page->m_bActive = true;
            page->setGeometry(0, 0, 800, 600);
        }
        pool.BlankAll();
        auto settle = [&] {
            if (real)
                return WaitUntil([&] { return !pool.IsAnyBusy(); }, 120000);
            for (CResultBrowser *page : pool.Pages())
                recording.Control(page->m_nEngine)->FinishNavigation();
            return true;
        };
        settle();
        if (real) {
            // Let the engine's helper processes come up before measuring.
            WaitUntil([] { return false; }, 2000);
            *rssPerPageKb = (RssKb(QString::number(getpid())) - rssBefore) / pages;
            *treeRssPerPageKb = (TreePssKb() - treeBefore) / pages;
            std::printf("  (%lld processes)\n", (long long)ProcessTree().size());
        }

        for (int round = 0; round < rounds; ++round) {
            pool.BlankAll();
            settle();
            navigations.clear();
            const QString keywords = u"bench " + QString::number(round) + u" C++";
            const qint64 start = g_clock.nsecsElapsed();
            pool.SearchAll(keywords);
            const qint64 returned = g_clock.nsecsElapsed();
            figures.hold.push_back(Ms(returned - start));
            if (!WaitUntil([&] { return navigations.size() >= std::size_t(pages); }, 120000)) {
                std::printf("  (not every navigation started)\n");
                continue;
            }
            figures.started.push_back(Ms(*std::max_element(navigations.begin(), navigations.end()) - start));
            if (real) {
                if (WaitUntil([&] { return !pool.IsAnyBusy(); }, 120000))
                    figures.idle.push_back(Ms(g_clock.nsecsElapsed() - start));
            } else {
                settle();
            }
        }
    }
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuaerioBench"));
    // Boxes are answered at once and printed, never shown.
    CTestPlatformServices services;
    const CInstalled<IPlatformServices> installedServices(services);
    g_clock.start();

    const int sizes[] = {10, 50, 100};
    long unused = 0;
    std::printf("== Recording stand-in\n");
    for (int pages : sizes)
        Print("stand-in", pages, Run(pages, 20, nullptr, false, &unused, &unused));

    LoopbackHttpServer server;
    if (!server.listen()) {
        std::printf("cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::printf("== Qt WebEngine against %s\n", qPrintable(server.url()));
    for (int pages : sizes) {
        long rss = 0;
        long treeRss = 0;
        const Figures figures = Run(pages, 3, &server, true, &rss, &treeRss);
        Print("webengine", pages, figures);
        std::printf("%-10s %4d pages  memory per blank page: %ld kB resident in this process, %ld kB proportional (PSS) with the helper processes\n",
                    "webengine", pages, rss, treeRss);
    }
    std::printf("requests served: %d\n", server.requestCount());
    return 0;
}
