#include "tests/workspace/ViewSupport.h"

#include <QTest>

#include "catalogue/CatalogFile.h"
#include "platform/ModulePaths.h"
#include "preferences/AppSettings.h"
#include "workspace/QuaerioView.h"

QString TestCatalogue()
{
    return QStringLiteral(
        "[LANGUAGES]\n"
        "Languages=English;Deutsch;Orphan\n"
        "[CATEGORYS]\n"
        "English=Web;Small;Broken\n"
        "Deutsch=Netz\n"
        "[English]\n"
        "Web=E0;E1;E2;E3;E4\n"
        "Small=S0;S1;S2\n"
        "Broken=E0;NoUrl;E2\n"
        "[Deutsch]\n"
        "Netz=D0;D1\n"
        "[Orphan]\n"
        "Error!=E3\n"
        "[E0]\nName=Alpha\nURL=http://127.0.0.1:9/alpha?q=*\n"
        "[E1]\nName=Beta\nURL=http://127.0.0.1:9/beta/*\n"
        "[E2]\nName=Gamma\nURL=http://127.0.0.1:9/gamma?q=*&lang=en\n"
        "[E3]\nName=Delta\nURL=http://127.0.0.1:9/delta?q=*\n"
        "[E4]\nName=Epsilon\nURL=http://127.0.0.1:9/epsilon?q=*\n"
        "[S0]\nName=Small Zero\nURL=http://127.0.0.1:9/s0?q=*\n"
        "[S1]\nName=Small One\nURL=http://127.0.0.1:9/s1?q=*\n"
        "[S2]\nName=Small Two\nURL=http://127.0.0.1:9/s2?q=*\n"
        "[NoUrl]\nName=Nowhere\nURL=\n"
        "[D0]\nName=Deutsch Null\nURL=http://127.0.0.1:9/d0?q=*\n"
        "[D1]\nName=Deutsch Eins\nURL=http://127.0.0.1:9/d1?q=*\n");
}

ViewHarness::ViewHarness()
{
    browsers.Install();
    DestroyAppSettings();
    WriteCatalogue(TestCatalogue());
    g_szFirstShowPath = FirstShowPath();
}

ViewHarness::~ViewHarness()
{
    DestroyAppSettings();
    DestroyCatalogFile();
}

void ViewHarness::WriteCatalogue(const QString &text)
{
    WriteTextFile(CataloguePath(), text);
    GetCatalogFile()->m_szPath = CataloguePath();
}

QString ViewHarness::CataloguePath() const
{
    return m_dir.filePath(QStringLiteral("Quaerio.CFG"));
}

QString ViewHarness::FirstShowPath() const
{
    return m_dir.filePath(QStringLiteral("firstshow.mht"));
}

std::unique_ptr<CQuaerioView> ViewHarness::MakeView()
{
    auto view = std::make_unique<CQuaerioView>();
    view->OnInitialUpdate();
    return view;
}

QStringList Navigations(const CRecordingBrowserFactory &browsers, int index)
{
    const CRecordingBrowserControl *control = browsers.Control(index);
    return control ? control->Navigations() : QStringList();
}

bool WaitFor(const std::function<bool()> &predicate)
{
    return WaitUntil(predicate, 10000);
}
