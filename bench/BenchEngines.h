#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <memory>
#include <vector>

#include "tests/support/LoopbackHttpServer.h"

// The engines the benches ask: each a loopback HTTP server of its own
// (127.0.0.2, 127.0.0.3, ...: separate sites, as real engines are) answering
// after kAnswerDelayMs. They run on a thread of their own, as real engines
// run elsewhere: a busy user-interface thread in the bench (where the program
// runs in process) must not delay their answers, nor Chromium's polling
// theirs.
constexpr int kAnswerDelayMs = 300;

class CLoopbackEngines final
{
public:
    // Empty (after printing why) when an address cannot be listened on.
    explicit CLoopbackEngines(int count);
    ~CLoopbackEngines();
    Q_DISABLE_COPY_MOVE(CLoopbackEngines)

    bool empty() const;
    int size() const;
    // "http://127.0.0.<k + 2>:<port>" followed by `pathAndQuery`.
    QString url(int k, const QString &pathAndQuery) const;
    void ClearRequests();
    bool EveryServerAsked();
    // A catalogue of one language and one category holding every server, as
    // engines "Engine 0", "Engine 1", ... in sections B0, B1, ...
    QString Catalogue() const;

private:
    // Runs `work` on the servers' thread and waits for it.
    void OnServerThread(const std::function<void()> &work);

    QThread m_thread;
    QObject *m_context = nullptr; // lives on m_thread
    std::vector<std::unique_ptr<LoopbackHttpServer>> m_servers;
    QStringList m_bases;
};
// What a bench's command line asks: `[runs [engines...]]`, by default 3 runs
// of 10, 30 and 60 engines.
struct SBenchArguments
{
    int runs = 3;
    QList<int> sizes;
};
SBenchArguments ReadBenchArguments(int argc, char *argv[]);

// Before the application object exists: the offscreen platform unless
// another is named, and, as root (where the engine's sandbox cannot start),
// the sandbox off, for this process and the programs it starts.
void PrepareBenchEnvironment();

// Figures of repeated runs.
struct Stats
{
    std::vector<double> values;
    void Add(double v);
    double Median() const;
    double Min() const;
    double Max() const;
};
