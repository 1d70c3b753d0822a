#include "crypto/user_file.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <numeric>

#include "../database/user_fixture.h"
#include "crypto/random.h"
#include "crypto_test_util.h"
#include "database/database.h"
#include "platform/pointer.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

// The random source, the key operations of a user file (with OpenSSL's PBKDF2 as the oracle),
// and opening a user file long enough to be read ahead on a second thread.

namespace {

using crypto_test::Bytes;

class FixedPointer : public platform::PointerSource {
 public:
  std::optional<platform::PointerPosition> CurrentPosition() const override { return position; }
  std::optional<platform::PointerPosition> position = platform::PointerPosition{1234, -5};
};

TEST(RandomSource, FiguresInOrderAndDrawsThatDifferWhenTheFiguresAreEqual) {
  FixedPointer pointer;
  const platform::PointerSource* previous = platform::InstallPointer(&pointer);
  EntropyBlock block{};
  const auto before = static_cast<std::uint32_t>(std::time(nullptr));
  GatherEntropy(block);
  EXPECT_LE(before, block[1]);
  EXPECT_LE(block[1], static_cast<std::uint32_t>(std::time(nullptr)));
  EXPECT_TRUE(block[3] != 0 && block[4] != 0 && block[5] <= 100) << "memory figures";
  EXPECT_EQ(block[6], 1234u);
  EXPECT_EQ(block[7], static_cast<std::uint32_t>(-5));
  pointer.position.reset();  // an unknown position gives zeros
  GatherEntropy(block);
  EXPECT_EQ(block[6] | block[7], 0u);
  platform::InstallPointer(previous);

  // Neither is a draw the bare digest of the figures, which anyone could recompute, nor do
  // two draws, or two salts and IVs, repeat.
  const EntropyGatherer gatherer = InstallEntropyGatherer(
      [](EntropyBlock& figures) { figures = EntropyBlock{1, 2, 3, 4, 5, 6, 7, 8}; });
  std::array<std::uint8_t, kRandomBlockSize> first{}, second{}, guess{};
  NewRandomBlock(first);
  NewRandomBlock(second);
  CKUserFileKeys keys[2];
  for (CKUserFileKeys& k : keys) {
    k.NewSalt();
    k.NewIV();
  }
  InstallEntropyGatherer(gatherer);
  const auto figures = EntropyBytes(EntropyBlock{1, 2, 3, 4, 5, 6, 7, 8});
  EVP_Digest(figures.data(), figures.size(), guess.data(), nullptr, EVP_sha256(), nullptr);
  EXPECT_TRUE(first != second && first != guess && second != guess);
  EXPECT_FALSE(std::ranges::equal(keys[0].GetSalt(), keys[1].GetSalt()));
  EXPECT_FALSE(std::ranges::equal(keys[0].GetIV(), keys[1].GetIV()));
}

TEST(UserFileKeys, HeaderBytesKeyAndVerifier) {
  CKUserFileKeys keys;
  // A header read from a file keeps everything but the format's own bytes when written.
  userfile::Header header{};
  std::iota(header.begin(), header.end(), 0);
  keys.SetHeader(header);
  const userfile::Header written = keys.HeaderToWrite();
  EXPECT_EQ(crypto_test::ToHex(written.data(), 10), "56514442013c00000101");
  EXPECT_TRUE(std::equal(written.begin() + 10, written.end(), header.begin() + 10));

  // The UTF-16LE bytes of the password; a count of 0 derives as 1.
  const std::u16string password = u"p\u00e4ssw\u00f6rd \U0001F511";
  const Bytes utf16le = crypto_test::FromHex("7000e400730073007700f6007200640020003dd811dd");
  for (const std::uint16_t iterations : {1000, 0}) {
    keys.SetIterations(iterations);
    keys.SetPassword(password);
    const Bytes key = crypto_test::OpenSslPbkdf2(utf16le, keys.GetSalt().data(), 32,
                                                 std::max(iterations, {1}), 32);
    EXPECT_EQ(Bytes(keys.GetKey().begin(), keys.GetKey().end()), key);
    EXPECT_TRUE(keys.CheckPassword(password));
    EXPECT_FALSE(keys.CheckPassword(u"p\u00e4ssw\u00f6rd"));
  }
  EXPECT_FALSE(crypto_test::LeftInMemory<CKUserFileKeys>(
      Bytes(keys.GetKey().begin(), keys.GetKey().end()), [&](CKUserFileKeys& copy) {
        copy.SetHeader(keys.GetHeader());
        copy.SetPassword(password);
      }));
}

// A user file of over 6 MiB, read through a mapping: notes with large attachments, which the
// mapping's second thread deciphers while the trees are read. It opens as saved; a failing
// read at any point gives result 1 and one message, one that finds the file cut short result
// 2, and so does a file cut (or failing) while the second thread deciphers.
TEST(LongUserFile, OpensWhileASecondThreadDeciphersAndEveryFailureEndsCleanly) {
  test::TempDir dir;
  test::RecordingMessages messages;
  const std::filesystem::path file = dir / "Long.VaultQuill";
  const auto user = test::NewUser(file, u"l\u00e4nger als lang");
  for (std::size_t i = 1; i <= 3; ++i) {
    test::AddSampleEntries(*user, std::u16string(i, u'x'), 2 * 1024 * 1024 + 123 * i);
  }
  ASSERT_EQ(user->Save(), 0);
  const auto size = std::filesystem::file_size(file);
  ASSERT_GT(size, 6u << 20);
  std::filesystem::copy_file(file, dir / "saved");
  CKDatabase fresh;
  auto open = [&](std::u16string_view given = u"l\u00e4nger als lang") {
    CKDatabase database;
    database.SetPath(user->GetPath());
    const int result = database.Load(given);
    EXPECT_EQ(database.IsOpen(), result == 0);
    EXPECT_EQ(test::TreeBytes(database), test::TreeBytes(result == 0 ? *user : fresh));
    std::filesystem::copy_file(dir / "saved", file,
                               std::filesystem::copy_options::overwrite_existing);
    return result;
  };

  crypto_test::ReadCalls calls;
  EXPECT_EQ(open(u"l\u00e4nger als kurz"), userfile::kWrongPassword);
  EXPECT_LE(calls.bytes, 64u << 10) << "a wrong password reads little of the file";
  calls.Hook();
  ASSERT_EQ(open(), 0);
  EXPECT_LE(calls.bytes, 1u << 20) << "the attachments come through the mapping";
  EXPECT_TRUE(messages.shown().empty());
  for (int n = 1, reads = calls.reads; n <= reads; ++n) {
    calls.Hook([n](int read) { return read == n ? EIO : 0; });
    EXPECT_EQ(open(), userfile::kUnreadable) << "read " << n << " fails";
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.Texts()[0].find("Input/output error"), std::string::npos);
    messages.Clear();
    calls.Hook([&, n](int read) {
      EXPECT_TRUE(read != n || truncate(file.c_str(), size / 2) == 0);
      return 0;
    });
    EXPECT_EQ(open(), userfile::kDamaged) << "cut before read " << n;
    EXPECT_TRUE(messages.shown().empty());
  }
  calls.Hook();
  for (const bool failing : {false, true}) {
    // The second thread brings in an attachment's pages before deciphering it.
    calls.before_advice = [&](int advice) {
      EXPECT_TRUE(advice != MADV_POPULATE_READ || truncate(file.c_str(), size / 2) == 0);
    };
    calls.reported_size = failing ? static_cast<off_t>(size) : -1;
    EXPECT_EQ(open(), failing ? userfile::kUnreadable : userfile::kDamaged) << failing;
    ASSERT_EQ(messages.shown().size(), failing ? 1u : 0u);
    messages.Clear();
    calls.before_advice = {};
    calls.reported_size = -1;
  }
}

}  // namespace
