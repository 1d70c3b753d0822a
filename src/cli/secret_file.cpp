#include "cli/secret_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>

#include "cli/error_messages.h"
#include "cli/exit_codes.h"

namespace cli {
namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

int Failed(const std::u16string& path, int error) {
  ReportError(u"\"" + path + u"\" cannot be written: " +
              QString::fromLocal8Bit(std::strerror(error)).toStdU16String());
  return kExitWriteFailed;
}

// Fills an open new file and closes it; on failure the file is removed.
int Fill(int fd, const std::string& native, const std::u16string& path, const std::uint8_t* data,
         std::size_t size) {
  const bool written = WriteAll(fd, data, size) && ::fsync(fd) == 0;
  const int error = errno;
  if (::close(fd) != 0 || !written) {
    ::unlink(native.c_str());
    return Failed(path, written ? errno : error);
  }
  return kExitOk;
}

}  // namespace

int WriteSecretFile(const std::u16string& path, const std::uint8_t* data, std::size_t size,
                    bool replace) {
  const std::string native = QFile::encodeName(QString::fromStdU16String(path)).toStdString();
  if (!replace) {
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd < 0 && errno == EEXIST) {
      ReportError(u"\"" + path + u"\" exists already; --force replaces it");
      return kExitNameUsed;
    }
    if (fd < 0) {
      return Failed(path, errno);
    }
    return Fill(fd, native, path, data, size);
  }
  std::string temporary = native + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);  // mode 0600
  if (fd < 0) {
    return Failed(path, errno);
  }
  if (const int result = Fill(fd, temporary, path, data, size); result != kExitOk) {
    return result;
  }
  if (::rename(temporary.c_str(), native.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return Failed(path, error);
  }
  return kExitOk;
}

}  // namespace cli
