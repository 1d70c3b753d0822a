#pragma once

#include <string>
#include <string_view>

#include "platform/choosers.h"

namespace cli {

// The file choosers as the command line answers them: the open-file chooser picks the file a
// command named beforehand, once; every other chooser is cancelled. Installed for its
// lifetime.
class CliChoosers final : public platform::Choosers {
 public:
  CliChoosers();
  ~CliChoosers() override;
  CliChoosers(const CliChoosers&) = delete;
  CliChoosers& operator=(const CliChoosers&) = delete;

  void ExpectOpenFile(std::u16string_view path) { open_file_ = path; }

  bool ChooseFolder(platform::ParentWindow parent, std::u16string& folder) override;
  bool ChooseOpenFile(platform::ParentWindow parent,
                      const std::vector<platform::FileFilter>& filters,
                      std::u16string& path) override;
  bool ChooseSaveFile(platform::ParentWindow parent, const platform::SaveFileOptions& options,
                      std::u16string& path) override;

 private:
  std::u16string open_file_;
  platform::Choosers* previous_;
};

}  // namespace cli
