#include "crypto/random.h"

#include <gtest/gtest.h>

#include <ctime>

#include "crypto/sha256.h"
#include "platform/pointer.h"

namespace {

class FixedPointer : public platform::PointerSource {
 public:
  std::optional<platform::PointerPosition> CurrentPosition() const override { return position; }
  std::optional<platform::PointerPosition> position;
};

TEST(GatherEntropy, FillsTheEightFiguresInOrder) {
  FixedPointer pointer;
  pointer.position = platform::PointerPosition{1234, -5};
  const platform::PointerSource* previous = platform::InstallPointer(&pointer);
  EntropyBlock block{};
  const auto before = static_cast<std::uint32_t>(std::time(nullptr));
  GatherEntropy(block);
  const auto after = static_cast<std::uint32_t>(std::time(nullptr));
  EXPECT_GE(block[1], before);
  EXPECT_LE(block[1], after);
  EXPECT_NE(block[3], 0u) << "free memory";
  EXPECT_NE(block[4], 0u) << "free address space";
  EXPECT_LE(block[5], 100u) << "memory load in percent";
  EXPECT_EQ(block[6], 1234u);
  EXPECT_EQ(block[7], static_cast<std::uint32_t>(-5));

  // An unknown position, or no source at all, gives zeros.
  pointer.position.reset();
  GatherEntropy(block);
  EXPECT_EQ(block[6], 0u);
  EXPECT_EQ(block[7], 0u);
  platform::InstallPointer(previous);

  const auto bytes = EntropyBytes(EntropyBlock{0x04030201, 0, 0, 0, 0, 0, 0, 0xA0B0C0D0});
  EXPECT_EQ(bytes[0], 0x01);
  EXPECT_EQ(bytes[3], 0x04);
  EXPECT_EQ(bytes[28], 0xD0);
  EXPECT_EQ(bytes[31], 0xA0);
}

void SameFiguresEveryTime(EntropyBlock& block) {
  block = EntropyBlock{1, 2, 3, 4, 5, 6, 7, 8};
}

TEST(NewRandomBlock, DrawsDifferEvenWhenTheMachineFiguresAreEqual) {
  const EntropyGatherer previous = InstallEntropyGatherer(&SameFiguresEveryTime);
  std::array<std::uint8_t, kRandomBlockSize> first{}, second{};
  NewRandomBlock(first);
  NewRandomBlock(second);
  InstallEntropyGatherer(previous);
  EXPECT_NE(first, second);

  // Nor is a draw the bare digest of the figures, which anyone could recompute.
  const auto figures = EntropyBytes(EntropyBlock{1, 2, 3, 4, 5, 6, 7, 8});
  CKCryptoSHA sha;
  sha.Update(figures.data(), figures.size());
  std::array<std::uint8_t, 32> guess{};
  sha.Final(guess.data());
  EXPECT_NE(first, guess);
  EXPECT_NE(second, guess);
}

}  // namespace
