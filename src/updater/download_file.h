#pragma once

#include <cstddef>
#include <string>

// The file that a download is written into, on the checker's own thread. It shows nothing
// itself (messages and language texts belong to the user-interface thread): a failure keeps
// the system's error code, and the user-interface thread shows the file message for it.
// Goes through the file layer's system calls (files/system_calls.h), like every file access.
class CKDownloadFile {
 public:
  CKDownloadFile() = default;
  // Closes a file still open.
  ~CKDownloadFile();
  CKDownloadFile(const CKDownloadFile&) = delete;
  CKDownloadFile& operator=(const CKDownloadFile&) = delete;

  // Opens the path for reading and writing, making the file when it is missing and cutting it
  // to length 0. A symbolic link at the path is not followed.
  bool Create(const std::u16string& path);
  // Appends all size bytes.
  bool Append(const void* data, std::size_t size);
  // Closes the file; a failing close is a failure too (the data may not have been written).
  bool Close();
  // Closes the file and removes it, after a failed download. Only a file that Create opened is
  // removed; nothing is reported.
  void Discard();

  // The errno value of the last failure.
  int GetError() const { return error_; }
  const std::u16string& GetPath() const { return path_; }

 private:
  bool Fail();

  int fd_ = -1;
  int error_ = 0;
  bool created_ = false;
  std::u16string path_;
};

// A file failure of a download: the file and the errno value, for the file message.
struct KFileFailure {
  std::u16string path;
  int error = 0;
};
