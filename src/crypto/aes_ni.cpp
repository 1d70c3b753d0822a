#include "crypto/aes_engine.h"

// AES on the processor's AES-NI instructions, with the round keys of the table-driven code
// (column words, row 0 in the low byte, are exactly the bytes the instructions expect). CBC
// encryption is a chain and runs block after block; decryption and unchained blocks keep
// eight blocks in flight so that the instruction latency overlaps.

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define VQ_AES_TARGET __attribute__((target("aes,sse4.1")))
#define VQ_AES_INLINE __attribute__((target("aes,sse4.1"), always_inline)) inline

namespace crypto::detail {
namespace {

constexpr std::size_t kLanes = 8;

VQ_AES_INLINE __m128i LoadBlock(const void* p) {
  return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

VQ_AES_INLINE void StoreBlock(void* p, __m128i v) {
  _mm_storeu_si128(static_cast<__m128i*>(p), v);
}

template <int Rounds>
VQ_AES_TARGET void EncryptChained(const __m128i* key, std::uint8_t* chain, const std::uint8_t* in,
                                  std::uint8_t* out, std::size_t blocks) {
  __m128i x = LoadBlock(chain);
  for (; blocks != 0; --blocks, in += 16, out += 16) {
    // The whitening key joins the input off the chain's critical path.
    x = _mm_xor_si128(x, _mm_xor_si128(LoadBlock(in), key[0]));
    for (int r = 1; r < Rounds; ++r) {
      x = _mm_aesenc_si128(x, key[r]);
    }
    x = _mm_aesenclast_si128(x, key[Rounds]);
    StoreBlock(out, x);
  }
  StoreBlock(chain, x);
}

template <int Rounds, std::size_t Lanes>
VQ_AES_INLINE void EncryptLanes(const __m128i* key, const std::uint8_t* in, std::uint8_t* out) {
  __m128i x[Lanes];
  for (std::size_t i = 0; i < Lanes; ++i) {
    x[i] = _mm_xor_si128(LoadBlock(in + 16 * i), key[0]);
  }
  for (int r = 1; r < Rounds; ++r) {
    for (std::size_t i = 0; i < Lanes; ++i) {
      x[i] = _mm_aesenc_si128(x[i], key[r]);
    }
  }
  for (std::size_t i = 0; i < Lanes; ++i) {
    StoreBlock(out + 16 * i, _mm_aesenclast_si128(x[i], key[Rounds]));
  }
}

template <int Rounds>
VQ_AES_TARGET void EncryptAlone(const __m128i* key, const std::uint8_t* in, std::uint8_t* out,
                                std::size_t blocks) {
  for (; blocks >= kLanes; blocks -= kLanes, in += 16 * kLanes, out += 16 * kLanes) {
    EncryptLanes<Rounds, kLanes>(key, in, out);
  }
  for (; blocks != 0; --blocks, in += 16, out += 16) {
    EncryptLanes<Rounds, 1>(key, in, out);
  }
}

// Deciphers Lanes blocks; chained, each result is XORed with the ciphertext before it (folded
// into the last round key) and the chain moves on to the last ciphertext.
template <int Rounds, std::size_t Lanes, bool Chained>
VQ_AES_INLINE void DecryptLanes(const __m128i* first_key, const __m128i* key, __m128i& chain,
                                const std::uint8_t* in, std::uint8_t* out) {
  __m128i cipher_text[Lanes];
  __m128i x[Lanes];
  for (std::size_t i = 0; i < Lanes; ++i) {
    cipher_text[i] = LoadBlock(in + 16 * i);
    x[i] = _mm_xor_si128(cipher_text[i], *first_key);
  }
  for (int r = Rounds - 1; r >= 1; --r) {
    for (std::size_t i = 0; i < Lanes; ++i) {
      x[i] = _mm_aesdec_si128(x[i], key[r]);
    }
  }
  for (std::size_t i = 0; i < Lanes; ++i) {
    __m128i last_key = key[0];
    if constexpr (Chained) {
      last_key = _mm_xor_si128(last_key, i == 0 ? chain : cipher_text[i - 1]);
    }
    StoreBlock(out + 16 * i, _mm_aesdeclast_si128(x[i], last_key));
  }
  if constexpr (Chained) {
    chain = cipher_text[Lanes - 1];
  }
}

template <int Rounds, bool Chained>
VQ_AES_TARGET void DecryptStream(const AesSchedule& keys, __m128i& chain, const std::uint8_t* in,
                                 std::uint8_t* out, std::size_t blocks) {
  const __m128i* first_key = reinterpret_cast<const __m128i*>(keys.encrypt) + Rounds;
  const __m128i* key = reinterpret_cast<const __m128i*>(keys.decrypt);
  for (; blocks >= kLanes; blocks -= kLanes, in += 16 * kLanes, out += 16 * kLanes) {
    DecryptLanes<Rounds, kLanes, Chained>(first_key, key, chain, in, out);
  }
  for (; blocks != 0; --blocks, in += 16, out += 16) {
    DecryptLanes<Rounds, 1, Chained>(first_key, key, chain, in, out);
  }
}

template <int Rounds>
VQ_AES_TARGET void Decrypt(const AesSchedule& keys, std::uint8_t* chain, const std::uint8_t* in,
                           std::uint8_t* out, std::size_t blocks) {
  if (chain != nullptr) {
    __m128i chain_value = LoadBlock(chain);
    DecryptStream<Rounds, true>(keys, chain_value, in, out, blocks);
    StoreBlock(chain, chain_value);
  } else {
    __m128i unused = _mm_setzero_si128();
    DecryptStream<Rounds, false>(keys, unused, in, out, blocks);
  }
}

template <int Rounds>
VQ_AES_TARGET void Encrypt(const AesSchedule& keys, std::uint8_t* chain, const std::uint8_t* in,
                           std::uint8_t* out, std::size_t blocks) {
  const __m128i* key = reinterpret_cast<const __m128i*>(keys.encrypt);
  if (chain != nullptr) {
    EncryptChained<Rounds>(key, chain, in, out, blocks);
  } else {
    EncryptAlone<Rounds>(key, in, out, blocks);
  }
}

}  // namespace

void AesEncryptNi(const AesSchedule& keys, std::uint8_t* chain, const std::uint8_t* in,
                  std::uint8_t* out, std::size_t blocks) {
  switch (keys.rounds) {
    case 10:
      return Encrypt<10>(keys, chain, in, out, blocks);
    case 12:
      return Encrypt<12>(keys, chain, in, out, blocks);
    default:
      return Encrypt<14>(keys, chain, in, out, blocks);
  }
}

void AesDecryptNi(const AesSchedule& keys, std::uint8_t* chain, const std::uint8_t* in,
                  std::uint8_t* out, std::size_t blocks) {
  switch (keys.rounds) {
    case 10:
      return Decrypt<10>(keys, chain, in, out, blocks);
    case 12:
      return Decrypt<12>(keys, chain, in, out, blocks);
    default:
      return Decrypt<14>(keys, chain, in, out, blocks);
  }
}

}  // namespace crypto::detail

#else

namespace crypto::detail {

void AesEncryptNi(const AesSchedule&, std::uint8_t*, const std::uint8_t*, std::uint8_t*,
                  std::size_t) {}
void AesDecryptNi(const AesSchedule&, std::uint8_t*, const std::uint8_t*, std::uint8_t*,
                  std::size_t) {}

}  // namespace crypto::detail

#endif
