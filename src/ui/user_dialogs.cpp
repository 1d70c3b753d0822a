#include "ui/user_dialogs.h"

#include "core/core.h"
#include "ui/edit_database_dlg.h"
#include "ui/login_dlg.h"

CKUserDialogs::CKUserDialogs() : previous_(platform::InstallDialogs(this)) {}

CKUserDialogs::~CKUserDialogs() {
  platform::InstallDialogs(previous_);
}

CKDatabase* CKUserDialogs::RunLogIn(CKDatabasesContainer& users) {
  CKLoginDlg dialog(users, nullptr);
  CKCore* core = TheCore();
  if (core != nullptr) {
    core->SetActiveDialog(&dialog);
  }
  const int result = dialog.DoModal();
  if (core != nullptr) {
    core->SetActiveDialog(nullptr);
  }
  return result == CKDialog::kIdOk ? dialog.GetDatabase() : nullptr;
}

bool CKUserDialogs::RunUserEditor(CKDatabasesContainer& users, CKDatabase& database,
                                  bool new_user) {
  CKEditDatabaseDlg dialog(users, database, new_user, nullptr);
  return dialog.DoModal() == CKDialog::kIdOk;
}
