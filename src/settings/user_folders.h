#pragma once

#include <optional>
#include <string>
#include <string_view>

// The folders and the name that the desktop gives the current user, after the XDG base
// directory and user directory conventions. Paths come without a trailing separator; each is
// empty when it cannot be had.
namespace settings {

// $HOME when it is an absolute path, else the home folder of the process's user account.
std::u16string HomeFolder();

// $XDG_CONFIG_HOME when absolute, else HOME/.config.
std::u16string ConfigHomeFolder();

// $XDG_DATA_HOME when absolute, else HOME/.local/share.
std::u16string DataHomeFolder();

// The documents folder: $XDG_DOCUMENTS_DIR when absolute; else the one that user-dirs.dirs in
// the configuration folder names; else HOME/Documents when that folder exists.
std::u16string DocumentsFolder();

// The login name of the process's user account; nothing when the system does not know it.
std::optional<std::u16string> LoginName();

// The documents folder that a user-dirs.dirs file names: the last line of the form
// XDG_DOCUMENTS_DIR="$HOME/path" or XDG_DOCUMENTS_DIR="/path" (a backslash takes the next
// character literally). Nothing when no line qualifies.
std::optional<std::u16string> DocumentsFromUserDirs(std::string_view content,
                                                    std::u16string_view home);

// Makes a folder and every missing folder above it (new ones with mode 0700). True when the
// whole path is a folder now; else false with the first path that could not be made in failed.
bool CreateFolderPath(std::u16string_view path, std::u16string& failed);

}  // namespace settings
