#include "support/dialog_driver.h"

#include <QEventLoop>

namespace test {

void EndAllDialogs() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* dialog = qobject_cast<CKDialog*>(widget); dialog != nullptr && dialog->IsRunning()) {
      dialog->EndDialog(CKDialog::kIdCancel);
    }
  }
}

void ProcessEvents(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

}  // namespace test
