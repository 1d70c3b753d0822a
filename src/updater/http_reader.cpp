#include "updater/http_reader.h"

#include <algorithm>
#include <cstring>

std::uint32_t CKHTTPReader::ReadToBuffer(const QUrl& address) {
  const std::uint32_t size = m_Buffer.GetSize();
  if (size == 0) {
    return 0;
  }
  std::uint32_t filled = 0;
  const updater::HttpOutcome outcome = updater::HttpGet(
      address, size,
      [&](const char* data, qint64 count) {
        const auto take =
            static_cast<std::uint32_t>(std::min<qint64>(count, static_cast<qint64>(size - filled)));
        std::memcpy(m_Buffer.GetData() + filled, data, take);
        filled += take;
        return filled < size;
      },
      options_);
  if (outcome == updater::HttpOutcome::kFailed) {
    std::memset(m_Buffer.GetData(), 0, size);
    return 0;
  }
  return filled;
}

std::uint64_t CKHTTPReader::DownloadToFile(const QUrl& address, const std::u16string& path,
                                           KFileFailure* file_failure) {
  CKDownloadFile file;
  bool created = false;
  bool file_failed = false;
  std::uint64_t total = 0;
  const updater::HttpOutcome outcome = updater::HttpGet(
      address, kPieceSize,
      [&](const char* data, qint64 count) {
        if (!created) {
          created = true;
          if (!file.Create(path)) {
            file_failed = true;
            return false;
          }
        }
        const auto size = static_cast<std::uint64_t>(count);
        if (total + size > kMaxDownloadSize) {
          return false;
        }
        if (!file.Append(data, size)) {
          file_failed = true;
          return false;
        }
        total += size;
        return true;
      },
      options_);
  if (created && !file_failed && !file.Close()) {
    file_failed = true;
  }
  if (file_failed && file_failure != nullptr) {
    *file_failure = KFileFailure{file.GetPath(), file.GetError()};
  }
  if (outcome != updater::HttpOutcome::kComplete || file_failed) {
    file.Discard();
    return 0;
  }
  return total;
}
