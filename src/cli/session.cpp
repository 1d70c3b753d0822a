#include "cli/session.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <ctime>

#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/tree_lookup.h"
#include "crypto/user_file.h"
#include "database/file_paths.h"
#include "elements/tags.h"
#include "elements/wipe_string.h"
#include "files/file_utils.h"
#include "platform/format.h"
#include "platform/utf.h"
#include "settings/settings_run_time.h"
#include "settings/user_folders.h"

namespace cli {
namespace {

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// A folder given on the command line as an absolute path ending in "/": user files are named
// by appending to it, which a bare "." would not survive.
std::u16string AbsoluteFolder(std::u16string_view folder) {
  std::u16string absolute =
      FromQString(QDir::cleanPath(QFileInfo(ToQString(folder)).absoluteFilePath()));
  if (absolute.empty() || absolute.back() != u'/') {
    absolute += u'/';
  }
  return absolute;
}

}  // namespace

Session::Session(const GlobalOptions& options)
    : options_(options), out_(1), passwords_(options.password_stdin), user_settings_(users_) {
  users_.SetHost(this);
}

Session::~Session() {
  users_.LogOut();
  out_.Flush();
}

int Session::DataFolder(std::u16string& folder, bool create) {
  if (!data_folder_) {
    if (!options_.data_folder.empty()) {
      data_folder_ = AbsoluteFolder(options_.data_folder);
    } else {
      CKSettingsRunTime run_time;
      if (!run_time.Load()) {
        ReportError("the data folder cannot be settled; name one with --data");
        return kExitNotFound;
      }
      data_folder_ = run_time.m_csUserDataFolder;
    }
  }
  folder = *data_folder_;
  if (create) {
    std::u16string failed;
    if (!settings::CreateFolderPath(folder, failed)) {
      ReportError(u"the folder \"" + failed + u"\" cannot be created");
      return kExitWriteFailed;
    }
  }
  return kExitOk;
}

int Session::Users(CKDatabasesContainer*& users, bool create_folder) {
  std::u16string folder;
  if (const int result = DataFolder(folder, create_folder); result != kExitOk) {
    return result;
  }
  if (!scanned_) {
    users_.Scan();
    scanned_ = true;
  }
  users = &users_;
  return kExitOk;
}

int Session::FindUser(std::u16string_view name, CKDatabase*& user) {
  CKDatabasesContainer* users = nullptr;
  if (const int result = Users(users); result != kExitOk) {
    return result;
  }
  user = users->FindUser(name);
  if (user == nullptr) {
    std::u16string folder;
    DataFolder(folder);
    ReportError(u"there is no user \"" + std::u16string(name) + u"\" in \"" + folder + u"\"");
    return kExitNotFound;
  }
  return kExitOk;
}

std::u16string Session::UserFilePath(std::u16string_view name, std::u16string& user) {
  CKDatabasesContainer* users = nullptr;
  if (Users(users) != kExitOk) {
    return {};
  }
  if (const CKDatabase* listed = users->FindUser(name); listed != nullptr) {
    user = listed->GetName();
    return listed->GetPath();
  }
  std::u16string path =
      *data_folder_ + std::u16string(name) + std::u16string(CKDatabasesContainer::kExtension);
  user = name;
  return database::PathExists(path) ? path : std::u16string();
}

int Session::OpenUser(std::u16string_view name, CKDatabase*& user, bool report_failure,
                      std::u16string* keep_password) {
  CKDatabase* found = nullptr;
  if (const int result = FindUser(name, found); result != kExitOk) {
    return result;
  }
  std::u16string password;
  const std::string prompt = "Password of " + platform::ToUtf8(found->GetName()) + ": ";
  if (const int result = AskPassword(prompt, password); result != kExitOk) {
    return result;
  }
  CliUserDialogs::LogIn log_in{found->GetName(), password};
  dialogs_.Expect(&log_in);
  const bool logged_in = users_.LogIn();
  dialogs_.Expect(static_cast<CliUserDialogs::LogIn*>(nullptr));
  if (keep_password != nullptr) {
    WipeString(*keep_password);
    keep_password->swap(password);
  }
  WipeString(password);
  if (!logged_in) {
    const int result = log_in.result > 0 ? log_in.result : userfile::kUnreadable;
    if (report_failure) {
      ReportError(DescribeOpenResult(result, found->GetName()));
    }
    return result;
  }
  user = users_.GetCurrent();
  return kExitOk;
}

int Session::OpenEntry(std::u16string_view name, std::u16string_view path, CKTLVARRAY*& entry,
                       bool notes_only) {
  CKDatabase* user = nullptr;
  if (const int result = OpenUser(name, user); result != kExitOk) {
    return result;
  }
  CKTLVARRAY& root = user->GetEntriesRoot();
  return notes_only ? LocateNote(root, path, entry) : LocateEntry(root, path, entry);
}

int Session::AskPassword(std::string_view prompt, std::u16string& password) {
  std::string error;
  if (!passwords_.Read(prompt, password, error)) {
    ReportError(error);
    return kExitUsage;
  }
  return kExitOk;
}

int Session::SaveUser() {
  CKDatabase* user = users_.GetCurrent();
  if (user == nullptr || user->Save() != 0) {
    ReportError("the changes were not saved");
    return kExitWriteFailed;
  }
  return kExitOk;
}

int Session::SaveChangedNote(CKTLVARRAY& note) {
  note.SetDwordByTag(TAG_MODIFIED, static_cast<std::uint32_t>(std::time(nullptr)));
  return SaveUser();
}

void Session::LoadUserSettings(CKDatabase& /*current*/) {
  user_settings_.Load();
}

std::u16string Session::DescribeOpenResult(int result, std::u16string_view user) {
  std::u16string_view text;
  switch (result) {
    case userfile::kOpened:
      text = u"The password of user \"%s\" is correct and the user file is whole.";
      break;
    case userfile::kDamaged:
      text = u"The password of user \"%s\" is correct, but the user file is damaged.";
      break;
    case userfile::kNewerFormat:
      text = u"The file of user \"%s\" was written by a newer version of VaultQuill.";
      break;
    case userfile::kWrongPassword:
      text = u"The password of user \"%s\" is not correct.";
      break;
    default:
      text = u"The file of user \"%s\" cannot be read, or it is not a VaultQuill user file.";
      break;
  }
  return platform::Format(text, user);
}

}  // namespace cli
