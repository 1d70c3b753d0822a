#include "generator/password_generator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "database/databases_container.h"
#include "settings/settings_user_based.h"

namespace {

using ::testing::Each;

// A generator whose pools hold every byte value in turn, 0 to 255 and again.
class CountingGenerator final : public CKPasswordGenerator {
 public:
  using CKPasswordGenerator::CKPasswordGenerator;
  using CKPasswordGenerator::m_Pool;
  int refills = 0;
  bool fail = false;

 protected:
  void RefillPool() override {
    if (fail) {
      throw std::runtime_error("no random source");
    }
    for (std::size_t i = 0; i < m_Pool.size(); ++i) {
      m_Pool[i] = static_cast<std::uint8_t>(refills * 32 + static_cast<int>(i));
    }
    ++refills;
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
  EXPECT_EQ(password.find_first_not_of(generator.GetAlphabet()), std::u16string::npos);

  options.boolIsCustomEnabled = options.boolIsSpecialEnabled = true;
  options.stringCustomArray = u"\u00e4\u00f6";
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet(),
            u"\u00e4\u00f6ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz"
            u"!@#$%^&*()_-+=\":;'</>\\~`.,");
  options.stringCustomArray.assign(300, u'y');
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet(), std::u16string(255, u'y'));
}

TEST_F(PasswordGeneratorTest, TooFewCharactersOrLengthZeroGiveNothing) {
  options.boolIsLetersEnabledBig = options.boolIsLetersEnabledSmall = false;
  options.boolIsNumbersEnabled = false;
  CKPasswordGenerator generator(options);
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
}

TEST_F(PasswordGeneratorTest, BytesAboveTheLastWholeMultipleAreSkipped) {
  // 62 characters: 248 = 4 * 62, so the bytes 248 to 255 would favour A to H.
  CountingGenerator generator(options);
  generator.AddCharacters(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz");
  ASSERT_TRUE(generator.Draw(249));
  std::u16string expected;
  for (int r = 0; r < 248; ++r) {
    expected += generator.GetAlphabet()[r % 62];
  }
  expected += u'A';  // from the ninth pool, byte 0 again
  EXPECT_EQ(generator.GetResult(), expected);
  EXPECT_EQ(generator.refills, 9);
  EXPECT_THAT(generator.m_Pool, Each(0));  // wiped after drawing

  // 128 characters divide 256: nothing is skipped.
  CountingGenerator halves(options);
  halves.AddCharacters(std::u16string(64, u'a') + std::u16string(64, u'b'));
  ASSERT_TRUE(halves.Draw(255));
  EXPECT_EQ(halves.refills, 8);
  EXPECT_EQ(halves.GetResult().substr(56, 16), u"aaaaaaaabbbbbbbb");
}

TEST_F(PasswordGeneratorTest, NoRandomSourceMeansNoPassword) {
  CountingGenerator generator(options);
  generator.fail = true;
  EXPECT_FALSE(generator.Generate(password));
  EXPECT_EQ(password, u"");
  EXPECT_EQ(generator.GetResult(), u"");
}

// Every character must be equally likely: a chi-square test over a large sample from the real
// random source. The thresholds are the quantiles at a false-alarm probability of one in a
// million, so the test is not flaky; the plain modulo mapping exceeds both by far, as its first
// (256 mod n) characters come once more per 256 bytes.
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
