#include "crypto/random.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <system_error>

#include "crypto/sha256.h"
#include "platform/pointer.h"
#include "platform/secure_zero.h"

namespace {

std::atomic<EntropyGatherer> installed_gatherer{nullptr};

std::uint32_t Low32(unsigned long long value) {
  return static_cast<std::uint32_t>(value);
}

// Size of this process's address space in bytes (first figure of /proc/self/statm, in pages);
// read into a buffer on the stack, no allocation.
unsigned long long UsedAddressSpace() {
  const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return 0;
  }
  char text[64];
  const ssize_t got = read(fd, text, sizeof text - 1);
  close(fd);
  unsigned long long pages = 0;
  for (ssize_t i = 0; i < got && text[i] >= '0' && text[i] <= '9'; ++i) {
    pages = pages * 10 + static_cast<unsigned>(text[i] - '0');
  }
  return pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE));
}

// The user part of a 64-bit address space on Linux (47 bits), or the whole of a 32-bit one.
constexpr unsigned long long kAddressSpace = sizeof(void*) == 8 ? 1ULL << 47 : 1ULL << 32;

void ReadSystemRandom(std::uint8_t* out, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = getrandom(out + done, size - done, 0);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else if (got < 0 && errno == ENOSYS) {
      break;
    } else {
      throw std::system_error(errno, std::generic_category(), "getrandom");
    }
  }
  if (done == size) {
    return;
  }
  // Kernels older than 3.17 have no getrandom; their urandom device serves instead.
  const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    throw std::system_error(errno, std::generic_category(), "/dev/urandom");
  }
  while (done < size) {
    const ssize_t got = read(fd, out + done, size - done);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      const int error = got < 0 ? errno : EIO;
      close(fd);
      throw std::system_error(error, std::generic_category(), "/dev/urandom");
    }
  }
  close(fd);
}

}  // namespace

void GatherEntropy(EntropyBlock& block) {
  struct sysinfo info {};
  const bool have_info = sysinfo(&info) == 0;
  const unsigned long long unit = have_info && info.mem_unit != 0 ? info.mem_unit : 1;
  const platform::PointerPosition pointer = platform::CurrentPointerPosition();
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);

  const unsigned long long used = UsedAddressSpace();
  block[0] = Low32(static_cast<unsigned long long>(now.tv_sec) * 1000ULL +
                   static_cast<unsigned long long>(now.tv_nsec) / 1000000ULL);
  block[1] = Low32(static_cast<unsigned long long>(std::time(nullptr)));
  block[2] = have_info ? Low32(info.freeswap * unit) : 0;
  block[3] = have_info ? Low32(info.freeram * unit) : 0;
  block[4] = Low32(used < kAddressSpace ? kAddressSpace - used : 0);
  block[5] = have_info && info.totalram != 0
                 ? static_cast<std::uint32_t>((info.totalram - info.freeram) * 100 / info.totalram)
                 : 0;
  block[6] = static_cast<std::uint32_t>(pointer.x);
  block[7] = static_cast<std::uint32_t>(pointer.y);
}

std::array<std::uint8_t, 32> EntropyBytes(const EntropyBlock& block) {
  std::array<std::uint8_t, 32> bytes{};
  for (std::size_t i = 0; i < block.size(); ++i) {
    for (std::size_t b = 0; b < 4; ++b) {
      bytes[4 * i + b] = static_cast<std::uint8_t>(block[i] >> (8 * b));
    }
  }
  return bytes;
}

EntropyGatherer InstallEntropyGatherer(EntropyGatherer gatherer) {
  return installed_gatherer.exchange(gatherer);
}

void NewRandomBlock(std::span<std::uint8_t, kRandomBlockSize> out) {
  EntropyBlock block{};
  const EntropyGatherer gatherer = installed_gatherer.load();
  (gatherer != nullptr ? gatherer : &GatherEntropy)(block);
  std::array<std::uint8_t, 32> figures = EntropyBytes(block);
  std::uint8_t system[32];
  ReadSystemRandom(system, sizeof system);

  CKCryptoSHA sha;
  sha.Update(figures.data(), figures.size());
  sha.Update(system, sizeof system);
  sha.Final(out.data());
  platform::SecureZero(system, sizeof system);
  platform::SecureZero(figures.data(), figures.size());
  platform::SecureZero(block.data(), sizeof block);
}
