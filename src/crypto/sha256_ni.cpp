#include "crypto/sha256_compress.h"

// SHA-256 on the processor's SHA extensions. Only called when crypto/cpu.h found them.

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <utility>

#define VQ_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3")))
#define VQ_SHA_INLINE __attribute__((target("sha,sse4.1,ssse3"), always_inline)) inline

namespace crypto::detail {
namespace {

// Four rounds, group q of sixteen (rounds 4q to 4q + 3). msg[q % 4] holds the four message
// words of this group; the schedule for later groups is built alongside (msg1 three groups
// ahead, msg2 one group ahead), as the instructions are designed to be chained.
template <int q>
VQ_SHA_INLINE void FourRounds(__m128i& abef, __m128i& cdgh, __m128i* msg) {
  __m128i words = _mm_add_epi32(
      msg[q % 4], _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha256RoundConstants + 4 * q)));
  cdgh = _mm_sha256rnds2_epu32(cdgh, abef, words);
  if constexpr (q >= 3 && q <= 14) {
    __m128i& next = msg[(q + 1) % 4];
    next = _mm_add_epi32(next, _mm_alignr_epi8(msg[q % 4], msg[(q + 3) % 4], 4));
    next = _mm_sha256msg2_epu32(next, msg[q % 4]);
  }
  words = _mm_shuffle_epi32(words, 0x0E);
  abef = _mm_sha256rnds2_epu32(abef, cdgh, words);
  if constexpr (q >= 1 && q <= 12) {
    __m128i& earlier = msg[(q + 3) % 4];
    earlier = _mm_sha256msg1_epu32(earlier, msg[q % 4]);
  }
}

template <int... q>
VQ_SHA_INLINE void AllRounds(__m128i& abef, __m128i& cdgh, __m128i* msg,
                             std::integer_sequence<int, q...>) {
  (FourRounds<q>(abef, cdgh, msg), ...);
}

}  // namespace

VQ_SHA_TARGET void Sha256CompressShaNi(std::uint32_t* state, const std::uint8_t* data,
                                       std::size_t blocks) {
  const __m128i byte_swap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  // The instructions keep the state as the halves ABEF and CDGH.
  __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
  __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
  __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
  __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);

  for (; blocks != 0; --blocks, data += 64) {
    const __m128i abef_start = abef;
    const __m128i cdgh_start = cdgh;
    __m128i msg[4];
    for (int i = 0; i < 4; ++i) {
      msg[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i)),
                                byte_swap);
    }
    AllRounds(abef, cdgh, msg, std::make_integer_sequence<int, 16>{});
    abef = _mm_add_epi32(abef, abef_start);
    cdgh = _mm_add_epi32(cdgh, cdgh_start);
  }

  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

}  // namespace crypto::detail

#else

namespace crypto::detail {

void Sha256CompressShaNi(std::uint32_t* state, const std::uint8_t* data, std::size_t blocks) {
  Sha256CompressPortable(state, data, blocks);
}

}  // namespace crypto::detail

#endif
