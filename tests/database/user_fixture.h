#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/database.h"
#include "database/databases_host.h"
#include "platform/choosers.h"
#include "platform/entry_views.h"
#include "platform/user_dialogs.h"

namespace test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr char16_t kPassword[] = u"correct horse \u00e9t\u00e9";
inline constexpr char16_t kMemo[] = u"hint: the usual, with \u00e9t\u00e9";

std::u16string U16(const std::filesystem::path& path);
Bytes ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
// Whether only the owner may read and write the file.
bool IsSecret(const std::filesystem::path& path);

// A database for the user file at path, opened as a new user is (salt, password, kMemo), with
// few key-derivation iterations so that every open stays fast. Not yet saved.
std::unique_ptr<CKDatabase> NewUser(const std::filesystem::path& path,
                                    std::u16string_view password = kPassword,
                                    std::uint16_t iterations = 1);

// Adds a folder with a note that has an attachment, a note at the root and two settings, named
// after the tag so that states differ; non-ASCII texts included. The attachment holds a short
// text, or attachment_size bytes that tell their place.
void AddSampleEntries(CKDatabase& database, const std::u16string& tag,
                      std::size_t attachment_size = 0);

bool KeyIsZero(const CKDatabase& database);

// Both trees as they would be written: equal bytes mean equal user data.
Bytes TreeBytes(CKDatabase& database);

// Opens a user file with the password into a fresh database: the result, and the trees' bytes
// when it opened.
struct Opened {
  int result = -1;
  Bytes trees;
};
Opened OpenUserFile(const std::filesystem::path& path, std::u16string_view password = kPassword);

// The core's side of the users container: a data folder, and what it was asked to do.
class FakeHost final : public CKDatabasesHost {
 public:
  explicit FakeHost(const std::filesystem::path& folder) : data_folder(U16(folder) + u"/") {}
  std::u16string GetDataFolder() const override { return data_folder; }
  void ClearCurrentFolder() override { ++folder_clears; }
  void LoadUserSettings(CKDatabase& current) override { settings_loaded_for = &current; }

  std::u16string data_folder;
  int folder_clears = 0;
  CKDatabase* settings_loaded_for = nullptr;
};

// The log-in dialog, the user editor, the file choosers and the entry editors, played by
// scripts; installed for its lifetime. Unscripted dialogs and choosers cancel.
class ScriptedUi final : public platform::UserDialogs,
                         public platform::Choosers,
                         public platform::EntryEditors {
 public:
  ScriptedUi()
      : previous_dialogs_(platform::InstallDialogs(this)),
        previous_choosers_(platform::InstallChoosers(this)),
        previous_editors_(platform::InstallEditors(this)) {}
  ~ScriptedUi() override {
    platform::InstallDialogs(previous_dialogs_);
    platform::InstallChoosers(previous_choosers_);
    platform::InstallEditors(previous_editors_);
  }
  ScriptedUi(const ScriptedUi&) = delete;
  ScriptedUi& operator=(const ScriptedUi&) = delete;

  CKDatabase* RunLogIn(CKDatabasesContainer& users) override {
    return log_in ? log_in(users) : nullptr;
  }
  bool RunUserEditor(CKDatabasesContainer&, CKDatabase& database, bool new_user) override {
    return user_editor && user_editor(database, new_user);
  }
  bool ChooseFolder(platform::ParentWindow, std::u16string& folder) override {
    folder = chosen;
    return !chosen.empty();
  }
  bool ChooseOpenFile(platform::ParentWindow, const std::vector<platform::FileFilter>&,
                      std::u16string& path) override {
    path = chosen;
    return !chosen.empty();
  }
  bool ChooseSaveFile(platform::ParentWindow, const platform::SaveFileOptions&,
                      std::u16string&) override {
    return false;
  }

  bool EditFolder(CKTLVARRAY&) override { return Edited("folder"); }
  bool EditNote(CKTLVARRAY&) override { return Edited("note"); }

  std::function<CKDatabase*(CKDatabasesContainer&)> log_in;
  std::function<bool(CKDatabase&, bool new_user)> user_editor;
  std::u16string chosen;  // what a chooser chooses; empty cancels
  bool editors_confirm = true;
  std::vector<std::string> edited;  // the entry editors opened, in order

 private:
  bool Edited(const char* kind) {
    edited.emplace_back(kind);
    return editors_confirm;
  }

  platform::UserDialogs* previous_dialogs_;
  platform::Choosers* previous_choosers_;
  platform::EntryEditors* previous_editors_;
};

}  // namespace test
