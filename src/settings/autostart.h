#pragma once

#include <string>
#include <string_view>

// The entry that starts the program when the user logs in to the desktop: the XDG autostart
// file CONFIG/autostart/VaultQuill.desktop, CONFIG being the user's configuration folder.
namespace settings {

// Its path; empty when the user has no configuration folder.
std::u16string AutostartEntryPath();

// The Exec value that starts the program at that path, written as the file holds it: the path
// quoted as one argument after the Desktop Entry rules, with "%" doubled and the string
// escapes of the file format applied on top.
std::string DesktopExecValue(std::u16string_view program);

// The whole entry for the program.
std::string AutostartEntryText(std::u16string_view program);

// Writes the entry (folders made as needed; the file replaced in one step). True on success.
bool WriteAutostartEntry(std::u16string_view program);

// Deletes the entry. True when none exists afterwards.
bool RemoveAutostartEntry();

}  // namespace settings
