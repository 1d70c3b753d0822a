#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CKSettingsUserBased;

// Makes a random password from the character sets that the logged-in user's options enable.
// Characters are drawn independently and with repetition; a character that stands in the
// alphabet twice (a custom character that is also a letter) comes twice as often. Every
// string and byte that held part of a password is wiped when no longer needed.
class CKPasswordGenerator {
 public:
  static constexpr std::u16string_view kUpperCase = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static constexpr std::u16string_view kDigits = u"0123456789";
  static constexpr std::u16string_view kLowerCase = u"abcdefghijklmnopqrstuvwxyz";
  static constexpr std::u16string_view kSpecial = u"!@#$%^&*()_-+=\":;'</>\\~`.,";
  static constexpr std::size_t kMaxAlphabet = 255;
  static constexpr std::size_t kPoolSize = 32;

  // The options are read at each Generate.
  explicit CKPasswordGenerator(const CKSettingsUserBased& options);
  virtual ~CKPasswordGenerator();
  CKPasswordGenerator(const CKPasswordGenerator&) = delete;
  CKPasswordGenerator& operator=(const CKPasswordGenerator&) = delete;

  // A new password in out: the enabled sets in the order custom characters, upper case,
  // digits, lower case, special characters; the low 8 bits of the length option. False, out
  // empty, when fewer than two characters are enabled, the length is 0 or no random bytes
  // could be had.
  bool Generate(std::u16string& out);
  // Appends a set to the alphabet, which keeps its first 255 characters.
  void AddCharacters(std::u16string_view set);
  // Fills the result with length characters of the alphabet. False, result empty, when the
  // alphabet has fewer than two characters, length is 0 or no random bytes could be had.
  bool Draw(std::uint8_t length);

  const std::u16string& GetAlphabet() const { return m_csAlphabet; }
  const std::u16string& GetResult() const { return m_csResult; }

 protected:
  // The pool becomes 32 fresh random bytes. May throw when the system has no random source.
  virtual void RefillPool();

  std::array<std::uint8_t, kPoolSize> m_Pool{};

 private:
  void WipePool();

  const CKSettingsUserBased& options_;
  std::u16string m_csResult;
  std::u16string m_csAlphabet;
  // The next pool byte to use; kPoolSize when the pool is used up.
  std::uint8_t m_bytePoolPosition = kPoolSize;
};
