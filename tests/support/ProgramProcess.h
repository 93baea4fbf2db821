#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The test build of the program copied as `binDir`/`name` with its
// first-show page and `catalogue` beside it; the copy's path, empty on failure.
QString InstallProgram(const QString &builtProgram, const QString &binDir, const QString &name, const QString &catalogue);

// The environment a program started in `dir` runs in: its home in
// `dir`/home (see HomeEnvironment), its status texts and message boxes
// logged to `dir`/status.log and `dir`/messages.log.
QProcessEnvironment ProgramEnvironment(const QString &dir);

// The lines of a text file, empty ones left out; none if it cannot be read.
QStringList FileLines(const QString &path);

// A finished run: its exit code (-1 if it crashed or was stopped) and what it wrote.
struct SRun
{
    int nExitCode = -1;
    QString strOut;
    QString strErr;
};

// Runs `program` to its end or stops it after `timeoutMs`, loopback servers answering meanwhile.
SRun RunToEnd(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment, int timeoutMs);

// Runs the event loop until `process` has ended or the time is up.
bool WaitForFinished(QProcess &process, int timeoutMs);

// Ends `process` if it runs: asked first, then killed.
void Stop(QProcess &process);
