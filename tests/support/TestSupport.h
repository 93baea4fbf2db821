#pragma once

#include <QList>
#include <QPointer>
#include <QProcessEnvironment>
#include <QWidget>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include "platform/Installed.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/ShellOpen.h"

class QComboBox;

// The per-user profile in a fresh temporary directory (inside `parentDir`
// if given), with the company named as start-up does, for its lifetime.
class TempProfile final
{
public:
    explicit TempProfile(const QString &parentDir = {});
    ~TempProfile();
    Q_DISABLE_COPY_MOVE(TempProfile)

    QString path() const;

    // Every "section/entry" = value pair of the store, sorted, one per line.
    QString dump() const;

private:
    QTemporaryDir m_dir;
};

// The platform services every test program's main installs: a box is
// printed to the standard error and answered with its first button (an
// unexpected box neither hangs a test nor passes unnoticed); opening,
// launching and saving fail or are cancelled.
class CTestPlatformServices final : public IPlatformServices
{
public:
    CTestPlatformServices() = default;
    Q_DISABLE_COPY_MOVE(CTestPlatformServices)

    int MessageBox(const MessageBoxCall &call) override;
    int ShellOpen(const QString &target) override;
    bool Launch(const QString &program, const QStringList &arguments) override;
    void ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered) override;
    void ProfileWritten(const QString &section, const QString &entry, const QVariant &value) override;
    void ProfileSynced(const QString &location) override;
    void StatusTextShown(const QString &text) override;
};

// The platform services for its lifetime, passing every call on to those
// installed before it but the calls a recorder below takes over.
class CPlatformServicesScope : public IPlatformServices
{
public:
    CPlatformServicesScope();
    Q_DISABLE_COPY_MOVE(CPlatformServicesScope)

    int MessageBox(const MessageBoxCall &call) override;
    int ShellOpen(const QString &target) override;
    bool Launch(const QString &program, const QStringList &arguments) override;
    void ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered) override;
    void ProfileWritten(const QString &section, const QString &entry, const QVariant &value) override;
    void ProfileSynced(const QString &location) override;
    void StatusTextShown(const QString &text) override;

private:
    IPlatformServices &m_previous;
    const CInstalled<IPlatformServices> m_installed;
};

// The recorders below keep what they capture in members a test reads and sets.

// Captures every message box instead of showing it; answers `answer`.
class MessageBoxRecorder final : public CPlatformServicesScope
{
public:
    explicit MessageBoxRecorder(int answer = 1 /* IDOK */);
    Q_DISABLE_COPY_MOVE(MessageBoxRecorder)

    int MessageBox(const MessageBoxCall &call) override;
    QStringList texts() const;

    std::vector<MessageBoxCall> calls;
    int answer;
};

// Captures every shell open and answers with `code`.
class ShellOpenRecorder final : public CPlatformServicesScope
{
public:
    explicit ShellOpenRecorder(int code = SHELL_OPEN_OK);
    Q_DISABLE_COPY_MOVE(ShellOpenRecorder)

    int ShellOpen(const QString &target) override;

    QStringList targets;
    int code;
};

// Captures every program launch, each as the program followed by its
// arguments, and answers `started`.
class LaunchRecorder final : public CPlatformServicesScope
{
public:
    explicit LaunchRecorder(bool started = true);
    Q_DISABLE_COPY_MOVE(LaunchRecorder)

    bool Launch(const QString &program, const QStringList &arguments) override;

    QList<QStringList> launches;
    bool started;
};

// Captures every save-file question and answers it at once with `answer`
// (empty: cancelled), or, while `held`, when the test calls answerHeld.
class SaveFileRecorder final : public CPlatformServicesScope
{
public:
    SaveFileRecorder() = default;
    Q_DISABLE_COPY_MOVE(SaveFileRecorder)

    void ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered) override;
    // Answers the question held, if its context still lives.
    void answerHeld(const QString &reply);

    QList<SSaveFileQuestion> questions;
    QString answer;
    bool held = false;

private:
    QPointer<QObject> m_heldContext;
    SaveFileAnswer m_heldAnswer;
};

// Records every profile write as "section/entry=value" (a deleted section
// as "section/") and counts the saves of the profile.
class ProfileWriteRecorder final : public CPlatformServicesScope
{
public:
    ProfileWriteRecorder() = default;
    Q_DISABLE_COPY_MOVE(ProfileWriteRecorder)

    void ProfileWritten(const QString &section, const QString &entry, const QVariant &value) override;
    void ProfileSynced(const QString &location) override;

    QStringList writes;
    int syncs = 0;
};

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns
// `done()`. Unlike QTest::qWaitFor it never sleeps, which would slow the
// browser engine's tasks on this thread down.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 20000);

// The bytes of the file at `path`; none if it cannot be read.
QByteArray FileBytes(const QString &path);

// Writes `text` to `path` as UTF-8 (creating folders); false on failure.
bool WriteTextFile(const QString &path, const QString &text);

// The system environment with HOME and the XDG config, data, cache and
// (owner-only) runtime folders under `home`: a child program touches nothing
// of the user's and meets no running copy of itself.
QProcessEnvironment HomeEnvironment(const QString &home);

// A catalogue laid out as "Language/Category=Section Section;...", each
// section an engine named by `names` in order of appearance (else
// "Engine <section>") with the query template `url(section)` (else
// "http://127.0.0.1:9/<section>?q=*").
QString CatalogueText(const QString &layout, const QStringList &names = {},
                      const std::function<QString(const QString &section)> &url = {});

// Makes `text`, written into `folder`, the catalogue the form reads, and a
// missing file there its first-show page.
void UseCatalogue(const QString &folder, const QString &text);

// The catalogue and first-show page beside the test program, where start-up
// looks for them, for the object's lifetime.
class BesideProgram final
{
public:
    explicit BesideProgram(const QString &catalogue, const QString &firstShow = QStringLiteral("<html></html>"));
    ~BesideProgram();
    Q_DISABLE_COPY_MOVE(BesideProgram)

    static QString Path(const QString &name);
};

// The child of `parent` that stands for control `id` of a form.
template <typename T = QWidget>
T *Ctl(const QWidget *parent, int id)
{
    return parent->findChild<T *>(QString::number(id));
}

// A left click in the middle of `widget`.
void Click(QWidget *widget);

// Chooses entry `index` of `box` as the user would.
void Choose(QComboBox *box, int index);
