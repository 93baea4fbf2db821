#include <QApplication>

#include <gtest/gtest.h>

// Every test program runs with a QApplication (offscreen in CTest), created
// the way the program creates its own.
int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
