#pragma once

#include <string>
#include <string_view>

#include "crypto/aes.h"
#include "crypto/crypto_file.h"
#include "crypto/user_file.h"
#include "files/file.h"

// The container steps of opening a user file: the plain header and memo, then, given the
// password, the enciphered stream up to the element trees, which the caller reads from
// Stream(). Both steps turn every file error into a result (its message has been shown).
class CKUserFileReader {
 public:
  CKUserFileReader();
  ~CKUserFileReader();
  CKUserFileReader(const CKUserFileReader&) = delete;
  CKUserFileReader& operator=(const CKUserFileReader&) = delete;

  // Opens the file and reads the header and the memo into keys. 0; 1 when the file cannot be
  // read, is 60 bytes or shorter, or has a wrong magic or header size; 3 for a newer format.
  int Open(const std::u16string& path, CKUserFileKeys& keys);
  // After Open: SetPassword on keys, then reads the verifier from the enciphered stream.
  // 0 with the stream placed at the first tree; 4 when the verifier differs; 2 when the stream
  // is too short to hold one; 1 on a file error. Once open, long reads of a mapped stream are
  // deferred (CKCryptoFile::DeferLongReads): the caller settles the stream before using them.
  int Unlock(std::u16string_view password, CKUserFileKeys& keys);
  CKCryptoFile& Stream() { return m_Stream; }
  // Closes the file; never throws.
  void Close();

 private:
  CKFile m_File;
  CKCryptoAES m_Cipher;
  CKCryptoAES m_LaterCipher;  // the same key, for deferred reads of a mapped stream
  CKCryptoFile m_Stream;
};

// The container steps of writing a user file, on a file that it creates (mode 0600, emptied):
// a new IV, the header, the memo, then the enciphered stream starting with the verifier, to
// which the caller writes the trees. Every file error throws its CKFile::ErrorExceptions value
// after its message. The file stays open, and locked against other writers, until Close.
class CKUserFileWriter {
 public:
  CKUserFileWriter();
  // Closes the file if it is still open, quietly.
  ~CKUserFileWriter();
  CKUserFileWriter(const CKUserFileWriter&) = delete;
  CKUserFileWriter& operator=(const CKUserFileWriter&) = delete;

  void Create(const std::u16string& path, CKUserFileKeys& keys);
  CKCryptoFile& Stream() { return m_Stream; }
  // Writes the last block and makes the file durable (fsync).
  void Finish();
  // Closes the file, reporting a failure.
  void Close();
  // Closes the file without reporting anything (after a failure of its own).
  void Abandon();

 private:
  CKFile m_File;
  CKCryptoAES m_Cipher;
  CKCryptoFile m_Stream;
};
