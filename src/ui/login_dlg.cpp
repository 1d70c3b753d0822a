#include "ui/login_dlg.h"

#include <QLineEdit>

#include "core/core.h"
#include "database/databases_container.h"
#include "elements/wipe_string.h"
#include "languages/text_ids.h"
#include "platform/messages.h"
#include "ui/busy_cursor.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/secure_text.h"
#include "ui/data_folder_choice.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"

namespace {

constexpr KTextPair kLoginTexts[] = {
    {texts::kLoginDescription.key(), CKLoginDlg::kDescription},
    {texts::kLoginUserCaption.key(), CKLoginDlg::kUserCaption},
    {texts::kLoginPasswordCaption.key(), CKLoginDlg::kPasswordCaption},
    {texts::kLoginMemoCaption.key(), CKLoginDlg::kMemoCaption},
    {texts::kButtonNewUser.key(), CKLoginDlg::kNewUser},
    {texts::kButtonShowMemo.key(), CKLoginDlg::kShowMemo},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKLoginDlg::kCancelButton},
    {texts::kUserShowPasswords.key(), CKLoginDlg::kShowPassword},
    {0, 0},
};

}  // namespace

CKLoginDlg::CKLoginDlg(CKDatabasesContainer& users, QWidget* parent)
    : CKResizeDialog(kTemplateId, parent), users_(users) {
  m_pTextTable = kLoginTexts;
  if (CKCore* core = TheCore()) {
    m_pPlacement = &core->m_SettingsWindows.m_stLogIn;
  }
  OnClicked(kCancelButton, this, &CKLoginDlg::OnCancel);
  OnClicked(kNewUser, this, &CKLoginDlg::OnNewUser);
  OnClicked(kShowMemo, this, &CKLoginDlg::OnShowMemo);
  OnClicked(kShowPassword, this, &CKLoginDlg::OnShowPassword);
  OnClicked(kDataFolder, this, &CKLoginDlg::OnDataFolder);
  OnClicked(kHelp, this, &CKLoginDlg::ShowHelp);
}

CKLoginDlg::~CKLoginDlg() {
  WipeEdits({kPassword});
}

bool CKLoginDlg::OnInitDialog() {
  CKResizeDialog::OnInitDialog();
  CKCore* core = TheCore();
  if (core != nullptr && core->m_SettingsRunTime.m_boolStartMinimised) {
    MinimiseToTray();
  } else {
    RestoreFromTray();
  }
  if (core != nullptr) {
    dialogs::ApplyTextsAndTitle(core->m_Languages, this, m_pTextTable);
  }
  if (users_.GetCount() == 0) {
    OnNewUser();
  }
  FillUserList(core != nullptr ? QString::fromStdU16String(core->m_SettingsInterface.m_csLastLogin)
                               : QString());
  EnableControls();
  ApplyPasswordMask();
  if (auto* password = Item<QLineEdit>(kPassword); password != nullptr && password->isEnabled()) {
    password->setFocus();
  }
  return true;
}

void CKLoginDlg::FillUserList(const QString& preferred) {
  auto* list = Item<CKComboBox>(kUserList);
  if (list == nullptr) {
    return;
  }
  list->ResetContent();
  for (const std::u16string& name : users_.FillUserList()) {
    list->AddString(QString::fromStdU16String(name));
  }
  if (list->count() > 0 && (preferred.isEmpty() || list->SelectString(preferred) < 0)) {
    list->setCurrentIndex(0);
  }
}

void CKLoginDlg::EnableControls() {
  const bool any = users_.GetCount() > 0;
  for (const int id : {kIdOk, kUserList, kPassword, kShowMemo, kShowPassword}) {
    if (QWidget* control = GetDlgItem(id)) {
      control->setEnabled(any);
    }
  }
}

void CKLoginDlg::ApplyPasswordMask() {
  if (auto* password = Item<QLineEdit>(kPassword)) {
    password->setEchoMode(show_password_ ? QLineEdit::Normal : QLineEdit::Password);
    password->update();
  }
}

void CKLoginDlg::OnOK() {
  CKCore* core = TheCore();
  auto* list = Item<CKComboBox>(kUserList);
  auto* edit = Item<QLineEdit>(kPassword);
  if (core == nullptr || list == nullptr || edit == nullptr) {
    return;
  }
  const CKLanguages& languages = core->m_Languages;
  const std::u16string name = list->GetSelectedText().toStdU16String();
  CKDatabase* database = users_.FindUser(name);
  if (database == nullptr) {
    languages.ShowMessage(texts::kMsgUserNameNeeded.entry);
    return;
  }
  QString typed = edit->text();
  std::u16string password = typed.toStdU16String();
  secure::WipeQString(typed);
  int result = 0;
  {
    BusyCursor busy;
    result = database->Load(password);
  }
  WipeString(password);
  switch (result) {
    case userfile::kOpened:
      database_ = database;
      secure::WipeLineEdit(edit);
      CKResizeDialog::OnOK();
      return;
    case userfile::kDamaged:
      languages.ShowMessageFormat(texts::kMsgUserFileDamagedOrUnwritten.entry,
                                  std::u16string_view(name));
      return;
    case userfile::kNewerFormat:
      languages.ShowMessageFormat(texts::kMsgUserFileNewer.entry, std::u16string_view(name));
      return;
    case userfile::kWrongPassword:
      secure::WipeLineEdit(edit);
      edit->setFocus();
      languages.ShowMessage(texts::kMsgPasswordNeeded.entry);
      return;
    default:
      languages.ShowMessageFormat(texts::kMsgUserFileUnreadable.entry, std::u16string_view(name));
      return;
  }
}

void CKLoginDlg::OnCancel() {
  MinimiseToTray();
}

void CKLoginDlg::OnNewUser() {
  CKCore* core = TheCore();
  const std::u16string folder_before = core != nullptr ? core->GetDataFolder() : std::u16string();
  const bool created = users_.CreateUser() != nullptr;
  // The user editor may have chosen another data folder: the list shows that folder's users.
  if (core != nullptr && core->GetDataFolder() != folder_before) {
    users_.Scan();
  }
  FillUserList(QString());
  if (users_.GetCount() > 0) {
    EnableControls();
  }
  if (created && IsInTray()) {
    // The user has just made a user here (on a first start, while the dialog waited in the
    // tray): the next thing is to log in, so the dialog comes forward.
    RestoreFromTray();
  }
}

void CKLoginDlg::OnShowMemo() {
  auto* list = Item<CKComboBox>(kUserList);
  if (list == nullptr) {
    return;
  }
  if (const CKDatabase* database = users_.FindUser(list->GetSelectedText().toStdU16String())) {
    platform::Messages().ShowMessage(database->GetMemo(), platform::MessageIcon::Information);
  }
}

void CKLoginDlg::OnShowPassword() {
  show_password_ = !show_password_;
  ApplyPasswordMask();
}

void CKLoginDlg::OnDataFolder() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  std::u16string folder;
  if (!ui::ChooseDataFolder(this, folder)) {
    return;
  }
  const QString selected = Item<CKComboBox>(kUserList) != nullptr
                               ? Item<CKComboBox>(kUserList)->GetSelectedText()
                               : QString();
  if (users_.Scan(folder) == 0) {
    core->m_Languages.ShowMessage(texts::kMsgNoUsersInFolder.entry);
    // The data folder stays what it was, and so do its users.
    users_.Scan();
    FillUserList(selected);
    EnableControls();
    return;
  }
  core->m_SettingsRunTime.ChangeUserDataFolder(folder);
  FillUserList(QString::fromStdU16String(core->m_SettingsInterface.m_csLastLogin));
  EnableControls();
}

bool CKLoginDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("log-in-dialog"));
}
