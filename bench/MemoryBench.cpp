// Memory and idle CPU of the program as users run it, against Chromium
// showing the same pages as tabs in the same run, printed side by side;
// nothing is asserted.
//
//   bench_memory [runs [engines...]]   (default: median of 3 runs; 10, 30 and 60 engines)
//
// For each number of engines N, each engine a loopback server of its own
// (127.0.0.2, 127.0.0.3, ...: separate sites, as real engines are) answering
// after 0.3 s, the program (its test build, which logs its status texts to a
// file) runs as a child process in a home of its own, with the frame, the
// form, the first-show page and a catalogue of the N engines; no
// accessibility client listens. Figures, each the median of the runs:
//   - before the first search: once "Complete" follows the first-show page
//     and 3 s have passed, the proportional set size (PSS) of the whole
//     process tree, by kind of process (the program's own, which is also the
//     engine's browser process; renderers; GPU; utility; zygotes); beside it
//     the floor, a bare engine window showing the same page, measured alike;
//   - a search handed over by a second start with keywords (as a user's
//     second start does): from starting it to every engine asked, and to
//     the next "Complete" (every page loaded);
//   - after every page has loaded and 3 s have passed: PSS again, by kind;
//   - at the largest N, the CPU time the whole tree uses over 60 s of idling
//     with every page open, as a share of one core.
// Chromium (headless, a fresh profile, through its remote-debugging
// interface) then opens the same N addresses as tabs and is measured the
// same way after the same settling time.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>

#include "bench/BenchEngines.h"
#include "bench/ChromiumTabs.h"
#include "bench/ProcessTree.h"
#include "tests/support/TestSupport.h"

namespace
{
constexpr int kSettleMs = 3000;
constexpr int kIdleSeconds = 60;
constexpr int kTimeoutMs = 120000;
const QString kComplete = QStringLiteral("Complete");
const QStringList kKinds = {QStringLiteral("browser"), QStringLiteral("renderer"), QStringLiteral("gpu"),
                            QStringLiteral("utility"), QStringLiteral("zygote"), QStringLiteral("other")};

// Figures by name ("before renderer", "asked ms", ...) over the runs.
using Figures = std::map<QString, Stats>;

double Mb(long kb)
{
    return double(kb) / 1024.0;
}

void Settle(int ms)
{
    WaitUntil([] { return false; }, ms);
}

void AddMemory(Figures &figures, const QString &when, qint64 root)
{
    const SProcessTreeMemory memory = ReadTreeMemory(root);
    for (const QString &kind : kKinds) {
        const auto pss = memory.pssKbByKind.find(kind);
        const auto count = memory.countByKind.find(kind);
        figures[when + u' ' + kind].Add(pss == memory.pssKbByKind.end() ? 0 : Mb(pss->second));
        figures[when + u' ' + kind + u" count"].Add(count == memory.countByKind.end() ? 0 : count->second);
    }
    figures[when + u" total"].Add(Mb(memory.TotalKb()));
    figures[when + u" outside"].Add(memory.outsideEngineProcesses);
}

void AddIdleCpu(Figures &figures, qint64 root)
{
    const double start = TreeCpuSeconds(root);
    Settle(kIdleSeconds * 1000);
    figures[QStringLiteral("idle cpu")].Add(100.0 * (TreeCpuSeconds(root) - start) / kIdleSeconds);
}

// A measured program's environment: a home of its own, offscreen, and no
// accessibility client asking for the tree.
QProcessEnvironment ProgramEnvironment(const QString &home)
{
    QProcessEnvironment environment = HomeEnvironment(home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"));
    environment.remove(QStringLiteral("QT_ACCESSIBILITY"));
    return environment;
}

// The program's test build in a folder of its own with `catalogue` beside
// it, and a home of its own, so it meets no other running copy.
class CProgramRun final
{
public:
    explicit CProgramRun(const QString &catalogue)
    {
        const QString bin = m_dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        m_program = bin + u"/quaerio";
        m_installed = QFile::copy(QStringLiteral(QUAERIO_PROGRAM), m_program)
                      && QFile::copy(QFileInfo(QStringLiteral(QUAERIO_PROGRAM)).dir().filePath(QStringLiteral("firstshow.mht")),
                                     bin + u"/firstshow.mht")
                      && WriteTextFile(bin + u"/Quaerio.CFG", catalogue);
        m_environment = ProgramEnvironment(m_dir.filePath(QStringLiteral("home")));
        m_environment.insert(QStringLiteral("QUAERIO_STATUS_LOG"), m_dir.filePath(QStringLiteral("status.log")));
    }
    ~CProgramRun()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(20000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    Q_DISABLE_COPY_MOVE(CProgramRun)

    // Starts the program and waits for its first "Complete".
    bool Start()
    {
        if (!m_installed)
            return false;
        Prepare(m_process);
        m_process.start(m_program, {});
        return WaitForCompletes(1);
    }
    qint64 ProcessId() const { return m_process.processId(); }

    // A second start with `keywords`, which hands them to the running
    // window and ends.
    void HandOver(const QString &keywords)
    {
        auto *second = new QProcess(&m_process);
        Prepare(*second);
        second->start(m_program, {keywords});
    }
    // Waits for the "Complete" that follows the search's "Searching ...":
    // the hand-over may end the first-show page's load first.
    bool WaitSearchComplete() { return WaitForCompletes(1, true); }
    QString LastStatus() const
    {
        QFile file(m_dir.filePath(QStringLiteral("status.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed().section(u'\n', -1) : QString();
    }

private:
    void Prepare(QProcess &process) const
    {
        process.setProcessEnvironment(m_environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    // The "Complete" texts shown, counted after the last "Searching ..."
    // when `afterSearch` (none before one).
    int Completes(bool afterSearch) const
    {
        QFile file(m_dir.filePath(QStringLiteral("status.log")));
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        if (afterSearch) {
            // The list matches an expression against whole lines.
            const qsizetype search = lines.lastIndexOf(QRegularExpression(QStringLiteral("Searching .*")));
            lines = search < 0 ? QStringList() : lines.mid(search);
        }
        return int(lines.count(kComplete));
    }
    bool WaitForCompletes(int count, bool afterSearch = false)
    {
        // The status log is read every millisecond while waiting.
        QTimer poll;
        poll.start(1);
        const auto done = [this, count, afterSearch] { return Completes(afterSearch) >= count; };
        return WaitUntil([this, &done] { return m_process.state() == QProcess::NotRunning || done(); }, kTimeoutMs)
               && done();
    }

    QTemporaryDir m_dir;
    QString m_program;
    bool m_installed = false;
    QProcessEnvironment m_environment;
    QProcess m_process;
};

void MeasureProgram(Figures &figures, CLoopbackEngines &servers, bool idle)
{
    CProgramRun run(servers.Catalogue());
    if (!run.Start()) {
        std::printf("    the program did not start or never showed \"Complete\"\n");
        return;
    }
    Settle(kSettleMs);
    AddMemory(figures, QStringLiteral("before"), run.ProcessId());

    servers.ClearRequests();
    QElapsedTimer clock;
    clock.start();
    run.HandOver(QStringLiteral("quaerio memory"));
    if (WaitUntil([&servers] { return servers.EveryServerAsked(); }, kTimeoutMs))
        figures[QStringLiteral("asked")].Add(double(clock.elapsed()));
    if (run.WaitSearchComplete())
        figures[QStringLiteral("loaded")].Add(double(clock.elapsed()));
    else
        std::printf("    the search handed over never showed \"Complete\" (status \"%s\")\n", qPrintable(run.LastStatus()));
    Settle(kSettleMs);
    AddMemory(figures, QStringLiteral("after"), run.ProcessId());
    if (idle)
        AddIdleCpu(figures, run.ProcessId());
}

// The floor under "before the first search": a bare engine window showing
// the same first-show page, in the same kind of home and environment.
void MeasureFloor(Figures &figures)
{
    QTemporaryDir dir;
    QProcess floor;
    floor.setProcessEnvironment(ProgramEnvironment(dir.filePath(QStringLiteral("home"))));
    floor.setStandardErrorFile(QProcess::nullDevice());
    floor.start(QStringLiteral(QUAERIO_FLOOR_PAGE),
                {QFileInfo(QStringLiteral(QUAERIO_PROGRAM)).dir().filePath(QStringLiteral("firstshow.mht"))});
    QByteArray said;
    const bool loaded = WaitUntil([&floor, &said] {
        said += floor.readAllStandardOutput();
        return said.contains("loaded") || floor.state() == QProcess::NotRunning;
    }, kTimeoutMs) && said.contains("loaded");
    if (loaded) {
        Settle(kSettleMs);
        AddMemory(figures, QStringLiteral("floor"), floor.processId());
    } else {
        std::printf("    the bare engine window did not load the first-show page\n");
    }
    floor.terminate();
    if (!floor.waitForFinished(20000))
        floor.kill();
    floor.waitForFinished(5000);
}

void MeasureChromium(Figures &figures, CLoopbackEngines &servers, bool idle)
{
    QStringList urls;
    for (int k = 0; k < servers.size(); ++k)
        urls.append(servers.url(k, QStringLiteral("/e?q=quaerio%20memory")));
    CChromiumTabs chromium;
    if (!chromium.Start()) {
        std::printf("    Chromium did not start\n");
        return;
    }
    servers.ClearRequests();
    QElapsedTimer clock;
    clock.start();
    chromium.OpenTabs(urls);
    if (WaitUntil([&servers] { return servers.EveryServerAsked(); }, kTimeoutMs))
        figures[QStringLiteral("asked")].Add(double(clock.elapsed()));
    const double loaded = chromium.WaitAllLoadedMs(kTimeoutMs);
    if (loaded >= 0)
        figures[QStringLiteral("loaded")].Add(loaded);
    Settle(kSettleMs);
    AddMemory(figures, QStringLiteral("after"), chromium.ProcessId());
    if (idle)
        AddIdleCpu(figures, chromium.ProcessId());
}

double Median(const Figures &figures, const QString &name)
{
    const auto found = figures.find(name);
    return found == figures.end() ? -1 : found->second.Median();
}

QString Ratio(double quaerio, double chromium)
{
    return quaerio > 0 && chromium > 0 ? QString::number(quaerio / chromium, 'f', 2) : QStringLiteral("-");
}

void PrintLine(const char *what, double quaerio, double chromium, const QString &note = {})
{
    const auto cell = [](double v) { return v < 0 ? QStringLiteral("-") : QString::number(v, 'f', 1); };
    std::printf("  %-44s %10s %10s %7s  %s\n", what, qPrintable(cell(quaerio)), qPrintable(cell(chromium)),
                qPrintable(Ratio(quaerio, chromium)), qPrintable(note));
}

void PrintBreakdown(const Figures &quaerio, const Figures &chromium, const QString &when)
{
    for (const QString &kind : kKinds) {
        const QString name = when + u' ' + kind;
        const double q = Median(quaerio, name), c = Median(chromium, name);
        if (q <= 0 && c <= 0)
            continue;
        const QString label = QStringLiteral("    %1 (%2 / %3 processes)")
                                  .arg(kind)
                                  .arg(std::max(0.0, Median(quaerio, name + u" count")))
                                  .arg(std::max(0.0, Median(chromium, name + u" count")));
        PrintLine(qPrintable(label), q, c);
    }
}

void PrintOutside(const Figures &quaerio, const QString &when)
{
    const double outside = Median(quaerio, when + u" outside");
    if (outside > 0)
        std::printf("    (%.0f Qt WebEngine processes of other programs ran: Quaerio's PSS is the lower for it)\n", outside);
}

void Report(int count, const Figures &quaerio, const Figures &chromium, bool idle)
{
    std::printf("N = %d engines                                         Quaerio   Chromium   ratio\n", count);
    PrintLine("before the first search, PSS MB", Median(quaerio, QStringLiteral("before total")), -1,
              QStringLiteral("aim 150 MB"));
    PrintBreakdown(quaerio, {}, QStringLiteral("before"));
    PrintOutside(quaerio, QStringLiteral("before"));
    PrintLine("  floor: a bare engine window, first-show page", Median(quaerio, QStringLiteral("floor total")), -1);
    PrintBreakdown(quaerio, {}, QStringLiteral("floor"));
    PrintLine("search handed over / tabs opened -> asked, ms", Median(quaerio, QStringLiteral("asked")),
              Median(chromium, QStringLiteral("asked")));
    PrintLine("  -> every page loaded, ms", Median(quaerio, QStringLiteral("loaded")),
              Median(chromium, QStringLiteral("loaded")), QStringLiteral("goal ratio <= 1.0"));
    PrintLine("after loading, PSS MB", Median(quaerio, QStringLiteral("after total")),
              Median(chromium, QStringLiteral("after total")), count >= 30 ? QStringLiteral("goal ratio <= 0.5") : QString());
    PrintBreakdown(quaerio, chromium, QStringLiteral("after"));
    PrintOutside(quaerio, QStringLiteral("after"));
    if (idle)
        PrintLine("idle over 60 s, % of one core (whole tree)", Median(quaerio, QStringLiteral("idle cpu")),
                  Median(chromium, QStringLiteral("idle cpu")), QStringLiteral("goal < 1%"));
    std::printf("\n");
    std::fflush(stdout);
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(u' ', 0, 2) : QString();
}
} // namespace

int main(int argc, char *argv[])
{
    PrepareBenchEnvironment();
    QApplication application(argc, argv);
    const SBenchArguments arguments = ReadBenchArguments(argc, argv);
    const int runs = arguments.runs;
    const QList<int> &sizes = arguments.sizes;

    std::printf("PSS of the whole process tree; %d ms answers, each engine on its own loopback address; "
                "median of %d runs; QTWEBENGINE_CHROMIUM_FLAGS=\"%s\"; load average %s\n\n",
                kAnswerDelayMs, runs, qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").constData(), qPrintable(LoadAverage()));
    for (const int count : sizes) {
        CLoopbackEngines servers(count);
        if (servers.empty())
            return 1;
        // BENCH_IDLE=0 skips the minute of idling.
        const bool idle = count == sizes.last() && qgetenv("BENCH_IDLE") != "0";
        Figures quaerio, chromium;
        for (int run = 0; run < runs; ++run) {
            MeasureFloor(quaerio);
            MeasureProgram(quaerio, servers, idle);
            if (CChromiumTabs::Available())
                MeasureChromium(chromium, servers, idle);
        }
        Report(count, quaerio, chromium, idle);
    }
    std::printf("load average at the end %s\n", qPrintable(LoadAverage()));
    return 0;
}
