#include "platform/PlatformServices.h"

#include <QApplication>
#include <QFileDialog>

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include <utility>

#include "platform/MessageBox.h"
#include "platform/ShellOpen.h"
#include "res/ResourceIds.h"

namespace
{
IPlatformServices *&installed()
{
    static IPlatformServices *current = nullptr;
    return current;
}

QMessageBox::Icon iconOf(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsOf(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int resultOf(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}
} // namespace

IPlatformServices::~IPlatformServices() = default;

CPlatformServices::~CPlatformServices() = default;

int CPlatformServices::MessageBox(const MessageBoxCall &call)
{
    QMessageBox box(iconOf(call.type), call.caption, call.text, buttonsOf(call.type), QApplication::activeWindow());
    return resultOf(box.exec());
}

int CPlatformServices::ShellOpen(const QString &target)
{
    const QUrl url = QUrl::fromUserInput(target);
    if (!url.isValid() || target.trimmed().isEmpty())
        return SE_ERR_FNF;
    return QDesktopServices::openUrl(url) ? SHELL_OPEN_OK : SE_ERR_NOASSOC;
}

bool CPlatformServices::Launch(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

QString CPlatformServices::ChooseSaveFile(const QString &proposedPath)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QStringLiteral("Save As"), proposedPath);
}

void CPlatformServices::ProfileWritten(const QString &, const QString &, const QVariant &)
{
}

void CPlatformServices::ProfileSynced(const QString &)
{
}

void CPlatformServices::StatusTextShown(const QString &)
{
}

IPlatformServices &PlatformServices()
{
    static CPlatformServices real;
    return installed() ? *installed() : real;
}

IPlatformServices *InstallPlatformServices(IPlatformServices *services)
{
    return std::exchange(installed(), services);
}
