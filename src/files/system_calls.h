#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace files {

struct DirectoryEntry {
  std::string name;  // as the file system stores it (UTF-8 on our systems)
  bool is_folder = false;
};

// Every system call of the file layer goes through this table, so that a test can make the
// n-th write, flush, close, delete or rename fail and watch what a save does then. The default
// table makes the real calls. Failures follow the POSIX convention: -1 with errno set.
class SystemCalls {
 public:
  virtual ~SystemCalls() = default;

  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Read(int fd, void* buffer, size_t count);
  // pread(2): at offset, leaving the file position alone.
  virtual ssize_t ReadAt(int fd, void* buffer, size_t count, off_t offset);
  virtual ssize_t Write(int fd, const void* buffer, size_t count);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual off_t Seek(int fd, off_t offset, int whence);
  virtual int Truncate(int fd, off_t length);
  // flock(2); advisory, between our own processes only.
  virtual int Lock(int fd, int operation);
  virtual int FileStatus(int fd, struct stat* status);
  // The three times of an open file, birth time included where the file system keeps one.
  virtual int FileTimes(int fd, struct statx* times);
  // Status of a path; with follow_links false a symbolic link is described itself.
  virtual int PathStatus(const char* path, struct stat* status, bool follow_links);
  virtual int Unlink(const char* path);
  // With replace false the call fails with EEXIST when the destination exists.
  virtual int Rename(const char* from, const char* to, bool replace);
  virtual int MakeFolder(const char* path, mode_t mode);
  // The names of a folder in the order the system returns them, "." and ".." included.
  virtual int ListDirectory(const char* path, std::vector<DirectoryEntry>& entries);
  virtual int CurrentFolder(std::string& path);
  // mmap(2) of length bytes from offset (a multiple of the page size), read only and shared;
  // null, with errno set, when refused.
  virtual void* MapFile(int fd, off_t offset, size_t length);
  virtual int Unmap(void* address, size_t length);
  virtual int Advise(void* address, size_t length, int advice);
};

// The table in use.
SystemCalls& System();

// Installs a table (not owned) and returns the one it replaces; null restores the real calls.
SystemCalls* InstallSystemCalls(SystemCalls* calls);

}  // namespace files
