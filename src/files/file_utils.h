#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Files and folders by path. Paths are UTF-16 and use the platform's separator "/".

// True when a file or folder of that path exists, or, for a pattern with "*" or "?" in its last
// component, when any name of its folder matches it ("." and ".." aside).
bool FileExists(std::u16string_view path);

// Deletes a file: true, or the file message naming it is shown and CKFile::ErrDelete thrown.
bool DeleteFile(std::u16string_view path);

// False when nothing exists at the path, else DeleteFile.
bool DeleteFileIfExists(std::u16string_view path);

// Moves a file or folder; the destination must not exist. Across file systems a file is copied
// and its source deleted. True, or the file message naming the source is shown and
// CKFile::ErrMove thrown.
bool MoveFile(std::u16string_view from, std::u16string_view to);

// Copies a file's content; a file it creates gets mode 0600. With fail_if_exists an existing
// destination makes it fail with EEXIST. False with errno set on failure; nothing is shown
// (callers show a CKError from the last error).
bool CopyFile(std::u16string_view from, std::u16string_view to, bool fail_if_exists);

// True when the folder was made (mode 0700) or already existed.
bool CreateFolder(std::u16string_view path);

// Appends the names (not paths) of the matches of a pattern whose folder-ness equals
// want_folders, in the order the system lists them, never "." or "..". Returns the list's new
// size.
std::size_t ListFolder(std::vector<std::u16string>& names, std::u16string_view pattern,
                       bool want_folders);

// The process's current folder with a trailing separator; on failure the system's message is
// shown and the result is false.
bool GetWorkingFolder(std::u16string& folder);

// Appends the separator to a text of at least 2 characters that does not already end in one.
void AddBackslash(std::u16string& path);

// Makes the renames and deletions in a folder durable. True, or the file message naming the
// folder is shown and CKFile::ErrWrite thrown.
bool SyncFolder(std::u16string_view folder);
