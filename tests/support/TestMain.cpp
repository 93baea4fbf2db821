#include <QApplication>

#include <gtest/gtest.h>

#include "platform/Installed.h"
#include "tests/support/TestSupport.h"

// Every test program runs with a QApplication (offscreen in CTest), created
// the way the program creates its own, and with platform services that show
// nothing and start nothing.
int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    CTestPlatformServices services;
    const CInstalled<IPlatformServices> installed(services);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
