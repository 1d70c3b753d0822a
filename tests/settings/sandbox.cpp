#include "sandbox.h"

#include <stdlib.h>

#include "platform/program_folder.h"
#include "platform/utf.h"

namespace test {

void RecordingProfileStore::Note(const char* what, std::u16string_view section,
                                 std::u16string_view entry) const {
  calls.push_back(std::string(what) + " " + platform::ToUtf8(section) + "/" +
                  platform::ToUtf8(entry));
}

SettingsSandbox::SettingsSandbox() {
  std::filesystem::create_directories(home());
  std::filesystem::create_directories(program());
  SetEnvironment("HOME", home().string());
  SetEnvironment("XDG_CONFIG_HOME", config().string());
  SetEnvironment("XDG_DATA_HOME", data().string());
  SetEnvironment("XDG_DOCUMENTS_DIR", "");
  platform::SetProgramFolder(U16(program()));
}

SettingsSandbox::~SettingsSandbox() {
  platform::SetProgramFolder(u"");
  for (const auto& [name, value] : saved_environment_) {
    value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }
}

void SettingsSandbox::SetEnvironment(const std::string& name, const std::string& value) {
  if (saved_environment_.count(name) == 0) {
    const char* old = getenv(name.c_str());
    saved_environment_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
  }
  value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
}

std::u16string U16(const std::filesystem::path& path) {
  return platform::FromUtf8(path.string());
}

}  // namespace test
