#include "platform/PlatformServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include <utility>

#include "platform/Installed.h"
#include "platform/MessageBox.h"
#include "platform/ShellOpen.h"
#include "res/ResourceIds.h"

namespace
{
// What serves when no services are installed: each call fails.
class CNoPlatformServices final : public IPlatformServices
{
public:
    CNoPlatformServices() = default;
    ~CNoPlatformServices() override = default;
    Q_DISABLE_COPY_MOVE(CNoPlatformServices)

    int MessageBox(const MessageBoxCall &) override { return IDCANCEL; }
    int ShellOpen(const QString &) override { return SE_ERR_NOASSOC; }
    bool Launch(const QString &, const QStringList &) override { return false; }
    void ChooseSaveFile(const SSaveFileQuestion &, QObject *, SaveFileAnswer answered) override { answered({}); }
    void ProfileWritten(const QString &, const QString &, const QVariant &) override {}
    void ProfileSynced(const QString &) override {}
    void StatusTextShown(const QString &) override {}
};

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

void CPlatformServices::ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered)
{
    // Not modal: the search and its pages go on while the user decides.
    auto *dialog = new QFileDialog(QApplication::activeWindow(), question.title, question.proposedPath);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, context, [dialog, answered = std::move(answered)](int result) {
        const QStringList chosen = dialog->selectedFiles();
        answered(result == QDialog::Accepted && !chosen.isEmpty() ? chosen.constFirst() : QString());
    });
    dialog->show();
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
    static CNoPlatformServices none;
    IPlatformServices *installed = CInstalled<IPlatformServices>::Installed();
    return installed ? *installed : none;
}
