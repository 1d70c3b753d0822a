#include "crypto/crypto_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "crypto_test_util.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

// The enciphered stream: its bytes against OpenSSL's AES-256-CBC over the zero-padded text, and
// its reading on the calling thread and ahead on a second one.

namespace {

using crypto_test::Bytes;
using crypto_test::Pattern;
using Shape = CKCryptoFile::ReadAheadShape;
constexpr Shape kAhead{4096, 3, 0};

const Bytes kKey = Pattern(32);
const Bytes kIV = crypto_test::FromHex("000102030405060708090a0b0c0d0e0f");
// Bytes ahead of the stream, as a user file has its header and memo there.
const Bytes kPrefix = crypto_test::FromText("plain header");

void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The reading thread's cipher: AES that counts the blocks it deciphers.
class CountingAes : public CKCryptoSymmetric {
 public:
  CountingAes() : CKCryptoSymmetric(u"AES") { crypto_test::KeyCbc(aes_, kKey, Pattern(16)); }
  void SetIV(const std::uint8_t* iv) override { aes_.SetIV(iv); }
  void SetMode(std::uint32_t mode) override { aes_.SetMode(mode); }
  bool SetKey(const std::uint8_t* key, std::uint32_t bits) override {
    return aes_.SetKey(key, bits);
  }
  void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) override {
    aes_.EncryptBlock(in, out);
  }
  void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) override {
    DecryptBlocks(in, out, 1);
  }
  void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) override {
    deciphered += blocks;
    aes_.DecryptBlocks(in, out, blocks);
  }
  std::size_t deciphered = 0;

 private:
  CKCryptoAES aes_;
};

class CryptoFileTest : public testing::Test {
 protected:
  std::string NativePath() const { return (dir_ / "stream").string(); }

  // Writes the prefix plainly, then the text through the stream in pieces of the given size.
  void WriteStream(const Bytes& text, std::size_t piece) {
    CKCryptoAES cipher;
    crypto_test::KeyCbc(cipher, kKey, kIV);
    CKFile file;
    file.Open(platform::FromUtf8(NativePath()), CKFile::modeWrite | CKFile::modeCreate);
    file.Write(kPrefix.data(), static_cast<std::uint32_t>(kPrefix.size()));
    CKCryptoFile stream(&cipher);
    stream.Attach(file);
    EXPECT_EQ(file.GetHandle(), CKFile::kNoHandle);
    stream.Begin(true);
    for (std::size_t at = 0; at < text.size(); at += piece) {
      stream.Write(text.data() + at, static_cast<std::uint32_t>(std::min(piece, text.size() - at)));
    }
    EXPECT_EQ(stream.Finish(), !text.empty());
    EXPECT_EQ(stream.GetStreamPosition(), text.size());
    stream.Close();
  }

  // Opens the file past the prefix and begins reading it in this shape. The key comes after
  // Begin, as the program derives one while the reading starts.
  std::unique_ptr<CKCryptoFile> OpenStream(const Shape& shape) {
    CKFile file;
    file.Open(platform::FromUtf8(NativePath()), CKFile::modeRead);
    file.Seek(static_cast<std::int64_t>(kPrefix.size()), CKFile::fromStart);
    cipher_.Reset();
    auto stream = std::make_unique<CKCryptoFile>(&cipher_);
    stream->SetReadAheadShape(shape);
    stream->Attach(file);
    stream->Begin(false);
    crypto_test::KeyCbc(cipher_, kKey, kIV);
    return stream;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  crypto_test::ReadCalls calls_;
  CKCryptoAES cipher_;
};

// Texts of sizes around the chunk and random ones, written in pieces of random sizes: the file
// holds OpenSSL's CBC stream over the zero-padded text. Read back on this thread or ahead on a
// second one in random shapes and read sizes, with or without a second cipher for the reading
// thread (which starts from an IV of its own): the text, then zeros. Pieces come in order, and
// those deciphered ahead go on from the right chain.
TEST_F(CryptoFileTest, WrittenAsCbcOverZeroPaddedTextAndReadBackInAnyShape) {
  constexpr std::size_t kChunk = CKCryptoFile::kChunkSize;
  const std::size_t sizes[] = {0, 1, 16, 17, kChunk - 1, kChunk, kChunk + 1, 3 * kChunk + 40};
  crypto_test::Random random;
  std::size_t deciphered_ahead = 0;
  for (std::size_t round = 0; round < 40; ++round) {
    Bytes text = random.Fill(round < std::size(sizes) ? sizes[round] : random.Below(300000));
    const std::size_t size = text.size(), padded = (size + 15) / 16 * 16;
    WriteStream(text, 1 + random.Below(round % 4 == 0 ? 16 : 70000));
    text.resize(padded, 0);
    Bytes expected = kPrefix;
    const Bytes enciphered = crypto_test::OpenSslAes(kKey, kIV, true, true, text);
    expected.insert(expected.end(), enciphered.begin(), enciphered.end());
    std::ifstream in(NativePath(), std::ios::binary);
    ASSERT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), expected) << size << " bytes";

    const Shape shape{
        random.Below(5) == 0 ? random.Below(16) : (16u << random.Below(17)) + random.Below(2) * 5,
        random.Below(5), padded + (random.Below(3) == 0 ? 1 : 0)};
    SCOPED_TRACE(testing::Message() << size << " bytes, pieces of " << shape.piece_bytes << ", "
                                    << shape.pieces << " ahead");
    CountingAes second;  // outlives the stream
    const auto stream = OpenStream(shape);
    EXPECT_EQ(stream->ReadsAhead(), padded != 0 && shape.minimum_bytes == padded &&
                                        shape.piece_bytes >= 16 && shape.pieces != 0);
    if (random.Below(2) == 0) {
      stream->ShareDeciphering(&second);
      Sleep(5);  // the reading thread deciphers what waits
    }
    Bytes read(padded + 40, 0xAA);
    for (std::size_t at = 0, step = 0; at < read.size(); at += step) {
      step = std::min(read.size() - at, random.Below(3) == 0   ? 1 + random.Below(32)
                                        : random.Below(2) == 0 ? 1 + random.Below(5000)
                                                               : 4096 + random.Below(100000));
      std::uint32_t done = 0;
      ASSERT_TRUE(stream->Read(read.data() + at, static_cast<std::uint32_t>(step), &done));
      ASSERT_EQ(done, std::min(step, padded - std::min(padded, at))) << "at " << at;
      if (random.Below(64) == 0) {
        Sleep(1);  // the reading thread catches up
      }
    }
    text.resize(read.size(), 0);
    ASSERT_EQ(read, text);
    EXPECT_EQ(stream->GetStreamPosition(), padded);
    EXPECT_TRUE(stream->ReachedEnd());
    EXPECT_FALSE(stream->FileFailed());
    EXPECT_TRUE(stream->Close());
    deciphered_ahead += second.deciphered;
  }
  EXPECT_GT(deciphered_ahead, 0u);
}

// Each test on the calling thread's path and on the second thread's.
class CryptoFilePathTest : public CryptoFileTest, public testing::WithParamInterface<bool> {
 protected:
  Shape PathShape() const { return GetParam() ? kAhead : Shape{4096, 3, ~0ull}; }
};
INSTANTIATE_TEST_SUITE_P(Threads, CryptoFilePathTest, testing::Bool(), [](const auto& instance) {
  return instance.param ? "ReadAhead" : "OnThisThread";
});

// A stream ending in a partial block, which is left out. Before each read of the file in turn,
// the read fails, or the file is cut short (inside a block), or it grows. A failure is thrown once,
// with its message, after exactly the bytes read before it; a cut stream ends on its last whole
// block; a grown one where the file ended when the stream began.
TEST_P(CryptoFilePathTest, ReadFailingOrFileCutOrGrownAtAnyRead) {
  const Bytes text = Pattern(24 * 4096 + 96);
  const std::size_t cut = 4096 * 5 / 2 + 5;
  enum { kFails, kCut, kGrown };
  std::size_t before = 0;                        // bytes read when the change came
  for (int n = 0, reads = 0; n <= reads; ++n) {  // 0: nothing happens
    for (const int change : {kFails, kCut, kGrown}) {
      SCOPED_TRACE(testing::Message() << "change " << change << " before read " << n);
      messages_.Clear();
      WriteStream(text, text.size());
      std::ofstream(NativePath(), std::ios::binary | std::ios::app) << "12345";
      calls_.Hook([&, n, change](int read) {
        before = read <= n ? calls_.bytes.load() : before;
        if (read == n && change != kFails) {
          std::filesystem::resize_file(
              NativePath(), kPrefix.size() + (change == kCut ? cut : text.size() + 5000));
        }
        return read == n && change == kFails ? EIO : 0;
      });
      const auto stream = OpenStream(PathShape());
      EXPECT_TRUE(stream->HasPartialBlock());
      EXPECT_EQ(stream->ReadsAhead(), GetParam());
      Bytes read(text.size() + 1000);
      std::size_t at = 0;
      bool thrown = false;
      try {
        for (std::uint32_t done = 1; done != 0; at += done) {
          stream->Read(read.data() + at, 1000, &done);
        }
      } catch (CKFile::ErrorExceptions error) {
        EXPECT_EQ(error, CKFile::ErrRead);
        thrown = true;
      }
      reads = n == 0 ? calls_.reads.load() : reads;
      EXPECT_TRUE(
          std::equal(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(at), text.begin()));
      EXPECT_EQ(thrown, n != 0 && change == kFails);
      EXPECT_EQ(stream->FileFailed(), thrown);
      EXPECT_EQ(at, n == 0 || change == kGrown ? text.size()
                    : thrown                   ? before / 1000 * 1000
                                               : std::max(before, cut - cut % 16));
      ASSERT_EQ(messages_.shown().size(), thrown ? 1u : 0u);
      EXPECT_TRUE(!thrown ||
                  (messages_.Texts()[0].find("Input/output error") != std::string::npos &&
                   messages_.Texts()[0].find(NativePath()) != std::string::npos));
      if (thrown) {
        // Nothing more comes, nor is read.
        std::uint32_t done = 9;
        EXPECT_NO_THROW(stream->Read(read.data(), 1, &done));
        EXPECT_EQ(done + read[0], 0u);
        EXPECT_EQ(messages_.shown().size(), 1u);
        EXPECT_EQ(calls_.reads, n);
      }
    }
  }
}

TEST_F(CryptoFileTest, StoppingWhilePiecesAreUnreadReadsNoFurtherAndWaitsForTheReadUnderWay) {
  const Bytes text = Pattern(64 * 4096);
  WriteStream(text, text.size());
  Bytes read(32);
  calls_.Hook();
  auto stream = OpenStream(kAhead);
  stream->Read(read.data(), 32);
  EXPECT_EQ(read, Pattern(32));
  Sleep(20);
  EXPECT_LE(calls_.reads, 3);  // the piece in hand and two ahead
  EXPECT_TRUE(stream->Close());
  EXPECT_FALSE(stream->ReadsAhead());

  // Gone while the reader sits in a slow read: the descriptor is closed after that read.
  calls_.Hook([](int n) { return n == 2 ? (Sleep(50), 0) : 0; });
  stream = OpenStream(kAhead);
  stream->Read(read.data(), 16);
  while (calls_.reads < 2) {
    std::this_thread::yield();
  }
  stream.reset();
  EXPECT_FALSE(calls_.reading);
  OpenStream(kAhead);  // never read at all
  EXPECT_FALSE(calls_.closed_while_reading);
  EXPECT_TRUE(messages_.shown().empty());
}

}  // namespace
