// Times a search from the form with the real browser engine against
// loopback engines, the program's start-up until "Complete", and Chromium
// loading the same pages as tabs.
//
//   bench_search [runs [engines...]]   (default: median of 3 runs; 10, 30 and 60 engines)
//
// Every engine is a loopback HTTP server of its own (127.0.0.2, 127.0.0.3,
// ...: separate sites, as real engines are) answering after 0.3 s. The
// profile lives in a fresh folder under $QUAERIO_BENCH_DIR, else under
// /var/tmp, which should be a real disk (not tmpfs): its file system is
// printed. Figures printed for each number of engines:
//   - hold:     how long Enter in the keyword box keeps the user-interface
//               thread (the key press from start to return);
//   - asked:    from Enter until the servers have received every query;
//   - shown:    from Enter until the engine has reported the page of the tab
//               shown loaded: the first result the user sees;
//   - loaded:   from Enter until the engine has reported the end of loading
//               (loadFinished) of every query page, and until the last
//               page's own load event ended, by the page's clock; with the
//               CPU time the whole process tree used until then (this one,
//               with the engine's browser side, and the renderers), and of
//               it the user-interface thread's (which is also the engine's
//               browser thread);
//   - complete: from Enter until the status bar reads "Complete";
//   - Chromium: from asking headless Chromium to open the same addresses as
//               tabs (first run) or to load them in its open tabs (later
//               runs, as Quaerio's later searches reuse its pages) until the
//               last tab's load event, and the ratio of the two by the
//               same yardstick (the pages' load events);
//   - bare engine views: the same pages loaded by plain engine views with
//               the program's engine switches and nothing else of the
//               program's (bench_floor_search), the floor under the loading,
//               by the same yardstick;
//   - process start to the first "Complete": the program (its test build,
//               which logs its status texts to the file QUAERIO_STATUS_LOG
//               names) started as a child process with the keywords on its
//               command line.
// Then the hold once more with a 16-entry keyword history, which every search
// saves, and the start-up with the catalogue shipped with the program, its
// engines' addresses moved to loopback servers (first category; without
// keywords the first "Complete" follows the first-show page).

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/vfs.h>

#include "app/FirstPaint.h"
#include "app/QuaerioApp.h"
#include "bench/BenchEngines.h"
#include "bench/ChromiumTabs.h"
#include "bench/ObservedControl.h"
#include "bench/ProcessTree.h"
#include "browsers/BrowserControl.h"
#include "browsers/ResultBrowser.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "frame/MainFrame.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"
#include "workspace/QuaerioView.h"

namespace
{
constexpr int kTimeoutMs = 120000;
const QString kComplete = QStringLiteral("Complete");

QElapsedTimer g_clock;                   // started at the top of main
QString g_marker;                        // text that only this run's query URLs contain
// The result pages' session, to hold their navigations as the program does.
CWebSession *g_session = nullptr;
QHash<const QWebEnginePage *, qint64> g_loadedNs; // when the engine reported each query page loaded
// When each query page's own load event ended, by the page's clock (ms since
// the epoch): the yardstick Chromium's tabs are measured by.
QHash<const QWebEnginePage *, double> g_loadEventEndMs;

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

void Print(const char *what, const Stats &s, const QString &goal = {})
{
    std::printf("    %-46s median %8.1f ms   min %8.1f   max %8.1f   %s\n", what, s.Median(), s.Min(), s.Max(),
                qPrintable(goal));
}

const char *Verdict(bool met)
{
    return met ? "met" : "NOT met";
}

// The shipped catalogue with every engine's address moved to the loopback
// servers (in turn), names and lists unchanged.
QString ShippedCatalogueOnLoopback(const CLoopbackEngines &servers)
{
    QFile file(QStringLiteral(QUAERIO_SOURCE_DIR "/res/Quaerio.CFG"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    int engine = 0;
    for (QString &line : lines) {
        if (line.startsWith(QStringLiteral("URL="))) {
            line = u"URL=" + servers.url(engine % servers.size(), QStringLiteral("/s%1?q=*").arg(engine));
            ++engine;
        }
    }
    return lines.join(u'\n');
}

// Follows the query pages the engine makes: the first end of loading of each
// page at an address of the current run counts.
void WatchPage(IBrowserControl &control, const QString &url)
{
    auto *engine = dynamic_cast<CWebEngineBrowserControl *>(&control);
    QWebEnginePage *page = engine ? engine->Page() : nullptr;
    if (!page || g_marker.isEmpty() || !url.contains(g_marker) || page->property("benchWatched").toBool())
        return;
    page->setProperty("benchWatched", true);
    QObject::connect(page, &QWebEnginePage::loadFinished, page, [page](bool) {
        if (g_marker.isEmpty() || !page->url().toString().contains(g_marker) || g_loadedNs.contains(page))
            return;
        g_loadedNs.insert(page, g_clock.nsecsElapsed());
        const QString marker = g_marker;
        page->runJavaScript(LoadEndExpression(), [page, marker](const QVariant &loadEnd) {
            if (marker == g_marker && loadEnd.toDouble() > 0)
                g_loadEventEndMs.insert(page, loadEnd.toDouble());
        });
    });
}

bool WaitComplete(CMainFrame *frame, int ms = kTimeoutMs)
{
    return WaitUntil([frame] { return frame->GetMessageText() == kComplete; }, ms);
}

// The keyword history the next start-up and every search find: `entries`
// keywords kept with a capacity of 16, or the history switched off.
void StoreHistory(int entries)
{
    const CProfileBatch batch;
    const QString settings = QStringLiteral("Settings"), history = QStringLiteral("KeywordsHistory");
    WriteProfileInt(settings, QStringLiteral("PreservedKeywords"), entries > 0 ? 1 : 0);
    WriteProfileInt(settings, QStringLiteral("KeywordsHisCount"), 16);
    DeleteProfileSection(history);
    for (int i = 0; i < entries; ++i)
        WriteProfileString(history, QString::number(i + 1), QStringLiteral("earlier keywords %1").arg(i));
}

struct SearchFigures
{
    Stats hold, asked, shown, loaded, loadEvent, complete, cpu, uiCpu;
};

// The query page watched that the tab shown shows (each engine's address is
// its own).
const QWebEnginePage *ShownPage(CQuaerioView *view)
{
    const CResultBrowser *shown = view->CurrentBrowser();
    const QString url = shown ? shown->GetLocationURL() : QString();
    for (auto it = g_loadedNs.cbegin(); it != g_loadedNs.cend(); ++it) {
        if (it.key()->url().toString() == url)
            return it.key();
    }
    return nullptr;
}

// Searches from the form in this process, `runs` times, each started by Enter
// in the keyword box.
SearchFigures MeasureSearch(CLoopbackEngines &servers, int runs, int historyEntries)
{
    SearchFigures figures;
    StoreHistory(historyEntries);
    WriteTextFile(BesideProgram::Path(QStringLiteral("Quaerio.CFG")), servers.Catalogue());
    const int engines = servers.size();

    auto app = std::make_unique<CQuaerioApp>();
    if (!app->InitInstance())
        return figures;
    CMainFrame *frame = app->GetMainFrame();
    if (!QTest::qWaitForWindowExposed(frame))
        std::printf("window not exposed\n");
    WaitComplete(frame);
    auto *keywords = app->GetView()->findChild<QComboBox *>(QString::number(IDC_CBO_KEYWORDS));

    for (int run = 0; run < runs; ++run) {
        g_marker = QStringLiteral("bench%1x%2h%3").arg(engines).arg(run).arg(historyEntries);
        g_loadedNs.clear();
        g_loadEventEndMs.clear();
        servers.ClearRequests();
        keywords->lineEdit()->setText(g_marker);
        keywords->lineEdit()->setFocus();

        const double cpuBefore = TreeCpuSeconds(QCoreApplication::applicationPid());
        const double uiCpuBefore = ThreadCpuMs();
        const qint64 enter = g_clock.nsecsElapsed();
        const qint64 enterEpochMs = QDateTime::currentMSecsSinceEpoch();
        QTest::keyClick(keywords->lineEdit(), Qt::Key_Return);
        figures.hold.Add(Ms(g_clock.nsecsElapsed() - enter));

        if (WaitUntil([&] { return servers.EveryServerAsked(); }, kTimeoutMs))
            figures.asked.Add(Ms(g_clock.nsecsElapsed() - enter));
        else
            std::printf("    run %d: not every engine asked\n", run);
        if (WaitUntil([&] { return g_loadedNs.size() >= engines; }, kTimeoutMs)) {
            const auto last = std::max_element(g_loadedNs.cbegin(), g_loadedNs.cend());
            figures.loaded.Add(Ms(*last - enter));
            if (const auto shown = g_loadedNs.constFind(ShownPage(app->GetView())); shown != g_loadedNs.cend())
                figures.shown.Add(Ms(*shown - enter));
        } else {
            std::printf("    run %d: only %d pages loaded\n", run, int(g_loadedNs.size()));
        }
        if (WaitUntil([&] { return g_loadEventEndMs.size() >= engines; }, 5000)) {
            const auto last = std::max_element(g_loadEventEndMs.cbegin(), g_loadEventEndMs.cend());
            figures.loadEvent.Add(*last - double(enterEpochMs));
            figures.cpu.Add(1000 * (TreeCpuSeconds(QCoreApplication::applicationPid()) - cpuBefore));
            figures.uiCpu.Add(ThreadCpuMs() - uiCpuBefore);
        } else {
            std::printf("    run %d: only %d pages told their load event's end\n", run, int(g_loadEventEndMs.size()));
        }
        if (WaitComplete(frame))
            figures.complete.Add(Ms(g_clock.nsecsElapsed() - enter));
        else
            std::printf("    run %d: no \"Complete\" (status \"%s\")\n", run, qPrintable(frame->GetMessageText()));
    }
    g_marker.clear();
    frame->close();
    app.reset();
    return figures;
}

// Chromium with the servers' query addresses: the first run opens them as
// tabs of a fresh browser and profile, each later run loads new addresses in
// the same tabs, as a new search in Quaerio's pages does.
struct ChromiumFigures
{
    Stats asked, loaded, cpu;
};

ChromiumFigures MeasureChromium(CLoopbackEngines &servers, int runs)
{
    ChromiumFigures figures;
    CChromiumTabs chromium;
    if (!chromium.Start()) {
        std::printf("    Chromium did not start\n");
        return figures;
    }
    for (int run = 0; run < runs; ++run) {
        QStringList urls;
        for (int k = 0; k < servers.size(); ++k)
            urls.append(servers.url(k, QStringLiteral("/e?q=chromium%1").arg(run)));
        servers.ClearRequests();
        const double cpuBefore = TreeCpuSeconds(chromium.ProcessId());
        QElapsedTimer clock;
        clock.start();
        if (run == 0)
            chromium.OpenTabs(urls);
        else
            chromium.NavigateTabs(urls);
        if (WaitUntil([&servers] { return servers.EveryServerAsked(); }, kTimeoutMs))
            figures.asked.Add(double(clock.elapsed()));
        const double ms = chromium.WaitAllLoadedMs(kTimeoutMs);
        if (ms >= 0) {
            figures.loaded.Add(ms);
            figures.cpu.Add(1000 * (TreeCpuSeconds(chromium.ProcessId()) - cpuBefore));
        } else {
            std::printf("    Chromium run %d: not every tab loaded\n", run);
        }
    }
    return figures;
}

// The same engines' pages in bare engine views (bench_floor_search, a
// process of its own with the program's engine switches): the floor under
// what a search needs to load them. They are opened first, untimed; each run
// then loads new addresses in the same views, as Quaerio's later searches do
// in its pages.
struct FloorFigures
{
    Stats loaded, cpu, uiCpu;
};

FloorFigures MeasureFloor(CLoopbackEngines &servers, int runs)
{
    FloorFigures figures;
    QTemporaryDir dir;
    QStringList bases;
    for (int k = 0; k < servers.size(); ++k)
        bases.append(servers.url(k, QString()));
    QProcess floor;
    floor.setProcessEnvironment(HomeEnvironment(dir.filePath(QStringLiteral("home"))));
    floor.setStandardErrorFile(QProcess::nullDevice());
    floor.start(QStringLiteral(QUAERIO_FLOOR_SEARCH), bases);
    // The time of the last page's load event, by the pages' clock, and the
    // CPU time of the views' user-interface thread; empty if the views did
    // not all load.
    const auto load = [&floor](const QString &pathAndQuery) {
        floor.write(pathAndQuery.toUtf8() + '\n');
        QByteArray said;
        WaitUntil([&] {
            said += floor.readAllStandardOutput();
            return said.contains('\n') || floor.state() == QProcess::NotRunning;
        }, kTimeoutMs);
        const QList<QByteArray> words = said.trimmed().split(' ');
        return words.size() == 3 && words.constFirst() == "loaded" ? words.mid(1) : QList<QByteArray>();
    };
    if (!floor.waitForStarted() || load(QStringLiteral("/e?q=floor")).isEmpty()) {
        std::printf("    the bare engine views did not load\n");
        return figures;
    }
    for (int run = 0; run < runs; ++run) {
        servers.ClearRequests();
        const double cpuBefore = TreeCpuSeconds(floor.processId());
        const double asked = double(QDateTime::currentMSecsSinceEpoch());
        const QList<QByteArray> loaded = load(QStringLiteral("/e?q=floor%1").arg(run));
        if (loaded.isEmpty()) {
            std::printf("    bare engine run %d: not every view loaded\n", run);
            continue;
        }
        figures.loaded.Add(loaded.at(0).toDouble() - asked);
        figures.cpu.Add(1000 * (TreeCpuSeconds(floor.processId()) - cpuBefore));
        figures.uiCpu.Add(loaded.at(1).toDouble());
    }
    floor.closeWriteChannel();
    if (!floor.waitForFinished(20000))
        floor.kill();
    return figures;
}

QStringList StatusLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// The program started with `catalogue` beside it and `arguments`; the
// time from asking for the process to its status bar's first "Complete",
// -1 if it never came. Each start has a home of its own, so it neither meets
// another running program nor touches the user's settings.
double MeasureProcessStartup(const QString &catalogue, const QStringList &arguments)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const QString program = bin + u"/quaerio";
    if (!QFile::copy(QStringLiteral(QUAERIO_PROGRAM), program) ||
        !QFile::copy(QStringLiteral(QUAERIO_SOURCE_DIR "/res/firstshow.mht"), bin + u"/firstshow.mht") ||
        !WriteTextFile(bin + u"/Quaerio.CFG", catalogue)) {
        std::printf("    cannot install the program in %s\n", qPrintable(bin));
        return -1;
    }
    const QString statusLog = dir.filePath(QStringLiteral("status.log"));
    QProcessEnvironment environment = HomeEnvironment(dir.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("QUAERIO_STATUS_LOG"), statusLog);

    QProcess child;
    child.setProcessEnvironment(environment);
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    // The status log is read every millisecond while waiting.
    QTimer poll;
    poll.start(1);
    const qint64 start = g_clock.nsecsElapsed();
    child.start(program, arguments);
    const bool complete = WaitUntil([&] {
        return child.state() == QProcess::NotRunning || StatusLines(statusLog).contains(kComplete);
    }, kTimeoutMs) && StatusLines(statusLog).contains(kComplete);
    const qint64 done = g_clock.nsecsElapsed();
    child.terminate();
    if (!child.waitForFinished(20000))
        child.kill();
    child.waitForFinished(5000);
    return complete ? Ms(done - start) : -1;
}

Stats MeasureProcessStartups(const QString &catalogue, const QStringList &arguments, int runs)
{
    Stats stats;
    for (int run = 0; run < runs; ++run) {
        const double ms = MeasureProcessStartup(catalogue, arguments);
        if (ms >= 0)
            stats.Add(ms);
        else
            std::printf("    start-up run %d: no \"Complete\"\n", run);
    }
    return stats;
}

// The start-up with `catalogue` in this process, the pages' navigations held
// until the window's first paint as the program holds them: from the start-up
// sequence's beginning to its end, to the window exposed, to the first-show
// page loaded and to the first "Complete".
void MeasureInProcessStartup(const QString &catalogue)
{
    WriteTextFile(BesideProgram::Path(QStringLiteral("Quaerio.CFG")), catalogue);
    g_session->HoldNavigations();
    const qint64 begin = g_clock.nsecsElapsed();
    auto app = std::make_unique<CQuaerioApp>();
    if (!app->InitInstance()) {
        std::printf("start-up failed\n");
        return;
    }
    const qint64 shown = g_clock.nsecsElapsed();
    CallAfterFirstPaint(app->GetMainFrame(), 1000, [] { g_session->ReleaseNavigations(); });
    const bool exposed = QTest::qWaitForWindowExposed(app->GetMainFrame());
    const qint64 painted = g_clock.nsecsElapsed();
    // The first page is busy from its held navigation to the first-show
    // page's end of loading.
    CResultBrowser *first = app->GetView()->CurrentBrowser();
    const bool loaded = first && WaitUntil([first] { return !first->GetBusy(); }, kTimeoutMs);
    const qint64 firstShow = g_clock.nsecsElapsed();
    const bool complete = WaitComplete(app->GetMainFrame());
    const qint64 done = g_clock.nsecsElapsed();
    std::printf("start-up in this process, shipped catalogue (first category) on loopback\n");
    std::printf("    start-up sequence (InitInstance)              %8.1f ms\n", Ms(shown - begin));
    std::printf("    to window exposed                             %8.1f ms%s   goal <= 300 ms with the process start\n",
                Ms(painted - begin), exposed ? "" : " [not exposed]");
    std::printf("    to first-show page loaded                     %8.1f ms%s\n", Ms(firstShow - begin), loaded ? "" : " [not loaded]");
    std::printf("    to first \"Complete\"                           %8.1f ms%s\n", Ms(done - begin), complete ? "" : " [none]");
    app->GetMainFrame()->close();
    app.reset();
    g_session->ReleaseNavigations();
}

// The folder the bench keeps its profile in, and the name of its file system.
QString ProfileParent()
{
    return qEnvironmentVariableIsEmpty("QUAERIO_BENCH_DIR") ? QStringLiteral("/var/tmp")
                                                           : qEnvironmentVariable("QUAERIO_BENCH_DIR");
}

const char *FileSystemOf(const QString &dir)
{
    struct statfs info{};
    if (::statfs(QFile::encodeName(dir).constData(), &info) != 0)
        return "unknown";
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x01021994UL:
        return "tmpfs (not a real disk!)";
    case 0xEF53UL:
        return "ext2/3/4";
    case 0x58465342UL:
        return "xfs";
    case 0x9123683EUL:
        return "btrfs";
    case 0x794C7630UL:
        return "overlayfs";
    default:
        return "other";
    }
}

void ReportEngines(CLoopbackEngines &servers, int runs)
{
    const int engines = servers.size();
    const SearchFigures search = MeasureSearch(servers, runs, 0);
    std::printf("%d engines, each on its own loopback address, %d ms answers, median of %d runs\n", engines,
                kAnswerDelayMs, runs);
    Print("Enter: hold of the user-interface thread", search.hold);
    Print("Enter -> every engine asked", search.asked,
          QStringLiteral("goal <= 500 ms: %1").arg(QString::fromLatin1(Verdict(search.asked.Median() >= 0 && search.asked.Median() <= 500))));
    Print("Enter -> the page shown loaded", search.shown);
    Print("Enter -> every page loaded (engine's signal)", search.loaded);
    Print("Enter -> every page's load event ended", search.loadEvent);
    Print("  CPU time of the process tree until then", search.cpu);
    Print("  ... of it the user-interface thread's", search.uiCpu);
    const double allowed = search.loaded.Median() + 100;
    Print("Enter -> \"Complete\"", search.complete,
          QStringLiteral("goal <= loaded + 100 ms = %1 ms: %2").arg(allowed, 0, 'f', 1).arg(QString::fromLatin1(
              Verdict(search.complete.Median() >= 0 && search.complete.Median() <= allowed))));

    if (CChromiumTabs::Available()) {
        const ChromiumFigures chromium = MeasureChromium(servers, runs);
        Print("Chromium: the same pages as tabs, asked", chromium.asked);
        Print("Chromium: the same pages as tabs, loaded", chromium.loaded);
        Print("  CPU time of its tree (with answers to the polls)", chromium.cpu);
        // Both by the same yardstick: the pages' own load events.
        if (chromium.loaded.Median() > 0 && search.loadEvent.Median() > 0) {
            const double ratio = search.loadEvent.Median() / chromium.loaded.Median();
            std::printf("    %-46s %.2f   goal <= 1.00: %s\n", "load events ended, Quaerio / Chromium", ratio, Verdict(ratio <= 1.0));
            std::printf("    %-46s %.2f\n", "engine's signal, Quaerio / Chromium's load event",
                        search.loaded.Median() / chromium.loaded.Median());
        }
    } else {
        std::printf("    Chromium: not installed\n");
    }
    const FloorFigures floor = MeasureFloor(servers, runs);
    Print("bare engine views, the same pages, loaded", floor.loaded);
    Print("  CPU time of their tree", floor.cpu);
    Print("  ... of it the user-interface thread's", floor.uiCpu);
    if (floor.loaded.Median() > 0 && search.loadEvent.Median() > 0)
        std::printf("    %-46s %.2f\n", "load events ended, Quaerio / bare engine", search.loadEvent.Median() / floor.loaded.Median());

    const QStringList keywords = {QStringLiteral("bench start-up %1").arg(engines)};
    Print("process start -> first \"Complete\" (keywords)", MeasureProcessStartups(servers.Catalogue(), keywords, runs));
    std::fflush(stdout);
}

void ReportShippedStartup(CLoopbackEngines &servers, int runs)
{
    const QString catalogue = ShippedCatalogueOnLoopback(servers);
    std::printf("start-up, shipped catalogue (first category), engines on loopback, median of %d runs\n", runs);
    const Stats plain = MeasureProcessStartups(catalogue, {}, runs);
    Print("process start -> first \"Complete\"", plain,
          QStringLiteral("goal <= 1500 ms: %1").arg(QString::fromLatin1(Verdict(plain.Median() >= 0 && plain.Median() <= 1500))));
    const Stats searching = MeasureProcessStartups(catalogue, {QStringLiteral("bench start-up")}, runs);
    Print("  ... with keywords on the command line", searching,
          QStringLiteral("goal <= 1500 ms: %1")
              .arg(QString::fromLatin1(Verdict(searching.Median() >= 0 && searching.Median() <= 1500))));
    MeasureInProcessStartup(catalogue);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    g_clock.start();
    PrepareBenchEnvironment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    const SBenchArguments arguments = ReadBenchArguments(argc, argv);
    const int runs = arguments.runs;
    const QList<int> &sizes = arguments.sizes;

    TempProfile profile(ProfileParent());
    std::printf("profile in %s (%s)\n\n", qPrintable(profile.path()), FileSystemOf(profile.path()));
    MessageBoxRecorder boxes;
    CWebEngineBrowserControlFactory engines;
    g_session = &engines.Session();
    CObservedFactory observed(engines, [](const QString &) {}, WatchPage);
    const CInstalled<IBrowserControlFactory> installed(observed);
    QFile::remove(BesideProgram::Path(QStringLiteral("firstshow.mht")));
    QFile::copy(QStringLiteral(QUAERIO_SOURCE_DIR "/res/firstshow.mht"), BesideProgram::Path(QStringLiteral("firstshow.mht")));

    CLoopbackEngines shipped(10);
    if (shipped.empty())
        return 1;
    ReportShippedStartup(shipped, runs);
    std::printf("\n");

    for (const int count : sizes) {
        CLoopbackEngines servers(count);
        if (servers.empty())
            return 1;
        ReportEngines(servers, runs);
        std::printf("\n");
        if (count == sizes.last()) {
            const SearchFigures history = MeasureSearch(servers, runs, 16);
            Print("Enter: hold with a 16-entry keyword history", history.hold,
                  QStringLiteral("goal < 20 ms: %1").arg(QString::fromLatin1(Verdict(history.hold.Median() < 20))));
        }
    }

    QFile::remove(BesideProgram::Path(QStringLiteral("Quaerio.CFG")));
    QFile::remove(BesideProgram::Path(QStringLiteral("firstshow.mht")));
    std::fflush(stdout);
    return 0;
}
