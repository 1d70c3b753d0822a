#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "ui/dialog.h"

namespace test {

// Ends every dialog that runs modally (the way out when a test's driver never found its
// dialog, so that the test fails instead of hanging).
void EndAllDialogs();

// Once a dialog of the type runs its modal loop, calls the action with it (from inside that
// loop, as a user's clicks would come). Gives up with a test failure after the timeout; ends
// the dialog when an assertion in the action failed.
template <typename Dialog>
void WhenRunning(std::function<void(Dialog&)> action, int timeout_ms = 20000) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeout_ms] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = dynamic_cast<Dialog*>(widget);
      if (dialog != nullptr && dialog->IsRunning()) {
        timer->stop();
        timer->deleteLater();
        delete clock;
        action(*dialog);
        // An assertion that failed inside the action left the dialog running: end it.
        if (::testing::Test::HasFatalFailure() && dialog->IsRunning()) {
          dialog->EndDialog(CKDialog::kIdCancel);
        }
        return;
      }
    }
    if (clock->elapsed() > timeout_ms) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      ADD_FAILURE() << "the expected dialog never ran";
      EndAllDialogs();
    }
  });
  timer->start();
}

// Lets queued events run (posted close requests, deferred deletions).
void ProcessEvents(int milliseconds = 20);

}  // namespace test
