#include "files/mapped_area.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

// A view of a file that another program may cut short at any moment, and work done on it now
// and later, on the view's own second thread.

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kSize = 1024 * 1024;
constexpr std::uint64_t kOffset = 1000;  // not on a page boundary
constexpr std::size_t kPiece = 64 * 1024, kPieces = 12;

void Copy(const std::uint8_t* bytes, std::size_t count, void* out) {
  std::memcpy(out, bytes, count);
}
// Work for later: copies into its target and counts its runs in the shared counter it was
// given, so that the counter tells where it was done.
void CopyCounted(const std::uint8_t* bytes, std::size_t count, void* runs, void* target) {
  ++*static_cast<std::atomic<int>*>(runs);
  Copy(bytes, count, target);
}
void CopySlowly(const std::uint8_t* bytes, std::size_t count, void* runs, void* target) {
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  CopyCounted(bytes, count, runs, target);
}

class MappedAreaTest : public testing::Test {
 protected:
  MappedAreaTest() {
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
      bytes_[i] = static_cast<std::uint8_t>(i * 13 + i / 4093);
    }
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes_.data()),
               static_cast<std::streamsize>(bytes_.size()));
    fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  }
  ~MappedAreaTest() override { close(fd_); }

  bool Map(files::MappedArea& area) {
    return area.Map(files::System(), fd_, kOffset, kSize - kOffset);
  }
  void Cut(std::uint64_t view_bytes) { std::filesystem::resize_file(path_, kOffset + view_bytes); }
  // Queues a copy of each piece of the view's start into its target.
  static void QueueAll(files::MappedArea& area, files::MappedArea::LaterWork work,
                       std::atomic<int>& runs, std::vector<Bytes>& targets) {
    for (std::size_t i = 0; i < targets.size(); ++i) {
      ASSERT_TRUE(area.DoLater(i * kPiece, kPiece, work, &runs, targets[i].data()));
    }
  }
  Bytes Expected(std::uint64_t at, std::size_t count) const {
    return Bytes(bytes_.begin() + static_cast<std::ptrdiff_t>(kOffset + at),
                 bytes_.begin() + static_cast<std::ptrdiff_t>(kOffset + at + count));
  }

  test::TempDir dir_;
  const std::filesystem::path path_ = dir_ / "area";
  Bytes bytes_ = Bytes(kSize);
  int fd_ = -1;
};

// Bytes come from where the file has them, by touching or by reading. Once the file is cut
// short, touching past the cut fails (as often as it is tried) while the bytes before it still
// come, reading past it stops at it, and nothing is left blocked for the bytes after.
TEST_F(MappedAreaTest, DeliversTheFileAndReportsACutWhereItIsTouched) {
  files::MappedArea area;
  ASSERT_TRUE(Map(area));
  EXPECT_EQ(area.Size(), kSize - kOffset);
  Bytes out(300000);
  ASSERT_TRUE(area.Access(7, out.size(), &Copy, out.data()));
  EXPECT_EQ(out, Expected(7, out.size()));
  EXPECT_FALSE(area.Access(area.Size() - 10, 11, &Copy, out.data()));  // past the view

  const std::uint64_t cut = 500000;
  Cut(cut);
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_FALSE(area.Access(cut - 100, 200000, &Copy, out.data()));
    ASSERT_TRUE(area.Access(1000, 4096, &Copy, out.data()));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4096), Expected(1000, 4096));
  }
  EXPECT_EQ(area.ReadBytes(cut - 100, out.data(), 1000), 100);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 100), Expected(cut - 100, 100));
  EXPECT_EQ(area.ReadBytes(cut + 4096, out.data(), 16), 0);
}

// Work for later is done in order on the second thread; Settle returns once all of it is done,
// having done some itself with its own shared context. Work that meets a cut fails Settle once,
// and the work queued after it is skipped. Unmap drops the work not yet started: none runs
// after it.
TEST_F(MappedAreaTest, WorkForLaterIsDoneOnceSettledAndFailsWhereTheFileIsCut) {
  std::atomic<int> second{0}, own{0};
  std::vector<Bytes> targets(kPieces, Bytes(kPiece));
  files::MappedArea area;
  ASSERT_TRUE(Map(area));
  QueueAll(area, &CopyCounted, second, targets);
  ASSERT_TRUE(area.Settle(&own));
  for (std::size_t i = 0; i < kPieces; ++i) {
    EXPECT_EQ(targets[i], Expected(i * kPiece, kPiece)) << i;
  }
  EXPECT_EQ(second + own, static_cast<int>(kPieces));
  EXPECT_GT(second, 0);

  Cut(5 * kPiece + 10);
  second = own = 0;
  QueueAll(area, &CopyCounted, second, targets);
  EXPECT_FALSE(area.Settle(&own));
  EXPECT_TRUE(area.Settle(&own));  // reported once
  EXPECT_LT(second + own, static_cast<int>(kPieces));

  Cut(kSize - kOffset);
  second = 0;
  QueueAll(area, &CopySlowly, second, targets);
  area.Unmap();
  const int done = second;
  EXPECT_LT(done, static_cast<int>(kPieces));
  EXPECT_FALSE(area.IsMapped());
  EXPECT_FALSE(area.DoLater(0, kPiece, &CopySlowly, &second, targets[0].data()));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(second, done);
}

// A SIGBUS that no Access asked for still ends the program, as it would without the view.
TEST_F(MappedAreaTest, ABusErrorElsewhereStillEndsTheProgram) {
  files::MappedArea area;
  ASSERT_TRUE(Map(area));  // the handler is in place from now on
  area.Unmap();            // and no second thread runs when the death test forks
  const int fd = open(path_.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 4096), 0);
  void* other = mmap(nullptr, 8192, PROT_READ, MAP_SHARED, fd, 0);
  ASSERT_NE(other, MAP_FAILED);
  EXPECT_DEATH(
      {
        volatile const std::uint8_t* page = static_cast<const std::uint8_t*>(other) + 4096;
        std::printf("%d\n", *page);
      },
      "");
  munmap(other, 8192);
  close(fd);
}

}  // namespace
