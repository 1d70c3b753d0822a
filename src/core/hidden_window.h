#pragma once

class CKDialog;

// What the core needs of the program's invisible main window (the tray icon, the global hot
// key and the wake-up of a second start live there). The interface layer implements it; the
// core owns it.
class CKHiddenWindow {
 public:
  virtual ~CKHiddenWindow() = default;

  // Makes the window: the tray icon, the one-second check of the tray, the hot key. False
  // when the window cannot be made.
  virtual bool Create() = 0;
  // Gives back what Create claimed: the timer, the hot key and the tray icon.
  virtual void Destroy() = 0;
  // The dialog that faces the user (none between two of them); it receives the tray clicks,
  // the hot key and the wake-up.
  virtual void SetActiveDialog(CKDialog* dialog) = 0;
  virtual CKDialog* GetActiveDialog() const = 0;
  // Whether the program's tray icon is on a tray the user can see now: only then may a
  // minimised dialog hide itself.
  virtual bool IsTrayIconShown() const = 0;
};
