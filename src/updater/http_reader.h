#pragma once

#include <QUrl>
#include <cstdint>
#include <string>

#include "updater/download_file.h"
#include "updater/http_get.h"
#include "updater/memory_buffer.h"

// The two HTTP operations of the update checker, run synchronously on the calling thread
// (see updater::HttpGet for the request: user agent, no cache, system proxy).
class CKHTTPReader {
 public:
  // Downloads go to their file in pieces of this size.
  static constexpr std::uint32_t kPieceSize = 8192;
  // A download that grows beyond this is no installer of ours and is abandoned.
  static constexpr std::uint64_t kMaxDownloadSize = 256ull * 1024 * 1024;

  CKHTTPReader() = default;
  explicit CKHTTPReader(const updater::KHttpOptions& options) : options_(options) {}

  // The buffer that ReadToBuffer fills; its size is how much is read at most. Downloads do
  // not use it: they go to their file piece by piece as the data arrives.
  CKMemoryBuffer& GetBuffer() { return m_Buffer; }
  const CKMemoryBuffer& GetBuffer() const { return m_Buffer; }

  // Reads the address's content into the buffer, as far as the buffer goes, and returns how
  // many bytes came. 0 at once with a buffer of size 0; 0 after any failure, with the buffer
  // zero-filled again (a failed read shows nothing of what came before it failed).
  std::uint32_t ReadToBuffer(const QUrl& address);

  // Downloads the address into the file at path and returns the number of bytes written; 0
  // after any failure. The file is made (or emptied) once the server has answered with a
  // success status and sent the first bytes. A failure of the file itself is described in
  // file_failure when given (its error stays 0 for network failures). After a failure the
  // file it made is removed again: a broken download leaves nothing behind.
  std::uint64_t DownloadToFile(const QUrl& address, const std::u16string& path,
                               KFileFailure* file_failure = nullptr);

 private:
  CKMemoryBuffer m_Buffer;
  updater::KHttpOptions options_;
};
