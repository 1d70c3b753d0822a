#pragma once

#include <string>
#include <vector>

namespace platform {

// The window that owns a chooser: the interface layer passes its own window object; null
// means the program's main window.
using ParentWindow = void*;

// One entry of a chooser's type list, such as {"All files", "*.*"}; several patterns are
// separated by ";".
struct FileFilter {
  std::u16string name;
  std::u16string pattern;
};

struct SaveFileOptions {
  std::u16string title;
  std::vector<FileFilter> filters;
  std::u16string initial_name;
  bool confirm_overwrite = true;
};

// The folder and file choosers that the lower layers show. The desktop program installs its
// dialogs; until then, and in tests unless they install their own, every chooser answers
// "cancelled". A chooser never changes the current folder.
class Choosers {
 public:
  virtual ~Choosers() = default;
  // A file-system folder; on OK its path goes into folder and the result is true.
  virtual bool ChooseFolder(ParentWindow parent, std::u16string& folder) = 0;
  // An existing file; on OK its full path goes into path.
  virtual bool ChooseOpenFile(ParentWindow parent, const std::vector<FileFilter>& filters,
                              std::u16string& path) = 0;
  // A file to write, in an existing folder.
  virtual bool ChooseSaveFile(ParentWindow parent, const SaveFileOptions& options,
                              std::u16string& path) = 0;
};

// The choosers in use.
Choosers& FileChoosers();

// Installs choosers (not owned) and returns the ones they replace; null restores the default.
Choosers* InstallChoosers(Choosers* choosers);

// The folder picker: true with the chosen folder's path in folder, false when cancelled.
bool BrowseForFolder(ParentWindow parent, std::u16string& folder);

// The open-file dialog, for a file and path that exist: true with the full path of a
// non-empty choice in path.
bool OpenFileDialog(ParentWindow parent, std::u16string& path,
                    const std::vector<FileFilter>& filters);

// The save-file dialog: true with the chosen path in path.
bool SaveFileDialog(ParentWindow parent, std::u16string& path, const SaveFileOptions& options);

}  // namespace platform
