#include "ui/settings_dlg.h"

#include <QLineEdit>

#include "core/core.h"
#include "database/database.h"
#include "elements/wipe_string.h"
#include "files/file_utils.h"
#include "languages/text_ids.h"
#include "platform/profile_store.h"
#include "platform/text_case.h"
#include "settings/user_folders.h"
#include "ui/controls/adv_button.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/hot_key_ctrl.h"
#include "ui/controls/secure_text.h"
#include "ui/data_folder_choice.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"
#include "ui/hidden_dlg.h"

namespace {

using Dlg = CKSettingsDlg;

constexpr KTextPair kSettingsTexts[] = {
    {texts::kSetStartUp.key(), Dlg::kStartUp},
    {texts::kSetSystemTray.key(), Dlg::kSystemTray},
    {texts::kSetRunMinimised.key(), Dlg::kRunMinimised},
    {texts::kSetAskForExit.key(), Dlg::kAskForExit},
    {texts::kSetCleanClipboard.key(), Dlg::kCleanClipboard},
    {texts::kSetLogOutOnMinimise.key(), Dlg::kLogOutOnMinimise},
    {texts::kSetLanguageCaption.key(), Dlg::kLanguageCaption},
    {texts::kSetProgramGroup.key(), Dlg::kProgramGroup},
    {texts::kSetSecurityGroup.key(), Dlg::kSecurityGroup},
    {texts::kSetAutoFill.key(), Dlg::kAutoFill},
    {texts::kSetHotKey.key(), Dlg::kHotKeyOn},
    {texts::kSetDataFolderCaption.key(), Dlg::kDataFolderCaption},
    {texts::kSetHidePasswords.key(), Dlg::kHidePasswords},
    {texts::kSetCheckForUpdates.key(), Dlg::kCheckForUpdates},
    {texts::kSetSingleClick.key(), Dlg::kSingleClick},
    {texts::kSetDefaultLoginCaption.key(), Dlg::kDefaultLoginCaption},
    {texts::kSetDefaultEmailCaption.key(), Dlg::kDefaultEmailCaption},
    {texts::kSetNote.key(), Dlg::kNote},
    {texts::kButtonOk.key(), CKDialog::kIdOk},
    {texts::kButtonCancel.key(), CKDialog::kIdCancel},
    {0, 0},
};

constexpr KTextPair kSettingsTips[] = {
    {texts::kTipHelp.key(), Dlg::kHelp},
    {texts::kTipSetStartUp.key(), Dlg::kStartUp},
    {texts::kTipSetSystemTray.key(), Dlg::kSystemTray},
    {texts::kTipSetRunMinimised.key(), Dlg::kRunMinimised},
    {texts::kTipSetAskForExit.key(), Dlg::kAskForExit},
    {texts::kTipSetLanguage.key(), Dlg::kLanguageCaption},
    {texts::kTipSetLanguage.key(), Dlg::kLanguage},
    {texts::kTipSetCleanClipboard.key(), Dlg::kCleanClipboard},
    {texts::kTipSetLogOutOnMinimise.key(), Dlg::kLogOutOnMinimise},
    {0, 0},
};

// The text of an edit; the caller wipes it when it is user data.
std::u16string EditText(const CKDialog& dialog, int id) {
  const auto* edit = dialog.Item<QLineEdit>(id);
  return edit != nullptr ? edit->text().left(Dlg::kFieldLimit).toStdU16String() : std::u16string();
}

void SetEditText(const CKDialog& dialog, int id, const std::u16string& text) {
  if (auto* edit = dialog.Item<QLineEdit>(id)) {
    secure::WipeLineEdit(edit);
    edit->setText(QString::fromStdU16String(text));
  }
}

// Makes the folder and any missing folder above it (new ones private to the user).
bool MakeDataFolder(const std::u16string& folder) {
  std::u16string failed;
  return settings::CreateFolderPath(folder, failed);
}

void ReplaceString(std::u16string& target, const std::u16string& value) {
  WipeString(target);
  target = value;
}

// The hidden window's hot key follows the settings at once: turned off, the key is given back
// to the desktop; turned on or changed, it is claimed anew (quietly left unclaimed when another
// program holds it). A key that could not be claimed at start is tried again.
void ApplyHotKey(CKCore& core, bool changed) {
  auto* hidden = dynamic_cast<CKHiddenDlg*>(&core.GetHiddenDlg());
  if (hidden == nullptr) {
    return;
  }
  const CKSettingsInterface& settings = core.m_SettingsInterface;
  CKGlobalHotKey& hot_key = hidden->HotKey();
  if (!settings.m_boolHotKey) {
    hot_key.Unregister();
  } else if (changed || !hot_key.IsRegistered()) {
    hot_key.Register(settings.m_wordVirtKey, settings.m_wordKeyMod);
  }
}

}  // namespace

CKSettingsDlg::CKSettingsDlg(QWidget* parent) : CKDialog(kTemplateId, parent) {
  m_pTextTable = kSettingsTips;
  LoadValues();
  OnClicked(kHelp, this, &CKSettingsDlg::ShowHelp);
  OnClicked(kBrowse, this, &CKSettingsDlg::OnBrowseDataFolder);
  if (auto* list = Item<CKComboBox>(kLanguage)) {
    // Only a choice of the user's counts, not the filling of the list.
    connect(list, &QComboBox::activated, this, &CKSettingsDlg::OnLanguageChosen);
  }
}

CKSettingsDlg::~CKSettingsDlg() {
  WipeEdits({kDefaultLogin, kDefaultEmail});
  WipeString(values_.default_login);
  WipeString(values_.default_email);
}

void CKSettingsDlg::LoadValues() {
  const CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  const CKSettingsInterface& program = core->m_SettingsInterface;
  values_.start_up = program.m_boolStartUp;
  values_.system_tray = program.m_boolSystemTray;
  values_.run_minimised = program.m_boolRunMinimised;
  values_.ask_for_exit = program.m_boolAskForExit;
  values_.check_for_updates = program.m_boolCheckForUpdates;
  values_.hot_key_on = program.m_boolHotKey;
  values_.virtual_key = program.m_wordVirtKey;
  values_.key_modifiers = program.m_wordKeyMod;
  const CKSettingsUserBased& user = core->m_SettingsUserBased;
  values_.auto_fill = user.boolAutoFillNewNotesWithDefaults;
  values_.single_click = user.boolSingleClickInterface;
  values_.hide_passwords = user.boolHidePasswords;
  values_.clean_clipboard = user.boolCleanClipboardOnExit;
  values_.log_out_on_minimise = user.boolLogOutOnMinimize;
  values_.default_login = user.stringDefaultLogin;
  values_.default_email = user.stringDefaultEmail;
  // In portable mode the user files live beside the program whatever is stored, so the dialog
  // shows that folder and offers no other.
  portable_ = core->m_SettingsRunTime.m_boolPortable;
  if (portable_) {
    values_.data_folder = core->m_SettingsRunTime.m_csUserDataFolder;
  } else {
    values_.data_folder = platform::Profile().GetProfileString(
        CKSettingsRunTime::kGroupName, CKSettingsRunTime::kUserDataFolderKey, u"");
  }
  stored_data_folder_ = values_.data_folder;
}

bool CKSettingsDlg::OnInitDialog() {
  CKDialog::OnInitDialog();
  ApplyLanguageTexts();
  if (const CKCore* core = TheCore()) {
    if (auto* list = Item<CKComboBox>(kLanguage)) {
      std::vector<std::u16string> names;
      core->m_Languages.GetNames(names);
      list->ResetContent();
      for (const std::u16string& name : names) {
        list->AddString(QString::fromStdU16String(name));
      }
    }
    SelectLanguage(core->m_Languages.GetActiveName());
  }
  if (auto* hot_key_on = Item<CKAdvButton>(kHotKeyOn)) {
    hot_key_on->AddDependent(kHotKey);
  }
  if (portable_) {
    for (const int id : {kDataFolder, kBrowse}) {
      if (QWidget* control = GetDlgItem(id)) {
        control->setEnabled(false);
      }
    }
  }
  ShowValues();
  if (QWidget* first = GetDlgItem(kStartUp)) {
    first->setFocus();
  }
  return true;
}

void CKSettingsDlg::ApplyLanguageTexts() {
  if (const CKCore* core = TheCore()) {
    dialogs::ApplyTextsAndTitle(core->m_Languages, this, kSettingsTexts);
    ApplyTooltips();
  }
}

void CKSettingsDlg::SelectLanguage(const std::u16string& name) {
  auto* list = Item<CKComboBox>(kLanguage);
  if (list == nullptr || list->count() == 0) {
    return;
  }
  list->setCurrentIndex(0);
  list->SelectString(QString::fromStdU16String(name));
  // A prefix may match a longer name first; the exact name wins where it is listed.
  for (int i = 0; i < list->count(); ++i) {
    if (platform::EqualsIgnoringCase(list->itemText(i).toStdU16String(), name)) {
      list->setCurrentIndex(i);
      break;
    }
  }
}

void CKSettingsDlg::ShowValues() {
  SetChecked(kStartUp, values_.start_up);
  SetChecked(kSystemTray, values_.system_tray);
  SetChecked(kRunMinimised, values_.run_minimised);
  SetChecked(kAskForExit, values_.ask_for_exit);
  SetChecked(kAutoFill, values_.auto_fill);
  SetChecked(kCheckForUpdates, values_.check_for_updates);
  SetChecked(kSingleClick, values_.single_click);
  SetChecked(kHidePasswords, values_.hide_passwords);
  SetChecked(kCleanClipboard, values_.clean_clipboard);
  SetChecked(kLogOutOnMinimise, values_.log_out_on_minimise);
  SetEditText(*this, kDefaultLogin, values_.default_login);
  SetEditText(*this, kDefaultEmail, values_.default_email);
  SetEditText(*this, kDataFolder, values_.data_folder);
  if (auto* hot_key = Item<CKHotKeyCtrl>(kHotKey)) {
    hot_key->SetHotKey(values_.virtual_key, values_.key_modifiers);
  }
  if (auto* hot_key_on = Item<CKAdvButton>(kHotKeyOn)) {
    hot_key_on->SetCheck(values_.hot_key_on);
  }
}

void CKSettingsDlg::ReadControls() {
  values_.start_up = IsChecked(kStartUp);
  values_.system_tray = IsChecked(kSystemTray);
  values_.run_minimised = IsChecked(kRunMinimised);
  values_.ask_for_exit = IsChecked(kAskForExit);
  values_.auto_fill = IsChecked(kAutoFill);
  values_.check_for_updates = IsChecked(kCheckForUpdates);
  values_.single_click = IsChecked(kSingleClick);
  values_.hide_passwords = IsChecked(kHidePasswords);
  values_.clean_clipboard = IsChecked(kCleanClipboard);
  values_.log_out_on_minimise = IsChecked(kLogOutOnMinimise);
  values_.hot_key_on = IsChecked(kHotKeyOn);
  if (const auto* hot_key = Item<CKHotKeyCtrl>(kHotKey)) {
    values_.virtual_key = hot_key->GetVirtualKey();
    values_.key_modifiers = hot_key->GetModifiers();
  }
  ReplaceString(values_.default_login, EditText(*this, kDefaultLogin));
  ReplaceString(values_.default_email, EditText(*this, kDefaultEmail));
  if (!portable_) {
    values_.data_folder = EditText(*this, kDataFolder);
  }
}

void CKSettingsDlg::OnLanguageChosen(int index) {
  CKCore* core = TheCore();
  auto* list = Item<CKComboBox>(kLanguage);
  if (core == nullptr || list == nullptr || index < 0) {
    return;
  }
  CKLanguages& languages = core->m_Languages;
  std::u16string& configured = core->m_SettingsInterface.m_csLanguage;
  const std::u16string chosen = list->itemText(index).toStdU16String();
  const std::u16string previous = languages.GetActiveName();
  if (platform::EqualsIgnoringCase(chosen, previous)) {
    // The language in use: nothing to switch. A setting that named a missing language now
    // names this one.
    configured = chosen;
    return;
  }
  if (languages.Activate(chosen)) {
    configured = chosen;
    ApplyLanguageTexts();
    languages.ShowLanguageNotice();
    return;
  }
  // A file that became unreadable may have been made active all the same, without texts.
  languages.Activate(previous);
  SelectLanguage(previous);
  languages.ShowMessage(texts::kMsgLanguageNotActivated.entry);
}

void CKSettingsDlg::OnBrowseDataFolder() {
  CKCore* core = TheCore();
  if (core == nullptr || portable_) {
    return;
  }
  ReadControls();
  std::u16string folder;
  if (!ui::ChooseDataFolder(this, folder)) {
    return;
  }
  values_.data_folder = folder;
  SetEditText(*this, kDataFolder, folder);
}

bool CKSettingsDlg::PrepareDataFolder() {
  if (portable_ || values_.data_folder == stored_data_folder_ || values_.data_folder.empty()) {
    // Left alone, or emptied: an empty entry makes the next start use the default folder.
    return true;
  }
  std::u16string folder = values_.data_folder;
  AddBackslash(folder);
  // A relative path would depend on the folder the program happens to start in.
  if (folder.front() != u'/' || !MakeDataFolder(folder)) {
    if (const CKCore* core = TheCore()) {
      core->m_Languages.ShowMessage(texts::kMsgFolderUnusable.entry);
    }
    if (auto* edit = Item<QLineEdit>(kDataFolder)) {
      edit->setFocus();
      edit->selectAll();
    }
    return false;
  }
  values_.data_folder = folder;
  SetEditText(*this, kDataFolder, folder);
  return true;
}

void CKSettingsDlg::StoreValues() {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return;
  }
  CKSettingsInterface& program = core->m_SettingsInterface;
  CKSettingsUserBased& user = core->m_SettingsUserBased;
  program.m_boolRunMinimised = values_.run_minimised;
  program.m_boolStartUp = values_.start_up;
  program.m_boolSystemTray = values_.system_tray;
  program.m_boolAskForExit = values_.ask_for_exit;
  ReplaceString(user.stringDefaultEmail, values_.default_email);
  ReplaceString(user.stringDefaultLogin, values_.default_login);
  user.boolHidePasswords = values_.hide_passwords;
  user.boolLogOutOnMinimize = values_.log_out_on_minimise;
  user.boolCleanClipboardOnExit = values_.clean_clipboard;
  program.m_boolCheckForUpdates = values_.check_for_updates;
  user.boolSingleClickInterface = values_.single_click;
  user.boolAutoFillNewNotesWithDefaults = values_.auto_fill;
  const bool hot_key_changed = program.m_boolHotKey != values_.hot_key_on ||
                               program.m_wordVirtKey != values_.virtual_key ||
                               program.m_wordKeyMod != values_.key_modifiers;
  program.m_boolHotKey = values_.hot_key_on;
  program.m_wordVirtKey = values_.virtual_key;
  program.m_wordKeyMod = values_.key_modifiers;

  if (!portable_) {
    platform::Profile().WriteProfileString(
        CKSettingsRunTime::kGroupName, CKSettingsRunTime::kUserDataFolderKey, values_.data_folder);
  }
  // The user's options live in the user's file; a failed save has been reported by the
  // database (with the offer to try again), and the dialog closes all the same.
  CKDatabase* current = core->m_Databases.GetCurrent();
  if (current != nullptr && current->IsOpen()) {
    user.Save();
    current->Save();
  }
  ApplyHotKey(*core, hot_key_changed);
}

void CKSettingsDlg::OnOK() {
  ReadControls();
  if (!PrepareDataFolder()) {
    return;
  }
  StoreValues();
  CKDialog::OnOK();
}

bool CKSettingsDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("settings"));
}

bool RunSettingsDialog(QWidget* parent) {
  CKCore* core = TheCore();
  if (core == nullptr) {
    return false;
  }
  const std::u16string language = core->m_SettingsInterface.m_csLanguage;
  CKSettingsDlg dialog(parent);
  const bool ok = dialog.DoModal() == CKDialog::kIdOk;
  // Saved here rather than left to the caller alone: the autostart entry follows the option as
  // soon as the user confirms it, and a language chosen before Cancel is not lost should the
  // program end abnormally.
  if (ok || core->m_SettingsInterface.m_csLanguage != language) {
    core->m_SettingsInterface.Save();
  }
  return ok;
}
