#include "generator/password_generator.h"

#include <exception>

#include "crypto/random.h"
#include "elements/wipe_string.h"
#include "platform/secure_zero.h"
#include "settings/settings_user_based.h"

CKPasswordGenerator::CKPasswordGenerator(const CKSettingsUserBased& options) : options_(options) {}

CKPasswordGenerator::~CKPasswordGenerator() {
  WipeString(m_csResult);
  WipeString(m_csAlphabet);
  WipePool();
}

void CKPasswordGenerator::WipePool() {
  platform::SecureZero(m_Pool.data(), m_Pool.size());
  m_bytePoolPosition = kPoolSize;
}

bool CKPasswordGenerator::Generate(std::u16string& out) {
  WipeString(out);
  WipeString(m_csAlphabet);
  if (options_.boolIsCustomEnabled) {
    AddCharacters(options_.stringCustomArray);
  }
  if (options_.boolIsLetersEnabledBig) {
    AddCharacters(kUpperCase);
  }
  if (options_.boolIsNumbersEnabled) {
    AddCharacters(kDigits);
  }
  if (options_.boolIsLetersEnabledSmall) {
    AddCharacters(kLowerCase);
  }
  if (options_.boolIsSpecialEnabled) {
    AddCharacters(kSpecial);
  }
  const auto length = static_cast<std::uint8_t>(options_.intPasswordLength & 0xFF);
  if (!Draw(length)) {
    return false;
  }
  out.reserve(m_csResult.size());
  out = m_csResult;
  return true;
}

void CKPasswordGenerator::AddCharacters(std::u16string_view set) {
  if (m_csAlphabet.size() >= kMaxAlphabet) {
    return;
  }
  const std::size_t room = kMaxAlphabet - m_csAlphabet.size();
  const std::u16string_view taken = set.substr(0, room);
  if (m_csAlphabet.capacity() < m_csAlphabet.size() + taken.size()) {
    // Grown by hand so that the old storage, which holds custom characters, is wiped.
    std::u16string grown;
    grown.reserve(kMaxAlphabet);
    grown = m_csAlphabet;
    WipeString(m_csAlphabet);
    m_csAlphabet.swap(grown);
  }
  m_csAlphabet += taken;
}

bool CKPasswordGenerator::Draw(std::uint8_t length) {
  WipeString(m_csResult);
  WipePool();
  const std::size_t n = m_csAlphabet.size();
  if (n < 2 || length == 0) {
    return false;
  }
  // A pool byte r stands for alphabet[r mod n] only below the largest multiple of n that
  // fits in a byte; the bytes above would favour the first characters, so they are skipped.
  const unsigned limit = 256 - 256 % static_cast<unsigned>(n);
  try {
    m_csResult.reserve(length);
    while (m_csResult.size() < length) {
      if (m_bytePoolPosition >= kPoolSize) {
        RefillPool();
        m_bytePoolPosition = 0;
      }
      const unsigned r = m_Pool[m_bytePoolPosition++];
      if (r < limit) {
        m_csResult += m_csAlphabet[r % n];
      }
    }
  } catch (const std::exception&) {
    // No random bytes: no password rather than a predictable one.
    WipeString(m_csResult);
    WipePool();
    return false;
  }
  WipePool();
  return true;
}

void CKPasswordGenerator::RefillPool() {
  NewRandomBlock(m_Pool);
}
