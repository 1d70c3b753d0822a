#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory_profile_store.h"
#include "platform/program_folder.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace test {

// Text of a path, as the settings hold it.
inline std::u16string U16(const std::filesystem::path& path) {
  return platform::FromUtf8(path.string());
}

// A byte block as its size and the hexadecimal bytes up to the last nonzero one: "51:0a00ff".
inline std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string hex = std::to_string(bytes.size()) + ":";
  const auto end = std::find_if(bytes.rbegin(), bytes.rend(), [](auto b) { return b != 0; });
  for (auto b = bytes.begin(); b != end.base(); ++b) {
    hex += {"0123456789abcdef"[*b >> 4], "0123456789abcdef"[*b & 15]};
  }
  return hex;
}

// An in-memory profile store that notes every call: "read int Section/entry", and with the
// value written "write int Section/entry=1" (a byte block in Hex form). Installed for its
// lifetime.
class RecordingProfileStore final : public platform::MemoryProfileStore {
 public:
  using Base = platform::MemoryProfileStore;
  using View = std::u16string_view;
  RecordingProfileStore() : previous_(platform::InstallProfile(this)) {}
  ~RecordingProfileStore() override { platform::InstallProfile(previous_); }

  std::uint32_t GetProfileInt(View s, View e, std::uint32_t d) const override {
    return Note("read int", s, e), Base::GetProfileInt(s, e, d);
  }
  std::u16string GetProfileString(View s, View e, View d) const override {
    return Note("read string", s, e), Base::GetProfileString(s, e, d);
  }
  bool GetProfileBinary(View s, View e, std::vector<std::uint8_t>& d) const override {
    return Note("read binary", s, e), Base::GetProfileBinary(s, e, d);
  }
  bool WriteProfileInt(View s, View e, std::uint32_t v) override {
    return Note("write int", s, e, "=" + std::to_string(v)), Base::WriteProfileInt(s, e, v);
  }
  bool WriteProfileString(View s, View e, View v) override {
    return Note("write string", s, e, "=" + platform::ToUtf8(v)), Base::WriteProfileString(s, e, v);
  }
  bool WriteProfileBinary(View s, View e, std::span<const std::uint8_t> v) override {
    return Note("write binary", s, e, "=" + Hex(v)), Base::WriteProfileBinary(s, e, v);
  }

  mutable std::vector<std::string> calls;

 private:
  void Note(const char* what, View section, View entry, const std::string& value = "") const {
    calls.push_back(std::string(what) + " " + platform::ToUtf8(section) + "/" +
                    platform::ToUtf8(entry) + value);
  }
  platform::ProfileStore* previous_;
};

// A private world for the settings: a home folder with the XDG variables pointing into it, a
// program folder, a recording profile store and recorded messages. Nothing reaches the real
// user's configuration, and the environment is restored at the end.
class SettingsSandbox {
 public:
  SettingsSandbox() {
    std::filesystem::create_directories(home());
    std::filesystem::create_directories(program());
    SetEnvironment("HOME", home().string());
    SetEnvironment("XDG_CONFIG_HOME", config().string());
    SetEnvironment("XDG_DATA_HOME", data().string());
    SetEnvironment("XDG_DOCUMENTS_DIR", "");
    platform::SetProgramFolder(U16(program()));
  }
  ~SettingsSandbox() {
    platform::SetProgramFolder(u"");
    for (const auto& [name, value] : saved_environment_) {
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
  }

  std::filesystem::path home() const { return root_.path() / "home"; }
  std::filesystem::path config() const { return root_.path() / "config"; }
  std::filesystem::path data() const { return root_.path() / "data"; }
  std::filesystem::path program() const { return root_.path() / "program"; }
  // An empty value unsets the variable.
  void SetEnvironment(const std::string& name, const std::string& value) {
    const char* old = getenv(name.c_str());
    saved_environment_.try_emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  TempDir root_;
  std::map<std::string, std::optional<std::string>> saved_environment_;

 public:
  RecordingProfileStore store;
  RecordingMessages messages;
};

}  // namespace test
