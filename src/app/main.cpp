// VaultQuill, the desktop program.
#include <QApplication>

#include "app/hardening.h"
#include "app/vaultquill_app.h"
#include "core/qt_platform.h"

int main(int argc, char* argv[]) {
  hardening::DisableCoreDumpsAndDebugging();
  QApplication application(argc, argv);
  // The windows come and go with the log-in loop; the last one closing ends nothing.
  QApplication::setQuitOnLastWindowClosed(false);
  const CKQtPlatform platform;
  CVaultQuillApp app;
  app.InitInstance();
  return 0;
}
