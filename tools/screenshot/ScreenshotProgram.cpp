// Takes the README's picture of the main window: the catalogue shipped with
// the program, its first category's engines answered by loopback servers that
// stand in for them (one address each, 127.0.0.2, 127.0.0.3, ...), the engine
// list shown, a search typed and run, and the window saved while two engines
// still hold their answers, so the list and the tabs show progress live; the
// search is then let finish and must reach "Complete".
//
//   quaerio_screenshot OUTPUT.png
//
// It writes its catalogue and first-show page beside itself and keeps its
// settings in a temporary profile; run it on a display (tools/screenshot.sh
// starts a virtual one).

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <cstdio>
#include <memory>
#include <vector>

#include "app/QuaerioApp.h"
#include "browsers/webengine/ResultProfile.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "catalogue/CatalogFile.h"
#include "frame/MainFrame.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"
#include "workspace/QuaerioView.h"

namespace
{
const QString kShipped = QStringLiteral(QUAERIO_SOURCE_DIR "/res/Quaerio.CFG");
const QString kKeywords = QStringLiteral("open source desktop search");
constexpr int kTimeoutMs = 60000;

QString Read(const CCatalogFile &catalogue, const QString &section, const QString &key)
{
    QString value;
    catalogue.ReadString(section, key, value, kCatalogListCapacity);
    return value;
}

// The first category's engine sections of the shipped catalogue, in order.
QStringList FirstCategoryEngines()
{
    CCatalogFile catalogue;
    catalogue.m_szPath = kShipped;
    QStringList languages, categories, engines;
    SplitString(Read(catalogue, QStringLiteral("LANGUAGES"), QStringLiteral("Languages")), languages, u';');
    SplitString(Read(catalogue, QStringLiteral("CATEGORYS"), languages.value(0)), categories, u';');
    SplitString(Read(catalogue, languages.value(0), categories.value(0)), engines, u';');
    return engines;
}

// A result list as an engine might show it, saying plainly that it is a
// loopback stand-in.
QByteArray StandInPage(const QString &engine)
{
    QString page = u"<!doctype html><html><head><meta charset='utf-8'><title>" + engine +
                   u" (loopback stand-in)</title><style>body{font-family:sans-serif;margin:16px 24px;color:#202124}"
                   u"h1{font-size:18px;color:#1a0dab}.r{margin:14px 0}.r a{font-size:16px;color:#1a0dab}"
                   u".u{color:#006621;font-size:13px}.s{font-size:13px;color:#4d5156}</style></head><body><h1>" +
                   engine + u": results for \u201c" + kKeywords + u"\u201d</h1><p class='s'>A page served on 127.0.0.x"
                   u" standing in for the engine.</p>";
    const char16_t *titles[] = {u"Open source desktop search tools compared", u"Searching your files: a short guide",
                                u"Meta-search: asking many engines at once", u"Desktop search on Linux, 2026 edition"};
    for (const char16_t *title : titles)
        page += u"<div class='r'><a href='#'>" + QString::fromUtf16(title) + u"</a><div class='u'>example.org</div>"
                u"<div class='s'>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod.</div></div>";
    return (page + u"</body></html>").toUtf8();
}

// The shipped catalogue with each first-category engine's address on a
// server of its own and every other engine's on the first server.
QString CatalogueOnLoopback(const QStringList &engines, const std::vector<std::unique_ptr<LoopbackHttpServer>> &servers)
{
    QFile file(kShipped);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QString section;
    for (QString &line : lines) {
        if (line.startsWith(u'['))
            section = line.mid(1, line.indexOf(u']') - 1);
        else if (line.startsWith(QStringLiteral("URL="))) {
            const qsizetype k = engines.indexOf(section);
            line = u"URL=" + servers[size_t(std::max<qsizetype>(k, 0))]->url(QStringLiteral("/?q=*"));
        }
    }
    return lines.join(u'\n');
}

// The engines that answer only after the picture is taken (the second and
// the fourth), so that it shows pages still loading beside loaded ones.
bool IsSlowEngine(qsizetype k)
{
    return k == 1 || k == 3;
}

int TakeScreenshot(const QString &out)
{
    const QStringList engines = FirstCategoryEngines();
    std::vector<std::unique_ptr<LoopbackHttpServer>> servers;
    CCatalogFile names;
    names.m_szPath = kShipped;
    for (qsizetype k = 0; k < engines.size(); ++k) {
        auto server = std::make_unique<LoopbackHttpServer>();
        if (!server->listen(QHostAddress(u"127.0.0." + QString::number(k + 2)))) {
            std::fprintf(stderr, "cannot listen on 127.0.0.%d\n", int(k + 2));
            return 1;
        }
        server->setRoute(QStringLiteral("/"), StandInPage(Read(names, engines.at(k), QStringLiteral("Name"))));
        server->setHoldAnswers(IsSlowEngine(k));
        servers.push_back(std::move(server));
    }
    if (servers.empty() || !WriteTextFile(BesideProgram::Path(QStringLiteral("Quaerio.CFG")), CatalogueOnLoopback(engines, servers))) {
        std::fprintf(stderr, "cannot write the catalogue\n");
        return 1;
    }
    QFile::remove(BesideProgram::Path(QStringLiteral("firstshow.mht")));
    QFile::copy(QStringLiteral(QUAERIO_SOURCE_DIR "/res/firstshow.mht"), BesideProgram::Path(QStringLiteral("firstshow.mht")));

    TempProfile profile;
    // The engine list shown under the form.
    WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Extended"), 1);
    CWebEngineBrowserControlFactory controls;
    const CInstalled<IBrowserControlFactory> installed(controls);
    auto app = std::make_unique<CQuaerioApp>();
    if (!app->InitInstance())
        return 1;
    CMainFrame *frame = app->GetMainFrame();
    frame->resize(1100, 760);
    if (!QTest::qWaitForWindowExposed(frame))
        std::fprintf(stderr, "the window was not exposed\n");
    auto *keywords = app->GetView()->findChild<QComboBox *>(QString::number(IDC_CBO_KEYWORDS));
    keywords->lineEdit()->setText(kKeywords);
    QTest::keyClick(keywords->lineEdit(), Qt::Key_Return);
    // Every engine asked, and all but the slow ones answered and loaded.
    auto *list = app->GetView()->findChild<QTableWidget *>(QString::number(IDC_LST_ENGINES));
    const bool othersLoaded = WaitUntil([&] {
        for (size_t k = 0; k < servers.size(); ++k) {
            const bool asked = IsSlowEngine(qsizetype(k)) ? servers[k]->heldCount() > 0 : servers[k]->requestCount() > 0;
            const bool loaded = IsSlowEngine(qsizetype(k)) || list->item(int(k), 1)->text() == QStringLiteral("100%");
            if (!asked || !loaded)
                return false;
        }
        return true;
    }, kTimeoutMs);
    // Only for the picture: let the compositor paint the page shown.
    WaitUntil([] { return false; }, 1500);
    QDir().mkpath(QFileInfo(out).absolutePath());
    const bool saved = frame->grab().save(out);
    for (const auto &server : servers) {
        server->setHoldAnswers(false);
        server->releaseHeld();
    }
    const bool complete = othersLoaded && WaitUntil([&] { return frame->GetMessageText() == QStringLiteral("Complete"); }, kTimeoutMs);
    frame->close();
    app.reset();
    QFile::remove(BesideProgram::Path(QStringLiteral("Quaerio.CFG")));
    QFile::remove(BesideProgram::Path(QStringLiteral("firstshow.mht")));
    if (!complete || !saved)
        std::fprintf(stderr, "%s\n", complete ? "cannot save the picture" : "the search did not complete");
    return complete && saved ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: quaerio_screenshot OUTPUT.png\n");
        return 2;
    }
    CTestPlatformServices services;
    const CInstalled<IPlatformServices> installed(services);
    return TakeScreenshot(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
}
