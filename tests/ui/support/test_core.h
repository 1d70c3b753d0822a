#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/choosers.h"
#include "platform/memory_profile_store.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

class CKCore;
class CKDatabase;
class CKHiddenWindow;
class CKUserDialogs;

namespace test {

// Folder and file choosers that answer from queues (cancelled once a queue runs dry).
class QueuedChoosers final : public platform::Choosers {
 public:
  QueuedChoosers();
  ~QueuedChoosers() override;
  QueuedChoosers(const QueuedChoosers&) = delete;
  QueuedChoosers& operator=(const QueuedChoosers&) = delete;

  void QueueFolder(const std::filesystem::path& folder) { folders_.push_back(folder); }
  void QueueFile(const std::filesystem::path& file) { files_.push_back(file); }

  bool ChooseFolder(platform::ParentWindow, std::u16string& folder) override {
    return Next(folders_, folder);
  }
  bool ChooseOpenFile(platform::ParentWindow, const std::vector<platform::FileFilter>&,
                      std::u16string& path) override {
    return Next(files_, path);
  }
  bool ChooseSaveFile(platform::ParentWindow, const platform::SaveFileOptions&,
                      std::u16string& path) override {
    return Next(files_, path);
  }

 private:
  static bool Next(std::deque<std::filesystem::path>& queue, std::u16string& path);

  std::deque<std::filesystem::path> folders_;
  std::deque<std::filesystem::path> files_;
  platform::Choosers* previous_;
};

// Options for a test core: what the profile store holds before the core starts.
struct KTestCoreOptions {
  bool start_minimised = false;
  bool with_languages = true;
  bool hot_key = false;
  // The stored hot key (virtual-key code and hot-key-control modifiers); Ctrl+F10 by default.
  std::uint16_t hot_key_code = 121;
  std::uint16_t hot_key_modifiers = 2;
  std::u16string last_login;
  std::u16string language = u"English";
};

// A running core as start-up makes it, on a program folder with the shipped language files, a
// data folder of its own and a profile store in memory; messages are recorded, choosers
// answer from queues, and the log-in dialog and the user editor are installed.
class TestCore {
 public:
  explicit TestCore(const KTestCoreOptions& options = {});
  ~TestCore();
  TestCore(const TestCore&) = delete;
  TestCore& operator=(const TestCore&) = delete;

  // Constructs and initialises the core; false when Init failed (the core is kept for looking).
  bool Start();
  // The same with another hidden window than the program's.
  bool Start(std::unique_ptr<CKHiddenWindow> hidden_window);
  // Deletes the core, as the end of start-up does.
  void Stop();
  CKCore& core() { return *core_; }
  const std::filesystem::path& program_folder() const { return program_; }
  const std::filesystem::path& data_folder() const { return data_; }
  std::filesystem::path UserFile(const std::string& name) const;

  RecordingMessages& messages() { return messages_; }
  QueuedChoosers& choosers() { return choosers_; }
  platform::MemoryProfileStore& profile() { return profile_; }

  // Makes a user file directly (not through the dialogs) and lists the users again.
  void AddUser(const std::u16string& name, const std::u16string& password,
               const std::u16string& memo = u"");
  // The messages shown so far, as UTF-8.
  std::vector<std::string> Messages() const { return messages_.Texts(); }
  // The active language's text of a message with its "%s" filled in, as UTF-8 (for comparing
  // with Messages()).
  std::string MessageText(int entry, const std::string& value = "") const;

 private:
  TempDir root_;
  std::filesystem::path program_;
  std::filesystem::path data_;
  RecordingMessages messages_;
  QueuedChoosers choosers_;
  platform::MemoryProfileStore profile_;
  platform::ProfileStore* previous_profile_;
  std::unique_ptr<CKUserDialogs> dialogs_;
  CKCore* core_ = nullptr;
};

// Writes a user file (header, memo, empty trees) for a name and password.
void WriteUserFile(const std::filesystem::path& path, const std::u16string& name,
                   const std::u16string& password, const std::u16string& memo);

}  // namespace test
