#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/Installed.h"
#include "tests/support/TestSupport.h"

// Every test program runs in a home of its own, made afresh and removed at the end, with a
// QApplication created as the program creates its own and services that show and start nothing.
int main(int argc, char **argv)
{
    const QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quaerio-test-XXXXXX"));
    if (!home.isValid())
        return 2;
    const QProcessEnvironment environment = HomeEnvironment(home.path());
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, environment.value(QString::fromLatin1(name)).toLocal8Bit());
    qunsetenv("XDG_STATE_HOME");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    CTestPlatformServices services;
    const CInstalled<IPlatformServices> installed(services);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
