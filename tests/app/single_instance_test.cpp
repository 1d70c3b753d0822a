#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "support/temp_dir.h"

namespace {

const QString kName = QString::fromLatin1(CKSingleInstance::kInstanceName);

QString Folder(const test::TempDir& dir) {
  ::chmod(dir.path().c_str(), 0700);
  return QString::fromStdString(dir.path().string());
}

TEST(SingleInstance, TheNamesComeFromTheInstanceName) {
  EXPECT_EQ(CKSingleInstance::BaseName(kName),
            QStringLiteral("orlavo-software-vaultquill-2-application"));
  const std::uint32_t wake_up = CKSingleInstance::WakeUpMessage(kName);
  EXPECT_GE(wake_up, 0xC000u);
  EXPECT_LE(wake_up, 0xFFFFu);
  EXPECT_EQ(wake_up, CKSingleInstance::WakeUpMessage(kName));
  EXPECT_NE(wake_up, CKSingleInstance::WakeUpMessage(kName + QStringLiteral("!")));

  const test::TempDir dir;
  const CKSingleInstance instance(kName, Folder(dir));
  EXPECT_EQ(instance.SocketPath().toStdString(),
            (dir.path() / "orlavo-software-vaultquill-2-application.socket").string());
}

TEST(SingleInstance, OnlyThePrivateRuntimeFolderOfTheUserIsUsed) {
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  const test::TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir.path().string()));
  EXPECT_NE(CKSingleInstance::RuntimeFolder().toStdString(), dir.path().string());
  ::chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(CKSingleInstance::RuntimeFolder().toStdString(), dir.path().string());
  qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(SingleInstance, TheSecondStartFindsTheFirstAndWakesIt) {
  const test::TempDir dir;
  CKSingleInstance first(kName, Folder(dir));
  ASSERT_EQ(first.Acquire(), CKSingleInstance::Start::First);
  QSignalSpy woken(&first, &CKSingleInstance::WakeUpReceived);

  // The socket is the user's alone.
  struct stat info {};
  ASSERT_EQ(::stat(first.SocketPath().toLocal8Bit().constData(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 0077, 0u);

  CKSingleInstance second(kName, Folder(dir));
  ASSERT_EQ(second.Acquire(), CKSingleInstance::Start::OtherRunning);
  EXPECT_TRUE(second.WakeRunning(0xC0DE));
  ASSERT_TRUE(woken.wait(5000));
  EXPECT_EQ(woken.front().front().value<std::uint32_t>(), 0xC0DEu);

  // Once the first has ended, the next start is the first again.
  first.Release();
  CKSingleInstance third(kName, Folder(dir));
  EXPECT_EQ(third.Acquire(), CKSingleInstance::Start::First);
}

TEST(SingleInstance, WhatACrashedProgramLeftBehindDoesNotBlockTheNextStart) {
  const test::TempDir dir;
  QProcess crashed;
  crashed.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--hold-instance"), Folder(dir)});
  ASSERT_TRUE(crashed.waitForReadyRead(20000));
  ASSERT_EQ(crashed.readAllStandardOutput().trimmed(), QByteArray("held"));
  crashed.kill();  // no clean-up of its lock and socket
  ASSERT_TRUE(crashed.waitForFinished(10000));

  CKSingleInstance next(kName, Folder(dir));
  ASSERT_TRUE(QFile::exists(next.LockPath()));
  ASSERT_TRUE(QFile::exists(next.SocketPath()));
  ASSERT_EQ(next.Acquire(), CKSingleInstance::Start::First);
  QSignalSpy woken(&next, &CKSingleInstance::WakeUpReceived);
  CKSingleInstance later(kName, Folder(dir));
  ASSERT_EQ(later.Acquire(), CKSingleInstance::Start::OtherRunning);
  EXPECT_TRUE(later.WakeRunning(0xC001));
  EXPECT_TRUE(woken.wait(5000));
}

TEST(SingleInstance, WithoutARuntimeFolderTheProgramRunsOnUnlocked) {
  CKSingleInstance nowhere(kName, QString());
  EXPECT_EQ(nowhere.Acquire(), CKSingleInstance::Start::Unavailable);
  EXPECT_FALSE(nowhere.WakeRunning(1, 100));
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
