// Times a search from the form with the real browser engine against a
// loopback HTTP server, and the program's start-up until "Complete".
//
//   bench_search [runs [engines...]]   (default: 5 runs, 10 and 50 engines)
//
// The profile lives in a fresh folder under $QUAERIO_BENCH_DIR, else under
// /var/tmp, which should be a real disk (not tmpfs): its file system is
// printed. Figures printed, for categories of 10 and 50 engines, with the
// keyword history off, and for the largest category once more with a
// 16-entry history, which every search saves:
//   - hold:    how long the click on "&Search" keeps the user-interface
//              thread (OnSearch from start to return);
//   - started: from the click to the last engine's navigation started;
//   - served:  from the click until the server has received every query;
//   - complete: from the click until the status bar reads "Complete".
// And once, with the catalogue shipped with the program (its first category):
//   - start-up: from process start (and from main) to the first "Complete".

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include <sys/vfs.h>
#include <unistd.h>

#include "app/QuaerioApp.h"
#include "bench/ObservedControl.h"
#include "browsers/BrowserControl.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "frame/MainFrame.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"
#include "workspace/QuaerioView.h"

namespace
{
QElapsedTimer g_clock;               // started at the top of main
std::vector<qint64> g_navigationsNs; // when each query navigation was started
QString g_marker;                    // text that only query URLs contain

QString BesideProgram(const QString &name)
{
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

// Seconds since the process started, from the kernel's process table.
double SecondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the line
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return up - startTicks / double(sysconf(_SC_CLK_TCK));
}

bool WaitComplete(CMainFrame *frame, int ms = 120000)
{
    return WaitUntil([frame] { return frame->GetMessageText() == QStringLiteral("Complete"); }, ms);
}

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

struct Stats
{
    std::vector<double> values;
    void Add(double v) { values.push_back(v); }
    double Median() const
    {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    double Min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
    double Max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

void Print(const char *what, const Stats &s)
{
    std::printf("    %-9s median %8.2f ms   min %8.2f   max %8.2f\n", what, s.Median(), s.Min(), s.Max());
}

void MeasureStartup()
{
    QFile::remove(BesideProgram(QStringLiteral("Quaerio.CFG")));
    QFile::remove(BesideProgram(QStringLiteral("firstshow.mht")));
    QFile::copy(QStringLiteral(QUAERIO_SOURCE_DIR "/res/Quaerio.CFG"), BesideProgram(QStringLiteral("Quaerio.CFG")));
    QFile::copy(QStringLiteral(QUAERIO_SOURCE_DIR "/res/firstshow.mht"), BesideProgram(QStringLiteral("firstshow.mht")));

    const double beforeMain = SecondsSinceProcessStart() * 1000 - Ms(g_clock.nsecsElapsed());
    auto app = std::make_unique<CQuaerioApp>();
    if (!app->InitInstance()) {
        std::printf("start-up failed\n");
        return;
    }
    const qint64 shown = g_clock.nsecsElapsed();
    const bool complete = WaitComplete(app->GetMainFrame());
    const qint64 done = g_clock.nsecsElapsed();
    std::printf("start-up, shipped catalogue (first category)%s\n", complete ? "" : "  [no Complete]");
    std::printf("    main to window shown        %8.1f ms\n", Ms(shown));
    std::printf("    main to \"Complete\"          %8.1f ms\n", Ms(done));
    std::printf("    process start to \"Complete\" %8.1f ms (process start to main %.1f ms)\n", beforeMain + Ms(done),
                beforeMain);
    app->GetMainFrame()->close();
    app.reset();
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

// The median time the click on "&Search" held the user-interface thread.
double MeasureSearch(LoopbackHttpServer &server, int engines, int runs, int historyEntries)
{
    StoreHistory(historyEntries);
    QString catalogue = QStringLiteral("[LANGUAGES]\nLanguages=Bench\n[CATEGORYS]\nBench=Engines\n[Bench]\nEngines=");
    QStringList sections;
    for (int i = 0; i < engines; ++i)
        sections.append(QStringLiteral("B%1").arg(i));
    catalogue += sections.join(u';') + u'\n';
    for (int i = 0; i < engines; ++i)
        catalogue += QStringLiteral("[B%1]\nName=Engine %1\nURL=%2\n").arg(i).arg(server.url(QStringLiteral("/e%1?q=*").arg(i)));
    WriteTextFile(BesideProgram(QStringLiteral("Quaerio.CFG")), catalogue);

    auto app = std::make_unique<CQuaerioApp>();
    if (!app->InitInstance())
        return 0;
    CMainFrame *frame = app->GetMainFrame();
    CQuaerioView *view = app->GetView();
    if (!QTest::qWaitForWindowExposed(frame))
        std::printf("window not exposed\n");
    WaitComplete(frame);
    auto *keywords = view->findChild<QComboBox *>(QString::number(IDC_CBO_KEYWORDS));
    auto *search = view->findChild<QPushButton *>(QString::number(IDC_BTN_SEARCH));

    Stats hold, started, served, complete;
    for (int run = 0; run < runs; ++run) {
        g_marker = QStringLiteral("bench%1x%2").arg(engines).arg(run);
        g_navigationsNs.clear();
        server.clearRequests();
        keywords->lineEdit()->setText(g_marker);

        const bool enabled = search->isEnabled();
        const qint64 click = g_clock.nsecsElapsed();
        QTest::mouseClick(search, Qt::LeftButton);
        hold.Add(Ms(g_clock.nsecsElapsed() - click));

        if (!WaitUntil([&] { return int(g_navigationsNs.size()) >= engines; }, 60000))
            std::printf("    run %d: only %d navigations started (search %s, status \"%s\")\n", run,
                        int(g_navigationsNs.size()), enabled ? "enabled" : "disabled",
                        qPrintable(frame->GetMessageText()));
        if (!g_navigationsNs.empty())
            started.Add(Ms(*std::max_element(g_navigationsNs.begin(), g_navigationsNs.end()) - click));
        if (!WaitUntil([&] { return server.requestCount() >= engines; }, 60000))
            std::printf("    run %d: only %d requests served\n", run, server.requestCount());
        served.Add(Ms(g_clock.nsecsElapsed() - click));
        WaitComplete(frame);
        complete.Add(Ms(g_clock.nsecsElapsed() - click));
    }
    std::printf("search, %d engines, %d runs, keyword history %s\n", engines, runs,
                historyEntries > 0 ? "of 16 entries" : "off");
    Print("hold", hold);
    Print("started", started);
    Print("served", served);
    Print("complete", complete);
    frame->close();
    app.reset();
    return hold.Median();
}
} // namespace

int main(int argc, char *argv[])
{
    g_clock.start();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    TempProfile profile(ProfileParent());
    std::printf("profile in %s (%s)\n", qPrintable(profile.path()), FileSystemOf(profile.path()));
    MessageBoxRecorder boxes;
    CWebEngineBrowserControlFactory engines;
    CObservedFactory observed(engines, [](const QString &url) {
        if (!g_marker.isEmpty() && url.contains(g_marker))
            g_navigationsNs.push_back(g_clock.nsecsElapsed());
    });
    InstallBrowserControlFactory(&observed);

    MeasureStartup();

    LoopbackHttpServer server;
    if (!server.listen()) {
        std::printf("no loopback server\n");
        return 1;
    }
    QList<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.append(std::max(1, std::atoi(argv[i])));
    if (sizes.isEmpty())
        sizes = {10, 50};
    double holdOff = 0;
    for (int engines : sizes)
        holdOff = MeasureSearch(server, engines, runs, 0);
    const double holdOn = MeasureSearch(server, sizes.last(), runs, 16);
    std::printf("OnSearch hold, %d engines, median of %d: history off %.2f ms, 16-entry history %.2f ms (goal < 20 ms)\n",
                sizes.last(), runs, holdOff, holdOn);

    QFile::remove(BesideProgram(QStringLiteral("Quaerio.CFG")));
    QFile::remove(BesideProgram(QStringLiteral("firstshow.mht")));
    std::fflush(stdout);
    return 0;
}
