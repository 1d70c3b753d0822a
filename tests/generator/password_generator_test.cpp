#include "generator/password_generator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "database/databases_container.h"
#include "settings/settings_user_based.h"

namespace {

// A generator whose pools hold the byte values 0 to 31, or that has no random source.
class FixedGenerator final : public CKPasswordGenerator {
 public:
  using CKPasswordGenerator::CKPasswordGenerator;
  using CKPasswordGenerator::m_Pool;
  bool fail = false;

 protected:
  void RefillPool() override {
    if (fail) {
      throw std::runtime_error("no random source");
    }
    for (std::size_t i = 0; i < m_Pool.size(); ++i) {
      m_Pool[i] = static_cast<std::uint8_t>(i);
    }
  }
};

class PasswordGeneratorTest : public ::testing::Test {
 protected:
  CKDatabasesContainer users;  // nobody logged in: the default options
  CKSettingsUserBased options{users};
  std::u16string password = u"previous";
};

TEST_F(PasswordGeneratorTest, AlphabetTakesTheSetsInOrderAndKeeps255Characters) {
  CKPasswordGenerator generator(options);
  ASSERT_TRUE(generator.Generate(password));
  EXPECT_EQ(password.size(), 14u);
  EXPECT_EQ(generator.GetAlphabet(),
            u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz");
  options.boolIsCustomEnabled = options.boolIsSpecialEnabled = true;
  options.stringCustomArray = u"\u00e4\u00f6";
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet(),
            u"\u00e4\u00f6ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
            u"abcdefghijklmnopqrstuvwxyz!@#$%^&*()_-+=\":;'</>\\~`.,");
  options.stringCustomArray.assign(300, u'y');
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet(), std::u16string(255, u'y'));
}

TEST_F(PasswordGeneratorTest, NoPasswordWithoutTwoCharactersALengthOrRandomBytes) {
  options.boolIsLetersEnabledBig = options.boolIsLetersEnabledSmall = false;
  options.boolIsNumbersEnabled = false;
  FixedGenerator generator(options);
  EXPECT_FALSE(generator.Generate(password));  // nothing enabled
  EXPECT_EQ(password, u"");
  options.boolIsCustomEnabled = true;
  options.stringCustomArray = u"a";
  EXPECT_FALSE(generator.Generate(password));
  options.stringCustomArray = u"aa";  // two characters, even if the same
  options.intPasswordLength = 256;    // the low 8 bits count: 0
  EXPECT_FALSE(generator.Generate(password));
  options.intPasswordLength = 256 + 9;
  ASSERT_TRUE(generator.Generate(password));
  EXPECT_EQ(password, u"aaaaaaaaa");
  EXPECT_THAT(generator.m_Pool, ::testing::Each(0));  // wiped after drawing
  generator.fail = true;
  EXPECT_FALSE(generator.Generate(password));
  EXPECT_EQ(password, u"");
  EXPECT_EQ(generator.GetResult(), u"");
}

// Every character must be equally likely: a chi-square test over a large sample from the real
// random source. The thresholds are the quantiles at a false-alarm probability of one in a
// million, so the test is not flaky; the plain modulo mapping exceeds both by far, as its first
// (256 mod n) characters come once more per 256 bytes, and skipping one byte too many or too
// few makes one character clearly rarer or commoner.
double ChiSquare(const CKSettingsUserBased& options, std::size_t alphabet_size,
                 std::size_t per_character) {
  CKPasswordGenerator generator(options);
  std::map<char16_t, std::size_t> counts;
  std::size_t drawn = 0;
  std::u16string password;
  while (drawn < alphabet_size * per_character) {
    EXPECT_TRUE(generator.Generate(password));
    for (const char16_t c : password) {
      ++counts[c];
    }
    drawn += password.size();
  }
  EXPECT_EQ(counts.size(), alphabet_size);
  const double expected = static_cast<double>(drawn) / static_cast<double>(alphabet_size);
  double chi_square = 0;
  for (const auto& [character, count] : counts) {
    chi_square += (count - expected) * (count - expected) / expected;
  }
  return chi_square;
}

TEST_F(PasswordGeneratorTest, EveryCharacterIsEquallyLikely) {
  options.intPasswordLength = 255;
  EXPECT_LT(ChiSquare(options, 62, 2000), 128.52);  // 61 degrees of freedom; modulo adds ~800
  options.boolIsLetersEnabledSmall = options.boolIsNumbersEnabled = false;
  EXPECT_LT(ChiSquare(options, 26, 5000), 73.89);  // 25 degrees of freedom; modulo adds ~175
}

}  // namespace
