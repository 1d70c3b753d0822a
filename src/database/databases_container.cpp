#include "database/databases_container.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "crypto/user_file_io.h"
#include "database/databases_host.h"
#include "database/file_paths.h"
#include "database/user_messages.h"
#include "files/errors.h"
#include "files/file_utils.h"
#include "platform/user_dialogs.h"

namespace {

constexpr std::u16string_view kNewSuffix = u".new";

// The user name of a user file: the file name without its extension, or the whole name when
// it is no longer than the extension.
std::u16string UserNameOf(std::u16string_view file_name) {
  const std::size_t extension = CKDatabasesContainer::kExtension.size();
  return std::u16string(
      file_name.size() > extension ? file_name.substr(0, file_name.size() - extension) : file_name);
}

// Saves cut off between their two moves (see CompleteInterruptedSave) in a folder.
void CompleteInterruptedSaves(const std::u16string& folder) {
  std::vector<std::u16string> names;
  ListFolder(
      names,
      folder + u"*" + std::u16string(CKDatabasesContainer::kExtension) + std::u16string(kNewSuffix),
      false);
  for (const std::u16string& name : names) {
    try {
      CompleteInterruptedSave(folder + name.substr(0, name.size() - kNewSuffix.size()));
    } catch (...) {
      // The move has shown its message; the files stay as they are for the next attempt.
    }
  }
}

// A name that makes a file name of its own in the data folder.
bool IsUsableUserName(std::u16string_view name) {
  return !name.empty() && name.find(u'/') == std::u16string_view::npos &&
         name.find(u'\0') == std::u16string_view::npos;
}

// Whether the user file holds the salt that the database holds now.
bool FileHasSalt(const CKDatabase& database) {
  CKUserFileKeys on_disk;
  CKUserFileReader reader;
  if (reader.Open(database.GetPath(), on_disk) != 0) {
    return false;
  }
  const auto salt = database.GetKeys().GetSalt();
  const auto disk_salt = on_disk.GetSalt();
  return std::equal(salt.begin(), salt.end(), disk_salt.begin());
}

}  // namespace

std::u16string CKDatabasesContainer::DataFolder() const {
  std::u16string folder = m_pHost != nullptr ? m_pHost->GetDataFolder() : std::u16string();
  AddBackslash(folder);
  return folder;
}

std::uint32_t CKDatabasesContainer::Scan() {
  return Scan(DataFolder());
}

std::uint32_t CKDatabasesContainer::Scan(const std::u16string& given_folder) {
  std::u16string folder = given_folder;
  AddBackslash(folder);
  CompleteInterruptedSaves(folder);

  // The logged-in user's database is in use by the windows: it is kept, not made anew.
  CKDatabase* current = m_pCurrent;
  if (current != nullptr) {
    m_Databases.RemoveAt(static_cast<std::uint32_t>(m_Databases.Find(current)));
  }
  m_Databases.DeleteAll();

  std::vector<std::u16string> names;
  ListFolder(names, folder + u"*" + std::u16string(kExtension), false);
  for (const std::u16string& name : names) {
    const std::u16string path = folder + name;
    if (current != nullptr && current->GetPath() == path) {
      m_Databases.Add(current);
      current = nullptr;
      continue;
    }
    auto database = std::make_unique<CKDatabase>();
    database->SetPath(path);
    database->SetName(UserNameOf(name));
    if (database->Load() == userfile::kOpened) {
      m_Databases.Add(database.get());
      database.release();
    }
  }
  if (current != nullptr) {
    m_Databases.Add(current);
  }
  return m_Databases.GetCount();
}

bool CKDatabasesContainer::LogIn() {
  CKDatabase* opened = platform::Dialogs().RunLogIn(*this);
  if (opened == nullptr || m_Databases.Find(opened) < 0 || !opened->IsOpen()) {
    return false;
  }
  m_pCurrent = opened;
  if (m_pHost != nullptr) {
    m_pHost->LoadUserSettings(*opened);
  }
  return true;
}

bool CKDatabasesContainer::LogOut() {
  if (m_pCurrent != nullptr) {
    m_pCurrent->Reset(false);
    m_pCurrent = nullptr;
  }
  if (m_pHost != nullptr) {
    m_pHost->ClearCurrentFolder();
  }
  return true;
}

CKDatabase* CKDatabasesContainer::FindUser(std::u16string_view name) const {
  for (CKDatabase* database : m_Databases) {
    if (database->NameEquals(name)) {
      return database;
    }
  }
  return nullptr;
}

std::vector<std::u16string> CKDatabasesContainer::FillUserList() const {
  std::vector<std::u16string> names;
  names.reserve(m_Databases.GetCount());
  for (const CKDatabase* database : m_Databases) {
    names.push_back(database->GetName());
  }
  return names;
}

CKDatabase* CKDatabasesContainer::CreateUser() {
  auto database = std::make_unique<CKDatabase>();
  if (!platform::Dialogs().RunUserEditor(*this, *database, true)) {
    return nullptr;
  }
  const std::u16string name = database->GetName();
  const std::u16string path = DataFolder() + name + std::u16string(kExtension);
  if (!IsUsableUserName(name)) {
    CKFileError(path.c_str(), true, EINVAL);
    return nullptr;
  }
  // Never over an existing user file, listed or not, nor over the backup of an earlier user of
  // that name, which the first save would delete.
  if (FindUser(name) != nullptr || database::PathExists(path) ||
      database::PathExists(BackupFilePath(path))) {
    database::ShowMessage(database::kMsgUserExists, name);
    return nullptr;
  }
  database->SetPath(path);
  database->SetOpen(true);
  if (database->Save() != 0) {
    return nullptr;
  }
  database->Reset(false);  // not logged in: no key stays in memory
  m_Databases.Add(database.get());
  return database.release();
}

bool CKDatabasesContainer::EditUser(CKDatabase& database) {
  const CKUserFileKeys before = database.GetKeys();
  if (!platform::Dialogs().RunUserEditor(*this, database, false)) {
    return false;
  }
  if (database.Save() == 0) {
    return true;
  }
  // Memory follows the file: unless the failure came after the new file took its place, the
  // file still has the former password and memo.
  if (!FileHasSalt(database)) {
    database.GetKeys() = before;
  }
  return false;
}

void CKDatabasesContainer::BackUp(platform::ParentWindow parent) {
  std::u16string destination;
  if (!platform::BrowseForFolder(parent, destination)) {
    return;
  }
  AddBackslash(destination);
  const std::u16string folder = DataFolder();
  std::vector<std::u16string> names;
  ListFolder(names, folder + u"*" + std::u16string(kExtension), false);
  bool copied = false;
  for (const std::u16string& name : names) {
    if (database::CopyReplacing(folder + name, destination + name)) {
      copied = true;
    } else {
      CKError(-1, true);
    }
  }
  if (copied) {
    try {
      SyncFolder(destination);
    } catch (...) {
      // Shown; the copies themselves are on disk.
    }
  }
}

void CKDatabasesContainer::Restore(platform::ParentWindow parent) {
  std::u16string path;
  if (!platform::OpenFileDialog(
          parent, path,
          {{u"VaultQuill Users (*.VaultQuill)", u"*.VaultQuill"}, {u"All Files (*.*)", u"*.*"}})) {
    return;
  }
  const std::u16string folder = DataFolder();
  if (!database::CopyReplacing(path, folder + std::u16string(database::FileNameOf(path)))) {
    CKError(-1, true);
    return;
  }
  try {
    SyncFolder(folder.empty() ? std::u16string(u".") : folder);
  } catch (...) {
    // Shown; the copy itself is on disk.
  }
}
