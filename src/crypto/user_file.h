#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The layout of a user file "*.VaultQuill" (all integers little-endian):
//   0  4   magic "VQDB"
//   4  1   format version (1; a reader accepts 0 and 1)
//   5  1   header size, 60
//   6  2   reserved, 0
//   8  1   second version byte (1; 0 or 1 accepted)
//   9  1   third version byte (1; 0 or 1 accepted)
//  10  2   PBKDF2 iteration count
//  12  32  salt
//  44  16  initialisation vector, new on every save
//  60  4   memo length in bytes, then the memo as UTF-16LE: the user's hint, in plain
//  ..      the enciphered stream (AES-256-CBC): a 32-byte password verifier, then the entries
//          tree (tag 0x8000) and the settings tree (tag 0x8001), zero bytes to the block end.
namespace userfile {

inline constexpr std::size_t kHeaderSize = 60;
inline constexpr std::size_t kKeySize = 32;
inline constexpr std::size_t kVerifierSize = 32;
inline constexpr std::size_t kSaltSize = 32;
inline constexpr std::size_t kIVSize = 16;
inline constexpr std::size_t kIterationsOffset = 10;
inline constexpr std::size_t kSaltOffset = 12;
inline constexpr std::size_t kIVOffset = 44;
inline constexpr std::uint16_t kNewUserIterations = 16383;
// The verifier is derived from the key with this many iterations.
inline constexpr std::uint32_t kVerifierIterations = 3;
// A memo longer than this many characters could not be read back (a reader takes at most
// 65,535 bytes), so writers cut it there.
inline constexpr std::size_t kMaxMemoCharacters = 32767;

// Results of opening a user file.
enum OpenResult : int {
  kOpened = 0,
  kUnreadable = 1,     // cannot be read, 60 bytes or shorter, wrong magic or header size
  kDamaged = 2,        // the password is right but the contents are not whole
  kNewerFormat = 3,    // a version byte above 1
  kWrongPassword = 4,  // the verifier differs
};

using Header = std::array<std::uint8_t, kHeaderSize>;

}  // namespace userfile

// What a user database holds of its file's container: the plain header and memo, and the key
// and verifier derived from the password. Key material is wiped whenever it is replaced and
// when the object goes.
class CKUserFileKeys {
 public:
  CKUserFileKeys();
  CKUserFileKeys(const CKUserFileKeys& other) = default;
  CKUserFileKeys& operator=(const CKUserFileKeys& other);
  ~CKUserFileKeys();

  // Header defaults (magic, versions 1, size 60, 16,383 iterations, salt and IV zero); key and
  // verifier zero. The memo stays.
  void ResetHeader();
  // Key = PBKDF2-HMAC-SHA-256 over the password's UTF-16LE bytes with the header's salt and
  // iteration count; verifier = PBKDF2 over the key with the same salt and 3 iterations.
  void SetPassword(std::u16string_view password);
  // Whether the password derives the key in memory. Reads nothing from disk.
  bool CheckPassword(std::u16string_view password) const;
  // A fresh salt (32 random bytes).
  void NewSalt();
  // A fresh initialisation vector: byte i is d[i] XOR d[16 + i] of 32 random bytes d.
  void NewIV();
  // Zeroes the key and the verifier.
  void WipeKey();

  // The header check of a reader: 0, or 1 for a wrong magic or header size, 3 for a version
  // byte above 1 (the magic first, then the versions, then the size).
  int CheckHeader() const;
  // The header as a writer writes it: magic, versions and size as this format has them,
  // reserved zero, then the iteration count, salt and IV held here.
  userfile::Header HeaderToWrite() const;

  const userfile::Header& GetHeader() const { return m_Header; }
  void SetHeader(std::span<const std::uint8_t, userfile::kHeaderSize> header);
  std::uint16_t GetIterations() const;
  void SetIterations(std::uint16_t iterations);
  std::span<const std::uint8_t, userfile::kSaltSize> GetSalt() const;
  std::span<const std::uint8_t, userfile::kIVSize> GetIV() const;
  const std::array<std::uint8_t, userfile::kKeySize>& GetKey() const { return m_Key; }
  const std::array<std::uint8_t, userfile::kVerifierSize>& GetVerifier() const {
    return m_Verifier;
  }
  // Whether the verifier equals these bytes, compared in constant time.
  bool VerifierEquals(std::span<const std::uint8_t, userfile::kVerifierSize> bytes) const;

  const std::u16string& GetMemo() const { return m_csMemo; }
  // The old memo is wiped.
  void SetMemo(std::u16string_view memo);

 private:
  void DeriveKey(std::u16string_view password,
                 std::array<std::uint8_t, userfile::kKeySize>& key) const;

  userfile::Header m_Header{};
  std::u16string m_csMemo;
  std::array<std::uint8_t, userfile::kKeySize> m_Key{};
  std::array<std::uint8_t, userfile::kVerifierSize> m_Verifier{};
};
