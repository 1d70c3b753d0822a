// The enciphered stream read ahead on a second thread: the same text as on the calling thread,
// file errors reported there, and a reader that stops, and lets the file go, when told.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <tuple>

#include "crypto/aes.h"
#include "crypto/crypto_file.h"
#include "crypto_test_util.h"
#include "platform/utf.h"
#include "read_fault_calls.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

using crypto_test::Bytes;
using Shape = CKCryptoFile::ReadAheadShape;

const Bytes kKey =
    crypto_test::FromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
const Bytes kIV = crypto_test::FromHex("000102030405060708090a0b0c0d0e0f");
constexpr std::size_t kPrefix = 24;  // plain bytes ahead of the stream, as a user file has

Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 13 + i / 509);
  }
  return bytes;
}

void Key(CKCryptoAES& cipher) {
  cipher.SetKey(kKey.data(), 256);
  cipher.SetMode(CKCryptoSymmetric::kModeCBC);
  cipher.SetIV(kIV.data());
}

class CryptoFileReadAheadTest : public ::testing::Test {
 protected:
  std::string NativePath() const { return (dir_ / "stream").string(); }
  std::u16string Path() const { return platform::FromUtf8(NativePath()); }

  // The prefix, then the text enciphered (written on the calling thread, checked against
  // libcrypto by the stream's own tests).
  void WriteStream(const Bytes& text) {
    CKCryptoAES cipher;
    Key(cipher);
    CKFile file;
    file.Open(Path(), CKFile::modeWrite | CKFile::modeCreate);
    const Bytes prefix(kPrefix, 0xEE);
    file.Write(prefix.data(), kPrefix);
    CKCryptoFile stream(&cipher);
    stream.Attach(file);
    stream.Begin(true);
    stream.Write(text.data(), static_cast<std::uint32_t>(text.size()));
    stream.Finish();
    stream.Close();
  }

  // Opens the file past the prefix; arm runs just before the stream begins.
  std::unique_ptr<CKCryptoFile> OpenStream(const Shape& shape,
                                           const std::function<void()>& arm = {}) {
    CKFile file;
    file.Open(Path(), CKFile::modeRead);
    Bytes prefix(kPrefix);
    file.Read(prefix.data(), kPrefix);
    Key(cipher_);
    auto stream = std::make_unique<CKCryptoFile>(&cipher_);
    stream->SetReadAheadShape(shape);
    stream->Attach(file);
    if (arm) {
      arm();
    }
    stream->Begin(false);
    return stream;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  CKCryptoAES cipher_;
};

// A shape, and whether the reading thread deciphers too.
class ShapedReadTest : public CryptoFileReadAheadTest,
                       public ::testing::WithParamInterface<std::tuple<Shape, bool>> {};

TEST_P(ShapedReadTest, SameTextInAnyMixOfReadSizesAcrossPieces) {
  const auto [shape, shared] = GetParam();
  const Bytes text = Pattern(300000);
  WriteStream(text);
  auto stream = OpenStream(shape);
  EXPECT_TRUE(stream->ReadsAhead());
  CKCryptoAES second;
  Bytes read(text.size() + 40, 0xAA);
  std::size_t at = 0;
  // Small reads served from text deciphered in place, reads deciphered straight into the
  // buffer, and reads that straddle the two and the ends of pieces.
  for (const std::size_t piece : {4, 1, 3, 17, 4095, 4096, 5000, 2, 100000, 16, 31, 70000}) {
    std::uint32_t done = 0;
    ASSERT_TRUE(stream->Read(read.data() + at, static_cast<std::uint32_t>(piece), &done));
    ASSERT_EQ(done, piece);
    at += piece;
    if (shared && at == 4) {
      Key(second);
      second.SetIV(Pattern(16).data());  // the reading thread sets its own chaining values
      stream->ShareDeciphering(&second);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));  // it deciphers what waits
    }
  }
  std::uint32_t done = 0;
  stream->Read(read.data() + at, static_cast<std::uint32_t>(read.size() - at), &done);
  EXPECT_EQ(done, text.size() - at);  // the stream ends where the text does
  EXPECT_TRUE(stream->ReachedEnd());
  EXPECT_EQ(Bytes(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(text.size())), text);
  EXPECT_EQ(Bytes(read.begin() + static_cast<std::ptrdiff_t>(text.size()), read.end()),
            Bytes(40, 0));
  EXPECT_EQ(stream->GetStreamPosition(), text.size());
  EXPECT_FALSE(stream->FileFailed());
  EXPECT_TRUE(stream->Close());
}

INSTANTIATE_TEST_SUITE_P(Shapes, ShapedReadTest,
                         ::testing::Combine(::testing::Values(Shape{16, 2, 0}, Shape{48, 3, 0},
                                                              Shape{1000, 2, 0}, Shape{4096, 4, 0},
                                                              Shape{65536, 2, 0},
                                                              Shape{1 << 20, 4, 0}),
                                            ::testing::Bool()));

TEST_F(CryptoFileReadAheadTest, OnlyLongStreamsAreReadAhead) {
  WriteStream(Pattern(100000));
  EXPECT_FALSE(OpenStream(Shape{4096, 4, 100001})->ReadsAhead());
  EXPECT_TRUE(OpenStream(Shape{4096, 4, 100000})->ReadsAhead());
  EXPECT_FALSE(OpenStream(Shape{})->ReadsAhead());
  EXPECT_FALSE(OpenStream(Shape{8, 4, 0})->ReadsAhead());  // no whole block fits a piece
}

TEST_F(CryptoFileReadAheadTest, KeyMayBeSetAfterTheStreamBegins) {
  const Bytes text = Pattern(50000);
  WriteStream(text);
  CKFile file;
  file.Open(Path(), CKFile::modeRead);
  file.Seek(kPrefix, CKFile::fromStart);
  CKCryptoAES cipher;
  CKCryptoFile stream(&cipher);
  stream.SetReadAheadShape(Shape{4096, 3, 0});
  stream.Attach(file);
  stream.Begin(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the ring fills meanwhile
  Key(cipher);
  Bytes read(text.size());
  stream.Read(read.data(), static_cast<std::uint32_t>(read.size()));
  EXPECT_EQ(read, text);
}

TEST_F(CryptoFileReadAheadTest, FailedReadOfAnyPieceIsReportedOnceOnTheCallingThread) {
  constexpr std::size_t kPiece = 4096;
  const Bytes text = Pattern(6 * kPiece + 100);  // seven pieces, the last one short
  WriteStream(text);
  crypto_test::ReadFaultCalls calls;
  for (int n = 1; n <= 8; ++n) {
    SCOPED_TRACE(testing::Message() << "read " << n << " fails");
    messages_.Clear();
    auto stream = OpenStream(Shape{kPiece, 3, 0}, [&] { calls.FailNth(n); });
    CKCryptoAES second;
    Key(second);
    stream->ShareDeciphering(&second);  // pieces before the failed one may come deciphered
    Bytes read(text.size(), 0);
    std::size_t at = 0;
    bool thrown = false;
    while (at < text.size()) {
      const auto step = static_cast<std::uint32_t>(std::min<std::size_t>(1000, text.size() - at));
      std::uint32_t done = 0;
      try {
        stream->Read(read.data() + at, step, &done);
      } catch (CKFile::ErrorExceptions error) {
        EXPECT_EQ(error, CKFile::ErrRead);
        thrown = true;
        break;
      }
      ASSERT_EQ(done, step);
      at += step;
    }
    const bool fails = n <= 7;
    EXPECT_EQ(thrown, fails);
    EXPECT_EQ(stream->FileFailed(), fails);
    // Everything up to the failed piece arrived, and arrived right.
    EXPECT_EQ(at, fails ? (static_cast<std::size_t>(n) - 1) * kPiece / 1000 * 1000 : text.size());
    EXPECT_TRUE(
        std::equal(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(at), text.begin()));
    ASSERT_EQ(messages_.shown().size(), fails ? 1u : 0u);
    if (fails) {
      EXPECT_NE(messages_.Texts()[0].find("Input/output error"), std::string::npos);
      EXPECT_NE(messages_.Texts()[0].find(NativePath()), std::string::npos);
      // A failed stream gives nothing more, and says so only once.
      std::uint8_t byte = 0xFF;
      std::uint32_t done = 9;
      EXPECT_NO_THROW(stream->Read(&byte, 1, &done));
      EXPECT_EQ(done, 0u);
      EXPECT_EQ(byte, 0);
      EXPECT_EQ(messages_.shown().size(), 1u);
    }
  }
}

TEST_F(CryptoFileReadAheadTest, StoppingEarlyReadsNoFurtherAndWaitsForTheReadUnderWay) {
  constexpr std::size_t kPiece = 4096;
  const Bytes text = Pattern(64 * kPiece);
  WriteStream(text);
  crypto_test::ReadFaultCalls calls;
  {
    auto stream = OpenStream(Shape{kPiece, 3, 0}, [&] { calls.Reset(); });
    Bytes read(32);
    stream->Read(read.data(), 32);
    EXPECT_EQ(read, Bytes(text.begin(), text.begin() + 32));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LE(calls.Reads(), 3);  // the piece in hand and two ahead
    EXPECT_TRUE(stream->Close());
    EXPECT_FALSE(stream->ReadsAhead());
  }
  {
    // Gone while the reader sits in a slow read: the descriptor is closed after that read.
    auto stream = OpenStream(Shape{kPiece, 3, 0}, [&] {
      calls.BeforeNth(2, [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
    });
    Bytes read(16);
    stream->Read(read.data(), 16);
    while (calls.Reads() < 2) {
      std::this_thread::yield();
    }
    stream.reset();
    EXPECT_FALSE(calls.Reading());
  }
  {
    // Never read at all.
    auto stream = OpenStream(Shape{kPiece, 2, 0}, [&] { calls.Reset(); });
  }
  EXPECT_FALSE(calls.ClosedWhileReading());
  EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(CryptoFileReadAheadTest, FileThatShrinksOrGrowsWhileReadEndsCleanly) {
  constexpr std::size_t kPiece = 4096;
  const Bytes text = Pattern(8 * kPiece);
  const std::size_t cut = kPiece * 5 / 2 + 5;  // inside the third piece, not on a block
  crypto_test::ReadFaultCalls calls;
  for (int n = 1; n <= 9; ++n) {
    SCOPED_TRACE(testing::Message() << "changed before read " << n);
    calls.Reset();
    WriteStream(text);
    auto stream = OpenStream(Shape{kPiece, 2, 0}, [&] {
      calls.BeforeNth(n, [&] { ASSERT_EQ(truncate(NativePath().c_str(), kPrefix + cut), 0); });
    });
    Bytes read(text.size());
    std::uint32_t done = 0;
    stream->Read(read.data(), static_cast<std::uint32_t>(read.size()), &done);
    // What was read before the cut is whole; after it the stream ends on a block.
    EXPECT_EQ(done % 16, 0u);
    EXPECT_EQ(done,
              std::max<std::size_t>(std::min<std::size_t>(n - 1, 8) * kPiece, cut - cut % 16));
    EXPECT_TRUE(std::equal(read.begin(), read.begin() + done, text.begin()));
    EXPECT_EQ(stream->ReachedEnd(), n <= 8);
    EXPECT_FALSE(stream->FileFailed());
  }
  for (int n = 1; n <= 9; ++n) {
    SCOPED_TRACE(testing::Message() << "grown before read " << n);
    calls.Reset();
    WriteStream(text);
    auto stream = OpenStream(Shape{kPiece, 2, 0}, [&] {
      calls.BeforeNth(n, [&] {
        std::ofstream(NativePath(), std::ios::binary | std::ios::app) << std::string(50000, 'x');
      });
    });
    Bytes read(text.size() + 16);
    std::uint32_t done = 0;
    stream->Read(read.data(), static_cast<std::uint32_t>(read.size()), &done);
    EXPECT_EQ(done, text.size());  // the stream is what the file held when it began
    EXPECT_TRUE(std::equal(text.begin(), text.end(), read.begin()));
  }
  EXPECT_TRUE(messages_.shown().empty());
}

}  // namespace
