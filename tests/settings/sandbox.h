#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory_profile_store.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace test {

// An in-memory profile store that notes every call ("read int Section/entry", "write string
// Section/entry", ...). Installed for its lifetime.
class RecordingProfileStore final : public platform::MemoryProfileStore {
 public:
  using Bytes = std::vector<std::uint8_t>;
  RecordingProfileStore() : previous_(platform::InstallProfile(this)) {}
  ~RecordingProfileStore() override { platform::InstallProfile(previous_); }

  std::uint32_t GetProfileInt(std::u16string_view s, std::u16string_view e,
                              std::uint32_t d) const override {
    return Note("read int", s, e), MemoryProfileStore::GetProfileInt(s, e, d);
  }
  std::u16string GetProfileString(std::u16string_view s, std::u16string_view e,
                                  std::u16string_view d) const override {
    return Note("read string", s, e), MemoryProfileStore::GetProfileString(s, e, d);
  }
  bool GetProfileBinary(std::u16string_view s, std::u16string_view e, Bytes& d) const override {
    return Note("read binary", s, e), MemoryProfileStore::GetProfileBinary(s, e, d);
  }
  bool WriteProfileInt(std::u16string_view s, std::u16string_view e, std::uint32_t v) override {
    return Note("write int", s, e), MemoryProfileStore::WriteProfileInt(s, e, v);
  }
  bool WriteProfileString(std::u16string_view s, std::u16string_view e,
                          std::u16string_view v) override {
    return Note("write string", s, e), MemoryProfileStore::WriteProfileString(s, e, v);
  }
  bool WriteProfileBinary(std::u16string_view s, std::u16string_view e,
                          std::span<const std::uint8_t> v) override {
    return Note("write binary", s, e), MemoryProfileStore::WriteProfileBinary(s, e, v);
  }

  mutable std::vector<std::string> calls;

 private:
  void Note(const char* what, std::u16string_view section, std::u16string_view entry) const;
  platform::ProfileStore* previous_;
};

// A private world for the settings: a home folder with the XDG variables pointing into it, a
// program folder, a recording profile store and recorded messages. Nothing reaches the real
// user's configuration, and the environment is restored at the end.
class SettingsSandbox {
 public:
  SettingsSandbox();
  ~SettingsSandbox();

  std::filesystem::path home() const { return root_.path() / "home"; }
  std::filesystem::path config() const { return root_.path() / "config"; }
  std::filesystem::path data() const { return root_.path() / "data"; }
  std::filesystem::path program() const { return root_.path() / "program"; }
  // An empty value unsets the variable.
  void SetEnvironment(const std::string& name, const std::string& value);

 private:
  TempDir root_;
  std::map<std::string, std::optional<std::string>> saved_environment_;

 public:
  RecordingProfileStore store;
  RecordingMessages messages;
};

// Text of a path, as the settings hold it.
std::u16string U16(const std::filesystem::path& path);

}  // namespace test
