#include "crypto/user_file_io.h"

#include <array>
#include <cstdint>

#include "platform/secure_zero.h"

namespace {

constexpr std::uint32_t kKeyBits = 256;

void StartCipher(CKCryptoAES& cipher, const CKUserFileKeys& keys) {
  cipher.SetKey(keys.GetKey().data(), kKeyBits);
  cipher.SetMode(CKCryptoSymmetric::kModeCBC);
  cipher.SetIV(keys.GetIV().data());
}

// The memo as written: at most as long as a reader accepts, and never ending in half of a
// surrogate pair.
std::u16string_view MemoToWrite(const std::u16string& memo) {
  std::u16string_view text(memo);
  if (text.size() > userfile::kMaxMemoCharacters) {
    text = text.substr(0, userfile::kMaxMemoCharacters);
    if (text.back() >= 0xD800 && text.back() <= 0xDBFF) {
      text.remove_suffix(1);
    }
  }
  return text;
}

}  // namespace

CKUserFileReader::CKUserFileReader() : m_File(true, true), m_Stream(&m_Cipher) {}

CKUserFileReader::~CKUserFileReader() {
  Close();
}

int CKUserFileReader::Open(const std::u16string& path, CKUserFileKeys& keys) {
  try {
    // No lock: a user file is never changed in place (a save puts a new file in its place), and
    // a writer that still holds the file it has just moved there must not make a reader fail.
    m_File.Open(path, CKFile::modeRead | CKFile::shareDenyNone);
    std::uint64_t length = 0;
    m_File.GetLength(length);
    if (length <= userfile::kHeaderSize) {
      return userfile::kUnreadable;
    }
    userfile::Header header{};
    std::uint32_t got = 0;
    m_File.Read(header.data(), static_cast<std::uint32_t>(header.size()), &got);
    if (got != header.size()) {
      return userfile::kUnreadable;
    }
    keys.SetHeader(header);
    std::u16string memo;
    m_File.ReadString(memo);
    keys.SetMemo(memo);
    platform::SecureZero(memo.data(), memo.capacity() * sizeof(char16_t));
    return keys.CheckHeader();
  } catch (...) {
    return userfile::kUnreadable;
  }
}

int CKUserFileReader::Unlock(std::u16string_view password, CKUserFileKeys& keys) {
  std::array<std::uint8_t, userfile::kVerifierSize> verifier{};
  int result = userfile::kOpened;
  try {
    // A long stream is mapped, and its first pages come in while the key is derived here.
    m_Stream.Attach(m_File);
    m_Stream.Begin(false);
    keys.SetPassword(password);
    StartCipher(m_Cipher, keys);
    std::uint32_t got = 0;
    m_Stream.Read(verifier.data(), static_cast<std::uint32_t>(verifier.size()), &got);
    if (got != verifier.size()) {
      // No verifier to compare: the file ends too early, whatever the password.
      result = userfile::kDamaged;
    } else if (!keys.VerifierEquals(verifier)) {
      result = userfile::kWrongPassword;
    } else if (m_Stream.IsMapped()) {
      StartCipher(m_LaterCipher, keys);
      m_Stream.DeferLongReads(&m_LaterCipher);
    }
  } catch (...) {
    result = userfile::kUnreadable;
  }
  platform::SecureZero(verifier.data(), verifier.size());
  return result;
}

void CKUserFileReader::Close() {
  try {
    m_Stream.Close();
  } catch (...) {
  }
  try {
    m_File.Close();
  } catch (...) {
  }
  m_Cipher.Reset();
  m_LaterCipher.Reset();
}

CKUserFileWriter::CKUserFileWriter() : m_File(true, true), m_Stream(&m_Cipher) {}

CKUserFileWriter::~CKUserFileWriter() {
  Abandon();
}

void CKUserFileWriter::Create(const std::u16string& path, CKUserFileKeys& keys) {
  keys.NewIV();
  m_File.Open(path, CKFile::modeWrite | CKFile::modeCreate);
  const userfile::Header header = keys.HeaderToWrite();
  m_File.Write(header.data(), static_cast<std::uint32_t>(header.size()));
  m_File.WriteString(MemoToWrite(keys.GetMemo()));
  StartCipher(m_Cipher, keys);
  m_Stream.Attach(m_File);
  m_Stream.Begin(true);
  m_Stream.Write(keys.GetVerifier().data(), static_cast<std::uint32_t>(keys.GetVerifier().size()));
}

void CKUserFileWriter::Finish() {
  m_Stream.Finish();
  m_Stream.Flush();
}

void CKUserFileWriter::Close() {
  m_Stream.Close();
  m_Cipher.Reset();
}

void CKUserFileWriter::Abandon() {
  m_Stream.SetErrorHandling(false, false);
  m_Stream.Close();
  m_File.SetErrorHandling(false, false);
  m_File.Close();
  m_Cipher.Reset();
}
