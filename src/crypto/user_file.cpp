#include "crypto/user_file.h"

#include <algorithm>
#include <vector>

#include "crypto/pbkdf2.h"
#include "crypto/random.h"
#include "platform/secure_zero.h"

namespace {

using userfile::kHeaderSize;

constexpr std::uint8_t kMagic[4] = {'V', 'Q', 'D', 'B'};
constexpr std::uint8_t kFormatVersion = 1;
constexpr std::size_t kVersionOffset = 4;
constexpr std::size_t kSizeOffset = 5;
constexpr std::size_t kSecondVersionOffset = 8;
constexpr std::size_t kThirdVersionOffset = 9;

void WipeMemo(std::u16string& memo) {
  platform::SecureZero(memo.data(), memo.capacity() * sizeof(char16_t));
  memo.clear();
}

}  // namespace

CKUserFileKeys::CKUserFileKeys() {
  ResetHeader();
}

CKUserFileKeys& CKUserFileKeys::operator=(const CKUserFileKeys& other) {
  if (this != &other) {
    m_Header = other.m_Header;
    SetMemo(other.m_csMemo);
    m_Key = other.m_Key;
    m_Verifier = other.m_Verifier;
  }
  return *this;
}

CKUserFileKeys::~CKUserFileKeys() {
  WipeKey();
  WipeMemo(m_csMemo);
  platform::SecureZero(m_Header.data(), m_Header.size());
}

void CKUserFileKeys::ResetHeader() {
  m_Header.fill(0);
  std::copy(std::begin(kMagic), std::end(kMagic), m_Header.begin());
  m_Header[kVersionOffset] = kFormatVersion;
  m_Header[kSizeOffset] = static_cast<std::uint8_t>(kHeaderSize);
  m_Header[kSecondVersionOffset] = kFormatVersion;
  m_Header[kThirdVersionOffset] = kFormatVersion;
  SetIterations(userfile::kNewUserIterations);
  WipeKey();
}

void CKUserFileKeys::WipeKey() {
  platform::SecureZero(m_Key.data(), m_Key.size());
  platform::SecureZero(m_Verifier.data(), m_Verifier.size());
}

void CKUserFileKeys::DeriveKey(std::u16string_view password,
                               std::array<std::uint8_t, userfile::kKeySize>& key) const {
  std::vector<std::uint8_t> bytes(password.size() * 2);
  for (std::size_t i = 0; i < password.size(); ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(password[i]);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(password[i] >> 8);
  }
  const auto salt = GetSalt();
  PBKDF2_SHA256(bytes.data(), bytes.size(), salt.data(), salt.size(), GetIterations(), key.data(),
                key.size());
  platform::SecureZero(bytes.data(), bytes.size());
}

void CKUserFileKeys::SetPassword(std::u16string_view password) {
  WipeKey();
  DeriveKey(password, m_Key);
  const auto salt = GetSalt();
  PBKDF2_SHA256(m_Key.data(), m_Key.size(), salt.data(), salt.size(), userfile::kVerifierIterations,
                m_Verifier.data(), m_Verifier.size());
}

bool CKUserFileKeys::CheckPassword(std::u16string_view password) const {
  std::array<std::uint8_t, userfile::kKeySize> key{};
  DeriveKey(password, key);
  std::uint8_t difference = 0;
  for (std::size_t i = 0; i < key.size(); ++i) {
    difference |= static_cast<std::uint8_t>(key[i] ^ m_Key[i]);
  }
  platform::SecureZero(key.data(), key.size());
  return difference == 0;
}

void CKUserFileKeys::NewSalt() {
  std::array<std::uint8_t, kRandomBlockSize> random{};
  NewRandomBlock(random);
  std::copy(random.begin(), random.end(), m_Header.begin() + userfile::kSaltOffset);
  platform::SecureZero(random.data(), random.size());
}

void CKUserFileKeys::NewIV() {
  std::array<std::uint8_t, kRandomBlockSize> random{};
  NewRandomBlock(random);
  for (std::size_t i = 0; i < userfile::kIVSize; ++i) {
    m_Header[userfile::kIVOffset + i] =
        static_cast<std::uint8_t>(random[i] ^ random[userfile::kIVSize + i]);
  }
  platform::SecureZero(random.data(), random.size());
}

int CKUserFileKeys::CheckHeader() const {
  if (!std::equal(std::begin(kMagic), std::end(kMagic), m_Header.begin())) {
    return userfile::kUnreadable;
  }
  if (m_Header[kVersionOffset] > kFormatVersion || m_Header[kThirdVersionOffset] > kFormatVersion ||
      m_Header[kSecondVersionOffset] > kFormatVersion) {
    return userfile::kNewerFormat;
  }
  if (m_Header[kSizeOffset] != kHeaderSize) {
    return userfile::kUnreadable;
  }
  return userfile::kOpened;
}

userfile::Header CKUserFileKeys::HeaderToWrite() const {
  userfile::Header header = m_Header;
  std::copy(std::begin(kMagic), std::end(kMagic), header.begin());
  header[kVersionOffset] = kFormatVersion;
  header[kSizeOffset] = static_cast<std::uint8_t>(kHeaderSize);
  header[6] = 0;
  header[7] = 0;
  header[kSecondVersionOffset] = kFormatVersion;
  header[kThirdVersionOffset] = kFormatVersion;
  return header;
}

void CKUserFileKeys::SetHeader(std::span<const std::uint8_t, kHeaderSize> header) {
  std::copy(header.begin(), header.end(), m_Header.begin());
}

std::uint16_t CKUserFileKeys::GetIterations() const {
  return static_cast<std::uint16_t>(m_Header[userfile::kIterationsOffset] |
                                    (m_Header[userfile::kIterationsOffset + 1] << 8));
}

void CKUserFileKeys::SetIterations(std::uint16_t iterations) {
  m_Header[userfile::kIterationsOffset] = static_cast<std::uint8_t>(iterations);
  m_Header[userfile::kIterationsOffset + 1] = static_cast<std::uint8_t>(iterations >> 8);
}

std::span<const std::uint8_t, userfile::kSaltSize> CKUserFileKeys::GetSalt() const {
  return std::span<const std::uint8_t, userfile::kSaltSize>(m_Header.data() + userfile::kSaltOffset,
                                                            userfile::kSaltSize);
}

std::span<const std::uint8_t, userfile::kIVSize> CKUserFileKeys::GetIV() const {
  return std::span<const std::uint8_t, userfile::kIVSize>(m_Header.data() + userfile::kIVOffset,
                                                          userfile::kIVSize);
}

bool CKUserFileKeys::VerifierEquals(
    std::span<const std::uint8_t, userfile::kVerifierSize> bytes) const {
  std::uint8_t difference = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    difference |= static_cast<std::uint8_t>(bytes[i] ^ m_Verifier[i]);
  }
  return difference == 0;
}

void CKUserFileKeys::SetMemo(std::u16string_view memo) {
  std::u16string fresh(memo);  // first, since memo may look into the old text
  WipeMemo(m_csMemo);
  m_csMemo.swap(fresh);
}
