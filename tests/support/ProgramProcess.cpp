#include "tests/support/ProgramProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tests/support/TestSupport.h"

QString InstallProgram(const QString &builtProgram, const QString &binDir, const QString &name, const QString &catalogue)
{
    const QString program = binDir + u'/' + name;
    const QString page = QStringLiteral("/firstshow.mht");
    const bool installed = QDir().mkpath(binDir) && QFile::copy(builtProgram, program)
        && QFile::copy(QFileInfo(builtProgram).absolutePath() + page, binDir + page)
        && WriteTextFile(binDir + u"/Quaerio.CFG", catalogue);
    return installed ? program : QString();
}

QProcessEnvironment ProgramEnvironment(const QString &dir)
{
    QProcessEnvironment environment = HomeEnvironment(dir + u"/home");
    environment.insert(QStringLiteral("QUAERIO_STATUS_LOG"), dir + u"/status.log");
    environment.insert(QStringLiteral("QUAERIO_MESSAGE_LOG"), dir + u"/messages.log");
    return environment;
}

QStringList FileLines(const QString &path)
{
    return QString::fromUtf8(FileBytes(path)).split(u'\n', Qt::SkipEmptyParts);
}

SRun RunToEnd(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool ended = process.waitForStarted(timeoutMs) && WaitForFinished(process, timeoutMs);
    Stop(process);
    return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}

bool WaitForFinished(QProcess &process, int timeoutMs)
{
    return WaitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
}

void Stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10'000)) {
        process.kill();
        process.waitForFinished(10'000);
    }
}
