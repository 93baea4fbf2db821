#include "bench/BenchEngines.h"

#include <QHostAddress>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

CLoopbackEngines::CLoopbackEngines(int count)
{
    m_thread.setObjectName(QStringLiteral("loopback engines"));
    m_thread.start();
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    OnServerThread([this, count] {
        for (int k = 0; k < count; ++k) {
            auto server = std::make_unique<LoopbackHttpServer>();
            if (!server->listen(QHostAddress(u"127.0.0." + QString::number(k + 2)))) {
                std::printf("cannot listen on 127.0.0.%d\n", k + 2);
                m_servers.clear();
                return;
            }
            server->setAnswerDelay(kAnswerDelayMs);
            m_bases.append(server->url(QString()));
            m_servers.push_back(std::move(server));
        }
    });
    if (m_servers.empty())
        m_bases.clear();
}

CLoopbackEngines::~CLoopbackEngines()
{
    OnServerThread([this] {
        m_servers.clear();
        delete m_context;
    });
    m_thread.quit();
    m_thread.wait();
}

void CLoopbackEngines::OnServerThread(const std::function<void()> &work)
{
    QMetaObject::invokeMethod(m_context, work, Qt::BlockingQueuedConnection);
}

bool CLoopbackEngines::empty() const
{
    return m_bases.isEmpty();
}

int CLoopbackEngines::size() const
{
    return int(m_bases.size());
}

QString CLoopbackEngines::url(int k, const QString &pathAndQuery) const
{
    return m_bases.at(k) + pathAndQuery;
}

void CLoopbackEngines::ClearRequests()
{
    OnServerThread([this] {
        for (const auto &server : m_servers)
            server->clearRequests();
    });
}

bool CLoopbackEngines::EveryServerAsked()
{
    bool every = false;
    OnServerThread([this, &every] {
        every = std::all_of(m_servers.cbegin(), m_servers.cend(), [](const auto &server) { return server->requestCount() > 0; });
    });
    return every;
}

QString CLoopbackEngines::Catalogue() const
{
    QString catalogue = QStringLiteral("[LANGUAGES]\nLanguages=Bench\n[CATEGORYS]\nBench=Engines\n[Bench]\nEngines=");
    QStringList sections;
    for (int i = 0; i < size(); ++i)
        sections.append(QStringLiteral("B%1").arg(i));
    catalogue += sections.join(u';') + u'\n';
    for (int i = 0; i < size(); ++i)
        catalogue += QStringLiteral("[B%1]\nName=Engine %1\nURL=%2\n").arg(i).arg(url(i, QStringLiteral("/e?q=*")));
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
