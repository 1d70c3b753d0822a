#include "platform/choosers.h"

namespace platform {
namespace {

class CancellingChoosers final : public Choosers {
 public:
  bool ChooseFolder(ParentWindow, std::u16string&) override { return false; }
  bool ChooseOpenFile(ParentWindow, const std::vector<FileFilter>&, std::u16string&) override {
    return false;
  }
  bool ChooseSaveFile(ParentWindow, const SaveFileOptions&, std::u16string&) override {
    return false;
  }
};

CancellingChoosers default_choosers;
Choosers* installed = nullptr;

}  // namespace

Choosers& FileChoosers() {
  return installed != nullptr ? *installed : default_choosers;
}

Choosers* InstallChoosers(Choosers* choosers) {
  Choosers* previous = installed;
  installed = choosers;
  return previous;
}

bool BrowseForFolder(ParentWindow parent, std::u16string& folder) {
  std::u16string chosen;
  if (!FileChoosers().ChooseFolder(parent, chosen)) {
    return false;
  }
  folder = std::move(chosen);
  return true;
}

bool OpenFileDialog(ParentWindow parent, std::u16string& path,
                    const std::vector<FileFilter>& filters) {
  std::u16string chosen;
  if (!FileChoosers().ChooseOpenFile(parent, filters, chosen) || chosen.empty()) {
    return false;
  }
  path = std::move(chosen);
  return true;
}

bool SaveFileDialog(ParentWindow parent, std::u16string& path, const SaveFileOptions& options) {
  std::u16string chosen;
  if (!FileChoosers().ChooseSaveFile(parent, options, chosen) || chosen.empty()) {
    return false;
  }
  path = std::move(chosen);
  return true;
}

}  // namespace platform
