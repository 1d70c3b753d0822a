#pragma once

#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>

#include "ui/resize_dialog.h"

class CKCore;
class CKListCtrl;
class CKTLVARRAY;
class QAction;
class QMenu;
class QMenuBar;

// The window a logged-in user works in: one folder of the user's tree at a time as a list,
// the way up and down the tree, the search below the folder shown, the commands that make,
// edit, move and delete folders and notes, copying a note's fields to the clipboard, and the
// way to every other dialog. How it closes decides whether the log-in dialog comes back.
// Every change to the tree is saved at once.
class CVaultQuillDlg final : public CKResizeDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 101;
  // Controls.
  static constexpr int kAboutButton = 500;
  static constexpr int kDeleteButton = 501;
  static constexpr int kHelpButton = 502;
  static constexpr int kNewFolderButton = 503;
  static constexpr int kNewNoteButton = 504;
  static constexpr int kSettingsButton = 505;
  static constexpr int kUpButton = 506;
  static constexpr int kRootButton = 507;
  static constexpr int kEditButton = 508;
  static constexpr int kSearch = 509;
  static constexpr int kPath = 510;
  static constexpr int kList = 511;
  static constexpr int kSearchCaption = 512;
  static constexpr int kPathCaption = 513;
  static constexpr int kStatusSeparator = 514;
  static constexpr int kStatusLine = 515;
  static constexpr int kSearchLimit = 255;
  static constexpr int kStatusPeriodMs = 1000;

  // What closing the window means (the run-time flag m_boolRelogin takes it).
  enum CloseMode : std::uint32_t { kCloseQuit = 0, kCloseToLogIn = 1 };

  explicit CVaultQuillDlg(QWidget* parent = nullptr);
  // Stops the status line, saves the settings groups and, when the user wants it, empties
  // the clipboard.
  ~CVaultQuillDlg() override;

  // The log-in loop's turn for a user who has just logged in: the window runs as the core's
  // active dialog until it closes.
  static void Run(CKCore& core);

  // CKDialog
  bool OnInitDialog() override;
  bool ShowHelp() override;
  void Layout() override;
  // Minimises (into the tray when that option is on); then logs out when the user wants that
  // and no command is running.
  void MinimiseToTray() override;
  void SetCloseMode(std::uint32_t kind, std::uint32_t value) override;
  // Enter never closes the window.
  void OnOK() override;
  // Log out, Exit, the close box and the tray's exit: asks first when the user wants that.
  void OnCancel() override;
  void OnClose() override;

  // Every command of the menu bar, the accelerators and the toolbar, by menu command id.
  void OnCommand(std::uint32_t command);

  // Navigation.
  void ShowCurrentFolder();
  void UpdatePath();
  // Opens the selected row: a folder is entered, the up row goes up, anything else is edited.
  void ActivateSelected();
  void OnUp();
  void OnRoot();
  // Runs the search for the search box's text, or shows the folder again when it is empty.
  void OnSearchChanged();

  // Entries.
  void OnNewEntry(std::uint32_t kind);
  void OnEditEntry();
  void OnDeleteEntry();
  void OnMoveEntry();

  // The context menu of the list for the selected entry (none or the up row disables its
  // actions); the caller owns it. Each action carries its command.
  std::unique_ptr<QMenu> BuildEntryMenu(CKTLVARRAY* selected);
  // Runs an item of that menu on the selected entry.
  void OnEntryCommand(std::uint32_t command);

  // The one-second look at the clipboard.
  void UpdateClipboardStatus();
  // Menu titles and items, captions and title from the active language.
  void TranslateMenu();

  bool IsBusy() const { return m_bBusy; }
  std::uint32_t GetCloseMode() const { return m_dwCloseMode; }
  QMenuBar* MenuBar() const { return menu_bar_; }
  QAction* MenuAction(std::uint32_t command) const;
  CKListCtrl* List() const;
  bool IsShowingSearch() const { return showing_search_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Sets the busy flag for its lifetime (and gives back the value it found).
  class BusyScope {
   public:
    explicit BusyScope(CVaultQuillDlg& window) : window_(window), was_(window.m_bBusy) {
      window_.m_bBusy = true;
    }
    ~BusyScope() { window_.m_bBusy = was_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    CVaultQuillDlg& window_;
    bool was_;
  };

  void BuildMenuBar();
  void ConnectControls();
  // The accelerator table: true when the key gave a command (which has run).
  bool TranslateAccelerator(const QKeyEvent& key);
  static bool IsAcceleratorKey(const QKeyEvent& key);
  void OnListClicked(bool double_click);
  void OnListContextMenu(const QPoint& position);
  // Shows the current folder again, or the search result while the search box holds text.
  void RefreshList();
  // Saves the logged-in user's file; the database reports a failure itself.
  void SaveDatabase();
  void ClearSearch();
  void EndWindow();

  // Tools and help.
  void OnSettings();
  void OnGenerator();
  void OnPersonalData();
  void OnClearClipboard();
  void OnOpenDataFolder();
  void OnBackUp();
  void OnRestore();
  void OnAbout();
  void OnVisitWebsite();

  bool m_bBusy = false;
  std::uint32_t m_dwCloseMode = kCloseToLogIn;
  bool m_bStatusGuard = true;
  QTimer status_timer_;
  QMenuBar* menu_bar_ = nullptr;
  std::map<std::uint32_t, QAction*> actions_;
  QMenu* menus_[3] = {nullptr, nullptr, nullptr};
  bool showing_search_ = false;
  bool closing_ = false;
  // With single clicks, the click that ends a double click opens nothing more.
  bool swallow_click_ = false;
};
