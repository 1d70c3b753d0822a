#include "core/core.h"

#include <vector>

#include "core/hidden_window.h"
#include "core/startup_texts.h"
#include "elements/tags.h"
#include "elements/tlv.h"
#include "platform/messages.h"
#include "ui/controls/icons.h"
#include "ui/controls/list_ctrl.h"

namespace {

CKCore* g_core = nullptr;

// The icon resources of the shared image list, index by index.
constexpr int kImageResources[CKCore::kImageCount] = {
    130, 131, 130, 130, 130, 130, 130, 130, 130, 130,  // notes
    116, 117, 116, 116, 116, 116, 116, 116, 116, 116,  // folders
    115,                                               // attachment
    129,                                               // up entry
};

}  // namespace

CKCore* TheCore() {
  return g_core;
}

void SetTheCore(CKCore* core) {
  g_core = core;
}

CKCore::CKCore(std::unique_ptr<CKHiddenWindow> hidden_window)
    : m_pHiddenDlg(std::move(hidden_window)),
      m_SettingsInterface(m_SettingsRunTime),
      m_SettingsUserBased(m_Databases) {
  m_Databases.SetHost(this);
  m_UpEntry.SetTag(ENTRY_UP);
  if (CKTLV* icon = CreateElement(TAG_ICON, TLV_DWORD)) {
    m_UpEntry.AddChild(icon);
  }
  m_UpEntry.SetDwordByTag(TAG_ICON, kImageUp);
  CKListCtrl::SetSharedUpEntry(&m_UpEntry);
}

CKCore::~CKCore() {
  if (hidden_created_) {
    m_pHiddenDlg->Destroy();
  }
  if (CKListCtrl::SharedUpEntry() == &m_UpEntry) {
    CKListCtrl::SetSharedUpEntry(nullptr);
  }
  if (CKImageList::Shared() == &m_ImageList) {
    CKImageList::InstallShared(nullptr);
  }
  m_Databases.SetHost(nullptr);
}

bool CKCore::Init() {
  if (!m_SettingsRunTime.Load()) {
    return false;
  }
  m_SettingsUserBased.Load();
  BuildIcons();
  // The hot key settings must be there before the hidden window claims the key.
  m_SettingsInterface.Load();
  if (!m_pHiddenDlg->Create()) {
    return false;
  }
  hidden_created_ = true;
  if (!ActivateLanguage()) {
    return false;
  }
  m_SettingsSystem.Load();
  m_SettingsWindows.Load();
  m_Databases.Scan();
  return true;
}

void CKCore::BuildIcons() {
  m_ImageList.Create(QSize(16, 16));
  m_hIcon = icons::Load(icons::kApplication);
  for (const int resource : kImageResources) {
    m_ImageList.Add(icons::Load(resource));
  }
  m_hSmallIcon = icons::Load(icons::kApplicationSmall);
  CKImageList::InstallShared(&m_ImageList);
}

bool CKCore::ActivateLanguage() {
  m_Languages.ScanFolder(m_SettingsRunTime.m_csProgramFolder);
  std::vector<std::u16string> names;
  m_Languages.GetNames(names);
  if (names.empty()) {
    platform::Messages().ShowMessage(std::u16string(startup::kNoLanguages),
                                     platform::MessageIcon::Error);
    return false;
  }
  if (m_Languages.Activate(m_SettingsInterface.m_csLanguage)) {
    return true;
  }
  if (m_Languages.Activate(names.front())) {
    return true;
  }
  platform::Messages().ShowMessage(std::u16string(startup::kCannotActivateLanguage),
                                   platform::MessageIcon::Error);
  return false;
}

bool CKCore::SaveSettings() {
  m_SettingsInterface.Save();
  m_SettingsSystem.Save();
  m_SettingsWindows.Save();
  return true;
}

std::uint32_t CKCore::SetWakeUpMessage(std::uint32_t message) {
  m_dwWakeUpMessage = message;
  return message;
}

void CKCore::SetActiveDialog(CKDialog* dialog) {
  m_pHiddenDlg->SetActiveDialog(dialog);
}

CKDialog* CKCore::GetActiveDialog() const {
  return m_pHiddenDlg->GetActiveDialog();
}

CKTLVARRAY* CKCore::GetRootFolder() const {
  CKDatabase* current = m_Databases.GetCurrent();
  return current != nullptr ? &current->GetEntriesRoot() : nullptr;
}

CKTLVARRAY* CKCore::GetCurrentFolder() const {
  return m_pCurrentFolder != nullptr ? m_pCurrentFolder : GetRootFolder();
}

void CKCore::SetCurrentFolder(CKTLVARRAY* folder) {
  m_pPreviousFolder = GetCurrentFolder();
  m_pCurrentFolder = folder;
}

std::u16string CKCore::GetDataFolder() const {
  return m_SettingsRunTime.m_csUserDataFolder;
}

void CKCore::ClearCurrentFolder() {
  // Log-out empties the user's tree: neither pointer may outlive it.
  m_pCurrentFolder = nullptr;
  m_pPreviousFolder = nullptr;
}

void CKCore::LoadUserSettings(CKDatabase&) {
  m_SettingsUserBased.Load();
}
