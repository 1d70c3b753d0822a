#pragma once

#include "ui/resize_dialog.h"

class CKDatabase;
class CKDatabasesContainer;

// The user editor. For a new user it takes the name, the password (twice) and the memo; for
// the logged-in user it changes the password and the memo after checking the current
// password. On OK the database holds the new name, memo, salt, key and verifier and the caller
// saves it; on Cancel the database is unchanged.
class CKEditDatabaseDlg final : public CKResizeDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 155;
  static constexpr int kDescription = 580;
  static constexpr int kNameCaption = 581;
  static constexpr int kPasswordCaption = 582;
  static constexpr int kConfirmCaption = 583;
  static constexpr int kMemoCaption = 585;
  static constexpr int kName = 579;  // the name, or in edit mode the current password
  static constexpr int kPassword = 578;
  static constexpr int kConfirm = 576;
  static constexpr int kMemo = 577;
  static constexpr int kShowPasswords = 659;
  static constexpr int kDataFolder = 663;
  static constexpr int kHelp = 573;
  static constexpr int kNote = 658;
  static constexpr int kSeparator = 586;
  static constexpr int kRestoreUser = 574;
  static constexpr int kFieldLimit = 96;
  static constexpr int kMemoLimit = 512;

  CKEditDatabaseDlg(CKDatabasesContainer& users, CKDatabase& database, bool new_user,
                    QWidget* parent);
  ~CKEditDatabaseDlg() override;

  bool IsNewUser() const { return new_user_; }

  bool OnInitDialog() override;
  bool ShowHelp() override;
  void OnOK() override;

  void OnShowPasswords();
  void OnRestoreUser();
  void OnDataFolder();

 private:
  bool OkNewUser();
  bool OkEditUser();
  void ApplyPasswordMask();
  void ShowDataFolderNote(const std::u16string& folder);

  CKDatabasesContainer& users_;
  CKDatabase& database_;
  const bool new_user_;
  bool show_passwords_ = false;
};
