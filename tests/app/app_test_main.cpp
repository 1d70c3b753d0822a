// The start-up tests' entry. Besides the tests the program can play the parts that need a
// process of their own:
//   --hold-instance FOLDER  take the single-instance lock in FOLDER, say "held", wait to be killed
//   --check-hardening       switch core dumps and debugging off and report what took effect
#include <sys/prctl.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <cstring>

#include "app/hardening.h"
#include "app/single_instance.h"
#include "support/ui_environment.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--hold-instance") == 0) {
    QCoreApplication application(argc, argv);
    CKSingleInstance instance(QString::fromLatin1(CKSingleInstance::kInstanceName),
                              QString::fromLocal8Bit(argv[2]));
    if (instance.Acquire() != CKSingleInstance::Start::First) {
      return 3;
    }
    std::printf("held\n");
    std::fflush(stdout);
    for (;;) {
      QThread::sleep(1);
    }
  }
  if (argc == 2 && std::strcmp(argv[1], "--check-hardening") == 0) {
    const bool done = hardening::DisableCoreDumpsAndDebugging();
    rlimit core{};
    getrlimit(RLIMIT_CORE, &core);
    std::printf("%d %llu %llu %d\n", done ? 1 : 0, static_cast<unsigned long long>(core.rlim_cur),
                static_cast<unsigned long long>(core.rlim_max), prctl(PR_GET_DUMPABLE, 0, 0, 0, 0));
    return 0;
  }
  return test::RunGuiTests(argc, argv);
}
