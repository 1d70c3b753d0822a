#include "sandbox.h"

#include "platform/program_folder.h"
#include "platform/utf.h"

namespace test {

SettingsSandbox::SettingsSandbox() {
  std::filesystem::create_directories(home());
  std::filesystem::create_directories(program());
  environment.Set("HOME", home().string());
  environment.Set("XDG_CONFIG_HOME", config().string());
  environment.Set("XDG_DATA_HOME", data().string());
  environment.Unset("XDG_DOCUMENTS_DIR");
  platform::SetProgramFolder(U16(program()));
}

SettingsSandbox::~SettingsSandbox() {
  platform::SetProgramFolder(u"");
}

std::u16string U16(const std::filesystem::path& path) {
  return platform::FromUtf8(path.string());
}

}  // namespace test
