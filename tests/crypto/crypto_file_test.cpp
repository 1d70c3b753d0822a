#include "crypto/crypto_file.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "crypto/aes.h"
#include "crypto_test_util.h"
#include "files/system_calls.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

// The enciphered stream against OpenSSL's AES-256-CBC over the same zero-padded text.

namespace {

using crypto_test::Bytes;
constexpr std::size_t kChunk = CKCryptoFile::kChunkSize;

const Bytes kKey =
    crypto_test::FromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
const Bytes kIV = crypto_test::FromHex("000102030405060708090a0b0c0d0e0f");
// Bytes ahead of the stream, as a user file has its header and memo there.
const Bytes kPlainPrefix = crypto_test::FromText("plain header");

Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  }
  return bytes;
}

Bytes OpenSslCbc(const Bytes& input, bool encrypt) {
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  EVP_CipherInit_ex(ctx.get(), EVP_aes_256_cbc(), nullptr, kKey.data(), kIV.data(), encrypt);
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  Bytes output(input.size() + 16);
  int length = 0;
  int tail = 0;
  EVP_CipherUpdate(ctx.get(), output.data(), &length, input.data(), static_cast<int>(input.size()));
  EVP_CipherFinal_ex(ctx.get(), output.data() + length, &tail);
  output.resize(static_cast<std::size_t>(length + tail));
  return output;
}

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class CryptoFileTest : public ::testing::Test {
 protected:
  CryptoFileTest() {
    cipher_.SetKey(kKey.data(), 256);
    cipher_.SetMode(CKCryptoSymmetric::kModeCBC);
    cipher_.SetIV(kIV.data());
  }

  std::u16string Path() const { return platform::FromUtf8((dir_ / "stream").string()); }

  // Writes the prefix plainly, then the text through the stream in pieces of the given size.
  void WriteStream(const Bytes& text, std::size_t piece) {
    CKFile file;
    file.Open(Path(), CKFile::modeWrite | CKFile::modeCreate);
    file.Write(kPlainPrefix.data(), static_cast<std::uint32_t>(kPlainPrefix.size()));
    CKCryptoFile stream(&cipher_);
    stream.Attach(file);
    EXPECT_EQ(file.GetHandle(), CKFile::kNoHandle);
    stream.Begin(true);
    for (std::size_t at = 0; at < text.size(); at += piece) {
      const std::size_t n = std::min(piece, text.size() - at);
      ASSERT_TRUE(stream.Write(text.data() + at, static_cast<std::uint32_t>(n)));
    }
    EXPECT_EQ(stream.Finish(), !text.empty());
    EXPECT_EQ(stream.GetStreamPosition(), text.size());
    stream.Close();
  }

  // Opens the file past the prefix and begins reading.
  std::unique_ptr<CKCryptoFile> OpenStream() {
    CKFile file;
    file.Open(Path(), CKFile::modeRead);
    Bytes prefix(kPlainPrefix.size());
    file.Read(prefix.data(), static_cast<std::uint32_t>(prefix.size()));
    cipher_.SetIV(kIV.data());
    auto stream = std::make_unique<CKCryptoFile>(&cipher_);
    stream->Attach(file);
    stream->Begin(false);
    return stream;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  CKCryptoAES cipher_;
};

TEST_F(CryptoFileTest, FileBytesAreThoseOfBlockByBlockCbcOverZeroPaddedText) {
  for (const std::size_t size :
       {std::size_t{1}, std::size_t{15}, std::size_t{16}, std::size_t{17}, std::size_t{32},
        kChunk - 1, kChunk, kChunk + 1, 3 * kChunk + 40}) {
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{4}, std::size_t{4099}, std::size_t{5000}, size}) {
      if (piece == 1 && size > 4096) {
        continue;
      }
      SCOPED_TRACE(testing::Message() << size << " bytes in pieces of " << piece);
      cipher_.SetIV(kIV.data());
      const Bytes text = Pattern(size);
      WriteStream(text, piece);
      Bytes padded = text;
      padded.resize((size + 15) / 16 * 16, 0);
      Bytes expected = kPlainPrefix;
      const Bytes enciphered = OpenSslCbc(padded, true);
      expected.insert(expected.end(), enciphered.begin(), enciphered.end());
      ASSERT_EQ(ReadAll(dir_ / "stream"), expected);
    }
  }
}

TEST_F(CryptoFileTest, ReadsBackInSmallAndLargePiecesAcrossChunks) {
  const Bytes text = Pattern(2 * kChunk + 1000);
  WriteStream(text, 70000);
  auto stream = OpenStream();
  Bytes read(text.size());
  std::size_t at = 0;
  // Small reads, reads that run straight into the buffer, and reads that straddle both.
  for (const std::size_t piece : {std::size_t{4}, std::size_t{1}, std::size_t{100000},
                                  std::size_t{3}, kChunk, std::size_t{17}}) {
    std::uint32_t done = 0;
    ASSERT_TRUE(stream->Read(read.data() + at, static_cast<std::uint32_t>(piece), &done));
    EXPECT_EQ(done, piece);
    at += piece;
  }
  std::uint32_t done = 0;
  stream->Read(read.data() + at, static_cast<std::uint32_t>(text.size() - at), &done);
  EXPECT_EQ(done, text.size() - at);
  EXPECT_EQ(read, text);
  EXPECT_FALSE(stream->ReachedEnd());
}

TEST_F(CryptoFileTest, PastTheEndGivesZerosAndSaysHowMuchWasReal) {
  WriteStream(Pattern(20), 20);  // two blocks on disk, the last 12 bytes zero
  auto stream = OpenStream();
  Bytes read(40, 0xAA);
  std::uint32_t done = 0;
  stream->Read(read.data(), 40, &done);
  EXPECT_EQ(done, 32u);
  Bytes expected = Pattern(20);
  expected.resize(40, 0);
  EXPECT_EQ(read, expected);
  EXPECT_TRUE(stream->ReachedEnd());
  EXPECT_EQ(stream->GetStreamPosition(), 32u);
}

TEST_F(CryptoFileTest, PartialLastBlockIsLeftOutOfTheStream) {
  WriteStream(Pattern(40), 40);
  {
    std::ofstream out(dir_ / "stream", std::ios::binary | std::ios::app);
    out << "12345";  // the stream area is now 48 + 5 bytes
  }
  auto stream = OpenStream();
  EXPECT_TRUE(stream->HasPartialBlock());
  Bytes read(60);
  std::uint32_t done = 0;
  stream->Read(read.data(), 60, &done);
  EXPECT_EQ(done, 48u);
  EXPECT_TRUE(std::equal(read.begin(), read.begin() + 40, Pattern(40).begin()));
}

TEST_F(CryptoFileTest, EmptyStreamWritesNothingAndFinishSaysSo) {
  WriteStream({}, 1);
  EXPECT_EQ(ReadAll(dir_ / "stream"), kPlainPrefix);
  auto stream = OpenStream();
  std::uint32_t done = 7;
  std::uint8_t byte = 0xFF;
  stream->Read(&byte, 1, &done);
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(byte, 0);
}

// A failing read of the file throws to the reader, and the stream remembers it.
class FailingReads : public files::SystemCalls {
 public:
  FailingReads() : previous_(files::InstallSystemCalls(this)) {}
  ~FailingReads() override { files::InstallSystemCalls(previous_); }
  ssize_t Read(int, void*, size_t) override {
    errno = EIO;
    return -1;
  }

 private:
  files::SystemCalls* previous_;
};

TEST_F(CryptoFileTest, FileErrorsThrowAndAreRemembered) {
  WriteStream(Pattern(64), 64);
  auto stream = OpenStream();
  const FailingReads failing;
  std::uint8_t buffer[8];
  EXPECT_THROW(stream->Read(buffer, sizeof buffer), CKFile::ErrorExceptions);
  EXPECT_TRUE(stream->FileFailed());
  EXPECT_FALSE(messages_.shown().empty());
}

}  // namespace
