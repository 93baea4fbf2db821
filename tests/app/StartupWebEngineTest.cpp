// Start-up and shutdown of the real program, run as a separate process.
//
// Each test copies the built executable under another name into a temporary
// directory, gives it a home of its own there (so every per-user file it
// could write lands inside the test's directory) and collects its message
// boxes through QUAERIO_MESSAGE_LOG instead of showing them.

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
constexpr int kStartTimeoutMs = 120'000;

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_binDir = m_dir.filePath(QStringLiteral("install dir"));
        m_home = m_dir.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(m_binDir));
        ASSERT_TRUE(QDir().mkpath(m_home + QStringLiteral("/runtime")));
        QFile::setPermissions(m_home + QStringLiteral("/runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_program = m_binDir + QStringLiteral("/metasearch-renamed");
        ASSERT_TRUE(QFile::copy(kBuiltProgram, m_program)) << qPrintable(kBuiltProgram);
        m_messageLog = m_dir.filePath(QStringLiteral("messages.log"));
    }

    void TearDown() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(30'000);
        }
    }

    void copyBesideProgram(const QString &fileName)
    {
        const QString source = QFileInfo(kBuiltProgram).dir().filePath(fileName);
        ASSERT_TRUE(QFile::copy(source, QDir(m_binDir).filePath(fileName))) << qPrintable(source);
    }

    void start(const QStringList &arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home + QStringLiteral("/config"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home + QStringLiteral("/data"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home + QStringLiteral("/cache"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home + QStringLiteral("/runtime"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        environment.insert(QStringLiteral("QUAERIO_MESSAGE_LOG"), m_messageLog);
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(m_dir.path());
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(m_program, arguments);
        ASSERT_TRUE(m_process.waitForStarted(kStartTimeoutMs)) << qPrintable(m_process.errorString());
    }

    // The program catches SIGTERM only once its main window is up, so a
    // caught SIGTERM tells that start-up is complete. False when the process
    // ended first or the time ran out.
    bool waitUntilRunning()
    {
        const QString status = QStringLiteral("/proc/%1/status").arg(m_process.processId());
        const QDeadlineTimer deadline(kStartTimeoutMs);
        while (!deadline.hasExpired()) {
            QFile file(status);
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : file.readAll().split('\n')) {
                    if (line.startsWith("SigCgt:")) {
                        bool ok = false;
                        const qulonglong caught = line.mid(7).trimmed().toULongLong(&ok, 16);
                        if (ok && (caught & (1ull << (SIGTERM - 1))))
                            return true;
                    }
                }
            }
            // Doubles as the polling pause, and ends early when the process exits.
            if (m_process.waitForFinished(50))
                return false;
        }
        return false;
    }

    QStringList messages() const
    {
        QFile file(m_messageLog);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Every file below the child's home whose path names the settings store.
    QStringList settingsFiles() const
    {
        QStringList found;
        QDirIterator it(m_home, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.contains(QStringLiteral("Tavistel")) || path.contains(QStringLiteral("Quaerio.conf")))
                found.append(path);
        }
        return found;
    }

    QTemporaryDir m_dir;
    QString m_binDir;
    QString m_home;
    QString m_program;
    QString m_messageLog;
    QProcess m_process;
};
} // namespace

TEST_F(StartupTest, WithoutItsCatalogueTheProgramSaysSoOnceAndFailsWithoutTouchingSettings)
{
    copyBesideProgram(QStringLiteral("firstshow.mht"));
    // Arguments change nothing, not even a catalogue named on the command line.
    const QString elsewhere = m_dir.filePath(QStringLiteral("Quaerio.CFG"));
    ASSERT_TRUE(QFile::copy(QFileInfo(kBuiltProgram).dir().filePath(QStringLiteral("Quaerio.CFG")), elsewhere));
    start({elsewhere});
    ASSERT_TRUE(m_process.waitForFinished(kStartTimeoutMs));

    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(m_process.exitCode(), 0);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Quaerio\tThe config file not exist !")});
    EXPECT_EQ(settingsFiles(), QStringList{});
}

TEST_F(StartupTest, WithItsCatalogueTheProgramRunsUntilClosedAndExitsCleanly)
{
    copyBesideProgram(QStringLiteral("Quaerio.CFG"));
    copyBesideProgram(QStringLiteral("firstshow.mht"));
    start({QStringLiteral("some-document.txt")});
    ASSERT_TRUE(waitUntilRunning()) << "exit code " << m_process.exitCode();

    m_process.terminate();
    ASSERT_TRUE(m_process.waitForFinished(kStartTimeoutMs));
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_EQ(messages(), QStringList{});
}

TEST_F(StartupTest, ADirectoryNamedLikeTheCataloguePassesTheCheckAndInterruptClosesCleanly)
{
    ASSERT_TRUE(QDir(m_binDir).mkdir(QStringLiteral("Quaerio.CFG")));
    start();
    ASSERT_TRUE(waitUntilRunning()) << "exit code " << m_process.exitCode();

    ASSERT_EQ(::kill(static_cast<pid_t>(m_process.processId()), SIGINT), 0);
    ASSERT_TRUE(m_process.waitForFinished(kStartTimeoutMs));
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_FALSE(messages().contains(QStringLiteral("Quaerio\tThe config file not exist !")));
}
