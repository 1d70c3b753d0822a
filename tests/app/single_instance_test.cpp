#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include "support/temp_dir.h"

namespace {

const QString kName = QString::fromLatin1(CKSingleInstance::kInstanceName);

QString Folder(const test::TempDir& dir, mode_t mode = 0700) {
  ::chmod(dir.path().c_str(), mode);
  return QString::fromStdString(dir.path().string());
}

TEST(SingleInstance, TheSocketIsNamedAfterTheInstanceInAPrivateRuntimeFolderOnly) {
  // Other versions of the program find this one by the socket's name.
  const test::TempDir dir;
  EXPECT_EQ(CKSingleInstance(kName, Folder(dir)).SocketPath().toStdString(),
            (dir.path() / "orlavo-software-vaultquill-2-application.socket").string());

  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir.path().string()));
  const QString shared = Folder(dir, 0755);
  EXPECT_NE(CKSingleInstance::RuntimeFolder(), shared);
  const QString own = Folder(dir);
  EXPECT_EQ(CKSingleInstance::RuntimeFolder(), own);
  qputenv("XDG_RUNTIME_DIR", saved);
  // Without one the program runs on, unlocked.
  CKSingleInstance nowhere(kName, QString());
  EXPECT_EQ(nowhere.Acquire(), CKSingleInstance::Start::Unavailable);
  EXPECT_FALSE(nowhere.WakeRunning(1, 100));
}

TEST(SingleInstance, ACrashedProgramsLeftoversDoNotBlockAndASecondStartFindsTheFirst) {
  const test::TempDir dir;
  QProcess crashed;
  crashed.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--hold-instance"), Folder(dir)});
  ASSERT_TRUE(crashed.waitForReadyRead(20000));
  ASSERT_EQ(crashed.readAllStandardOutput().trimmed(), QByteArray("held"));
  crashed.kill();  // no clean-up of its lock and socket
  ASSERT_TRUE(crashed.waitForFinished(10000));

  CKSingleInstance first(kName, Folder(dir));
  ASSERT_TRUE(QFile::exists(first.LockPath()));
  ASSERT_TRUE(QFile::exists(first.SocketPath()));
  ASSERT_EQ(first.Acquire(), CKSingleInstance::Start::First);
  // The socket is the user's alone.
  struct stat info {};
  ASSERT_EQ(::stat(first.SocketPath().toLocal8Bit().constData(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 0077, 0u);
  // The wake-up itself is checked with the real program started twice (start-up tests).
  EXPECT_EQ(CKSingleInstance(kName, Folder(dir)).Acquire(), CKSingleInstance::Start::OtherRunning);
  // Once the first has ended, the next start is the first again.
  first.Release();
  EXPECT_EQ(CKSingleInstance(kName, Folder(dir)).Acquire(), CKSingleInstance::Start::First);
}

TEST(Hardening, CoreDumpsAreOffAndTheProcessIsNotDumpable) {
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--check-hardening")});
  ASSERT_TRUE(child.waitForFinished(20000));
  const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
  ASSERT_EQ(figures.size(), 4);
  EXPECT_EQ(figures[1], "0");  // RLIMIT_CORE soft
  EXPECT_EQ(figures[2], "0");  // and hard limit
#if defined(__SANITIZE_ADDRESS__)
  // The leak checker needs the process dumpable; only the limit is set then.
  EXPECT_EQ(figures[3], "1");
#else
  EXPECT_EQ(figures[0], "1");
  EXPECT_EQ(figures[3], "0");
#endif
}

}  // namespace
