#pragma once

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

// Figures of repeated runs.
struct Stats
{
    std::vector<double> values;
    void Add(double v);
    double Median() const;
    double Min() const;
    double Max() const;
};
