#include "tests/app/WorkspaceAppSupport.h"

#include <QCoreApplication>
#include <QFile>

#include "app/QuaerioApp.h"
#include "frame/MainFrame.h"

QString WorkspaceCatalogue(const QString &baseUrl)
{
    QString text = QStringLiteral("[LANGUAGES]\nLanguages=English;Deutsch\n"
                                  "[CATEGORYS]\nEnglish=Web;Small\nDeutsch=Netz\n"
                                  "[English]\nWeb=E0;E1;E2;E3;E4\nSmall=S0;S1;S2\n"
                                  "[Deutsch]\nNetz=D0;D1\n");
    const QStringList sections = {QStringLiteral("E0"), QStringLiteral("E1"), QStringLiteral("E2"),
                                  QStringLiteral("E3"), QStringLiteral("E4"), QStringLiteral("S0"),
                                  QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("D0"),
                                  QStringLiteral("D1")};
    for (const QString &section : sections)
        text += u'[' + section + u"]\nName=Engine " + section + u"\nURL=" + baseUrl + u'/' + section.toLower()
            + u"?q=*\n";
    return text;
}

ProgramHarness::ProgramHarness()
{
    browsers.Install();
    WriteTextFile(CataloguePath(), WorkspaceCatalogue(QStringLiteral("http://127.0.0.1:9")));
    WriteTextFile(FirstShowPath(), QStringLiteral("<html><title>first</title></html>"));
}

ProgramHarness::~ProgramHarness()
{
    Stop();
    QFile::remove(CataloguePath());
    QFile::remove(FirstShowPath());
}

CQuaerioApp *ProgramHarness::Start()
{
    Stop();
    m_app = std::make_unique<CQuaerioApp>();
    if (!m_app->InitInstance()) {
        m_app.reset();
        return nullptr;
    }
    return m_app.get();
}

void ProgramHarness::Stop()
{
    if (!m_app)
        return;
    if (CMainFrame *frame = m_app->GetMainFrame())
        frame->close();
    m_app.reset();
}

QString ProgramHarness::CataloguePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Quaerio.CFG");
}

QString ProgramHarness::FirstShowPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/firstshow.mht");
}
