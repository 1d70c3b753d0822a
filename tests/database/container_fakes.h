#pragma once

#include <functional>
#include <string>

#include "database/databases_host.h"
#include "platform/user_dialogs.h"

namespace test {

// The core's side of the users container: a data folder, and what it was asked to do.
class FakeHost final : public CKDatabasesHost {
 public:
  explicit FakeHost(std::u16string folder) : data_folder(std::move(folder)) {}
  std::u16string GetDataFolder() const override { return data_folder; }
  void ClearCurrentFolder() override { ++folder_clears; }
  void LoadUserSettings(CKDatabase& current) override { settings_loaded_for = &current; }

  std::u16string data_folder;
  int folder_clears = 0;
  CKDatabase* settings_loaded_for = nullptr;
};

// Log-in dialog and user editor played by functions; installed for their lifetime.
class ScriptedDialogs final : public platform::UserDialogs {
 public:
  ScriptedDialogs() : previous_(platform::InstallDialogs(this)) {}
  ~ScriptedDialogs() override { platform::InstallDialogs(previous_); }
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  CKDatabase* RunLogIn(CKDatabasesContainer& users) override {
    return log_in ? log_in(users) : nullptr;
  }
  bool RunUserEditor(CKDatabasesContainer& users, CKDatabase& database, bool new_user) override {
    return editor ? editor(users, database, new_user) : false;
  }

  std::function<CKDatabase*(CKDatabasesContainer&)> log_in;
  std::function<bool(CKDatabasesContainer&, CKDatabase&, bool)> editor;

 private:
  platform::UserDialogs* previous_;
};

}  // namespace test
