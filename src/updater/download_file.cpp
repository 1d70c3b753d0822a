#include "updater/download_file.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdint>
#include <string>

#include "files/native_path.h"
#include "files/system_calls.h"

namespace {

// An installer is no secret: the usual mode of a downloaded file (the umask applies).
constexpr mode_t kDownloadMode = 0644;

}  // namespace

CKDownloadFile::~CKDownloadFile() {
  if (fd_ >= 0) {
    files::System().Close(fd_);
  }
}

bool CKDownloadFile::Fail() {
  error_ = errno;
  return false;
}

bool CKDownloadFile::Create(const std::u16string& path) {
  path_ = path;
  std::string native;
  if (!files::NativePath(path, native)) {
    return Fail();
  }
  fd_ = files::System().Open(native.c_str(),
                             O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW,
                             kDownloadMode);
  if (fd_ < 0) {
    return Fail();
  }
  created_ = true;
  return true;
}

bool CKDownloadFile::Append(const void* data, std::size_t size) {
  if (fd_ < 0) {
    errno = EBADF;
    return Fail();
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t written = files::System().Write(fd_, bytes, size);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail();
    }
    if (written == 0) {
      errno = EIO;  // no progress: the device takes nothing more
      return Fail();
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool CKDownloadFile::Close() {
  if (fd_ < 0) {
    return true;
  }
  const int fd = fd_;
  fd_ = -1;
  return files::System().Close(fd) == 0 || Fail();
}

void CKDownloadFile::Discard() {
  if (fd_ >= 0) {
    files::System().Close(fd_);
    fd_ = -1;
  }
  std::string native;
  if (created_ && files::NativePath(path_, native)) {
    files::System().Unlink(native.c_str());
  }
  created_ = false;
}
