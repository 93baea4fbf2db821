// What keeping the toolbar's enabled states current costs while a search
// loads its pages, in the real program window with the real browser engine
// against a loopback HTTP server.
//
//   bench_commands [runs [engines]]   (default: 3 runs, 30 engines)
//
// Each run clicks "&Search" and waits, without polling, until the status bar
// reads "Complete"; the figures cover the loading itself: from the click
// until the last page reported the end of its load. Two ways of running the
// update pass are measured:
//   - every idle: the pass runs each time the event loop is about to block
//     (the bench wires it so, around a timer);
//   - as built:   the frame's own passes, after the state changes that can
//     alter a command's state; counted on the frame's update timer and
//     costed at the mean time of a pass.
// Figures: passes, passes per second, mean time of a pass, time in passes as
// a share of one core over the run, and the user-interface thread's own CPU
// time over the run.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <utility>
#include <vector>

#include "app/QuaerioApp.h"
#include "browsers/BrowserControl.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "frame/MainFrame.h"
#include "res/ResourceIds.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"
#include "workspace/QuaerioView.h"

namespace
{
qint64 ThreadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QElapsedTimer g_clock;

// Every pass: when it started and how long it took (0 when not timed).
struct PassMeter
{
    std::vector<std::pair<qint64, qint64>> passes;
    void Add(qint64 at, qint64 ns) { passes.emplace_back(at, ns); }
};

// When the last page's load ended, as the engine reports it.
qint64 g_lastLoadEnd = 0;

struct RunFigures
{
    double wallMs = 0;
    double cpuMs = 0;
    qint64 passes = 0;
    double passMs = 0;
};

void WriteCatalogue(const LoopbackHttpServer &server, int engines)
{
    QString catalogue = QStringLiteral("[LANGUAGES]\nLanguages=Bench\n[CATEGORYS]\nBench=Engines\n[Bench]\nEngines=");
    QStringList sections;
    for (int i = 0; i < engines; ++i)
        sections.append(QStringLiteral("B%1").arg(i));
    catalogue += sections.join(u';') + u'\n';
    for (int i = 0; i < engines; ++i)
        catalogue += QStringLiteral("[B%1]\nName=Engine %1\nURL=%2\n").arg(i).arg(server.url(QStringLiteral("/e%1?q=*").arg(i)));
    WriteTextFile(BesideProgram::Path(QStringLiteral("Quaerio.CFG")), catalogue);
}

// Runs the event loop until the view reports "Complete"; nothing polls, so
// the loop blocks exactly as often as it does in the program.
bool WaitComplete(CMainFrame *frame, CQuaerioView *view, int timeoutMs = 120000)
{
    QEventLoop loop;
    QObject::connect(view, &CQuaerioView::StatusTextChanged, &loop, [&loop](const QString &text) {
        if (text == QStringLiteral("Complete"))
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return frame->GetMessageText() == QStringLiteral("Complete");
}

// One search from the form, from the click until "Complete".
RunFigures SearchOnce(CMainFrame *frame, CQuaerioView *view, const QString &keywords, const PassMeter &meter)
{
    auto *box = view->findChild<QComboBox *>(QString::number(IDC_CBO_KEYWORDS));
    auto *search = view->findChild<QPushButton *>(QString::number(IDC_BTN_SEARCH));
    box->lineEdit()->setText(keywords);
    const size_t first = meter.passes.size();
    const qint64 cpu = ThreadCpuNs();
    const qint64 click = g_clock.nsecsElapsed();
    QTest::mouseClick(search, Qt::LeftButton);
    if (!WaitComplete(frame, view))
        std::printf("    no \"Complete\" (status \"%s\")\n", qPrintable(frame->GetMessageText()));
    const qint64 end = g_lastLoadEnd > click ? g_lastLoadEnd : g_clock.nsecsElapsed();
    RunFigures figures;
    figures.wallMs = double(end - click) / 1e6;
    // The thread's CPU time runs to "Complete"; scaled to the loading share.
    figures.cpuMs = double(ThreadCpuNs() - cpu) / 1e6 * double(end - click) / double(g_clock.nsecsElapsed() - click);
    for (size_t i = first; i < meter.passes.size(); ++i) {
        if (meter.passes[i].first > end)
            break;
        ++figures.passes;
        figures.passMs += double(meter.passes[i].second) / 1e6;
    }
    return figures;
}

void Report(const char *what, const RunFigures &sum, int runs, double meanPassUs)
{
    const double wallS = sum.wallMs / 1000;
    const double passMs = sum.passMs > 0 ? sum.passMs : double(sum.passes) * meanPassUs / 1000;
    std::printf("  %-10s %6lld passes  %8.0f /s  mean %6.2f us  in passes %7.2f ms of %7.0f ms = %5.2f%% of a core"
                "  (UI thread CPU %5.1f%%)\n",
                what, static_cast<long long>(sum.passes / runs), double(sum.passes) / wallS, meanPassUs,
                passMs / runs, sum.wallMs / runs, 100 * passMs / sum.wallMs, 100 * sum.cpuMs / sum.wallMs);
}

RunFigures Add(RunFigures a, const RunFigures &b)
{
    a.wallMs += b.wallMs;
    a.cpuMs += b.cpuMs;
    a.passes += b.passes;
    a.passMs += b.passMs;
    return a;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    g_clock.start();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int engines = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;

    TempProfile profile;
    MessageBoxRecorder boxes;
    CWebEngineBrowserControlFactory browserControls;
    const CInstalled<IBrowserControlFactory> installed(browserControls);
    QFile::remove(BesideProgram::Path(QStringLiteral("firstshow.mht")));

    LoopbackHttpServer server;
    if (!server.listen()) {
        std::printf("no loopback server\n");
        return 1;
    }
    WriteCatalogue(server, engines);

    auto app = std::make_unique<CQuaerioApp>();
    if (!app->InitInstance()) {
        std::printf("start-up failed\n");
        return 1;
    }
    CMainFrame *frame = app->GetMainFrame();
    CQuaerioView *view = app->GetView();
    if (!QTest::qWaitForWindowExposed(frame))
        std::printf("window not exposed\n");
    WaitComplete(frame, view, 10000);
    const QList<QWebEngineView *> pages = frame->findChildren<QWebEngineView *>();
    for (QWebEngineView *page : pages)
        QObject::connect(page, &QWebEngineView::loadFinished, frame, [] { g_lastLoadEnd = g_clock.nsecsElapsed(); });

    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();

    // The frame as built runs its passes from a named timer: counted there,
    // and costed at the mean time of a pass measured below.
    PassMeter built;
    if (auto *timer = frame->findChild<QTimer *>(QStringLiteral("CommandUpdateTimer")))
        QObject::connect(timer, &QTimer::timeout, frame, [&built] { built.Add(g_clock.nsecsElapsed(), 0); });
    else
        std::printf("the frame's update timer was not found: its passes are not counted\n");

    // Every idle: the bench runs the pass itself, timed.
    PassMeter idle;
    bool idleOn = false;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, frame, [&] {
        if (!idleOn)
            return;
        const qint64 start = g_clock.nsecsElapsed();
        frame->UpdateCommandStates();
        idle.Add(start, g_clock.nsecsElapsed() - start);
    });

    std::printf("command updates while %d pages load, %d runs (per-run means)\n", engines, runs);
    RunFigures idleSum, builtSum;
    for (int run = 0; run < runs; ++run) {
        idleOn = true;
        idleSum = Add(idleSum, SearchOnce(frame, view, QStringLiteral("idle%1").arg(run), idle));
        idleOn = false;
        builtSum = Add(builtSum, SearchOnce(frame, view, QStringLiteral("built%1").arg(run), built));
    }
    const double meanPassUs = idleSum.passes ? idleSum.passMs * 1000 / double(idleSum.passes) : 0;
    Report("every idle", idleSum, runs, meanPassUs);
    Report("as built", builtSum, runs, meanPassUs);

    frame->close();
    app.reset();
    QFile::remove(BesideProgram::Path(QStringLiteral("Quaerio.CFG")));
    std::fflush(stdout);
    return 0;
}
