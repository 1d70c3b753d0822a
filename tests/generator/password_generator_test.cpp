#include "generator/password_generator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <string>

#include "database/databases_container.h"
#include "settings/settings_user_based.h"

namespace {

using ::testing::Each;

// A generator whose pool bytes come from a script: pool k holds bytes 32k to 32k + 31 of it.
class ScriptedGenerator final : public CKPasswordGenerator {
 public:
  using CKPasswordGenerator::CKPasswordGenerator;
  using CKPasswordGenerator::m_Pool;

  std::deque<std::uint8_t> script;
  int refills = 0;
  bool fail = false;

 protected:
  void RefillPool() override {
    if (fail) {
      throw std::runtime_error("no random source");
    }
    ++refills;
    for (auto& byte : m_Pool) {
      byte = script.empty() ? 0 : script.front();
      if (!script.empty()) {
        script.pop_front();
      }
    }
  }
};

// Every byte value in turn, as often as asked.
std::deque<std::uint8_t> AllBytes(int rounds) {
  std::deque<std::uint8_t> bytes;
  for (int round = 0; round < rounds; ++round) {
    for (int value = 0; value < 256; ++value) {
      bytes.push_back(static_cast<std::uint8_t>(value));
    }
  }
  return bytes;
}

class PasswordGeneratorTest : public ::testing::Test {
 protected:
  CKDatabasesContainer users;  // nobody logged in
  CKSettingsUserBased options{users};
};

TEST_F(PasswordGeneratorTest, DefaultsGiveFourteenCharactersOfUpperDigitsLower) {
  CKPasswordGenerator generator(options);
  std::u16string password;
  ASSERT_TRUE(generator.Generate(password));
  EXPECT_EQ(generator.GetAlphabet(),
            u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(password.size(), 14u);
  EXPECT_EQ(password.find_first_not_of(generator.GetAlphabet()), std::u16string::npos);
}

TEST_F(PasswordGeneratorTest, AlphabetTakesTheSetsInTheirOrderAndKeeps255Characters) {
  options.boolIsCustomEnabled = true;
  options.boolIsSpecialEnabled = true;
  options.stringCustomArray = u"\u00e4\u00f6";
  CKPasswordGenerator generator(options);
  std::u16string password;
  ASSERT_TRUE(generator.Generate(password));
  EXPECT_EQ(generator.GetAlphabet(), std::u16string(u"\u00e4\u00f6") +
                                         u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                         u"abcdefghijklmnopqrstuvwxyz!@#$%^&*()_-+=\":;'</>\\~`.,");
  EXPECT_EQ(CKPasswordGenerator::kSpecial.size(), 26u);

  // 128 custom characters and every set: 216, no cut. A longer custom set is cut at 255.
  options.stringCustomArray.assign(128, u'x');
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet().size(), 216u);
  options.stringCustomArray.assign(300, u'y');
  generator.Generate(password);
  EXPECT_EQ(generator.GetAlphabet(), std::u16string(255, u'y'));
}

TEST_F(PasswordGeneratorTest, TooFewCharactersOrLengthZeroGiveNothing) {
  std::u16string password = u"previous";
  {
    options.boolIsLetersEnabledBig = options.boolIsLetersEnabledSmall = false;
    options.boolIsNumbersEnabled = false;
    CKPasswordGenerator generator(options);
    EXPECT_FALSE(generator.Generate(password));
    EXPECT_EQ(password, u"");
  }
  {
    options.boolIsCustomEnabled = true;
    options.stringCustomArray = u"a";
    CKPasswordGenerator generator(options);
    EXPECT_FALSE(generator.Generate(password));
  }
  {
    options.stringCustomArray = u"aa";  // two characters, even if the same
    options.intPasswordLength = 256;    // only the low 8 bits count: 0
    CKPasswordGenerator generator(options);
    EXPECT_FALSE(generator.Generate(password));
    options.intPasswordLength = 0x100 + 9;
    ASSERT_TRUE(generator.Generate(password));
    EXPECT_EQ(password, u"aaaaaaaaa");
  }
}

TEST_F(PasswordGeneratorTest, BytesAboveTheLastWholeMultipleAreSkipped) {
  // 62 characters: 248 = 4 * 62, so the bytes 248 to 255 would favour A to H.
  ScriptedGenerator generator(options);
  generator.AddCharacters(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz");
  generator.script = AllBytes(2);
  ASSERT_TRUE(generator.Draw(248));
  std::u16string expected;
  for (int r = 0; r < 248; ++r) {
    expected += generator.GetAlphabet()[r % 62];
  }
  EXPECT_EQ(generator.GetResult(), expected);
  EXPECT_EQ(generator.refills, 8);  // 32 bytes each, every one of 0 to 247 used

  // The 249th character needs a ninth pool: 248 to 255 are passed over.
  generator.refills = 0;
  generator.script = AllBytes(2);
  ASSERT_TRUE(generator.Draw(249));
  EXPECT_EQ(generator.GetResult().back(), u'A');  // byte 0 of the second round
  EXPECT_EQ(generator.refills, 9);
  EXPECT_THAT(generator.m_Pool, Each(0));  // wiped after drawing
}

TEST_F(PasswordGeneratorTest, AlphabetsThatDivide256SkipNothing) {
  ScriptedGenerator generator(options);
  generator.AddCharacters(std::u16string(64, u'a') + std::u16string(64, u'b'));
  generator.script = AllBytes(1);
  ASSERT_TRUE(generator.Draw(255));
  EXPECT_EQ(generator.refills, 8);
  EXPECT_EQ(generator.GetResult(), std::u16string(64, u'a') + std::u16string(64, u'b') +
                                       std::u16string(64, u'a') + std::u16string(63, u'b'));
}

TEST_F(PasswordGeneratorTest, NoRandomSourceMeansNoPassword) {
  ScriptedGenerator generator(options);
  generator.fail = true;
  std::u16string password = u"previous";
  EXPECT_FALSE(generator.Generate(password));
  EXPECT_EQ(password, u"");
  EXPECT_EQ(generator.GetResult(), u"");
}

}  // namespace
