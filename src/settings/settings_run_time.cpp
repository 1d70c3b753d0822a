#include "settings/settings_run_time.h"

#include "files/file_utils.h"
#include "languages/text_ids.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "platform/texts.h"
#include "platform/tray.h"
#include "settings/user_folders.h"

namespace {

// This runs before any language is active, so the text of the English language file stands in
// for the active language's; should a language be active already, its own text is used.
constexpr std::u16string_view kDataFolderNotCreated = u"The data folder \"%s\" cannot be created.";

void ShowDataFolderNotCreated(std::u16string_view path) {
  const TextId id = texts::kMsgDataFolderNotCreated;
  const std::u16string text =
      platform::Format(platform::Text(id.group, id.entry, kDataFolderNotCreated), path);
  platform::Messages().ShowMessage(text, texts::MessageIconFor(id.entry));
}

}  // namespace

CKSettingsRunTime::CKSettingsRunTime() : CKSettings(kGroupName) {}

std::u16string CKSettingsRunTime::ProgramPath() const {
  return m_csProgramFolder + std::u16string(kProgramFileName);
}

bool CKSettingsRunTime::CreateApplicationDataFolder(std::u16string& folder) const {
  std::u16string data_home = settings::DataHomeFolder();
  if (data_home.empty()) {
    return false;  // no home at all: nothing to name
  }
  folder = data_home;
  AddBackslash(folder);
  folder += kCompanyFolder;
  AddBackslash(folder);
  folder += kApplicationFolder;
  std::u16string failed;
  if (!settings::CreateFolderPath(folder, failed)) {
    ShowDataFolderNotCreated(failed);
    folder.clear();
    return false;
  }
  return true;
}

bool CKSettingsRunTime::Load() {
  m_boolPortable = false;
  m_csUserDataFolder.clear();
  m_csDocumentsFolder.clear();

  m_csProgramFolder = platform::ProgramFolder();
  AddBackslash(m_csProgramFolder);

  if (FileExists(m_csProgramFolder + std::u16string(kPortableMarker))) {
    m_boolPortable = true;
    m_csUserDataFolder = m_csProgramFolder;
  }

  m_csUserName = settings::LoginName().value_or(std::u16string(kUnknownUserName));

  bool settled = m_boolPortable;
  if (!m_boolPortable) {
    m_csDocumentsFolder = settings::DocumentsFolder();
    AddBackslash(m_csDocumentsFolder);

    std::u16string folder;
    if (CreateApplicationDataFolder(folder)) {
      m_csUserDataFolder = folder;
      settled = true;
    }
    // A folder the user chose earlier wins over the default; on the first start the default
    // is stored, without its trailing separator.
    std::u16string stored = ReadString(kUserDataFolderKey, u"");
    if (!stored.empty()) {
      m_csUserDataFolder = std::move(stored);
    } else {
      WriteString(kUserDataFolderKey, m_csUserDataFolder);
    }
    AddBackslash(m_csUserDataFolder);
  }

  m_boolTrayAvailable = platform::IsTrayAvailable();
  return settled;
}

void CKSettingsRunTime::ChangeUserDataFolder(const std::u16string& folder) {
  WriteString(kUserDataFolderKey, folder);
  m_csUserDataFolder = folder;
}
