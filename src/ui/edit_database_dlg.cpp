#include "ui/edit_database_dlg.h"

#include <QLabel>
#include <QLineEdit>

#include "core/core.h"
#include "database/databases_container.h"
#include "elements/wipe_string.h"
#include "languages/text_ids.h"
#include "platform/format.h"
#include "ui/busy_cursor.h"
#include "ui/controls/combo_box.h"
#include "ui/data_folder_choice.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"

namespace {

using Dlg = CKEditDatabaseDlg;

constexpr KTextPair kNewUserTexts[] = {
    {texts::kUserNewDescription.key(), Dlg::kDescription},
    {texts::kLoginUserCaption.key(), Dlg::kNameCaption},
    {texts::kLoginPasswordCaption.key(), Dlg::kPasswordCaption},
    {texts::kUserConfirmCaption.key(), Dlg::kConfirmCaption},
    {texts::kUserShowPasswords.key(), Dlg::kShowPasswords},
    {texts::kUserMemoCaption.key(), Dlg::kMemoCaption},
    {texts::kUserRestoreButton.key(), Dlg::kRestoreUser},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

constexpr KTextPair kEditUserTexts[] = {
    {texts::kUserEditDescription.key(), Dlg::kDescription},
    {texts::kUserCurrentPasswordCaption.key(), Dlg::kNameCaption},
    {texts::kUserNewPasswordCaption.key(), Dlg::kPasswordCaption},
    {texts::kUserConfirmCaption.key(), Dlg::kConfirmCaption},
    {texts::kUserShowPasswords.key(), Dlg::kShowPasswords},
    {texts::kUserMemoCaption.key(), Dlg::kMemoCaption},
    {texts::kUserEditNote.key(), Dlg::kNote},
    {texts::kUserRestoreButton.key(), Dlg::kRestoreUser},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

// The text of an edit as a standard string; the caller wipes it.
std::u16string FieldText(const QLineEdit* edit) {
  return edit != nullptr ? edit->text().toStdU16String() : std::u16string();
}

std::u16string MemoText(const QPlainTextEdit* memo) {
  return memo != nullptr ? memo->toPlainText().toStdU16String() : std::u16string();
}

// The strings a check reads from the fields, wiped when the check is over.
struct KFields {
  explicit KFields(const CKDialog& dialog)
      : name_or_current(FieldText(dialog.Item<QLineEdit>(Dlg::kName))),
        password(FieldText(dialog.Item<QLineEdit>(Dlg::kPassword))),
        confirm(FieldText(dialog.Item<QLineEdit>(Dlg::kConfirm))),
        memo(MemoText(dialog.Item<QPlainTextEdit>(Dlg::kMemo))) {}
  KFields(const KFields&) = delete;
  KFields& operator=(const KFields&) = delete;

  std::u16string name_or_current;
  std::u16string password;
  std::u16string confirm;
  std::u16string memo;

  ~KFields() {
    WipeString(name_or_current);
    WipeString(password);
    WipeString(confirm);
    WipeString(memo);
  }
};

}  // namespace

CKEditDatabaseDlg::CKEditDatabaseDlg(CKDatabasesContainer& users, CKDatabase& database,
                                     bool new_user, QWidget* parent)
    : CKResizeDialog(kTemplateId, parent), users_(users), database_(database), new_user_(new_user) {
  m_pTextTable = new_user_ ? TextTable(kNewUserTexts) : TextTable(kEditUserTexts);
  if (CKCore* core = TheCore()) {
    m_pPlacement = &core->m_SettingsWindows.m_stDbEdit;
  }
  OnClicked(kShowPasswords, this, &CKEditDatabaseDlg::OnShowPasswords);
  OnClicked(kRestoreUser, this, &CKEditDatabaseDlg::OnRestoreUser);
  OnClicked(kDataFolder, this, &CKEditDatabaseDlg::OnDataFolder);
  OnClicked(kHelp, this, &CKEditDatabaseDlg::ShowHelp);
}

CKEditDatabaseDlg::~CKEditDatabaseDlg() {
  WipeEdits({kConfirm, kPassword, kName, kMemo});
}

bool CKEditDatabaseDlg::OnInitDialog() {
  CKResizeDialog::OnInitDialog();
  CKCore* core = TheCore();
  if (core != nullptr) {
    dialogs::ApplyTextsAndTitle(core->m_Languages, this, m_pTextTable);
    if (new_user_) {
      ShowDataFolderNote(core->m_SettingsRunTime.m_csUserDataFolder);
    } else {
      std::u16string title;
      if (core->m_Languages.GetText(texts::kUserEditTitle.group, texts::kUserEditTitle.entry,
                                    title)) {
        setWindowTitle(QString::fromStdU16String(title));
      }
    }
  }
  if (auto* name = Item<QLineEdit>(kName)) {
    name->setText(new_user_ && core != nullptr
                      ? QString::fromStdU16String(core->m_SettingsRunTime.m_csUserName)
                      : QString());
    name->setFocus();
    name->selectAll();
  }
  if (auto* memo = Item<QPlainTextEdit>(kMemo)) {
    memo->setPlainText(QString::fromStdU16String(database_.GetMemo()));
  }
  show_passwords_ = core != nullptr ? !core->m_SettingsUserBased.boolHidePasswords : false;
  ApplyPasswordMask();
  SetChecked(kShowPasswords, show_passwords_);
  return true;
}

void CKEditDatabaseDlg::ApplyPasswordMask() {
  const QLineEdit::EchoMode mode = show_passwords_ ? QLineEdit::Normal : QLineEdit::Password;
  for (const int id : {kPassword, kConfirm}) {
    if (auto* edit = Item<QLineEdit>(id)) {
      edit->setEchoMode(mode);
      edit->update();
    }
  }
  // In new-user mode the first field holds the name, which is never masked.
  if (auto* name = Item<QLineEdit>(kName)) {
    name->setEchoMode(new_user_ ? QLineEdit::Normal : mode);
    name->update();
  }
}

void CKEditDatabaseDlg::ShowDataFolderNote(const std::u16string& folder) {
  CKCore* core = TheCore();
  auto* note = Item<QLabel>(kNote);
  if (core == nullptr || note == nullptr) {
    return;
  }
  std::u16string text;
  core->m_Languages.GetText(texts::kMsgUserFileFolderNote.group,
                            texts::kMsgUserFileFolderNote.entry, text);
  note->setText(QString::fromStdU16String(platform::Format(text, std::u16string_view(folder))));
}

void CKEditDatabaseDlg::OnOK() {
  if (new_user_ ? OkNewUser() : OkEditUser()) {
    CKResizeDialog::OnOK();
  }
}

bool CKEditDatabaseDlg::OkNewUser() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return false;
  }
  const CKLanguages& languages = core->m_Languages;
  const KFields fields(*this);
  if (fields.password.empty()) {
    languages.ShowMessage(texts::kMsgPasswordNeeded.entry);
    return false;
  }
  if (fields.password != fields.confirm) {
    languages.ShowMessage(texts::kMsgPasswordsDiffer.entry);
    return false;
  }
  if (fields.name_or_current.empty()) {
    languages.ShowMessage(texts::kMsgUserNameNeeded.entry);
    return false;
  }
  if (users_.FindUser(fields.name_or_current) != nullptr) {
    languages.ShowMessageFormat(texts::kMsgUserExists.entry,
                                std::u16string_view(fields.name_or_current));
    return false;
  }
  database_.SetMemo(fields.memo);
  database_.SetName(fields.name_or_current);
  BusyCursor busy;
  database_.NewSalt();
  database_.SetPassword(fields.password);
  return true;
}

bool CKEditDatabaseDlg::OkEditUser() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return false;
  }
  const CKLanguages& languages = core->m_Languages;
  const KFields fields(*this);
  if (fields.password.empty()) {
    // Nothing typed and nothing changed: OK closes, and the caller saves the same file.
    if (fields.confirm.empty() && fields.name_or_current.empty() &&
        fields.memo == database_.GetMemo()) {
      return true;
    }
    languages.ShowMessage(texts::kMsgPasswordNeeded.entry);
    return false;
  }
  if (fields.confirm.empty() || fields.name_or_current.empty()) {
    languages.ShowMessage(texts::kMsgPasswordNeeded.entry);
    return false;
  }
  if (fields.password != fields.confirm) {
    languages.ShowMessage(texts::kMsgPasswordsDiffer.entry);
    return false;
  }
  BusyCursor busy;
  if (!database_.CheckPassword(fields.name_or_current)) {
    languages.ShowMessage(texts::kMsgCurrentPasswordWrong.entry);
    return false;
  }
  database_.SetMemo(fields.memo);
  database_.NewSalt();
  database_.SetPassword(fields.password);
  return true;
}

void CKEditDatabaseDlg::OnShowPasswords() {
  show_passwords_ = !show_passwords_;
  ApplyPasswordMask();
}

void CKEditDatabaseDlg::OnRestoreUser() {
  users_.Restore(this);
  // While a user is logged in the users stay as they are: the windows work with that user's
  // database, which the reading would replace.
  if (new_user_) {
    users_.Scan();
  }
  CKResizeDialog::OnCancel();
}

void CKEditDatabaseDlg::OnDataFolder() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  std::u16string folder;
  if (!ui::ChooseDataFolder(this, folder)) {
    return;
  }
  core->m_SettingsRunTime.ChangeUserDataFolder(folder);
  ShowDataFolderNote(folder);
}

bool CKEditDatabaseDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("new-user-dialog"));
}
