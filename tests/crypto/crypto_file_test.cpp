#include "crypto/crypto_file.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "crypto_test_util.h"
#include "elements/scalars.h"
#include "files/pending_writes.h"
#include "platform/utf.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

// The enciphered stream: its bytes against OpenSSL's AES-256-CBC over the zero-padded text, and
// its reading with reads of the file or through a mapping of it, long reads deciphered later
// on a second thread or not.

namespace {

using crypto_test::Bytes;
using crypto_test::Pattern;

const Bytes kKey = Pattern(32);
const Bytes kIV = crypto_test::FromHex("000102030405060708090a0b0c0d0e0f");
// Bytes ahead of the stream, as a user file has its header and memo there.
const Bytes kPrefix = crypto_test::FromText("plain header");

void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

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

  // Opens the file past the prefix and begins reading it, through a mapping or not, long reads
  // deciphered later on the second thread or not. The key comes after Begin, as the program
  // derives one while the reading starts.
  std::unique_ptr<CKCryptoFile> OpenStream(bool mapped, bool later = false) {
    CKFile file;
    file.Open(platform::FromUtf8(NativePath()), CKFile::modeRead);
    file.Seek(static_cast<std::int64_t>(kPrefix.size()), CKFile::fromStart);
    cipher_.Reset();
    auto stream = std::make_unique<CKCryptoFile>(&cipher_);
    const std::uint64_t minimum = CKCryptoFile::SetMappingMinimum(mapped ? 0 : ~0ull);
    stream->Attach(file);
    stream->Begin(false);
    CKCryptoFile::SetMappingMinimum(minimum);
    crypto_test::KeyCbc(cipher_, kKey, kIV);
    if (later) {
      crypto_test::KeyCbc(later_cipher_, kKey, kIV);
      stream->DeferLongReads(&later_cipher_);
    }
    return stream;
  }

  // Reads size bytes from the stream in one read into the buffer; done must be all of them.
  std::uint32_t ReadAll(CKCryptoFile& stream, std::size_t size, void* buffer) {
    std::uint32_t done = 0;
    stream.Read(buffer, static_cast<std::uint32_t>(size), &done);
    return done;
  }
  Bytes ReadAll(CKCryptoFile& stream, std::size_t size) {
    Bytes read(size);
    EXPECT_EQ(ReadAll(stream, size, read.data()), size);
    return read;
  }

  test::TempDir dir_;
  test::RecordingMessages messages_;
  crypto_test::ReadCalls calls_;
  CKCryptoAES cipher_;
  CKCryptoAES later_cipher_;  // deciphers long reads on the second thread
};

// Texts of sizes around the chunk and random ones, written in pieces of random sizes: the file
// holds OpenSSL's CBC stream over the zero-padded text. Read back through reads or a mapping,
// with long reads deciphered later on a second thread or not, in reads of random sizes: the
// text, then zeros.
TEST_F(CryptoFileTest, WrittenAsCbcOverZeroPaddedTextAndReadBackInAnyWay) {
  constexpr std::size_t kChunk = CKCryptoFile::kChunkSize;
  const std::size_t sizes[] = {0, 1, 16, 17, kChunk - 1, kChunk, kChunk + 1, 3 * kChunk + 40};
  crypto_test::Random random;
  int deferred = 0;  // rounds with reads deciphered later
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

    const bool mapped = random.Below(3) != 0, later = random.Below(2) == 0;
    SCOPED_TRACE(testing::Message() << size << " bytes, mapped " << mapped << ", later " << later);
    const auto stream = OpenStream(mapped, later);
    EXPECT_EQ(stream->IsMapped(), mapped && padded != 0);
    Bytes read(padded + 40, 0xAA);
    for (std::size_t at = 0, step = 0; at < read.size(); at += step) {
      step = std::min(read.size() - at, random.Below(3) == 0   ? 1 + random.Below(32)
                                        : random.Below(2) == 0 ? 1 + random.Below(5000)
                                                               : 4096 + random.Below(100000));
      std::uint32_t done = 0;
      ASSERT_TRUE(stream->Read(read.data() + at, static_cast<std::uint32_t>(step), &done));
      ASSERT_EQ(done, std::min(step, padded - std::min(padded, at))) << "at " << at;
    }
    deferred += files::GetPendingWrites() != nullptr;
    stream->Settle();
    text.resize(read.size(), 0);
    ASSERT_EQ(read, text);
    EXPECT_EQ(stream->GetStreamPosition(), padded);
    EXPECT_TRUE(stream->ReachedEnd());
    EXPECT_FALSE(stream->FileFailed());
    EXPECT_TRUE(stream->Close());
  }
  EXPECT_GT(deferred, 0);
}

// Each test on a stream read with reads of the file and on one read through a mapping.
class CryptoFilePathTest : public CryptoFileTest, public testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(Paths, CryptoFilePathTest, testing::Bool(),
                         [](const auto& instance) { return instance.param ? "Mapped" : "Read"; });

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
      const auto stream = OpenStream(GetParam());
      EXPECT_TRUE(stream->HasPartialBlock());
      EXPECT_EQ(stream->IsMapped(), GetParam());
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

// Long reads of a mapped stream, deciphered at once or later, when the file is cut short or
// fails to deliver a page (a cut that the file's size does not show, or one bad page in the
// middle): a cut ends the stream where it was, a failure is thrown once with its message and
// nothing more comes. Later work meets the change when the second thread starts it; a bad page
// is then noticed by the second thread alone.
TEST_F(CryptoFileTest, LongMappedReadsOfAFileCutOrFailing) {
  const std::size_t kRead = 256 * 1024;
  const Bytes text = Pattern(4 * kRead);
  enum { kCut, kHiddenCut, kBadPage };
  for (const bool later : {false, true}) {
    for (const int kind : {kCut, kHiddenCut, kBadPage}) {
      SCOPED_TRACE(testing::Message() << "later " << later << ", change " << kind);
      const bool failing = kind != kCut;
      messages_.Clear();
      WriteStream(text, text.size());
      const off_t cut = static_cast<off_t>(kPrefix.size() + kRead + kRead / 2);
      calls_.reported_size =
          kind == kHiddenCut ? static_cast<off_t>(kPrefix.size() + text.size()) : -1;
      calls_.bad_page = kind == kBadPage ? static_cast<off_t>(2 * kRead) : -1;
      auto change = [&] {
        if (kind != kBadPage) {
          std::filesystem::resize_file(NativePath(), static_cast<std::uintmax_t>(cut));
        }
      };
      if (later) {
        // The second thread brings in a piece's pages before deciphering it: the file changes
        // just before it starts on the second read, the first deferred one.
        calls_.before_advice = [&](int advice) {
          if (advice == MADV_POPULATE_READ) {
            change();
          }
        };
      }
      auto stream = OpenStream(true, later);
      EXPECT_EQ(ReadAll(*stream, kRead), Bytes(text.begin(), text.begin() + kRead));
      if (!later) {
        change();
      }
      Bytes rest(3 * kRead, 0xAA);
      std::uint32_t done = 0;
      bool thrown = false;
      try {
        stream->Read(rest.data(), static_cast<std::uint32_t>(rest.size()), &done);
        stream->Settle();
      } catch (CKFile::ErrorExceptions error) {
        EXPECT_EQ(error, CKFile::ErrRead);
        thrown = true;
      }
      EXPECT_EQ(thrown, failing);
      EXPECT_EQ(stream->FileFailed(), failing);
      EXPECT_TRUE(failing || stream->ReachedEnd());
      // A deferred read counts as delivered, unless the change came before this thread read
      // where the stream goes on after it.
      EXPECT_TRUE(done == 0 || (later && done == rest.size())) << done;
      EXPECT_TRUE(!later || kind != kBadPage || done == rest.size()) << done;
      ASSERT_EQ(messages_.shown().size(), failing ? 1u : 0u);
      EXPECT_TRUE(!failing || messages_.Texts()[0].find("Input/output error") != std::string::npos);
      if (done == 0) {
        EXPECT_EQ(rest, Bytes(rest.size(), 0));  // nothing half deciphered is left
      }
      std::uint32_t more = 9;
      EXPECT_NO_THROW(stream->Read(rest.data(), 16, &more));
      EXPECT_EQ(more, 0u);
      EXPECT_TRUE(stream->Close());
      calls_.before_advice = {};
      calls_.reported_size = -1;
      calls_.bad_page = -1;
    }
  }
}

// Deferred reads are in their buffers once the stream settles, once a byte block of the element
// tree that one fills is dropped (as a reader drops the children of a damaged entry; under the
// sanitizers a write into its freed memory would end the test), and once the stream closes; and
// the stream goes on as before after settling.
TEST_F(CryptoFileTest, DeferredReadsArriveBeforeTheirBuffersCanBeFreed) {
  const std::size_t kRead = 128 * 1024;
  const Bytes text = Pattern(8 * kRead + 16);
  WriteStream(text, text.size());
  // The second thread is slow to start on each piece.
  calls_.before_advice = [](int advice) {
    if (advice == MADV_POPULATE_READ) {
      Sleep(5);
    }
  };
  for (int ending = 0; ending < 3; ++ending) {
    SCOPED_TRACE(testing::Message() << "ending " << ending);
    auto stream = OpenStream(true, true);
    Bytes head(16);
    stream->Read(head.data(), 16);
    std::vector<Bytes> reads(5, Bytes(kRead));
    for (Bytes& read : reads) {
      EXPECT_EQ(ReadAll(*stream, kRead, read.data()), kRead);
    }
    auto block = std::make_unique<CKTLVBINARY>();
    EXPECT_EQ(ReadAll(*stream, kRead, block->GetBuffer(kRead)), kRead);
    EXPECT_NE(files::GetPendingWrites(), nullptr);
    if (ending == 0) {
      stream->Settle();
    } else if (ending == 1) {
      block.reset();
    } else {
      stream->Close();
    }
    EXPECT_EQ(files::GetPendingWrites(), nullptr);
    for (std::size_t i = 0; i < reads.size(); ++i) {
      EXPECT_TRUE(std::equal(reads[i].begin(), reads[i].end(), text.begin() + 16 + i * kRead))
          << "read " << i;
    }
    if (ending != 2) {
      const Bytes rest = ReadAll(*stream, 2 * kRead);
      stream->Settle();
      EXPECT_TRUE(std::equal(rest.begin(), rest.end(), text.begin() + 16 + 6 * kRead));
    }
  }
  calls_.before_advice = {};
  EXPECT_TRUE(messages_.shown().empty());
}

}  // namespace
