#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QIcon>
#include <QPointer>
#include <QRect>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "languages/text_table.h"
#include "ui/dialog_template.h"
#include "ui/dialog_units.h"

class QEventLoop;
class QMenu;
class QSystemTrayIcon;

// What every window of the program shares: its controls made from its template, the
// application icons, tooltips and captions from the active language, a help page, a modal run
// that does not show the window by itself, and minimising into the tray and coming back.
class CKDialog : public QDialog {
  Q_OBJECT

 public:
  // The ids of the common buttons and of what a modal run returns.
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;
  // System command ids.
  static constexpr std::uint32_t kSysCommandAbout = 0x10;
  static constexpr std::uint32_t kSysCommandMinimise = 0xF020;

  enum class TrayOperation { Add = 0, Delete = 2 };

  // Makes the window and its controls from the template of that id (none when the program has
  // no such template: the modal run then fails).
  CKDialog(int template_id, QWidget* parent);
  ~CKDialog() override;

  // Runs the dialog modally: initialises it, shows it only when its template says so (its own
  // initialisation may show, minimise or hide it instead), and returns the code it ended with;
  // -1 when it has no template or an exception escaped.
  virtual int DoModal();
  // Ends a modal run with the code.
  void EndDialog(int code);
  bool IsRunning() const { return loop_ != nullptr; }

  // Common initialisation; every dialog's own calls it first. True.
  virtual bool OnInitDialog();
  // Opens the dialog's help page.
  virtual bool ShowHelp() = 0;
  // Minimises; hides the window as well while the tray option is on and a tray icon is shown.
  virtual void MinimiseToTray();
  // Shows and restores the window, or brings it to the front when it was not in the tray.
  virtual void RestoreFromTray();
  // Adds or removes the program's tray icon (this window's); the tip is cut to 127 characters.
  virtual bool NotifyTrayIcon(TrayOperation operation, const QIcon& icon, const QString& tip);
  virtual void OnTrayMenu() {}
  // MinimiseToTray when shown normally, otherwise RestoreFromTray.
  virtual void ToggleTray();
  // Kind 1 sets the close mode of the main window; others ignore it.
  virtual void SetCloseMode(std::uint32_t kind, std::uint32_t value);
  // A system-menu command: the About item shows the About box, minimising goes to the tray.
  virtual void OnSysCommand(std::uint32_t command);

  // OK (button 1, Enter) and Cancel (button 2, Escape); by default they end the dialog.
  virtual void OnOK();
  virtual void OnCancel();
  // The close box: ends the dialog with Cancel.
  virtual void OnClose();

  // Neither minimised nor maximised, and not in the tray.
  bool IsShownNormally() const;
  bool IsInTray() const { return m_bInTray; }
  bool HasTrayIcon() const { return m_bTrayIcon; }
  QSystemTrayIcon* TrayIcon() const { return tray_; }

  // The control with that id, or null.
  QWidget* GetDlgItem(int id) const;
  template <typename Control>
  Control* Item(int id) const {
    return qobject_cast<Control*>(GetDlgItem(id));
  }
  // Calls the slot (a member of the receiver, or a function) whenever the button of that id
  // is clicked; nothing when the dialog has no such button.
  template <typename Receiver, typename Slot>
  void OnClicked(int id, const Receiver* receiver, Slot slot) {
    if (auto* button = Item<QAbstractButton>(id)) {
      connect(button, &QAbstractButton::clicked, receiver, slot);
    }
  }
  // Whether the check box (or checkable button) of that id is checked; false without one.
  bool IsChecked(int id) const;
  // Checks or clears it; nothing without one.
  void SetChecked(int id, bool checked) const;
  // Empties the one-line and multi-line edits of those ids, wiping the texts they held (user
  // data or passwords); ids of other controls are passed over.
  void WipeEdits(std::span<const int> ids) const;
  void WipeEdits(std::initializer_list<int> ids) const {
    WipeEdits(std::span<const int>(ids.begin(), ids.size()));
  }
  // Every control with its template line, in template order.
  const std::vector<std::pair<QWidget*, const KControlTemplate*>>& AllControls() const {
    return all_controls_;
  }
  const KDialogTemplate* Template() const { return template_; }
  const KDialogUnits& Units() const { return units_; }
  int TemplateId() const { return template_id_; }
  TextTable GetTextTable() const { return m_pTextTable; }

  // Where the window is (position of its frame, size of its inside), as last measured.
  QRect MeasureWindow() const;

  // QDialog: OK and Cancel go through OnOK and OnCancel.
  void accept() override;
  void reject() override;

 protected:
  // Sets every control's tooltip from the text table.
  void ApplyTooltips();
  // Centres the dialog on its parent, or on the screen when it has none shown.
  void CentreOnOwner();
  // Pulls the window into the screen's work area when it lies partly outside.
  void RepositionIntoDesktop();

  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  bool m_bInTray = false;
  bool m_bTrayIcon = false;
  bool m_bMinSize = false;
  TextTable m_pTextTable;
  QRect m_rcWindow;
  int m_iMinWidth = 0;
  int m_iMinHeight = 0;
  bool m_bNoCentre = false;

 private:
  void OnTrayActivated(int reason);

  int template_id_;
  const KDialogTemplate* template_;
  KDialogUnits units_;
  std::map<int, QWidget*> controls_;
  std::vector<std::pair<QWidget*, const KControlTemplate*>> all_controls_;
  QEventLoop* loop_ = nullptr;
  int end_code_ = kIdCancel;
  bool ended_ = false;
  bool initialised_ = false;
  bool minimising_ = false;
  QSystemTrayIcon* tray_ = nullptr;
  qint64 last_trigger_ms_ = -1;
};
