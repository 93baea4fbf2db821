#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QObject;
struct MessageBoxCall;

// Where to save a file: the question's title (what is saved, from where) and
// the path proposed.
struct SSaveFileQuestion
{
    QString title;
    QString proposedPath;
};
using SaveFileAnswer = std::function<void(const QString &path)>;

// The services the program takes from the desktop it runs on: showing a
// message box, opening an address with the user's own programs, starting a
// program, and being told of what the profile store writes and what the
// status bar shows. One implementation is installed for the whole process
// with CInstalled (platform/Installed.h): the program's start-up installs the
// real one, tests install their own to answer boxes and record calls without
// showing or starting anything. Used on the user-interface thread only.
class IPlatformServices
{
public:
    IPlatformServices() = default;
    virtual ~IPlatformServices();
    Q_DISABLE_COPY_MOVE(IPlatformServices)

    // Shows the box modally and returns the id of the button pressed.
    virtual int MessageBox(const MessageBoxCall &call) = 0;

    // Opens a web or "mailto:" address; a code greater than 32 on success,
    // otherwise one of the shell's error codes.
    virtual int ShellOpen(const QString &target) = 0;

    // Starts a program detached, with each argument passed as it is; false
    // when it cannot be started.
    virtual bool Launch(const QString &program, const QStringList &arguments) = 0;

    // Asks the user where to save a file and returns at once: the window and
    // everything in it go on meanwhile. `answered` later receives the path
    // chosen, or an empty text when the user cancelled; never once `context`
    // is gone.
    virtual void ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered) = 0;

    // After the profile store changed a value in memory: the section, the
    // entry and the value; a section deletion reports an empty entry and no
    // value.
    virtual void ProfileWritten(const QString &section, const QString &entry, const QVariant &value) = 0;

    // After the profile store wrote its file (or registry) out, once per save.
    virtual void ProfileSynced(const QString &location) = 0;

    // Each text the main window's status bar shows, as it is shown.
    virtual void StatusTextShown(const QString &text) = 0;
};

// The real services: a QMessageBox, QDesktopServices, QProcess, a QFileDialog; the profile
// and status notifications are ignored.
class CPlatformServices final : public IPlatformServices
{
public:
    CPlatformServices() = default;
    ~CPlatformServices() override;
    Q_DISABLE_COPY_MOVE(CPlatformServices)

    int MessageBox(const MessageBoxCall &call) override;
    int ShellOpen(const QString &target) override;
    bool Launch(const QString &program, const QStringList &arguments) override;
    void ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered) override;
    void ProfileWritten(const QString &section, const QString &entry, const QVariant &value) override;
    void ProfileSynced(const QString &location) override;
    void StatusTextShown(const QString &text) override;
};

// The installed services. With none installed, nothing is shown, opened,
// started or asked: a box counts as cancelled (IDCANCEL), an address as
// without handler (SE_ERR_NOASSOC), a program as not started, a save-file
// question as cancelled.
IPlatformServices &PlatformServices();
