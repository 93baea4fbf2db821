#include "bench/BenchEngines.h"

#include <QHostAddress>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

Servers StartServers(int count)
{
    Servers servers;
    for (int k = 0; k < count; ++k) {
        auto server = std::make_unique<LoopbackHttpServer>();
        if (!server->listen(QHostAddress(u"127.0.0." + QString::number(k + 2)))) {
            std::printf("cannot listen on 127.0.0.%d\n", k + 2);
            return {};
        }
        server->setAnswerDelay(kAnswerDelayMs);
        servers.push_back(std::move(server));
    }
    return servers;
}

void ClearRequests(const Servers &servers)
{
    for (const auto &server : servers)
        server->clearRequests();
}

bool EveryServerAsked(const Servers &servers)
{
    return std::all_of(servers.cbegin(), servers.cend(), [](const auto &server) { return server->requestCount() > 0; });
}

QString CatalogueOf(const Servers &servers)
{
    QString catalogue = QStringLiteral("[LANGUAGES]\nLanguages=Bench\n[CATEGORYS]\nBench=Engines\n[Bench]\nEngines=");
    QStringList sections;
    for (size_t i = 0; i < servers.size(); ++i)
        sections.append(QStringLiteral("B%1").arg(i));
    catalogue += sections.join(u';') + u'\n';
    for (size_t i = 0; i < servers.size(); ++i)
        catalogue += QStringLiteral("[B%1]\nName=Engine %1\nURL=%2\n").arg(i).arg(servers[i]->url(QStringLiteral("/e?q=*")));
    return catalogue;
}

void Stats::Add(double v)
{
    values.push_back(v);
}

double Stats::Median() const
{
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? -1 : sorted[sorted.size() / 2];
}

double Stats::Min() const
{
    return values.empty() ? -1 : *std::min_element(values.begin(), values.end());
}

double Stats::Max() const
{
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

SBenchArguments ReadBenchArguments(int argc, char *argv[])
{
    SBenchArguments arguments;
    if (argc > 1)
        arguments.runs = std::max(1, std::atoi(argv[1]));
    for (int i = 2; i < argc; ++i)
        arguments.sizes.append(std::clamp(std::atoi(argv[i]), 1, 200));
    if (arguments.sizes.isEmpty())
        arguments.sizes = {10, 30, 60};
    return arguments;
}

void PrepareBenchEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (::getuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}
