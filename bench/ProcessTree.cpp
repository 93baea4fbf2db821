#include "bench/ProcessTree.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>

#include <time.h>
#include <unistd.h>

namespace
{
struct SStat
{
    qint64 parent = 0;
    long long cpuTicks = 0; // utime + stime
};

// "pid (comm) state ppid ...": the name may hold spaces and brackets.
QHash<qint64, SStat> ReadAllStats()
{
    QHash<qint64, SStat> stats;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        QFile file(u"/proc/" + entry + u"/stat");
        if (!isPid || !file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = file.readAll();
        // Fields after the name, from "state" (field 3): ppid is field 4,
        // utime and stime fields 14 and 15.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            stats.insert(pid, {fields.at(1).toLongLong(), fields.at(11).toLongLong() + fields.at(12).toLongLong()});
    }
    return stats;
}

QList<qint64> TreeOf(qint64 root, const QHash<qint64, SStat> &stats)
{
    QList<qint64> tree;
    for (auto it = stats.cbegin(); it != stats.cend(); ++it) {
        qint64 pid = it.key();
        while (pid > 1 && pid != root)
            pid = stats.value(pid).parent;
        if (pid == root)
            tree.append(it.key());
    }
    return tree;
}

QByteArray CommandLineOf(qint64 pid)
{
    QFile file(u"/proc/" + QString::number(pid) + u"/cmdline");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString KindOf(qint64 pid, qint64 root, const QHash<qint64, SStat> &stats)
{
    if (pid == root)
        return QStringLiteral("browser");
    const QByteArray commandLine = CommandLineOf(pid);
    for (const char *kind : {"renderer", "gpu", "utility", "zygote"}) {
        if (!commandLine.contains(QByteArray(QByteArray("--type=") + kind)))
            continue;
        // Qt WebEngine's renderers, forked by a zygote, keep its command
        // line; Chromium's rewrite theirs.
        if (qstrcmp(kind, "zygote") == 0 && CommandLineOf(stats.value(pid).parent).contains("--type=zygote"))
            return QStringLiteral("renderer");
        return QString::fromLatin1(kind);
    }
    return QStringLiteral("other");
}

long PssKb(qint64 pid)
{
    QFile rollup(u"/proc/" + QString::number(pid) + u"/smaps_rollup");
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}
} // namespace

long SProcessTreeMemory::TotalKb() const
{
    long total = 0;
    for (const auto &[kind, kb] : pssKbByKind)
        total += kb;
    return total;
}

SProcessTreeMemory ReadTreeMemory(qint64 root)
{
    SProcessTreeMemory memory;
    const QHash<qint64, SStat> stats = ReadAllStats();
    const QList<qint64> tree = TreeOf(root, stats);
    for (const qint64 pid : tree) {
        const QString kind = KindOf(pid, root, stats);
        memory.pssKbByKind[kind] += PssKb(pid);
        ++memory.countByKind[kind];
    }
    for (auto it = stats.cbegin(); it != stats.cend(); ++it) {
        if (!tree.contains(it.key()) && CommandLineOf(it.key()).contains("QtWebEngineProcess"))
            ++memory.outsideEngineProcesses;
    }
    return memory;
}

double TreeCpuSeconds(qint64 root)
{
    const QHash<qint64, SStat> stats = ReadAllStats();
    long long ticks = 0;
    for (const qint64 pid : TreeOf(root, stats))
        ticks += stats.value(pid).cpuTicks;
    return double(ticks) / double(sysconf(_SC_CLK_TCK));
}

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}
