#include "crypto/read_ahead.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "crypto/aes.h"
#include "crypto_test_util.h"
#include "read_fault_calls.h"
#include "support/temp_dir.h"

namespace {

using crypto_test::Bytes;

class ReadAheadTest : public ::testing::Test {
 protected:
  // A file of the given size with bytes that tell their place.
  int OpenFile(std::size_t size) {
    content_.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
      content_[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    }
    const auto path = dir_ / "file";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(content_.data()),
               static_cast<std::streamsize>(content_.size()));
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd_, 0);
    return fd_;
  }
  ~ReadAheadTest() override {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  Bytes Content(std::size_t at, std::size_t size) const {
    return Bytes(content_.begin() + static_cast<std::ptrdiff_t>(at),
                 content_.begin() + static_cast<std::ptrdiff_t>(at + size));
  }

  test::TempDir dir_;
  crypto_test::ReadFaultCalls calls_;
  Bytes content_;
  int fd_ = -1;
};

TEST_F(ReadAheadTest, PiecesArriveInFileOrderNeverMoreThanTheRingAhead) {
  constexpr std::size_t kPiece = 1000;
  const int fd = OpenFile(20 * kPiece + 500);
  calls_.Reset();
  CKReadAhead reader;
  reader.Start(calls_, fd, 20 * kPiece + 300, kPiece, 3);  // less than the file holds
  CKReadAhead::Piece piece;
  std::size_t at = 0;
  for (int number = 0; reader.Next(piece); ++number) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // time to run ahead
    EXPECT_LE(calls_.Reads(), number + 3);
    EXPECT_EQ(piece.error, 0);
    ASSERT_EQ(Bytes(piece.data, piece.data + piece.size), Content(at, piece.size));
    at += piece.size;
    reader.Release();
  }
  EXPECT_EQ(at, 20 * kPiece + 300);
  EXPECT_FALSE(reader.Next(piece));
  EXPECT_EQ(calls_.Reads(), 21);
}

TEST_F(ReadAheadTest, WaitingPiecesAreDecipheredOnTheReadingThreadWithTheirChain) {
  constexpr std::size_t kPiece = 1024;
  constexpr std::size_t kSize = 12 * kPiece;
  const Bytes key(32, 0x42);
  const Bytes iv(16, 0x17);
  Bytes text(kSize);
  for (std::size_t i = 0; i < kSize; ++i) {
    text[i] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  CKCryptoAES cipher;
  cipher.SetKey(key.data(), 256);
  cipher.SetMode(CKCryptoSymmetric::kModeCBC);
  cipher.SetIV(iv.data());
  Bytes file(kSize);
  cipher.EncryptBlocks(text.data(), file.data(), kSize / 16);
  const auto path = dir_ / "enciphered";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(kSize));
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);

  CKCryptoAES reader_cipher;  // the reading thread's: same key, its own chaining value
  reader_cipher.SetKey(key.data(), 256);
  reader_cipher.SetMode(CKCryptoSymmetric::kModeCBC);
  cipher.SetIV(iv.data());  // the user's, as a stream would run it
  CKReadAhead reader;
  reader.Start(calls_, fd_, kSize, kPiece, 4);
  reader.ShareDeciphering(&reader_cipher);
  CKReadAhead::Piece piece;
  int deciphered = 0;
  for (std::size_t at = 0; reader.Next(piece); at += kPiece) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));  // a slow user
    ASSERT_EQ(piece.size, kPiece);
    Bytes plain(piece.data, piece.data + kPiece);
    if (piece.deciphered) {
      ++deciphered;
      cipher.SetIV(piece.last_block.data());
      EXPECT_EQ(Bytes(piece.last_block.begin(), piece.last_block.end()),
                Bytes(file.begin() + static_cast<std::ptrdiff_t>(at + kPiece - 16),
                      file.begin() + static_cast<std::ptrdiff_t>(at + kPiece)));
    } else {
      cipher.DecryptBlocks(piece.data, plain.data(), kPiece / 16);
    }
    ASSERT_EQ(plain, Bytes(text.begin() + static_cast<std::ptrdiff_t>(at),
                           text.begin() + static_cast<std::ptrdiff_t>(at + kPiece)))
        << "piece at " << at << (piece.deciphered ? ", deciphered ahead" : "");
    EXPECT_FALSE(piece.deciphered && at == 0) << "the first piece's chain is the user's";
    reader.Release();
  }
  EXPECT_GE(deciphered, 6);
}

TEST_F(ReadAheadTest, FailedReadEndsTheRingWithItsError) {
  const int fd = OpenFile(10000);
  calls_.FailNth(3, ENOSPC);
  CKReadAhead reader;
  reader.Start(calls_, fd, 10000, 1024, 4);
  CKReadAhead::Piece piece;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(reader.Next(piece));
    EXPECT_EQ(piece.size, 1024u);
    EXPECT_EQ(piece.error, 0);
    reader.Release();
  }
  ASSERT_TRUE(reader.Next(piece));
  EXPECT_EQ(piece.error, ENOSPC);
  EXPECT_EQ(piece.size, 0u);
  reader.Release();
  EXPECT_FALSE(reader.Next(piece));
  EXPECT_EQ(calls_.Reads(), 3);
}

TEST_F(ReadAheadTest, StopsWhateverTheUserHoldsAndAfterwardsHandsOutNothing) {
  const int fd = OpenFile(50000);
  CKReadAhead reader;
  CKReadAhead::Piece piece;
  EXPECT_FALSE(reader.Next(piece));  // not started
  reader.Start(calls_, fd, 0, 1024, 2);
  EXPECT_FALSE(reader.Next(piece));  // nothing to read
  reader.Start(calls_, fd, 50000, 1024, 2);
  ASSERT_TRUE(reader.Next(piece));
  EXPECT_FALSE(reader.Next(piece)) << "the piece in hand was not given back";
  std::this_thread::sleep_for(std::chrono::milliseconds(5));  // the reader waits on a full ring
  reader.Stop();
  EXPECT_FALSE(calls_.Reading());
  reader.Release();
  EXPECT_FALSE(reader.Next(piece));
  reader.Stop();
}

}  // namespace
