#include <openssl/evp.h>

#include <vector>

#include "crypto/aes.h"
#include "crypto_bench.h"

namespace {

constexpr std::size_t kSize = 16 * 1024;
const std::uint8_t kKey[32] = {0x60, 0x3d, 0xeb, 0x10, 0x15, 0xca, 0x71, 0xbe, 0x2b, 0x73, 0xae,
                               0xf0, 0x85, 0x7d, 0x77, 0x81, 0x1f, 0x35, 0x2c, 0x07, 0x3b, 0x61,
                               0x08, 0xd7, 0x2d, 0x98, 0x10, 0xa3, 0x09, 0x14, 0xdf, 0xf4};
const std::uint8_t kIv[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

std::vector<std::uint8_t> Buffer() {
  std::vector<std::uint8_t> buffer(kSize);
  for (std::size_t i = 0; i < kSize; ++i) {
    buffer[i] = static_cast<std::uint8_t>(i * 31 + 7);
  }
  return buffer;
}

// One keyed object, as one save or load of a user file uses; each iteration is one 16 KiB
// stretch of the stream from a fresh IV.
void Ours(benchmark::State& state, bool encrypt, bool portable) {
  const crypto_bench::PortableScope scope(portable);
  const auto in = Buffer();
  std::vector<std::uint8_t> out(kSize);
  CKCryptoAES aes;
  aes.SetKey(kKey, 256);
  aes.SetMode(CKCryptoSymmetric::kModeCBC);
  for (auto _ : state) {
    aes.SetIV(kIv);
    if (encrypt) {
      aes.EncryptBlocks(in.data(), out.data(), kSize / 16);
    } else {
      aes.DecryptBlocks(in.data(), out.data(), kSize / 16);
    }
    benchmark::DoNotOptimize(out.data());
  }
  crypto_bench::CountBytes(state, kSize);
}

void LibCrypto(benchmark::State& state, bool encrypt) {
  const auto in = Buffer();
  std::vector<std::uint8_t> out(kSize);
  EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "AES-256-CBC", nullptr);
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  EVP_CipherInit_ex(ctx, cipher, nullptr, kKey, kIv, encrypt ? 1 : 0);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  int written = 0;
  for (auto _ : state) {
    EVP_CipherInit_ex(ctx, nullptr, nullptr, nullptr, kIv, encrypt ? 1 : 0);
    EVP_CipherUpdate(ctx, out.data(), &written, in.data(), static_cast<int>(kSize));
    benchmark::DoNotOptimize(out.data());
  }
  EVP_CIPHER_CTX_free(ctx);
  EVP_CIPHER_free(cipher);
  crypto_bench::CountBytes(state, kSize);
}

const auto* encrypt_ours = crypto_bench::Configure(
    benchmark::RegisterBenchmark("AES-256-CBC encrypt 16 KiB/ours", Ours, true, false));
const auto* encrypt_portable = crypto_bench::Configure(
    benchmark::RegisterBenchmark("AES-256-CBC encrypt 16 KiB/portable", Ours, true, true));
const auto* encrypt_libcrypto = crypto_bench::Configure(
    benchmark::RegisterBenchmark("AES-256-CBC encrypt 16 KiB/libcrypto", LibCrypto, true));
const auto* decrypt_ours = crypto_bench::Configure(
    benchmark::RegisterBenchmark("AES-256-CBC decrypt 16 KiB/ours", Ours, false, false));
const auto* decrypt_portable = crypto_bench::Configure(
    benchmark::RegisterBenchmark("AES-256-CBC decrypt 16 KiB/portable", Ours, false, true));
const auto* decrypt_libcrypto = crypto_bench::Configure(
    benchmark::RegisterBenchmark("AES-256-CBC decrypt 16 KiB/libcrypto", LibCrypto, false));

}  // namespace
