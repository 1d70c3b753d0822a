#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "database/database.h"
#include "database_bench.h"
#include "platform/utf.h"

namespace {

using database_bench::SyntheticUser;

// libcrypto's share of the bound: the key and the verifier as a load derives them.
void DeriveKeys(std::vector<std::uint8_t>& key, std::vector<std::uint8_t>& verifier) {
  const std::u16string_view password(database_bench::kPassword);
  const std::uint8_t salt[32] = {7};
  PKCS5_PBKDF2_HMAC(reinterpret_cast<const char*>(password.data()),
                    static_cast<int>(password.size() * 2), salt, sizeof salt,
                    SyntheticUser().iterations, EVP_sha256(), 32, key.data());
  PKCS5_PBKDF2_HMAC(reinterpret_cast<const char*>(key.data()), 32, salt, sizeof salt, 3,
                    EVP_sha256(), 32, verifier.data());
}

// With fresh_output, the output goes into memory newly taken from the system each time, as a
// load's plain text does when nothing was loaded before (every page is faulted in once).
void Bound(benchmark::State& state, bool encrypt, bool fresh_output = false) {
  const std::size_t size = SyntheticUser().stream_size;
  std::vector<std::uint8_t> input(size, 0x5A);
  std::vector<std::uint8_t> output(size + 16);
  std::vector<std::uint8_t> key(32);
  std::vector<std::uint8_t> verifier(32);
  const std::uint8_t iv[16] = {1};
  for (auto _ : state) {
    DeriveKeys(key, verifier);
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    EVP_CipherInit_ex(ctx.get(), EVP_aes_256_cbc(), nullptr, key.data(), iv, encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    std::unique_ptr<std::uint8_t[]> fresh;
    if (fresh_output) {
      fresh.reset(new std::uint8_t[size]);
    }
    std::uint8_t* out = fresh_output ? fresh.get() : output.data();
    int length = 0;
    EVP_CipherUpdate(ctx.get(), out, &length, input.data(), static_cast<int>(size));
    benchmark::DoNotOptimize(out);
  }
}

// The bound, plus copying the file's bytes out with read() (into memory already in use). With
// fresh_text, the plain text goes into memory newly taken from the system, as a load's tree
// does when nothing was loaded before: every page is then faulted in once.
void BoundWithRead(benchmark::State& state, bool fresh_text) {
  const auto& file = SyntheticUser();
  const std::string path = platform::ToUtf8(file.path);
  std::vector<std::uint8_t> key(32);
  std::vector<std::uint8_t> verifier(32);
  const std::uint8_t iv[16] = {1};
  std::vector<std::uint8_t> bytes(file.file_size, 0);
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t got = 0;
    for (ssize_t n = 0;
         got < file.file_size && (n = read(fd, bytes.data() + got, file.file_size - got)) > 0;) {
      got += static_cast<std::size_t>(n);
    }
    close(fd);
    DeriveKeys(key, verifier);
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    EVP_CipherInit_ex(ctx.get(), EVP_aes_256_cbc(), nullptr, key.data(), iv, 0);
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    int length = 0;
    std::uint8_t* stream = bytes.data() + (file.file_size - file.stream_size);
    std::unique_ptr<std::uint8_t[]> text;
    if (fresh_text) {
      text.reset(new std::uint8_t[file.stream_size]);
    }
    std::uint8_t* out = fresh_text ? text.get() : stream;
    EVP_CipherUpdate(ctx.get(), out, &length, stream, static_cast<int>(file.stream_size));
    benchmark::DoNotOptimize(out);
  }
}

void Load(benchmark::State& state) {
  const auto& file = SyntheticUser();
  for (auto _ : state) {
    auto database = std::make_unique<CKDatabase>();
    database->SetPath(file.path);
    if (database->Load(database_bench::kPassword) != 0) {
      state.SkipWithError("the synthetic user did not open");
      break;
    }
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
}

void Save(benchmark::State& state) {
  CKDatabase database;
  database.SetPath(SyntheticUser().path);
  if (database.Load(database_bench::kPassword) != 0) {
    state.SkipWithError("the synthetic user did not open");
    return;
  }
  for (auto _ : state) {
    if (database.Save() != 0) {
      state.SkipWithError("the save failed");
      break;
    }
  }
}

const auto* load = database_bench::Configure(benchmark::RegisterBenchmark("Load/ours", Load));
const auto* load_bound = database_bench::Configure(benchmark::RegisterBenchmark(
    "Load/bound", [](benchmark::State& state) { Bound(state, false); }));
const auto* load_fresh = database_bench::Configure(benchmark::RegisterBenchmark(
    "Load/bound+new memory", [](benchmark::State& state) { Bound(state, false, true); }));
const auto* load_read = database_bench::Configure(benchmark::RegisterBenchmark(
    "Load/bound+read", [](benchmark::State& state) { BoundWithRead(state, false); }));
const auto* load_read_fresh = database_bench::Configure(benchmark::RegisterBenchmark(
    "Load/bound+read+new memory", [](benchmark::State& state) { BoundWithRead(state, true); }));
const auto* save = database_bench::Configure(benchmark::RegisterBenchmark("Save/ours", Save));
const auto* save_bound = database_bench::Configure(benchmark::RegisterBenchmark(
    "Save/bound", [](benchmark::State& state) { Bound(state, true); }));

}  // namespace
