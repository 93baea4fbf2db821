// make_firstshow: renders the first-show page's HTML source with Qt WebEngine
// and saves it as MIME HTML (a single .mht file), the form Quaerio shows in
// its first result page.
//
//   make_firstshow res/firstshow.html res/firstshow.mht
//
// Run it headless with QT_QPA_PLATFORM=offscreen (and
// QTWEBENGINE_DISABLE_SANDBOX=1 as root). Exits 0 once the file is written.

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace
{
constexpr int kTimeoutMs = 120'000;

// Where the page claims to come from: a neutral address instead of the
// path of the machine that made it.
const QByteArray kPublishedLocation = "file:///firstshow.html";

int fail(const QString &message)
{
    QTextStream(stderr) << "make_firstshow: " << message << Qt::endl;
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return fail(QStringLiteral("usage: make_firstshow <page.html> <page.mht>"));
    const QString source = QFileInfo(arguments.at(1)).absoluteFilePath();
    const QString target = QFileInfo(arguments.at(2)).absoluteFilePath();
    if (!QFileInfo::exists(source))
        return fail(QStringLiteral("no such file: ") + source);
    QFile::remove(target);

    // An off-the-record profile keeps the tool from leaving a cache behind.
    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    QString error;

    QObject::connect(&profile, &QWebEngineProfile::downloadRequested, &application,
                     [&](QWebEngineDownloadRequest *download) {
                         QObject::connect(download, &QWebEngineDownloadRequest::isFinishedChanged, &application, [&, download] {
                             if (download->state() != QWebEngineDownloadRequest::DownloadCompleted)
                                 error = QStringLiteral("saving failed: ") + download->interruptReasonString();
                             QCoreApplication::exit(error.isEmpty() ? 0 : 1);
                         });
                         if (download->state() == QWebEngineDownloadRequest::DownloadRequested)
                             download->accept();
                     });
    QObject::connect(&page, &QWebEnginePage::loadFinished, &application, [&](bool ok) {
        if (!ok) {
            error = QStringLiteral("loading failed: ") + source;
            QCoreApplication::exit(1);
            return;
        }
        page.save(target, QWebEngineDownloadRequest::MimeHtmlSaveFormat);
    });
    QTimer::singleShot(kTimeoutMs, &application, [&] {
        error = QStringLiteral("timed out");
        QCoreApplication::exit(1);
    });

    page.load(QUrl::fromLocalFile(source));
    const int code = QApplication::exec();
    if (code != 0)
        return fail(error);
    QFile saved(target);
    if (!saved.open(QIODevice::ReadOnly) || saved.size() == 0)
        return fail(QStringLiteral("nothing written to ") + target);
    QByteArray mime = saved.readAll();
    saved.close();

    // Header lines name the source file; the body is quoted-printable and
    // does not contain the address, so only whole header lines change.
    const QByteArray sourceUrl = QUrl::fromLocalFile(source).toEncoded();
    QList<QByteArray> lines = mime.split('\n');
    for (QByteArray &line : lines) {
        for (const char *header : {"Snapshot-Content-Location: ", "Content-Location: "}) {
            if (line == QByteArray(header) + sourceUrl + '\r')
                line = QByteArray(header) + kPublishedLocation + '\r';
        }
    }
    mime = lines.join('\n');
    if (!saved.open(QIODevice::WriteOnly | QIODevice::Truncate) || saved.write(mime) != mime.size())
        return fail(QStringLiteral("cannot rewrite ") + target);
    return 0;
}
