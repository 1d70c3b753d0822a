#include <openssl/evp.h>

#include <vector>

#include "crypto/sha256.h"
#include "crypto_bench.h"

namespace {

constexpr std::size_t kSize = 16 * 1024;

std::vector<std::uint8_t> Buffer() {
  std::vector<std::uint8_t> buffer(kSize);
  for (std::size_t i = 0; i < kSize; ++i) {
    buffer[i] = static_cast<std::uint8_t>(i * 31 + 7);
  }
  return buffer;
}

void Ours(benchmark::State& state, bool portable) {
  const crypto_bench::PortableScope scope(portable);
  const auto buffer = Buffer();
  std::uint8_t digest[32];
  for (auto _ : state) {
    CKCryptoSHA sha;
    sha.Update(buffer.data(), buffer.size());
    sha.Final(digest);
    benchmark::DoNotOptimize(digest);
  }
  crypto_bench::CountBytes(state, kSize);
}

void LibCrypto(benchmark::State& state) {
  const auto buffer = Buffer();
  EVP_MD* md = EVP_MD_fetch(nullptr, "SHA256", nullptr);
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  std::uint8_t digest[32];
  unsigned int size = 0;
  for (auto _ : state) {
    EVP_DigestInit_ex(ctx, md, nullptr);
    EVP_DigestUpdate(ctx, buffer.data(), buffer.size());
    EVP_DigestFinal_ex(ctx, digest, &size);
    benchmark::DoNotOptimize(digest);
  }
  EVP_MD_CTX_free(ctx);
  EVP_MD_free(md);
  crypto_bench::CountBytes(state, kSize);
}

const auto* ours =
    crypto_bench::Configure(benchmark::RegisterBenchmark("SHA-256 of 16 KiB/ours", Ours, false));
const auto* portable =
    crypto_bench::Configure(benchmark::RegisterBenchmark("SHA-256 of 16 KiB/portable", Ours, true));
const auto* libcrypto =
    crypto_bench::Configure(benchmark::RegisterBenchmark("SHA-256 of 16 KiB/libcrypto", LibCrypto));

}  // namespace
