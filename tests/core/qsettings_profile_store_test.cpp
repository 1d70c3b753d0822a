#include "core/qsettings_profile_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QSettings>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace {

// QSettings fixes the user's configuration folder at its first use, so the whole program gets
// one temporary folder from the start. It holds a file as an earlier run of the program left
// it: what is read back from there is what another process reads from the disk, not what this
// process's QSettings keeps in memory.
class ConfigurationFolder final : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<test::TempDir>();
    setenv("XDG_CONFIG_HOME", folder_->path().c_str(), 1);
    std::filesystem::create_directories(folder_->path() / "Orlavo software");
    std::ofstream(folder_->path() / "Orlavo software" / "VaultQuill.conf")
        << "[Earlier%20Run]\n"
           "number=4294967295\n"
           "text=\"@@at start, \\\"q\\\"; 100%\\n\xc3\xbc\\\\end\"\n"
           "block=\"@ByteArray(\\0\\x1\\x7f\\x80\\xff\\n=\\0)\"\n"
           "negative=-1\n"
           "word=not a number\n";
  }
  void TearDown() override { folder_.reset(); }

 private:
  static inline std::unique_ptr<test::TempDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const kFolder =
    ::testing::AddGlobalTestEnvironment(new ConfigurationFolder);

TEST(QSettingsStore, ValuesLandInTheProgramsFileByGroupAndComeBackWithTheirTypes) {
  QSettingsProfileStore store;
  const std::u16string text = u"@at start, \"quoted\"; 100%\n\u00fc\U0001F511 \\end";
  const std::vector<std::uint8_t> bytes = {0, 1, 0x7F, 0x80, 0xFF, '\n', '=', 0};
  ASSERT_TRUE(store.WriteProfileString(u"Interface Settings", u"m_csLanguage", text));
  ASSERT_TRUE(store.WriteProfileInt(u"Interface Settings", u"m_wordVirtKey", 0xFFFFFFFF));
  ASSERT_TRUE(store.WriteProfileBinary(u"Windows Settings", u"m_stLogIn", bytes));
  ASSERT_TRUE(store.WriteProfileBinary(u"Windows Settings", u"m_stMoveTo", {}));
  // Any QSettings reader of the organisation and application sees them.
  QSettings reader(QSettings::NativeFormat, QSettings::UserScope, "Orlavo software", "VaultQuill");
  EXPECT_EQ(reader.value("Interface Settings/m_wordVirtKey").toUInt(), 0xFFFFFFFFu);
  EXPECT_EQ(store.GetProfileString(u"Interface Settings", u"m_csLanguage", u""), text);
  EXPECT_EQ(store.GetProfileInt(u"Interface Settings", u"m_wordVirtKey", 0), 0xFFFFFFFFu);
  std::vector<std::uint8_t> read;
  EXPECT_TRUE(store.GetProfileBinary(u"Windows Settings", u"m_stLogIn", read));
  EXPECT_EQ(read, bytes);
  EXPECT_TRUE(store.GetProfileBinary(u"Windows Settings", u"m_stMoveTo", read));
  EXPECT_TRUE(read.empty());
  // Another type, another group or nothing stored gives the default.
  EXPECT_EQ(store.GetProfileInt(u"Interface Settings", u"m_csLanguage", 7), 7u);
  EXPECT_EQ(store.GetProfileString(u"Windows Settings", u"m_stLogIn", u"none"), u"none");
  EXPECT_FALSE(store.GetProfileBinary(u"Interface Settings", u"m_csLanguage", read));
  EXPECT_EQ(store.GetProfileString(u"System Settings", u"m_csLanguage", u"none"), u"none");

  // What an earlier run left in the file; numbers edited by hand: a negative one gives its
  // 32-bit pattern, a word the default.
  constexpr std::u16string_view kSection = u"Earlier Run";
  EXPECT_EQ(store.GetProfileInt(kSection, u"number", 0), 0xFFFFFFFFu);
  EXPECT_EQ(store.GetProfileString(kSection, u"text", u""), u"@at start, \"q\"; 100%\n\u00fc\\end");
  EXPECT_TRUE(store.GetProfileBinary(kSection, u"block", read));
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(store.GetProfileString(kSection, u"block", u"default"), u"default");
  EXPECT_FALSE(store.GetProfileBinary(kSection, u"text", read));
  EXPECT_EQ(store.GetProfileInt(kSection, u"text", 5), 5u);
  EXPECT_EQ(store.GetProfileInt(kSection, u"negative", 0), 0xFFFFFFFFu);
  EXPECT_EQ(store.GetProfileInt(kSection, u"word", 5), 5u);
}

TEST(QSettingsStore, WritersOnTwoThreadsLoseNothing) {
  QSettingsProfileStore store;
  const auto entry = [](std::uint32_t i) {
    return u"n" + std::u16string(1, static_cast<char16_t>(u'A' + i));
  };
  const auto writer = [&](std::u16string section) {
    for (std::uint32_t i = 0; i < 40; ++i) {
      store.WriteProfileInt(section, entry(i), i);
    }
  };
  std::thread first(writer, u"First");
  writer(u"Second");
  first.join();
  for (std::uint32_t i = 0; i < 80; ++i) {
    EXPECT_EQ(store.GetProfileInt(i < 40 ? u"First" : u"Second", entry(i % 40), 999), i % 40);
  }
}

}  // namespace
