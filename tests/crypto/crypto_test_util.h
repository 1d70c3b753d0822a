#pragma once

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "crypto/aes.h"
#include "crypto/cpu.h"
#include "files/system_calls.h"
#include "openssl_oracle.h"

namespace crypto_test {

inline Bytes FromHex(std::string_view hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(std::string(hex.substr(i, 2)), 0, 16)));
  }
  return bytes;
}

inline std::string ToHex(const std::uint8_t* data, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size; ++i) {
    text += "0123456789abcdef"[data[i] >> 4];
    text += "0123456789abcdef"[data[i] & 15];
  }
  return text;
}

inline Bytes FromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// Bytes that tell their place.
inline Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  }
  return bytes;
}

// The records of a NIST response file that python3-cryptography-vectors installs (path relative
// to its folder): NAME = VALUE fields, and the [SECTION] the record stands in under "section".
using Record = std::map<std::string, std::string>;
inline std::vector<Record> ReadResponseFile(const std::string& relative_path) {
  std::ifstream in(std::string(VQ_TEST_VECTORS) + "/" + relative_path);
  std::vector<Record> records(1);
  std::string section, line;
  while (std::getline(in, line)) {
    line.erase(line.find_last_not_of("\r ") + 1);
    const auto equals = line.find(" = ");
    if (line.empty() || line[0] == '[') {
      section = line.empty() ? section : line.substr(1, line.find(']') - 1);
      records.emplace_back();  // the empty ones go at the end
    } else if (line[0] != '#' && equals != std::string::npos) {
      records.back().emplace("section", section);
      records.back()[line.substr(0, equals)] = line.substr(equals + 3);
    }
  }
  std::erase_if(records, [](const Record& record) { return record.empty(); });
  EXPECT_FALSE(records.empty()) << "no records in " << relative_path
                                << " (python3-cryptography-vectors)";
  return records;
}

// Keys the cipher as the program does: key, CBC mode, IV.
inline void KeyCbc(CKCryptoAES& aes, const Bytes& key, const Bytes& iv) {
  ASSERT_TRUE(aes.SetKey(key.data(), static_cast<std::uint32_t>(key.size() * 8)));
  aes.SetMode(CKCryptoSymmetric::kModeCBC);
  aes.SetIV(iv.data());
}

// A fresh seed per run, shown with every failure in its scope; VQ_TEST_SEED replays one.
class Random {
 public:
  std::size_t Below(std::size_t limit) { return engine_() % limit; }
  Bytes Fill(std::size_t size) {
    Bytes bytes(size);
    std::ranges::generate(bytes, [this] { return static_cast<std::uint8_t>(engine_()); });
    return bytes;
  }

 private:
  const char* fixed_ = std::getenv("VQ_TEST_SEED");
  std::uint64_t seed_ = fixed_ ? std::strtoull(fixed_, nullptr, 10) : std::random_device{}();
  std::mt19937_64 engine_{seed_};
  testing::ScopedTrace trace_{__FILE__, __LINE__, "VQ_TEST_SEED=" + std::to_string(seed_)};
};

// Whether the bytes of secret are still in the memory of a T that held them (use puts them
// there) after it has been destroyed. Fails the test if they never were there.
template <class T, class Use>
bool LeftInMemory(const Bytes& secret, Use use) {
  alignas(T) std::uint8_t memory[sizeof(T)];
  auto holds = [&] { return !std::ranges::search(memory, secret).empty(); };
  use(*new (memory) T);
  EXPECT_TRUE(holds()) << "the secret never was there";
  reinterpret_cast<T*>(memory)->~T();
  return holds();
}

// A file layer that counts the reads (read and pread) made on any thread and the bytes they
// bring, and runs a hook before each one, given its number from 1 (to change the file, to
// wait, or to fail the read by returning an errno). It can also run a hook before each madvise
// and report a file size of its choosing. Every other call is real. Installed for its
// lifetime; hooks are set while no call is under way.
class ReadCalls : public files::SystemCalls {
 public:
  ReadCalls() : previous_(files::InstallSystemCalls(this)) {}
  ~ReadCalls() override { files::InstallSystemCalls(previous_); }
  // Counting starts afresh.
  void Hook(std::function<int(int)> before = {}) {
    before_ = std::move(before);
    reads = 0;
    bytes = 0;
  }
  ssize_t Read(int fd, void* buffer, size_t count) override {
    return Counted([&] { return files::SystemCalls::Read(fd, buffer, count); });
  }
  ssize_t ReadAt(int fd, void* buffer, size_t count, off_t offset) override {
    return Counted([&] { return files::SystemCalls::ReadAt(fd, buffer, count, offset); });
  }
  int Advise(void* address, size_t length, int advice) override {
    if (before_advice) {
      before_advice(advice);
    }
    return files::SystemCalls::Advise(address, length, advice);
  }
  void* MapFile(int fd, off_t offset, size_t length) override {
    void* mapping = files::SystemCalls::MapFile(fd, offset, length);
    if (mapping != nullptr && bad_page >= 0) {
      // A page of an empty file in its place: touching it raises SIGBUS, as a page that the
      // disk cannot deliver does, while reads of the file still succeed.
      const int empty = memfd_create("unreadable", MFD_CLOEXEC);
      EXPECT_NE(mmap(static_cast<char*>(mapping) + bad_page, 4096, PROT_READ,
                     MAP_SHARED | MAP_FIXED, empty, 0),
                MAP_FAILED);
      close(empty);
    }
    return mapping;
  }
  int FileStatus(int fd, struct stat* status) override {
    const int result = files::SystemCalls::FileStatus(fd, status);
    if (result == 0 && reported_size >= 0) {
      status->st_size = reported_size;
    }
    return result;
  }

  std::atomic<int> reads{0};
  std::atomic<std::size_t> bytes{0};
  std::function<void(int)> before_advice;  // given the advice
  off_t reported_size = -1;                // the size FileStatus reports, unless negative
  off_t bad_page = -1;  // where mappings have a page that cannot be touched, unless negative

 private:
  template <class Call>
  ssize_t Counted(Call call) {
    const int error = before_ ? before_(++reads) : (++reads, 0);
    const ssize_t result = error != 0 ? -1 : call();
    bytes += static_cast<std::size_t>(std::max<ssize_t>(result, 0));
    errno = error != 0 ? error : errno;
    return result;
  }

  files::SystemCalls* previous_;
  std::function<int(int)> before_;
};

// Runs a test once on the processor's instructions (parameter true; skipped where the processor
// lacks them) and once on the forced portable code.
template <bool crypto::CpuFeatures::*Feature>
class OnEachPath : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    const bool instructions = GetParam();
    if (instructions && !(crypto::DetectedCpuFeatures().*Feature)) {
      GTEST_SKIP() << "this processor lacks the instructions";
    }
    previous_ = crypto::ForcePortableCrypto(!instructions);
    ASSERT_EQ(crypto::ActiveCpuFeatures().*Feature, instructions);
  }
  void TearDown() override { crypto::ForcePortableCrypto(previous_); }

 private:
  bool previous_ = false;
};

}  // namespace crypto_test

#define VQ_ON_EACH_PATH(Suite)                                                       \
  INSTANTIATE_TEST_SUITE_P(Paths, Suite, testing::Bool(), [](const auto& instance) { \
    return instance.param ? "Instructions" : "Portable";                             \
  })
