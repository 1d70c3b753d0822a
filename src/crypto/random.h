#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// Eight changing figures of the machine, in this order: monotonic milliseconds, wall-clock
// seconds (low 32 bits), free swap bytes, free memory bytes, free address space bytes of this
// process, memory load in percent, pointer x and y (0 when unknown). Memory figures wider than
// 32 bits keep their low 32 bits. Serialised as 32 bytes, each word little-endian.
using EntropyBlock = std::array<std::uint32_t, 8>;

void GatherEntropy(EntropyBlock& block);

// The block as the 32 bytes that get hashed.
std::array<std::uint8_t, 32> EntropyBytes(const EntropyBlock& block);

// Every fresh salt, initialisation vector and generated password draws its bytes here: the
// SHA-256 digest of one entropy block followed by 32 bytes from the operating system's
// generator. The machine figures alone are guessable; the system's bytes make each draw
// unpredictable. Throws std::system_error if the system has no generator (it never lacks one
// on a supported Linux), rather than handing out predictable bytes.
constexpr std::size_t kRandomBlockSize = 32;
void NewRandomBlock(std::span<std::uint8_t, kRandomBlockSize> out);

// Replaces the gatherer that NewRandomBlock uses (tests pin the figures); null restores
// GatherEntropy. Returns the previous one.
using EntropyGatherer = void (*)(EntropyBlock& block);
EntropyGatherer InstallEntropyGatherer(EntropyGatherer gatherer);
