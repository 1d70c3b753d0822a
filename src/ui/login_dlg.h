#pragma once

#include "ui/resize_dialog.h"

class CKDatabase;
class CKDatabasesContainer;

// The log-in dialog: lists the users of the data folder, opens the chosen user's file with the
// typed password; from here a new user is made, a user's memo shown and the data folder
// changed. Cancel and Escape only minimise it; closing the window ends it.
class CKLoginDlg final : public CKResizeDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 157;
  static constexpr int kDescription = 537;
  static constexpr int kUserCaption = 538;
  static constexpr int kUserList = 533;
  static constexpr int kPasswordCaption = 539;
  static constexpr int kPassword = 534;
  static constexpr int kMemoCaption = 540;
  static constexpr int kShowMemo = 536;
  static constexpr int kShowPassword = 661;
  static constexpr int kDataFolder = 662;
  static constexpr int kHelp = 531;
  static constexpr int kSeparator = 541;
  static constexpr int kNewUser = 535;
  static constexpr int kCancelButton = 532;
  static constexpr int kPasswordLimit = 96;

  CKLoginDlg(CKDatabasesContainer& users, QWidget* parent);
  ~CKLoginDlg() override;

  // The user whose file opened with the password (after OK), or null.
  CKDatabase* GetDatabase() const { return database_; }

  bool OnInitDialog() override;
  bool ShowHelp() override;
  // Opens the selected user's file with the typed password.
  void OnOK() override;
  // Cancel and Escape: into the tray (or minimised).
  void OnCancel() override;

  void OnNewUser();
  void OnShowMemo();
  void OnShowPassword();
  void OnDataFolder();

 private:
  // The list shows the container's users; selected is the first that begins with `preferred`
  // (ignoring case), else the first.
  void FillUserList(const QString& preferred);
  void EnableControls();
  void ApplyPasswordMask();

  CKDatabasesContainer& users_;
  CKDatabase* database_ = nullptr;
  bool show_password_ = false;
};
