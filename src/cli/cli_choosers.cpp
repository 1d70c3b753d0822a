#include "cli/cli_choosers.h"

namespace cli {

CliChoosers::CliChoosers() : previous_(platform::InstallChoosers(this)) {}

CliChoosers::~CliChoosers() {
  platform::InstallChoosers(previous_);
}

bool CliChoosers::ChooseFolder(platform::ParentWindow /*parent*/, std::u16string& /*folder*/) {
  return false;
}

bool CliChoosers::ChooseOpenFile(platform::ParentWindow /*parent*/,
                                 const std::vector<platform::FileFilter>& /*filters*/,
                                 std::u16string& path) {
  if (open_file_.empty()) {
    return false;
  }
  path = std::move(open_file_);
  open_file_.clear();
  return true;
}

bool CliChoosers::ChooseSaveFile(platform::ParentWindow /*parent*/,
                                 const platform::SaveFileOptions& /*options*/,
                                 std::u16string& /*path*/) {
  return false;
}

}  // namespace cli
