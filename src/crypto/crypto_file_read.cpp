// The reading half of CKCryptoFile.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "crypto/crypto_file.h"
#include "platform/secure_zero.h"

namespace {

constexpr std::size_t kBlock = CKCryptoSymmetric::kBlockSize;
// Reads at least this large are deciphered straight into the caller's buffer, so that a large
// attachment is never copied: from the piece read ahead, or read there from the file first.
constexpr std::size_t kDirectReadMinimum = 4096;
// Small reads are served from this much of the file at a time, deciphered in place. Less than
// the chunk: whatever is deciphered ahead of a large payload is copied once more.
constexpr std::size_t kTextStep = 32 * 1024;

constexpr std::size_t WholeBlocks(std::size_t bytes) {
  return bytes - bytes % kBlock;
}

}  // namespace

void CKCryptoFile::StartReadAhead() {
  const ReadAheadShape& shape = m_ReadAheadShape;
  const std::size_t piece = WholeBlocks(shape.piece_bytes);
  if (m_nRemaining == 0 || m_nRemaining < shape.minimum_bytes || piece == 0 || shape.pieces == 0) {
    return;
  }
  try {
    auto reader = std::make_unique<CKReadAhead>();
    reader->Start(files::System(), m_hFile, m_nRemaining, piece, shape.pieces);
    m_pReadAhead = std::move(reader);
    m_nRemaining = 0;  // the file is the reader's now
  } catch (...) {
    // No memory or no thread for it: the stream is read on this thread as a short one is.
  }
}

void CKCryptoFile::ShareDeciphering(CKCryptoSymmetric* cipher) {
  if (m_pReadAhead != nullptr && cipher != nullptr) {
    m_pReadAhead->ShareDeciphering(cipher);
  }
}

void CKCryptoFile::StopReadAhead() {
  if (m_pReadAhead == nullptr) {
    return;
  }
  WipeWindowText();
  m_pReadAhead->Stop();
  m_pReadAhead.reset();
  m_bHoldingPiece = false;
  m_pWindow = nullptr;
  m_bWindowIsText = false;
  m_nTextStart = m_nTextEnd = m_nHeldStart = m_nHeldEnd = 0;
}

void CKCryptoFile::WipeWindowText() {
  if (m_pWindow != nullptr && m_nTextEnd > m_nTextStart && !m_bWindowIsText) {
    platform::SecureZero(m_pWindow + m_nTextStart, m_nTextEnd - m_nTextStart);
  }
  m_nTextStart = m_nTextEnd = m_nHeldStart;
}

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

bool CKCryptoFile::Refill(std::uint8_t* out, std::size_t want, std::size_t& delivered) {
  WipeWindowText();
  if (m_pReadAhead != nullptr) {
    if (m_bHoldingPiece) {
      m_pReadAhead->Release();
      m_bHoldingPiece = false;
    }
    m_pWindow = nullptr;
    m_bWindowIsText = false;
    m_nTextStart = m_nTextEnd = m_nHeldStart = m_nHeldEnd = 0;
    CKReadAhead::Piece piece;
    if (m_bFileFailed || !m_pReadAhead->Next(piece)) {
      return false;
    }
    m_bHoldingPiece = true;
    if (piece.error != 0) {
      // Reported here, on the reading thread, as a failing read of this file always is.
      m_pReadAhead->Release();
      m_bHoldingPiece = false;
      m_bFileFailed = true;
      errno = piece.error;
      Fail(ErrRead);
      return false;
    }
    m_pWindow = piece.data;
    m_nHeldEnd = WholeBlocks(piece.size);
    if (piece.deciphered) {
      // Deciphered by the reading thread: this stream's chain goes on after the piece.
      m_bWindowIsText = true;
      m_nTextEnd = m_nHeldEnd;
      if (m_pCipher != nullptr) {
        m_pCipher->SetIV(piece.last_block.data());
      }
    }
    return m_nHeldEnd != 0;
  }
  if (m_bFileFailed || m_nRemaining == 0) {
    return false;
  }
  if (want >= kDirectReadMinimum) {
    const std::size_t got = ReadBlocks(out, want);
    Decipher(out, out, got);
    delivered += got;
    return got != 0;
  }
  m_pWindow = m_pChunk.get();
  // Emptied first: a read that throws must not leave the last chunk's bytes to be delivered.
  m_nHeldStart = m_nTextStart = m_nTextEnd = m_nHeldEnd = 0;
  m_nHeldEnd = ReadBlocks(m_pWindow, kTextStep);
  return m_nHeldEnd != 0;
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
  if (count <= m_nTextEnd - m_nHeldStart) {
    std::memcpy(out, m_pWindow + m_nHeldStart, count);
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
    if (m_nHeldStart < m_nTextEnd) {
      const std::size_t n = std::min(m_nTextEnd - m_nHeldStart, want);
      std::memcpy(out + delivered, m_pWindow + m_nHeldStart, n);
      m_nHeldStart += n;
      delivered += n;
      continue;
    }
    if (m_pWindow != nullptr && m_nHeldStart < m_nHeldEnd) {
      WipeWindowText();
      if (want >= kDirectReadMinimum) {
        const std::size_t n = std::min(WholeBlocks(want), m_nHeldEnd - m_nHeldStart);
        Decipher(m_pWindow + m_nHeldStart, out + delivered, n);
        m_nHeldStart += n;
        m_nTextStart = m_nTextEnd = m_nHeldStart;
        delivered += n;
      } else {
        const std::size_t n = std::min(m_nHeldEnd - m_nHeldStart, kTextStep);
        Decipher(m_pWindow + m_nHeldStart, m_pWindow + m_nHeldStart, n);
        m_nTextEnd = m_nHeldStart + n;
      }
      continue;
    }
    if (!Refill(out + delivered, want, delivered)) {
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
