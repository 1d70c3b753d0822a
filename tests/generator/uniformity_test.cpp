// Every character of the alphabet must be equally likely. A chi-square test over a large
// sample from the real random source; the thresholds are the chi-square quantiles at a
// false-alarm probability of one in a million, so the test is not flaky. The plain modulo
// mapping (each pool byte taken mod n) fails both by far: its first 256 mod n characters come
// once more per 256 bytes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "database/databases_container.h"
#include "generator/password_generator.h"
#include "settings/settings_user_based.h"

namespace {

// Chi-square statistic of the characters of passwords drawn until `sample` characters are had.
double ChiSquare(const CKSettingsUserBased& options, std::size_t alphabet_size,
                 std::size_t sample) {
  CKPasswordGenerator generator(options);
  std::map<char16_t, std::size_t> counts;
  std::size_t drawn = 0;
  std::u16string password;
  while (drawn < sample) {
    EXPECT_TRUE(generator.Generate(password));
    for (const char16_t c : password) {
      ++counts[c];
    }
    drawn += password.size();
  }
  EXPECT_EQ(generator.GetAlphabet().size(), alphabet_size);
  EXPECT_EQ(counts.size(), alphabet_size);
  const double expected = static_cast<double>(drawn) / static_cast<double>(alphabet_size);
  double chi_square = 0;
  for (const auto& [character, count] : counts) {
    const double difference = static_cast<double>(count) - expected;
    chi_square += difference * difference / expected;
  }
  return chi_square;
}

class UniformityTest : public ::testing::Test {
 protected:
  UniformityTest() { options.intPasswordLength = 255; }

  CKDatabasesContainer users;
  CKSettingsUserBased options{users};
};

TEST_F(UniformityTest, SixtyTwoCharactersAreEquallyLikely) {
  // 61 degrees of freedom; the modulo mapping would add about 800 at this sample size.
  EXPECT_LT(ChiSquare(options, 62, 62 * 2000), 128.52);
}

TEST_F(UniformityTest, TwentySixCharactersAreEquallyLikely) {
  // 25 degrees of freedom; the modulo mapping would add about 175 at this sample size.
  options.boolIsLetersEnabledSmall = false;
  options.boolIsNumbersEnabled = false;
  EXPECT_LT(ChiSquare(options, 26, 26 * 5000), 73.89);
}

}  // namespace
