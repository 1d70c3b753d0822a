// The reading half of CKCryptoFile.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "crypto/crypto_file.h"
#include "platform/secure_zero.h"

namespace {

constexpr std::size_t kBlock = CKCryptoSymmetric::kBlockSize;
// Reads at least this large are deciphered straight into the caller's buffer, so that a large
// attachment is never copied.
constexpr std::size_t kDirectReadMinimum = 4096;
// Small reads are served from this much of the stream at a time, deciphered into the chunk.
// Less than the chunk: whatever is deciphered ahead of a large payload is copied once more.
constexpr std::size_t kTextStep = 16 * 1024;

constexpr std::size_t WholeBlocks(std::size_t bytes) {
  return bytes - bytes % kBlock;
}

// Deciphering out of the mapping, as a MappedArea::Work: it holds nothing that an interrupted
// run would leave behind.
struct DecipherJob {
  CKCryptoSymmetric* cipher;
  std::uint8_t* out;
};

void DecipherBlocks(const std::uint8_t* in, std::size_t count, void* context) {
  const auto& job = *static_cast<const DecipherJob*>(context);
  if (job.cipher != nullptr) {
    job.cipher->DecryptBlocks(in, job.out, count / kBlock);
  } else {
    std::memcpy(job.out, in, count);
  }
}

// A deferred read, as a MappedArea::LaterWork: bytes begin with the enciphered block before
// the run, which is the run's chaining value.
void DecipherLater(const std::uint8_t* bytes, std::size_t count, void* shared, void* target) {
  auto* cipher = static_cast<CKCryptoSymmetric*>(shared);
  cipher->SetIV(bytes);
  cipher->DecryptBlocks(bytes + kBlock, static_cast<std::uint8_t*>(target),
                        (count - kBlock) / kBlock);
}

}  // namespace

void CKCryptoFile::Decipher(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes) {
  if (m_pCipher != nullptr) {
    m_pCipher->DecryptBlocks(in, out, bytes / kBlock);
  } else if (in != out) {
    std::memcpy(out, in, bytes);
  }
}

std::size_t CKCryptoFile::ReadBlocks(std::uint8_t* out, std::size_t count) {
  const auto wanted =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(WholeBlocks(count), m_nRemaining));
  if (wanted == 0) {
    return 0;
  }
  std::uint32_t got = 0;
  try {
    if (!CKFile::Read(out, wanted, &got)) {
      m_bFileFailed = true;
      got = 0;
    }
  } catch (...) {
    m_bFileFailed = true;
    throw;
  }
  m_nRemaining -= wanted;
  if (got < wanted) {
    m_nRemaining = 0;  // the file has become shorter since Begin
  }
  return WholeBlocks(got);
}

void CKCryptoFile::DeferLongReads(CKCryptoSymmetric* cipher) {
  m_pLaterCipher = m_Mapping.IsMapped() && m_pCipher != nullptr ? cipher : nullptr;
}

bool CKCryptoFile::DecipherMapped(std::uint8_t* out, std::size_t count) {
  if (m_pLaterCipher != nullptr && count >= kLaterMinimum && m_nMappedAt >= kBlock &&
      m_Mapping.DoLater(m_nMappedAt - kBlock, count + kBlock, &DecipherLater, m_pLaterCipher,
                        out)) {
    if (!m_bWritesPending) {
      m_bWritesPending = true;
      files::SetPendingWrites(this);
    }
    // This stream's chain goes on from the run's last enciphered block.
    return ChainFrom(m_nMappedAt + count - kBlock);
  }
  DecipherJob job{m_pCipher, out};
  return m_Mapping.Access(m_nMappedAt, count, &DecipherBlocks, &job);
}

bool CKCryptoFile::ChainFrom(std::uint64_t at) {
  // Read, not touched in the mapping: its page may be one that queued work brings in later.
  std::uint8_t block[kBlock];
  if (m_Mapping.ReadBytes(at, block, kBlock) != static_cast<ssize_t>(kBlock)) {
    return false;
  }
  m_pCipher->SetIV(block);
  return true;
}

void CKCryptoFile::SettleWrites() {
  if (!m_bWritesPending) {
    return;
  }
  // This stream's cipher helps, and then goes on from where the stream stands.
  m_bLaterFailed = !m_Mapping.Settle(m_pCipher) || m_bLaterFailed;
  m_bWritesPending = false;
  if (!ChainFrom(m_nMappedAt - kBlock)) {
    m_bLaterFailed = true;
  }
  if (files::GetPendingWrites() == this) {
    files::SetPendingWrites(nullptr);
  }
}

void CKCryptoFile::Settle() {
  SettleWrites();
  m_pLaterCipher = nullptr;
  if (m_bLaterFailed && !m_bFileFailed) {
    MappingFailed();
  }
  m_bLaterFailed = false;
}

void CKCryptoFile::MappingFailed(int error) {
  m_nRemaining = 0;
  m_bLaterFailed = false;  // reported here, whatever failed
  struct stat status {};
  if (files::System().FileStatus(m_hFile, &status) == 0 &&
      static_cast<std::uint64_t>(status.st_size) < m_nAreaEnd) {
    // Cut short since Begin: the stream ends here, as a read would have found.
    m_bReachedEnd = true;
    return;
  }
  m_bFileFailed = true;
  errno = error;
  Fail(ErrRead);
}

std::size_t CKCryptoFile::FetchText(std::uint8_t* out, std::size_t count, bool small) {
  if (m_bFileFailed) {
    return 0;
  }
  if (!m_Mapping.IsMapped()) {
    const std::size_t got = ReadBlocks(out, count);
    Decipher(out, out, got);
    return got;
  }
  const auto n =
      static_cast<std::size_t>(std::min<std::uint64_t>(WholeBlocks(count), m_nRemaining));
  if (n == 0) {
    return 0;
  }
  std::size_t got = n;
  if (small) {
    // Read rather than touched in the mapping: the pages around small elements are often
    // those of attachments deciphered later, which would otherwise stay in memory until then.
    const ssize_t read = m_Mapping.ReadBytes(m_nMappedAt, out, n);
    if (read < 0) {
      MappingFailed(errno);
      return 0;
    }
    // A file cut short ends the stream on its last whole block, as a read of it does.
    got = WholeBlocks(static_cast<std::size_t>(read));
    Decipher(out, out, got);
  } else if (!DecipherMapped(out, n)) {
    SettleWrites();                // nothing may be writing into out any more
    platform::SecureZero(out, n);  // whatever was deciphered before the failure
    MappingFailed();
    return 0;
  }
  m_nMappedAt += got;
  m_nRemaining = got < n ? 0 : m_nRemaining - n;
  m_Mapping.Release(m_nMappedAt);
  return got;
}

bool CKCryptoFile::Read(void* buffer, std::uint32_t count, std::uint32_t* done) {
  if (buffer == nullptr || count == 0) {
    if (done != nullptr) {
      *done = 0;
    }
    return true;
  }
  auto* out = static_cast<std::uint8_t*>(buffer);
  // Most reads of an element tree are a few bytes of text already deciphered.
  if (count <= m_nHeldEnd - m_nHeldStart) {
    std::memcpy(out, m_pChunk.get() + m_nHeldStart, count);
    m_nHeldStart += count;
    m_nStreamPosition += count;
    if (done != nullptr) {
      *done = count;
    }
    return true;
  }
  if (done != nullptr) {
    *done = 0;
  }
  std::size_t delivered = 0;
  while (delivered < count) {
    const std::size_t want = count - delivered;
    if (m_nHeldStart < m_nHeldEnd) {
      const std::size_t n = std::min(m_nHeldEnd - m_nHeldStart, want);
      std::memcpy(out + delivered, m_pChunk.get() + m_nHeldStart, n);
      m_nHeldStart += n;
      delivered += n;
      continue;
    }
    if (want >= kDirectReadMinimum) {
      const std::size_t n = FetchText(out + delivered, want);
      delivered += n;
      if (n == 0) {
        break;
      }
      continue;
    }
    // Emptied first: a fetch that throws must not leave the last bytes to be delivered again.
    m_nHeldStart = m_nHeldEnd = 0;
    m_nHeldEnd = FetchText(m_pChunk.get(), kTextStep, true);
    if (m_nHeldEnd == 0) {
      break;
    }
  }
  if (delivered < count) {
    std::memset(out + delivered, 0, count - delivered);
    m_bReachedEnd = true;
  }
  m_nStreamPosition += delivered;
  if (done != nullptr) {
    *done = static_cast<std::uint32_t>(delivered);
  }
  return true;
}
