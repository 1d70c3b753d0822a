#pragma once

#include <QPointer>
#include <QTimer>
#include <cstdint>

#include "core/hidden_window.h"
#include "ui/dialog.h"
#include "ui/global_hot_key.h"

class QMenu;

// The program's invisible main window. It keeps the tray icon (added again when a tray comes
// back), claims the global hot key, and passes tray clicks, the hot key and the wake-up of a
// second start on to the dialog that faces the user.
class CKHiddenDlg final : public CKDialog, public CKHiddenWindow {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 112;
  static constexpr int kTimerPeriodMs = 1000;

  CKHiddenDlg();
  ~CKHiddenDlg() override;

  // CKHiddenWindow
  bool Create() override;
  void Destroy() override;
  void SetActiveDialog(CKDialog* dialog) override { active_ = dialog; }
  CKDialog* GetActiveDialog() const override { return active_; }
  bool IsTrayIconShown() const override;

  // CKDialog
  bool OnInitDialog() override;
  bool ShowHelp() override { return false; }
  // Both pass on to the active dialog's ToggleTray.
  void MinimiseToTray() override;
  void RestoreFromTray() override;
  void OnTrayMenu() override;

  // The tray menu's commands: 1 About, 3 show or hide the active dialog, 5 end the program.
  void HandleTrayCommand(std::uint32_t command);
  // A second start sent its wake-up: the active dialog comes back.
  void OnWakeUp(std::uint32_t message);
  // The hot key was pressed.
  void OnHotKey();
  // The one-second look at the tray.
  void CheckTray();

  QMenu* TrayMenu() const { return menu_; }
  CKGlobalHotKey& HotKey() { return hot_key_; }
  bool IsTimerActive() const { return timer_.isActive(); }

 private:
  // The tray menu from the language's group; false when the group gives no item.
  bool RebuildTrayMenu();

  QPointer<CKDialog> active_;
  QTimer timer_;
  CKGlobalHotKey hot_key_;
  QMenu* menu_ = nullptr;
  bool created_ = false;
};
