#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <vector>

#include "tests/support/LoopbackHttpServer.h"

// The engines the benches ask: each a loopback HTTP server of its own
// (127.0.0.2, 127.0.0.3, ...: separate sites, as real engines are) answering
// after kAnswerDelayMs.
constexpr int kAnswerDelayMs = 300;
using Servers = std::vector<std::unique_ptr<LoopbackHttpServer>>;

// Empty (after printing why) when an address cannot be listened on.
Servers StartServers(int count);
void ClearRequests(const Servers &servers);
bool EveryServerAsked(const Servers &servers);
// A catalogue of one language and one category holding every server, as
// engines "Engine 0", "Engine 1", ... in sections B0, B1, ...
QString CatalogueOf(const Servers &servers);

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
