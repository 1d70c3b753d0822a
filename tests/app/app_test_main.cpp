// The start-up tests' entry. Besides the tests the program can play the parts that need a
// process of their own:
//   --hold-instance FOLDER  take the single-instance lock in FOLDER, say "held", wait to be killed
//   --check-hardening       switch core dumps and debugging off and report what took effect
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include <QApplication>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/hardening.h"
#include "app/single_instance.h"
#include "support/ui_environment.h"

namespace {

int HoldInstance(int argc, char** argv, const char* folder) {
  QCoreApplication application(argc, argv);
  CKSingleInstance instance(QString::fromLatin1(CKSingleInstance::kInstanceName),
                            QString::fromLocal8Bit(folder));
  if (instance.Acquire() != CKSingleInstance::Start::First) {
    return 3;
  }
  std::printf("held\n");
  std::fflush(stdout);
  for (;;) {
    QThread::sleep(1);
  }
}

int CheckHardening() {
  const bool done = hardening::DisableCoreDumpsAndDebugging();
  rlimit core{};
  getrlimit(RLIMIT_CORE, &core);
  const int dumpable = prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
  std::printf("%d %llu %llu %d\n", done ? 1 : 0, static_cast<unsigned long long>(core.rlim_cur),
              static_cast<unsigned long long>(core.rlim_max), dumpable);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--hold-instance") == 0) {
    return HoldInstance(argc, argv, argv[2]);
  }
  if (argc == 2 && std::strcmp(argv[1], "--check-hardening") == 0) {
    return CheckHardening();
  }
  const std::filesystem::path root = test::PrepareUiEnvironment();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int result = 0;
  {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return result;
}
