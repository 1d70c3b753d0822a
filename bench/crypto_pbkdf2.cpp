#include <openssl/evp.h>

#include "crypto/pbkdf2.h"
#include "crypto_bench.h"

namespace {

// The key derivation of a new user file: 16383 iterations, a 32-byte salt, a 32-byte key.
constexpr std::uint32_t kIterations = 16383;
const char kPassword[] = "c\0o\0r\0r\0e\0c\0t\0 \0h\0o\0r\0s\0e\0";  // UTF-16LE
const std::uint8_t kSalt[32] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};

void Ours(benchmark::State& state, bool portable) {
  const crypto_bench::PortableScope scope(portable);
  std::uint8_t key[32];
  for (auto _ : state) {
    PBKDF2_SHA256(kPassword, sizeof kPassword - 1, kSalt, sizeof kSalt, kIterations, key,
                  sizeof key);
    benchmark::DoNotOptimize(key);
  }
}

void LibCrypto(benchmark::State& state) {
  std::uint8_t key[32];
  for (auto _ : state) {
    PKCS5_PBKDF2_HMAC(kPassword, sizeof kPassword - 1, kSalt, sizeof kSalt, kIterations,
                      EVP_sha256(), sizeof key, key);
    benchmark::DoNotOptimize(key);
  }
}

const auto* ours = crypto_bench::Configure(
    benchmark::RegisterBenchmark("PBKDF2-HMAC-SHA-256 16383 it/ours", Ours, false));
const auto* portable = crypto_bench::Configure(
    benchmark::RegisterBenchmark("PBKDF2-HMAC-SHA-256 16383 it/portable", Ours, true));
const auto* libcrypto = crypto_bench::Configure(
    benchmark::RegisterBenchmark("PBKDF2-HMAC-SHA-256 16383 it/libcrypto", LibCrypto));

}  // namespace
