#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "crypto/read_ahead.h"
#include "crypto/symmetric.h"
#include "files/file.h"

// A CKFile whose reads and writes pass through a block cipher: the enciphered stream of a user
// file. The plain text runs in 16-byte blocks; the last block of a written stream is filled up
// with zero bytes, so a stream of n bytes takes ceiling(n / 16) blocks on disk.
//
// The file is read and written in large chunks, and whole runs of blocks go through the cipher
// at once; the bytes on disk are those of a block-by-block stream. One cipher object serves the
// whole stream, so the CBC chaining runs from its first block to its last. A long stream is
// read ahead on a second thread (CKReadAhead) while this one deciphers what came before; the
// blocks are deciphered here, in order, straight from the piece read into the caller's buffer.
//
// Use: construct on a keyed cipher, Attach to an open file positioned where the stream starts,
// Begin, then Read or Write; a writer ends with Finish. Close closes the file. The cipher need
// not be keyed before the first Read or Write, so a key may be derived while reading starts.
class CKCryptoFile : public CKFile {
 public:
  // Bytes of plain text held between the caller and the file.
  static constexpr std::size_t kChunkSize = 256 * 1024;

  // How a long stream is read ahead: pieces of piece_bytes (a multiple of 16), at most pieces
  // of them waiting, for streams of at least minimum_bytes; shorter ones are read on the
  // calling thread.
  struct ReadAheadShape {
    std::size_t piece_bytes = 1024 * 1024;
    std::size_t pieces = 4;
    std::uint64_t minimum_bytes = 2 * 1024 * 1024;
  };

  // The cipher is not owned and must already be keyed. Throws on errors and shows messages,
  // as every file of the program does.
  explicit CKCryptoFile(CKCryptoSymmetric* cipher);
  // Wipes the buffered text; closes the handle if it is still open.
  ~CKCryptoFile() override;

  // Takes over the open file's handle, path and error handling: from now on this object
  // owns the handle and closes it, and the file is left without one.
  void Attach(CKFile& file);
  // Starts the stream at the file's current position. A reader takes the rest of the file as
  // the enciphered area, and starts reading a long one ahead. True when that area is not empty
  // (writers ignore the result).
  bool Begin(bool for_writing);
  // Stops any reading ahead, then closes the file (CKFile::Close). Until then the file's
  // position belongs to the reading thread.
  bool Close();

  // Takes effect at the next Begin.
  void SetReadAheadShape(const ReadAheadShape& shape) { m_ReadAheadShape = shape; }
  // Whether the stream begun last is being read by a second thread.
  bool ReadsAhead() const { return m_pReadAhead != nullptr; }
  // While the stream is read ahead: lets the reading thread decipher pieces that wait for this
  // one, with a second cipher keyed and set up as this stream's, which must stay alive and
  // untouched until Close. Nothing happens when the stream is not read ahead.
  void ShareDeciphering(CKCryptoSymmetric* cipher);

  // Delivers count deciphered bytes and always returns true (a failing file throws). Past the
  // end of the enciphered area the bytes are zero; done, when given, receives the number of
  // bytes that came from the file, so a caller can tell that the stream has ended.
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
  void StartReadAhead();
  void StopReadAhead();
  // Deciphers whole blocks; in and out may be the same.
  void Decipher(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes);
  // Reads up to count bytes of whole blocks from the file on this thread; returns how many
  // (a multiple of 16).
  std::size_t ReadBlocks(std::uint8_t* out, std::size_t count);
  // Makes more enciphered bytes available once the window is used up: the next piece read
  // ahead, or the next bytes of the file read into the chunk; a large want may instead be
  // read and deciphered straight into out. Returns the bytes delivered to out, or false when the
  // stream has ended.
  bool Refill(std::uint8_t* out, std::size_t want, std::size_t& delivered);
  // Wipes the bytes of the window deciphered in place.
  void WipeWindowText();
  // Enciphers the held bytes not yet enciphered (whole blocks).
  void SealHeld();
  // Enciphers the held bytes (the last block filled up with zeros when final) and writes them.
  bool WriteHeld(bool final);
  void WipeHeld();

  CKCryptoSymmetric* m_pCipher;
  std::unique_ptr<std::uint8_t[]> m_pChunk;
  // Reading: the enciphered bytes at hand, in the chunk or in a piece read ahead. Bytes
  // [m_nTextStart, m_nTextEnd) of it are deciphered in place, m_nHeldStart is the next one to
  // deliver and the window is used up at m_nHeldEnd.
  std::uint8_t* m_pWindow = nullptr;
  bool m_bWindowIsText = false;  // a piece that the reading thread deciphered (and wipes)
  std::size_t m_nTextStart = 0;
  std::size_t m_nTextEnd = 0;
  std::size_t m_nHeldStart = 0;    // reading: next unread byte of the window
  std::size_t m_nHeldEnd = 0;      // bytes of the chunk (or window) in use
  std::size_t m_nSealed = 0;       // writing: bytes of the chunk already enciphered
  std::uint64_t m_nRemaining = 0;  // whole-block bytes of the file not yet read
  std::uint32_t m_nPartialBytes = 0;
  std::uint64_t m_nStreamPosition = 0;
  bool m_bReachedEnd = false;
  bool m_bFileFailed = false;
  ReadAheadShape m_ReadAheadShape;
  std::unique_ptr<CKReadAhead> m_pReadAhead;
  bool m_bHoldingPiece = false;
};
