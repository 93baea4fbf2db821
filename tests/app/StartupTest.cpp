#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "app/QuaerioApp.h"
#include "platform/MessageBox.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"

// The test program has no catalogue beside it, so its own start-up takes the
// missing-catalogue path: one message, a failure exit code, and no profile use.
TEST(Startup, AMissingCatalogueEndsStartupWithOneMessageAFailureCodeAndNoProfile)
{
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Quaerio.CFG"));
    ASSERT_FALSE(QFile::exists(besideProgram)) << "this test needs no catalogue beside " << qPrintable(besideProgram);
    ResetRegistryKey();
    ProfileWriteRecorder profile;
    MessageBoxRecorder recorder;
    {
        CQuaerioApp app;
        EXPECT_NE(app.Run(), 0);
        EXPECT_EQ(app.m_pCatalog, nullptr);
        EXPECT_EQ(app.m_pSettings, nullptr);
    }
    ASSERT_EQ(recorder.calls().size(), 1u);
    EXPECT_EQ(recorder.calls()[0].text, QStringLiteral("The config file not exist !"));
    EXPECT_EQ(recorder.calls()[0].caption, QStringLiteral("Quaerio"));
    EXPECT_EQ(recorder.calls()[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(g_szCatalogPath, besideProgram);
    EXPECT_FALSE(HasRegistryKey());
    EXPECT_TRUE(profile.writes().isEmpty());
    EXPECT_EQ(profile.syncs(), 0);
}

// A directory in the catalogue's place reads as no catalogue at all, so the
// program says so rather than opening a window full of "Error!".
TEST(Startup, ADirectoryInTheCataloguesPlaceIsTreatedAsAMissingCatalogue)
{
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Quaerio.CFG"));
    ASSERT_FALSE(QFile::exists(besideProgram)) << "this test needs no catalogue beside " << qPrintable(besideProgram);
    ASSERT_TRUE(QDir().mkpath(besideProgram));
    ResetRegistryKey();
    MessageBoxRecorder recorder;
    {
        CQuaerioApp app;
        EXPECT_NE(app.Run(), 0);
        EXPECT_EQ(app.GetMainFrame(), nullptr);
    }
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("The config file not exist !")});
    EXPECT_FALSE(HasRegistryKey());
    EXPECT_TRUE(QDir().rmdir(besideProgram));
}
