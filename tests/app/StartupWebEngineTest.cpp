// Start-up and shutdown of the real program, run as a separate process: a copy
// of the built executable under another name in a temporary directory, with a
// home of its own there (every per-user file it writes lands inside it) and its
// message boxes collected through QUAERIO_MESSAGE_LOG of the test build of
// the program instead of shown.

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>

namespace
{
const QString kBuiltProgram = QStringLiteral(QUAERIO_EXECUTABLE);
constexpr int kTimeoutMs = 120'000;

class StartupTest : public ::testing::Test
{
protected:
    // Starts the renamed copy with the named files of the build beside it.
    void start(const QStringList &besideProgram, const QStringList &arguments)
    {
        const QString binDir = m_dir.filePath(QStringLiteral("install dir")), home = m_dir.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(binDir) && QDir().mkpath(home + u"/runtime"));
        QFile::setPermissions(home + u"/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const QString &name : besideProgram)
            ASSERT_TRUE(QFile::copy(QFileInfo(kBuiltProgram).dir().filePath(name), QDir(binDir).filePath(name)));
        const QString program = binDir + u"/metasearch-renamed";
        ASSERT_TRUE(QFile::copy(kBuiltProgram, program));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + u"/config");
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home + u"/data");
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + u"/cache");
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + u"/runtime");
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("QUAERIO_MESSAGE_LOG"), m_dir.filePath(QStringLiteral("messages.log")));
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(m_dir.path());
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(program, arguments);
        ASSERT_TRUE(m_process.waitForStarted(kTimeoutMs)) << qPrintable(m_process.errorString());
    }

    void TearDown() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(30'000);
        }
    }

    // The program catches SIGTERM only once its main window is up, so a caught
    // SIGTERM tells that start-up is complete. False when the process ended first.
    bool waitUntilRunning()
    {
        const QDeadlineTimer deadline(kTimeoutMs);
        while (!deadline.hasExpired()) {
            QFile file(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : file.readAll().split('\n')) {
                    bool ok = false;
                    const qulonglong caught = line.startsWith("SigCgt:") ? line.mid(7).trimmed().toULongLong(&ok, 16) : 0;
                    if (ok && (caught & (1ull << (SIGTERM - 1))))
                        return true;
                }
            }
            if (m_process.waitForFinished(50)) // the polling pause, ended early by an exit
                return false;
        }
        return false;
    }

    QStringList messages() const
    {
        QFile file(m_dir.filePath(QStringLiteral("messages.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts) : QStringList();
    }

    QTemporaryDir m_dir;
    QProcess m_process;
};
} // namespace

TEST_F(StartupTest, WithoutItsCatalogueTheProgramSaysSoOnceAndFailsWithoutTouchingSettings)
{
    // A catalogue named on the command line is taken for keywords, not used.
    const QString elsewhere = m_dir.filePath(QStringLiteral("Quaerio.CFG"));
    ASSERT_TRUE(QFile::copy(QFileInfo(kBuiltProgram).dir().filePath(QStringLiteral("Quaerio.CFG")), elsewhere));
    start({QStringLiteral("firstshow.mht")}, {elsewhere});
    ASSERT_TRUE(m_process.waitForFinished(kTimeoutMs));
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(m_process.exitCode(), 0);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Quaerio\tThe config file not exist !")});

    QDirIterator it(m_dir.filePath(QStringLiteral("home")), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        EXPECT_FALSE(path.contains(u"Tavistel") || path.contains(u"Quaerio.conf")) << "settings written: " << qPrintable(path);
    }
}

TEST_F(StartupTest, WithItsCatalogueTheProgramRunsUntilClosedAndExitsCleanly)
{
    start({QStringLiteral("Quaerio.CFG"), QStringLiteral("firstshow.mht")}, {});
    ASSERT_TRUE(waitUntilRunning()) << "exit code " << m_process.exitCode();
    m_process.terminate();
    ASSERT_TRUE(m_process.waitForFinished(kTimeoutMs));
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_EQ(messages(), QStringList{});
}
