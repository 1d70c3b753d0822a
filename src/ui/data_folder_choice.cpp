#include "ui/data_folder_choice.h"

#include "core/core.h"
#include "files/file_utils.h"
#include "languages/text_ids.h"
#include "platform/choosers.h"
#include "settings/user_folders.h"

namespace ui {

bool ChooseDataFolder(QWidget* parent, std::u16string& folder) {
  if (!platform::BrowseForFolder(parent, folder)) {
    return false;
  }
  AddBackslash(folder);
  std::u16string failed;
  if (settings::CreateFolderPath(folder, failed)) {
    return true;
  }
  if (const CKCore* core = TheCore()) {
    core->m_Languages.ShowMessage(texts::kMsgFolderUnusable.entry);
  }
  return false;
}

}  // namespace ui
