#include "crypto/crypto_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/secure_zero.h"

namespace {

constexpr std::size_t kBlock = CKCryptoSymmetric::kBlockSize;
// Writes at least this large are enciphered straight from the caller's buffer into the chunk.
constexpr std::size_t kDirectWriteMinimum = 4096;

constexpr std::size_t WholeBlocks(std::size_t bytes) {
  return bytes - bytes % kBlock;
}

std::atomic<std::uint64_t> g_mapping_minimum{CKCryptoFile::kMappingMinimum};

}  // namespace

std::uint64_t CKCryptoFile::SetMappingMinimum(std::uint64_t bytes) {
  return g_mapping_minimum.exchange(bytes);
}

CKCryptoFile::CKCryptoFile(CKCryptoSymmetric* cipher) : CKFile(true, true), m_pCipher(cipher) {}

CKCryptoFile::~CKCryptoFile() {
  SettleWrites();
  m_Mapping.Unmap();
  WipeHeld();
}

void CKCryptoFile::WipeHeld() {
  if (m_pChunk != nullptr) {
    platform::SecureZero(m_pChunk.get(), kChunkSize);
  }
  m_nHeldStart = 0;
  m_nHeldEnd = 0;
  m_nSealed = 0;
}

void CKCryptoFile::EnsureChunk() {
  // Made when a stream begins: a file whose header alone is read never needs it.
  if (m_pChunk == nullptr) {
    m_pChunk.reset(new std::uint8_t[kChunkSize]());
  }
}

void CKCryptoFile::Attach(CKFile& file) {
  SettleWrites();
  m_Mapping.Unmap();
  if (m_hFile != kNoHandle && m_bOwnsHandle) {
    Close();
  }
  m_hFile = file.GetHandle();
  m_bOwnsHandle = true;
  m_csPath = file.GetPath();  // so that its failures name the file
  SetErrorHandling(file.ThrowsOnError(), file.ShowsMessages());
  file.SetHandle(kNoHandle);
}

bool CKCryptoFile::Begin(bool for_writing) {
  SettleWrites();
  m_Mapping.Unmap();
  m_pLaterCipher = nullptr;
  m_bLaterFailed = false;
  std::uint64_t length = 0;
  std::uint64_t position = 0;
  GetLength(length);
  GetPosition(position);
  const std::uint64_t area = length > position ? length - position : 0;
  WipeHeld();
  m_nStreamPosition = 0;
  m_bReachedEnd = false;
  m_bFileFailed = false;
  m_nRemaining = for_writing ? 0 : area - area % kBlock;
  m_nPartialBytes = for_writing ? 0 : static_cast<std::uint32_t>(area % kBlock);
  m_nAreaEnd = position + m_nRemaining;
  m_nMappedAt = 0;
  if (m_nRemaining != 0 && m_nRemaining >= g_mapping_minimum.load()) {
    m_Mapping.Map(files::System(), m_hFile, position, m_nRemaining);
  }
  EnsureChunk();
  return area > 0;
}

bool CKCryptoFile::Close() {
  SettleWrites();
  m_pLaterCipher = nullptr;
  m_Mapping.Unmap();
  WipeHeld();
  return CKFile::Close();
}

void CKCryptoFile::SealHeld() {
  const std::size_t plain = m_nHeldEnd - m_nSealed;  // whole blocks
  if (m_pCipher != nullptr && plain != 0) {
    m_pCipher->EncryptBlocks(m_pChunk.get() + m_nSealed, m_pChunk.get() + m_nSealed,
                             plain / kBlock);
  }
  m_nSealed = m_nHeldEnd;
}

bool CKCryptoFile::WriteHeld(bool final) {
  if (final && m_nHeldEnd % kBlock != 0) {
    const std::size_t padded = WholeBlocks(m_nHeldEnd) + kBlock;
    std::memset(m_pChunk.get() + m_nHeldEnd, 0, padded - m_nHeldEnd);
    m_nHeldEnd = padded;
  }
  SealHeld();
  const std::size_t size = m_nHeldEnd;
  m_nHeldEnd = 0;
  m_nSealed = 0;
  if (size == 0) {
    return true;
  }
  try {
    const bool written = CKFile::Write(m_pChunk.get(), static_cast<std::uint32_t>(size));
    m_bFileFailed = m_bFileFailed || !written;
    return written;
  } catch (...) {
    m_bFileFailed = true;
    throw;
  }
}

bool CKCryptoFile::Write(const void* buffer, std::uint32_t count, std::uint32_t* done) {
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
  EnsureChunk();
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::size_t taken = 0;
  while (taken < count) {
    // A full chunk goes out only when more bytes arrive, so Finish always has a block to end.
    if (m_nHeldEnd == kChunkSize && !WriteHeld(false)) {
      return false;
    }
    const std::size_t left = count - taken;
    if (left >= kDirectWriteMinimum && m_nHeldEnd % kBlock == 0) {
      // Whole blocks go from the caller's buffer through the cipher into the chunk.
      SealHeld();
      const std::size_t n = std::min(WholeBlocks(left), kChunkSize - m_nHeldEnd);
      if (m_pCipher != nullptr) {
        m_pCipher->EncryptBlocks(in + taken, m_pChunk.get() + m_nHeldEnd, n / kBlock);
      } else {
        std::memcpy(m_pChunk.get() + m_nHeldEnd, in + taken, n);
      }
      m_nHeldEnd += n;
      m_nSealed = m_nHeldEnd;
      taken += n;
      continue;
    }
    std::size_t n = std::min(kChunkSize - m_nHeldEnd, left);
    if (left >= kDirectWriteMinimum) {
      n = std::min(n, kBlock - m_nHeldEnd % kBlock);  // up to a block boundary, then directly
    }
    std::memcpy(m_pChunk.get() + m_nHeldEnd, in + taken, n);
    m_nHeldEnd += n;
    taken += n;
  }
  m_nStreamPosition += count;
  if (done != nullptr) {
    *done = count;
  }
  return true;
}

bool CKCryptoFile::Finish() {
  if (m_nHeldEnd == 0) {
    WipeHeld();
    return false;
  }
  bool written = false;
  try {
    written = WriteHeld(true);
  } catch (...) {
    WipeHeld();
    throw;
  }
  WipeHeld();
  return written;
}
