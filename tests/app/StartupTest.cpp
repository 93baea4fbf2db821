#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/QuaerioApp.h"
#include "catalogue/CatalogFile.h"
#include "platform/MessageBox.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"

// The test program has no catalogue beside it, so its own start-up takes the
// missing-catalogue path: one message, a failure exit code, and no profile.
TEST(Startup, AMissingCatalogueEndsStartupWithOneMessageAFailureCodeAndNoProfile)
{
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Quaerio.CFG"));
    ASSERT_FALSE(QFile::exists(besideProgram)) << "this test needs no catalogue beside " << qPrintable(besideProgram);
    ResetRegistryKey();
    int writes = 0;
    const ProfileWriteObserver previous = SetProfileWriteObserver([&](const QString &, const QString &, const QVariant &) {
        ++writes;
    });

    MessageBoxRecorder recorder;
    {
        CQuaerioApp app;
        EXPECT_EQ(app.Run(), kStartupFailedExitCode);
        EXPECT_NE(kStartupFailedExitCode, 0);
        EXPECT_EQ(app.m_pCatalog, nullptr);
        EXPECT_EQ(app.m_pSettings, nullptr);
        EXPECT_EQ(app.GetMainFrame(), nullptr);
    }
    ASSERT_EQ(recorder.calls().size(), 1u);
    EXPECT_EQ(recorder.calls()[0].text, QStringLiteral("The config file not exist !"));
    EXPECT_EQ(recorder.calls()[0].caption, QStringLiteral("Quaerio"));
    EXPECT_EQ(recorder.calls()[0].type, MB_OK | MB_ICONEXCLAMATION);

    EXPECT_EQ(g_szModulePath, QCoreApplication::applicationFilePath());
    EXPECT_EQ(g_szCatalogPath, besideProgram);
    // The profile root was never set, so nothing could be read or written.
    EXPECT_FALSE(HasRegistryKey());
    EXPECT_EQ(writes, 0);
    SetProfileWriteObserver(previous);
}

TEST(MessageLog, BoxesAreAppendedToTheNamedFileAndAnsweredAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("messages.log"));
    ASSERT_TRUE(qputenv("QUAERIO_MESSAGE_LOG", QFile::encodeName(log)));

    EXPECT_EQ(AfxMessageBox(QStringLiteral("The config file not exist !")), IDOK);
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Overwrite?\nReally"), MB_YESNO | MB_ICONQUESTION), IDYES);
    {
        // A recorder still sees the boxes first; the log does not.
        MessageBoxRecorder recorder(IDNO);
        EXPECT_EQ(AfxMessageBox(QStringLiteral("recorded only"), MB_YESNO), IDNO);
    }
    qunsetenv("QUAERIO_MESSAGE_LOG");

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              QStringLiteral("Quaerio\tThe config file not exist !\nQuaerio\tOverwrite?\\nReally\n"));
}
