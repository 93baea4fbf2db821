#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QHash>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <utility>

#include "catalogue/CatalogFile.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"

TempProfile::TempProfile(const QString &parentDir)
    : m_dir(parentDir.isEmpty() ? QDir::tempPath() + QStringLiteral("/profile-XXXXXX")
                                : parentDir + QStringLiteral("/profile-XXXXXX"))
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    SetRegistryKey(QStringLiteral("Tavistel"));
}

TempProfile::~TempProfile()
{
    ResetRegistryKey();
}

QString TempProfile::path() const
{
    return m_dir.path();
}

QString TempProfile::dump() const
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavistel"), QStringLiteral("Quaerio"));
    QStringList lines;
    const QStringList keys = store.allKeys();
    for (const QString &key : keys)
        lines.append(key + QLatin1Char('=') + store.value(key).toString());
    lines.sort();
    return lines.join(QLatin1Char('\n'));
}

int CTestPlatformServices::MessageBox(const MessageBoxCall &call)
{
    std::fprintf(stderr, "message box answered by the test services: %s\n", qPrintable(call.text));
    return (call.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

int CTestPlatformServices::ShellOpen(const QString &)
{
    return SE_ERR_NOASSOC;
}

bool CTestPlatformServices::Launch(const QString &, const QStringList &)
{
    return false;
}

void CTestPlatformServices::ChooseSaveFile(const SSaveFileQuestion &, QObject *, SaveFileAnswer answered)
{
    answered({});
}

void CTestPlatformServices::ProfileWritten(const QString &, const QString &, const QVariant &)
{
}

void CTestPlatformServices::ProfileSynced(const QString &)
{
}

void CTestPlatformServices::StatusTextShown(const QString &)
{
}

CPlatformServicesScope::CPlatformServicesScope()
    : m_previous(PlatformServices())
    , m_installed(*this)
{
}

int CPlatformServicesScope::MessageBox(const MessageBoxCall &call)
{
    return m_previous.MessageBox(call);
}

int CPlatformServicesScope::ShellOpen(const QString &target)
{
    return m_previous.ShellOpen(target);
}

bool CPlatformServicesScope::Launch(const QString &program, const QStringList &arguments)
{
    return m_previous.Launch(program, arguments);
}

void CPlatformServicesScope::ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered)
{
    m_previous.ChooseSaveFile(question, context, std::move(answered));
}

void CPlatformServicesScope::ProfileWritten(const QString &section, const QString &entry, const QVariant &value)
{
    m_previous.ProfileWritten(section, entry, value);
}

void CPlatformServicesScope::ProfileSynced(const QString &location)
{
    m_previous.ProfileSynced(location);
}

void CPlatformServicesScope::StatusTextShown(const QString &text)
{
    m_previous.StatusTextShown(text);
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
    : answer(answer)
{
}

int MessageBoxRecorder::MessageBox(const MessageBoxCall &call)
{
    calls.push_back(call);
    return answer;
}

QStringList MessageBoxRecorder::texts() const
{
    QStringList result;
    for (const MessageBoxCall &call : calls)
        result.append(call.text);
    return result;
}

ShellOpenRecorder::ShellOpenRecorder(int code)
    : code(code)
{
}

int ShellOpenRecorder::ShellOpen(const QString &target)
{
    targets.append(target);
    return code;
}

LaunchRecorder::LaunchRecorder(bool started)
    : started(started)
{
}

bool LaunchRecorder::Launch(const QString &program, const QStringList &arguments)
{
    launches.append(QStringList{program} + arguments);
    return started;
}

void SaveFileRecorder::ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered)
{
    questions.append(question);
    if (!held) {
        answered(answer);
        return;
    }
    m_heldContext = context;
    m_heldAnswer = std::move(answered);
}

void SaveFileRecorder::answerHeld(const QString &reply)
{
    const SaveFileAnswer answered = std::exchange(m_heldAnswer, {});
    if (answered && m_heldContext)
        answered(reply);
}

void ProfileWriteRecorder::ProfileWritten(const QString &section, const QString &entry, const QVariant &value)
{
    writes.append(section + QLatin1Char('/') + (entry.isEmpty() ? QString() : entry + QLatin1Char('=') + value.toString()));
}

void ProfileWriteRecorder::ProfileSynced(const QString &)
{
    ++syncs;
}

QProcessEnvironment HomeEnvironment(const QString &home)
{
    const QString runtime = home + u"/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + u"/config");
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + u"/data");
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + u"/cache");
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    return environment;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteTextFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text.toUtf8()) >= 0;
}

bool WaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(5);
    QEventLoop loop;
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

QString CatalogueText(const QString &layout, const QStringList &names,
                      const std::function<QString(const QString &section)> &url)
{
    QStringList languages, sections;
    QHash<QString, QStringList> categories;
    QString lists;
    for (const QString &entry : layout.split(u';')) {
        const QString language = entry.section(u'/', 0, 0), category = entry.section(u'/', 1).section(u'=', 0, 0);
        if (!languages.contains(language))
            languages.append(language);
        categories[language].append(category);
        const QStringList engines = entry.section(u'=', 1).split(u' ', Qt::SkipEmptyParts);
        lists += u'[' + language + u"]\n" + category + u'=' + engines.join(u';') + u'\n';
        for (const QString &engine : engines) {
            if (!sections.contains(engine))
                sections.append(engine);
        }
    }
    QString text = u"[LANGUAGES]\nLanguages=" + languages.join(u';') + u"\n[CATEGORYS]\n";
    for (const QString &language : std::as_const(languages))
        text += language + u'=' + categories.value(language).join(u';') + u'\n';
    text += lists;
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const QString &section = sections.at(i);
        text += QStringLiteral("[%1]\nName=%2\nURL=%3\n")
                    .arg(section, names.value(i, u"Engine " + section),
                         url ? url(section) : QStringLiteral("http://127.0.0.1:9/%1?q=*").arg(section));
    }
    return text;
}

void UseCatalogue(const QString &folder, const QString &text)
{
    GetCatalogFile()->m_szPath = folder + u"/Quaerio.CFG";
    WriteTextFile(GetCatalogFile()->m_szPath, text);
    g_szFirstShowPath = folder + u"/firstshow.mht";
}

BesideProgram::BesideProgram(const QString &catalogue, const QString &firstShow)
{
    // An empty folder in the catalogue's place is what an interrupted
    // start-up test leaves behind.
    QDir().rmdir(Path(QStringLiteral("Quaerio.CFG")));
    WriteTextFile(Path(QStringLiteral("Quaerio.CFG")), catalogue);
    QFile::remove(Path(QStringLiteral("firstshow.mht")));
    if (!firstShow.isNull())
        WriteTextFile(Path(QStringLiteral("firstshow.mht")), firstShow);
}

BesideProgram::~BesideProgram()
{
    QFile::remove(Path(QStringLiteral("Quaerio.CFG")));
    QFile::remove(Path(QStringLiteral("firstshow.mht")));
}

QString BesideProgram::Path(const QString &name)
{
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

void Click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void Choose(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}
