#include "generator/password_generator.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "database/databases_container.h"
#include "settings/settings_user_based.h"

namespace {

// A generator with a fixed pool, or with no random source at all.
struct FixedGenerator final : CKPasswordGenerator {
  using CKPasswordGenerator::CKPasswordGenerator;
  using CKPasswordGenerator::m_Pool;
  void RefillPool() override {
    m_Pool.fill(7);
    if (fail)
      throw std::runtime_error("no random source");
  }
  bool fail = false;
};

TEST(PasswordGeneratorTest, AlphabetOrderAndFailures) {
  CKDatabasesContainer users;  // nobody logged in: the default options
  CKSettingsUserBased options(users);
  FixedGenerator generator(options);
  std::u16string password;
  options.boolIsCustomEnabled = options.boolIsSpecialEnabled = true;
  options.stringCustomArray = u"\u00e4\u00f6";
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet(),
            u"\u00e4\u00f6ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
            u"abcdefghijklmnopqrstuvwxyz!@#$%^&*()_-+=\":;'</>\\~`.,");
  options.stringCustomArray.assign(300, u'y');
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet(), std::u16string(255, u'y'));

  options.boolIsCustomEnabled = options.boolIsSpecialEnabled = options.boolIsNumbersEnabled = false;
  options.boolIsLetersEnabledBig = options.boolIsLetersEnabledSmall = false;
  EXPECT_FALSE(generator.Generate(password));  // nothing enabled
  options.boolIsCustomEnabled = true;
  options.stringCustomArray = u"a";
  EXPECT_FALSE(generator.Generate(password));
  options.stringCustomArray = u"ab";
  options.intPasswordLength = 256;  // the low 8 bits count: 0
  EXPECT_FALSE(generator.Generate(password));
  options.intPasswordLength = 256 + 9;
  ASSERT_TRUE(generator.Generate(password));
  EXPECT_EQ(password, u"bbbbbbbbb");
  EXPECT_EQ(generator.m_Pool, decltype(generator.m_Pool){});  // wiped after drawing
  generator.fail = true;
  EXPECT_FALSE(generator.Generate(password));
  EXPECT_EQ(password + generator.GetResult(), u"");
}

// Chi-square over passwords of 255 characters from the real random source. The thresholds are
// the quantiles at a false-alarm probability of one in a million; the plain modulo mapping
// exceeds both by far, and skipping one byte too many or too few makes one character clearly
// rarer or commoner.
double ChiSquare(std::u16string_view alphabet, int passwords) {
  CKDatabasesContainer users;
  CKSettingsUserBased options(users);
  CKPasswordGenerator generator(options);
  generator.AddCharacters(alphabet);
  std::map<char16_t, double> counts;
  for (int i = 0; i < passwords && generator.Draw(255); ++i)
    for (const char16_t c : generator.GetResult())
      counts[c] += 1;
  EXPECT_EQ(counts.size(), alphabet.size());
  const double expected = passwords * 255.0 / static_cast<double>(alphabet.size());
  double chi_square = 0;
  for (const auto& [character, count] : counts)
    chi_square += (count - expected) * (count - expected) / expected;
  return chi_square;
}

TEST(PasswordGeneratorTest, EveryCharacterIsEquallyLikely) {
  // 61 and 25 degrees of freedom; the modulo mapping would add about 800 and 175
  const std::u16string alphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz";
  EXPECT_LT(ChiSquare(alphabet, 490), 128.52);
  EXPECT_LT(ChiSquare(alphabet.substr(0, 26), 510), 73.89);
}

}  // namespace
