// Memory of the result pages against Chromium's tabs for the same pages,
// printed side by side; nothing is asserted.
//
// For N = 10 and 30 engines, each on a loopback address of its own
// (127.0.0.2, 127.0.0.3, ...: separate sites, as real engines are), each
// answering after 0.3 s, every configuration of the pages runs in a process
// of its own: N pages laid over one another in a window, the first one on
// top, as the form shows them. It prints the proportional set size (PSS) of
// its whole process tree (itself and the engine's helper processes) before
// any search and after every page has loaded and settled. Chromium then opens
// the same N addresses as tabs (headless, through its remote-debugging
// interface, in a fresh profile) and its process tree is measured the same
// way after the same settling time.
//
// Configurations (the levers): every engine made with its control, or only
// at its first navigation; a view (the widget that draws a page) only while
// the page is seen; hidden pages frozen once loaded; hidden pages discarded
// after 1 s unseen; the renderer process limit; the HTTP cache in memory
// rather than on disk.

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWidget>

#include <cstdio>
#include <memory>
#include <vector>

#include <unistd.h>

#include "bench/ChromiumTabs.h"
#include "browsers/ResultBrowserMap.h"
#include "browsers/webengine/ResultProfile.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr int kAnswerDelayMs = 300;
// Time given to every page, after it has loaded, to settle (and to be
// frozen or discarded) before the figure is taken; Chromium gets the same.
constexpr int kSettleMs = 3000;

// Proportional set size in kB of `root` and every process descending from it.
long TreePssKb(qint64 root)
{
    QHash<qint64, qint64> parentOf;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        QFile stat(u"/proc/" + entry + u"/stat");
        if (!isPid || !stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (comm) state ppid ...": the name may hold spaces and brackets.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parentOf.insert(pid, fields.at(1).toLongLong());
    }
    long total = 0;
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
        qint64 pid = it.key();
        while (pid > 1 && pid != root)
            pid = parentOf.value(pid, 0);
        if (pid != root)
            continue;
        QFile rollup(u"/proc/" + QString::number(it.key()) + u"/smaps_rollup");
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:"))
                total += line.mid(4).trimmed().split(' ').value(0).toLong();
        }
    }
    return total;
}

double Mb(long kb)
{
    return double(kb) / 1024.0;
}

struct Lever
{
    const char *name;
    bool lazy;
    bool viewWhenSeen;
    bool freeze;
    int discardMs;
    bool memoryCache;
    const char *flags; // added to the engine's command line
};

const Lever kLevers[] = {
    {"every engine at once, disk cache", false, false, false, 0, false, ""},
    {"engines at first navigation", true, false, false, 0, false, ""},
    {"  + views only while seen", true, true, false, 0, false, ""},
    {"  + hidden pages frozen", true, true, true, 0, false, ""},
    {"  + memory HTTP cache", true, true, true, 0, true, ""},
    {"  + unseen discarded after 1 s", true, true, true, 1000, false, ""},
    {"  + renderer limit 4", true, true, true, 0, false, " --renderer-process-limit=4"},
    {"  + renderer limit 1", true, true, true, 0, false, " --renderer-process-limit=1"},
};

// The pages' side, in a process of its own: prints "before <kB>" and
// "after <kB>".
int RunPages(const QStringList &args)
{
    WebEngineMemoryPolicy policy;
    policy.lazyView = args.value(0) == u"1";
    policy.viewOnlyWhenSeen = args.value(1) == u"1";
    policy.freezeHidden = args.value(2) == u"1";
    policy.discardAfterMs = args.value(3).toInt();
    CWebEngineBrowserControlFactory browserControls(policy);
    const CInstalled<IBrowserControlFactory> installed(browserControls);
    if (args.value(4) == u"memory")
        browserControls.Session().Profile().Profile()->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);

    QWidget window;
    window.resize(1024, 768);
    window.show();
    CResultBrowserMap pool;
    pool.SetParentWnd(&window);
    const QStringList templates = args.mid(5);
    for (int k = 0; k < templates.size(); ++k) {
        CResultBrowser *page = pool.GetBrowser(k);
        page->SetQueryTemplate(templates.at(k));
        page->m_bActive = true;
    }
    pool.MoveAll(QRect(0, 0, 1024, 768));
    if (CResultBrowser *first = pool.GetBrowser(0))
        first->raise();
    WaitUntil([] { return false; }, kSettleMs);
    std::printf("before %ld\n", TreePssKb(getpid()));

    pool.SearchAll(QStringLiteral("quaerio memory"));
    WaitUntil([&pool] { return !pool.IsAnyBusy(); }, 120000);
    WaitUntil([] { return false; }, kSettleMs);
    std::printf("after %ld\n", TreePssKb(getpid()));
    std::fflush(stdout);
    return 0;
}

struct Figures
{
    long beforeKb = 0;
    long afterKb = 0;
};

// Runs one configuration in a child process while this one serves the pages.
Figures MeasurePages(const Lever &lever, const QStringList &templates, const QString &home)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
               env.value(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS")) + QString::fromLatin1(lever.flags));
    // A profile of its own for every run, never the user's.
    const QString dir = home + u"/run" + QString::number(qint64(QDateTime::currentMSecsSinceEpoch()));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir + u"/data");
    env.insert(QStringLiteral("XDG_CACHE_HOME"), dir + u"/cache");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QStringList args = {QStringLiteral("--pages"), lever.lazy ? QStringLiteral("1") : QStringLiteral("0"),
                        lever.viewWhenSeen ? QStringLiteral("1") : QStringLiteral("0"),
                        lever.freeze ? QStringLiteral("1") : QStringLiteral("0"), QString::number(lever.discardMs),
                        lever.memoryCache ? QStringLiteral("memory") : QStringLiteral("disk")};
    args += templates;
    child.start(QCoreApplication::applicationFilePath(), args);
    WaitUntil([&child] { return child.state() == QProcess::NotRunning; }, 300000);
    Figures figures;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2 && parts.at(0) == "before")
            figures.beforeKb = parts.at(1).toLong();
        if (parts.size() == 2 && parts.at(0) == "after")
            figures.afterKb = parts.at(1).toLong();
    }
    return figures;
}

// Chromium with the same pages as tabs; its tree's PSS in kB, 0 if it could
// not be run.
long MeasureChromium(const std::vector<std::unique_ptr<LoopbackHttpServer>> &servers, const QStringList &urls)
{
    CChromiumTabs chromium;
    if (!chromium.Start())
        return 0;
    chromium.OpenTabs(urls);
    WaitUntil([&servers] {
        for (const auto &server : servers) {
            if (server->requestCount() == 0)
                return false;
        }
        return true;
    }, 60000);
    WaitUntil([] { return false; }, kAnswerDelayMs + kSettleMs);
    return TreePssKb(chromium.ProcessId());
}

int RunBench()
{
    QTemporaryDir home;
    std::printf("PSS of the whole process tree, MB; %d ms answers, each engine on its own loopback address\n\n",
                kAnswerDelayMs);
    for (const int count : {10, 30}) {
        std::vector<std::unique_ptr<LoopbackHttpServer>> servers;
        QStringList templates;
        QStringList urls;
        for (int k = 0; k < count; ++k) {
            auto server = std::make_unique<LoopbackHttpServer>();
            if (!server->listen(QHostAddress(u"127.0.0." + QString::number(k + 2)))) {
                std::printf("cannot listen on 127.0.0.%d\n", k + 2);
                return 1;
            }
            server->setAnswerDelay(kAnswerDelayMs);
            templates.append(server->url(QStringLiteral("/search?q=*")));
            urls.append(server->url(QStringLiteral("/search?q=quaerio%20memory")));
            servers.push_back(std::move(server));
        }
        for (auto &server : servers)
            server->clearRequests();
        const long chromium = MeasureChromium(servers, urls);
        std::printf("N = %d engines; Chromium, the same pages as tabs: %.0f MB\n", count, Mb(chromium));
        std::printf("  %-34s %12s %12s %8s\n", "Quaerio's pages", "before search", "after", "ratio");
        for (const Lever &lever : kLevers) {
            const Figures figures = MeasurePages(lever, templates, home.path());
            std::printf("  %-34s %12.0f %12.0f %8.2f\n", lever.name, Mb(figures.beforeKb), Mb(figures.afterKb),
                        chromium > 0 ? double(figures.afterKb) / double(chromium) : 0.0);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == u"--pages")
        return RunPages(args.mid(1));
    return RunBench();
}
