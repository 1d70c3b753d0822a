#include "files/file.h"

#include <fcntl.h>
#include <sys/file.h>

#include <bit>
#include <cerrno>
#include <limits>
#include <vector>

#include "files/errors.h"
#include "files/file_time.h"
#include "files/native_path.h"
#include "files/system_calls.h"
#include "platform/secure_zero.h"

namespace {

constexpr mode_t kSecretFileMode = 0600;
constexpr std::uint32_t kMaxStringBytes = 65535;

// The advisory lock that stands for the share mode, or 0 for none. Advisory locks cannot say
// "others may read while I write", so a writer that lets others only read locks them out too.
int LockFor(std::uint32_t mode) {
  const std::uint32_t share = mode & CKFile::shareMask;
  if (share == CKFile::shareExclusive || share == 0x10) {
    return LOCK_EX;
  }
  if (share == CKFile::shareDenyWrite) {
    return (mode & CKFile::modeAccessMask) == CKFile::modeRead ? LOCK_SH : LOCK_EX;
  }
  return 0;
}

files::PosixTime FromStatx(const struct statx_timestamp& stamp) {
  return {stamp.tv_sec, stamp.tv_nsec};
}

}  // namespace

CKFile::CKFile(bool throw_on_error, bool show_message)
    : m_bThrow(throw_on_error), m_bShow(show_message) {}

CKFile::~CKFile() {
  if (m_hFile != kNoHandle && m_bOwnsHandle) {
    files::System().Close(m_hFile);
  }
  platform::SecureZero(m_csPath.data(), m_csPath.size() * sizeof(char16_t));
}

bool CKFile::Fail(ErrorExceptions error) {
  CKFileError(m_csPath.c_str(), m_bShow);
  if (m_bThrow) {
    throw error;
  }
  return false;
}

bool CKFile::Open(const std::u16string& path, std::uint32_t mode) {
  if (m_hFile != kNoHandle && m_bOwnsHandle) {
    files::System().Close(m_hFile);
  }
  m_hFile = kNoHandle;
  m_csPath = path;

  int flags = O_CLOEXEC | O_NOCTTY;
  switch (mode & modeAccessMask) {
    case modeRead:
      flags |= O_RDONLY;
      break;
    case modeWrite:
      flags |= O_WRONLY;
      break;
    case modeReadWrite:
      flags |= O_RDWR;
      break;
    default:
      errno = EINVAL;
      return Fail(ErrOpen);
  }
  const bool create = (mode & modeCreate) != 0;
  const bool empty_existing = create && (mode & modeNoTruncate) == 0;
  if (create) {
    flags |= O_CREAT;
  }
  std::string native;
  if (!files::NativePath(path, native)) {
    return Fail(ErrOpen);
  }
  auto& sys = files::System();
  const int fd = sys.Open(native.c_str(), flags, kSecretFileMode);
  if (fd < 0) {
    return Fail(ErrOpen);
  }
  // Everything after the open: on failure the descriptor goes and errno stays that of the step.
  auto give_up = [&](int error) {
    sys.Close(fd);
    errno = error;
    return Fail(ErrOpen);
  };
  struct stat status;
  if (sys.FileStatus(fd, &status) != 0) {
    return give_up(errno);
  }
  if (S_ISDIR(status.st_mode)) {
    return give_up(EISDIR);
  }
  if (const int lock = LockFor(mode); lock != 0 && sys.Lock(fd, lock | LOCK_NB) != 0) {
    // A file system without locks is used without them.
    if (errno == EWOULDBLOCK) {
      return give_up(EBUSY);
    }
    if (errno != ENOLCK && errno != EINVAL && errno != EOPNOTSUPP) {
      return give_up(errno);
    }
  }
  // Emptied only now, so that a second writer locked out above cannot cut the first one's data.
  if (empty_existing && (mode & modeAccessMask) != modeRead && status.st_size != 0 &&
      sys.Truncate(fd, 0) != 0) {
    return give_up(errno);
  }
  m_hFile = fd;
  m_bOwnsHandle = true;
  return true;
}

bool CKFile::Read(void* buffer, std::uint32_t count, std::uint32_t* done) {
  if (done != nullptr) {
    *done = 0;
  }
  if (count == 0 || buffer == nullptr) {
    return true;
  }
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::uint32_t total = 0;
  while (total < count) {
    const ssize_t got = files::System().Read(m_hFile, bytes + total, count - total);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail(ErrRead);
    }
    if (got == 0) {
      break;
    }
    total += static_cast<std::uint32_t>(got);
  }
  if (done != nullptr) {
    *done = total;
  }
  return true;
}

bool CKFile::Write(const void* buffer, std::uint32_t count, std::uint32_t* done) {
  if (done != nullptr) {
    *done = 0;
  }
  if (count == 0) {
    return true;
  }
  if (buffer == nullptr) {
    errno = EINVAL;
    return Fail(ErrWrite);
  }
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::uint32_t total = 0;
  while (total < count) {
    const ssize_t put = files::System().Write(m_hFile, bytes + total, count - total);
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      if (put == 0) {
        errno = ENOSPC;
      }
      if (done != nullptr) {
        *done = total;
      }
      return Fail(ErrWrite);
    }
    total += static_cast<std::uint32_t>(put);
    if (done != nullptr) {
      *done = total;
    }
  }
  return true;
}

bool CKFile::ReadString(std::u16string& text) {
  platform::SecureZero(text.data(), text.size() * sizeof(char16_t));
  text.clear();
  std::uint8_t length_bytes[4] = {};
  if (!Read(length_bytes, sizeof length_bytes)) {
    return false;
  }
  const std::uint32_t length = length_bytes[0] | (length_bytes[1] << 8) | (length_bytes[2] << 16) |
                               (std::uint32_t{length_bytes[3]} << 24);
  if (length == 0) {
    return true;
  }
  if (length > kMaxStringBytes) {
    // Too long to be ours: step over the bytes so the stream stays on its next field. A stream
    // that reports fewer bytes than asked has ended; one that reports nothing is trusted.
    std::uint8_t skipped[4096];
    bool result = true;
    for (std::uint32_t left = length; left != 0 && result;) {
      const std::uint32_t step = left < sizeof skipped ? left : sizeof skipped;
      std::uint32_t got = step;
      result = Read(skipped, step, &got);
      if (got < step) {
        break;
      }
      left -= step;
    }
    platform::SecureZero(skipped, sizeof skipped);
    return result;
  }
  std::vector<std::uint8_t> bytes(length, 0);
  const bool result = Read(bytes.data(), length);
  if (result) {
    text.resize(length / 2);  // an odd last byte has no character to go to
    for (std::size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    if (const auto zero = text.find(u'\0'); zero != std::u16string::npos) {
      platform::SecureZero(text.data() + zero, (text.size() - zero) * sizeof(char16_t));
      text.resize(zero);
    }
  }
  platform::SecureZero(bytes.data(), bytes.size());
  return result;
}

bool CKFile::WriteString(std::u16string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max() / 2) {
    errno = EOVERFLOW;
    return Fail(ErrWrite);
  }
  const auto length = static_cast<std::uint32_t>(text.size() * 2);
  const std::uint8_t length_bytes[4] = {
      static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
      static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
  if (!Write(length_bytes, sizeof length_bytes)) {
    return false;
  }
  if (length == 0) {
    return true;
  }
  if constexpr (std::endian::native == std::endian::little) {
    return Write(text.data(), length);
  } else {
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < text.size(); ++i) {
      bytes[2 * i] = static_cast<std::uint8_t>(text[i]);
      bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    const bool result = Write(bytes.data(), length);
    platform::SecureZero(bytes.data(), bytes.size());
    return result;
  }
}

bool CKFile::Close() {
  if (m_hFile == kNoHandle) {
    return true;
  }
  const int fd = m_hFile;
  m_hFile = kNoHandle;
  m_bOwnsHandle = false;
  // The descriptor is gone even when close reports an error (EINTR included, on Linux).
  const bool closed = files::System().Close(fd) == 0 || errno == EINTR;
  if (!closed) {
    CKFileError(m_csPath.c_str(), m_bShow);
  }
  platform::SecureZero(m_csPath.data(), m_csPath.size() * sizeof(char16_t));
  m_csPath.clear();
  if (!closed && m_bThrow) {
    throw ErrClose;
  }
  return closed;
}

bool CKFile::Flush() {
  if (files::System().Fsync(m_hFile) != 0 && errno != EINVAL) {
    return Fail(ErrWrite);
  }
  return true;
}

bool CKFile::GetLength(std::uint64_t& length) {
  struct stat status;
  if (files::System().FileStatus(m_hFile, &status) != 0) {
    return Fail(ErrSize);
  }
  length = static_cast<std::uint64_t>(status.st_size);
  return true;
}

bool CKFile::Seek(std::int64_t distance, SeekMethod method, std::uint64_t* position) {
  const int whence = method == fromStart ? SEEK_SET : method == fromCurrent ? SEEK_CUR : SEEK_END;
  const off_t result = files::System().Seek(m_hFile, static_cast<off_t>(distance), whence);
  if (result < 0) {
    return Fail(ErrSeek);
  }
  if (position != nullptr) {
    *position = static_cast<std::uint64_t>(result);
  }
  return true;
}

bool CKFile::GetPosition(std::uint64_t& position) {
  return Seek(0, fromCurrent, &position);
}

bool CKFile::SetLength(std::uint64_t length) {
  auto& sys = files::System();
  if (length > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
    errno = EFBIG;
    return Fail(ErrSetLength);
  }
  const auto offset = static_cast<off_t>(length);
  if (sys.Seek(m_hFile, offset, SEEK_SET) < 0 || sys.Truncate(m_hFile, offset) != 0) {
    return Fail(ErrSetLength);
  }
  return true;
}

bool CKFile::GetFileTime(std::uint64_t* creation, std::uint64_t* last_access,
                         std::uint64_t* last_write) {
  struct statx times {};
  if (files::System().FileTimes(m_hFile, &times) != 0) {
    return Fail(ErrFileTime);
  }
  const bool has_birth = (times.stx_mask & STATX_BTIME) != 0;
  if (creation != nullptr) {
    *creation = files::FileTimeFromPosix(FromStatx(has_birth ? times.stx_btime : times.stx_mtime));
  }
  if (last_access != nullptr) {
    *last_access = files::FileTimeFromPosix(FromStatx(times.stx_atime));
  }
  if (last_write != nullptr) {
    *last_write = files::FileTimeFromPosix(FromStatx(times.stx_mtime));
  }
  return true;
}
