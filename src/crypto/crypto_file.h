#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "crypto/symmetric.h"
#include "files/file.h"
#include "files/mapped_area.h"
#include "files/pending_writes.h"

// A CKFile whose reads and writes pass through a block cipher: the enciphered stream of a user
// file. The plain text runs in 16-byte blocks; the last block of a written stream is filled up
// with zero bytes, so a stream of n bytes takes ceiling(n / 16) blocks on disk.
//
// The file is written in large chunks, and whole runs of blocks go through the cipher at once;
// the bytes on disk are those of a block-by-block stream. One cipher object serves the whole
// stream, so the CBC chaining runs from its first block to its last. A long stream is read
// through a mapping of the file (files::MappedArea) and deciphered from there straight into
// the caller's buffer, so its bytes are never copied out of the system's cache; a shorter one,
// or one whose file cannot be mapped, is read in chunks. Long reads of a mapped stream may be
// deciphered later, on the mapping's second thread (DeferLongReads), while the caller goes on
// reading what follows: CBC deciphers any run of blocks given the enciphered block before it.
//
// Use: construct on a keyed cipher, Attach to an open file positioned where the stream starts,
// Begin, then Read or Write; a writer ends with Finish. Close closes the file. The cipher need
// not be keyed before the first Read or Write, so a key may be derived while reading starts.
class CKCryptoFile : public CKFile, private files::PendingWrites {
 public:
  // Bytes of plain text held between the caller and the file.
  static constexpr std::size_t kChunkSize = 256 * 1024;

  // Streams of at least this many bytes are read through a mapping of the file.
  static constexpr std::uint64_t kMappingMinimum = 2 * 1024 * 1024;

  // The cipher is not owned and must already be keyed. Throws on errors and shows messages,
  // as every file of the program does.
  explicit CKCryptoFile(CKCryptoSymmetric* cipher);
  // Waits for deferred reads, wipes the buffered text; closes the handle if it is still open.
  ~CKCryptoFile() override;

  // Takes over the open file's handle, path and error handling: from now on this object
  // owns the handle and closes it, and the file is left without one.
  void Attach(CKFile& file);
  // Starts the stream at the file's current position. A reader takes the rest of the file as
  // the enciphered area, and maps a long one. True when that area is not empty (writers
  // ignore the result).
  bool Begin(bool for_writing);
  // Waits for deferred reads (without reporting their failure), unmaps the file and wipes the
  // text held, then closes the file (CKFile::Close).
  bool Close();

  // Streams of at least this many bytes are mapped; kMappingMinimum unless changed here. For
  // the whole process (tests and the fuzz target map short streams, or none); returns the
  // value it replaces.
  static std::uint64_t SetMappingMinimum(std::uint64_t bytes);
  // Whether the stream begun last is read through a mapping.
  bool IsMapped() const { return m_Mapping.IsMapped(); }
  // While the stream is mapped: reads of at least kLaterMinimum bytes may return before their
  // bytes are in the buffer; the mapping's second thread deciphers them there with cipher, a
  // second one keyed and set up as this stream's, which must stay alive and untouched until
  // Close. The caller must not use such a buffer before Settle; freeing one first waits for
  // it (files::SettlePendingWrites). Nothing happens when the stream is not mapped.
  static constexpr std::size_t kLaterMinimum = 64 * 1024;
  void DeferLongReads(CKCryptoSymmetric* cipher);
  // Waits for the deferred reads and ends deferring. A deferred read whose bytes the file did
  // not deliver is reported as a failing read would have been: thrown ErrRead after its
  // message, or, for a file cut short, the stream ended (ReachedEnd).
  void Settle();

  // Delivers count deciphered bytes and always returns true (a failing file throws). Past the
  // end of the enciphered area the bytes are zero; done, when given, receives the number of
  // bytes that came from the file, so a caller can tell that the stream has ended. A file cut
  // short since Begin ends the stream early, at a block boundary.
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* done = nullptr) override;
  // Takes count bytes for enciphering; blocks reach the file as chunks fill up. Always true
  // (a failing file throws); done, when given, receives count.
  bool Write(const void* buffer, std::uint32_t count, std::uint32_t* done = nullptr) override;
  // Enciphers what is still held, the last block filled up with zeros, and writes it. False
  // when nothing was held (nothing is written then).
  bool Finish();

  // Plain bytes delivered by Read or taken by Write since Begin.
  std::uint64_t GetStreamPosition() const { return m_nStreamPosition; }
  // Whether a Read asked for more than the enciphered area holds.
  bool ReachedEnd() const { return m_bReachedEnd; }
  // Whether the enciphered area ends with a partial block, which cannot be deciphered and is
  // left out of the stream (a reader then meets the end before it).
  bool HasPartialBlock() const { return m_nPartialBytes != 0; }
  // Whether reading or writing the file failed (the failure was thrown to the caller, who may
  // have swallowed it). A failed stream delivers nothing more.
  bool FileFailed() const { return m_bFileFailed; }

 private:
  void EnsureChunk();
  // Deciphers whole blocks; in and out may be the same.
  void Decipher(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes);
  // Reads up to count bytes of whole blocks from the file on this thread; returns how many
  // (a multiple of 16).
  std::size_t ReadBlocks(std::uint8_t* out, std::size_t count);
  // Delivers the next enciphered bytes deciphered into out: up to count bytes of whole blocks,
  // from the mapping or the file (small ones always from the file). Returns how many; 0 once
  // the stream has ended.
  std::size_t FetchText(std::uint8_t* out, std::size_t count, bool small = false);
  // Deciphers count bytes (whole blocks) of the mapping into out, now or later. False when
  // the file did not deliver them.
  bool DecipherMapped(std::uint8_t* out, std::size_t count);
  // Sets this stream's chaining value to the enciphered block at mapping byte at. False when
  // the file does not deliver it.
  bool ChainFrom(std::uint64_t at);
  // After the mapping failed to deliver: the end of a file cut short, or a read error (error
  // is its errno, reported unless the file turns out to be cut short).
  void MappingFailed(int error = EIO);
  void SettleWrites() override;
  // Enciphers the held bytes not yet enciphered (whole blocks).
  void SealHeld();
  // Enciphers the held bytes (the last block filled up with zeros when final) and writes them.
  bool WriteHeld(bool final);
  void WipeHeld();

  CKCryptoSymmetric* m_pCipher;
  std::unique_ptr<std::uint8_t[]> m_pChunk;
  // Reading: bytes [m_nHeldStart, m_nHeldEnd) of the chunk are deciphered and not yet
  // delivered. Writing: the chunk holds m_nHeldEnd bytes, m_nSealed of them enciphered.
  std::size_t m_nHeldStart = 0;
  std::size_t m_nHeldEnd = 0;
  std::size_t m_nSealed = 0;
  std::uint64_t m_nRemaining = 0;  // whole-block bytes of the file not yet read
  std::uint64_t m_nAreaEnd = 0;    // where the whole blocks end in the file
  std::uint32_t m_nPartialBytes = 0;
  std::uint64_t m_nStreamPosition = 0;
  bool m_bReachedEnd = false;
  bool m_bFileFailed = false;
  files::MappedArea m_Mapping;
  CKCryptoSymmetric* m_pLaterCipher = nullptr;  // deciphers deferred reads
  bool m_bWritesPending = false;                // deferred reads queued since the last SettleWrites
  bool m_bLaterFailed = false;                  // one of them did not get its bytes
  std::uint64_t m_nMappedAt = 0;                // the next byte of the mapping to decipher
};
