#pragma once

#include <filesystem>
#include <string>

#include "recording_profile_store.h"
#include "scoped_environment.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace test {

// A private world for the settings: a home folder with XDG variables pointing into it, a
// program folder, a recording profile store and recorded messages. Nothing reaches the real
// user's configuration.
class SettingsSandbox {
 public:
  SettingsSandbox();
  ~SettingsSandbox();

  std::filesystem::path home() const { return root_ / "home"; }
  std::filesystem::path config() const { return root_ / "config"; }
  std::filesystem::path data() const { return root_ / "data"; }
  std::filesystem::path program() const { return root_ / "program"; }

  TempDir root_;
  ScopedEnvironment environment;
  RecordingProfileStore store;
  RecordingMessages messages;
};

// Text of a path, as the settings hold it.
std::u16string U16(const std::filesystem::path& path);

}  // namespace test
