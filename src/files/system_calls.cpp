#include "files/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace files {

int SystemCalls::Open(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

ssize_t SystemCalls::Read(int fd, void* buffer, size_t count) {
  return ::read(fd, buffer, count);
}

ssize_t SystemCalls::ReadAt(int fd, void* buffer, size_t count, off_t offset) {
  return ::pread(fd, buffer, count, offset);
}

ssize_t SystemCalls::Write(int fd, const void* buffer, size_t count) {
  return ::write(fd, buffer, count);
}

int SystemCalls::Fsync(int fd) {
  return ::fsync(fd);
}

int SystemCalls::Close(int fd) {
  return ::close(fd);
}

off_t SystemCalls::Seek(int fd, off_t offset, int whence) {
  return ::lseek(fd, offset, whence);
}

int SystemCalls::Truncate(int fd, off_t length) {
  return ::ftruncate(fd, length);
}

int SystemCalls::Lock(int fd, int operation) {
  return ::flock(fd, operation);
}

int SystemCalls::FileStatus(int fd, struct stat* status) {
  return ::fstat(fd, status);
}

int SystemCalls::FileTimes(int fd, struct statx* times) {
  return ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, times);
}

int SystemCalls::PathStatus(const char* path, struct stat* status, bool follow_links) {
  return follow_links ? ::stat(path, status) : ::lstat(path, status);
}

int SystemCalls::Unlink(const char* path) {
  return ::unlink(path);
}

int SystemCalls::Rename(const char* from, const char* to, bool replace) {
  if (replace) {
    return ::rename(from, to);
  }
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
    return -1;
  }
  // A file system without the flag: check first, accepting the small race.
  struct stat status;
  if (::lstat(to, &status) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::rename(from, to);
}

int SystemCalls::MakeFolder(const char* path, mode_t mode) {
  return ::mkdir(path, mode);
}

int SystemCalls::ListDirectory(const char* path, std::vector<DirectoryEntry>& entries) {
  DIR* dir = ::opendir(path);
  if (dir == nullptr) {
    return -1;
  }
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      break;
    }
    DirectoryEntry found{entry->d_name, entry->d_type == DT_DIR};
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      // A link counts as what it points to, as a folder search on the desktop shows it.
      struct stat status;
      found.is_folder =
          ::fstatat(::dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
    }
    entries.push_back(std::move(found));
  }
  const int read_error = errno;
  ::closedir(dir);
  if (read_error != 0) {
    errno = read_error;
    return -1;
  }
  return 0;
}

int SystemCalls::CurrentFolder(std::string& path) {
  std::string buffer(256, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
      path.assign(buffer.c_str());
      return 0;
    }
    if (errno != ERANGE || buffer.size() > 65536) {
      return -1;
    }
    buffer.resize(buffer.size() * 2);
  }
}

namespace {
SystemCalls real_calls;
SystemCalls* installed = nullptr;
}  // namespace

SystemCalls& System() {
  return installed != nullptr ? *installed : real_calls;
}

SystemCalls* InstallSystemCalls(SystemCalls* calls) {
  SystemCalls* previous = installed;
  installed = calls;
  return previous;
}

void* SystemCalls::MapFile(int fd, off_t offset, size_t length) {
  void* address = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, offset);
  return address == MAP_FAILED ? nullptr : address;
}

int SystemCalls::Unmap(void* address, size_t length) {
  return ::munmap(address, length);
}

int SystemCalls::Advise(void* address, size_t length, int advice) {
  return ::madvise(address, length, advice);
}

}  // namespace files
