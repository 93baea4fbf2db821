// The floor under the program's memory before its first search: a bare Qt
// WebEngine window showing the same first-show page, and nothing else (no
// frame, form, catalogue or profile of the program's). It prints "loaded"
// once the page has loaded, then idles until it is ended.
//
//   bench_floor_page FILE

#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_floor_page FILE\n");
        return 2;
    }
    QWebEngineView view;
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [](bool ok) {
        std::printf(ok ? "loaded\n" : "failed\n");
        std::fflush(stdout);
    });
    view.resize(800, 600);
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return QApplication::exec();
}
