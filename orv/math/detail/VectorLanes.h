#ifndef ORV_MATH_DETAIL_VECTORLANES_H
#define ORV_MATH_DETAIL_VECTORLANES_H

// Internal: the operations of the vector paths on packed doubles, one struct per instruction set
// with the same members, so that one kernel (VectorKernels.h) serves both. Every arithmetic
// member is the IEEE operation of each lane; masks are lanes of all ones (true) or zeros; the
// integer members act on the 64-bit patterns of the lanes. twoProduct is exact (the conditions of
// DoubleDouble.h's twoProduct), so its bits do not depend on the method.

#include "orv/foundation/Config.h"
#include "orv/math/detail/DoubleDouble.h"

#include <cstdint>

namespace orv {
namespace crmath {
namespace detail {

#if ORV_HAVE_SSE2
// SSE2: two doubles.
struct Sse2Lanes {
    using V = __m128d;
    using I = __m128i;
    static constexpr int kLanes = 2;
    static constexpr int kAll = 3; // mask() with every lane true

    static ORV_FORCE_INLINE V load(const double* p) { return _mm_loadu_pd(p); }
    static ORV_FORCE_INLINE void store(double* p, V v) { _mm_storeu_pd(p, v); }
    // kLanes floats widened (exact), and narrowed back (lanes that are floats already: exact).
    static ORV_FORCE_INLINE V loadFloats(const float* p) {
        return _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const I*>(p))));
    }
    static ORV_FORCE_INLINE void storeFloats(float* p, V v) {
        _mm_storel_epi64(reinterpret_cast<I*>(p), _mm_castps_si128(_mm_cvtpd_ps(v)));
    }
    static ORV_FORCE_INLINE V set(double v) { return _mm_set1_pd(v); }
    static ORV_FORCE_INLINE V add(V a, V b) { return _mm_add_pd(a, b); }
    static ORV_FORCE_INLINE V sub(V a, V b) { return _mm_sub_pd(a, b); }
    static ORV_FORCE_INLINE V mul(V a, V b) { return _mm_mul_pd(a, b); }
    static ORV_FORCE_INLINE V div(V a, V b) { return _mm_div_pd(a, b); }
    static ORV_FORCE_INLINE V bitAnd(V a, V b) { return _mm_and_pd(a, b); }
    static ORV_FORCE_INLINE V bitOr(V a, V b) { return _mm_or_pd(a, b); }
    static ORV_FORCE_INLINE V bitXor(V a, V b) { return _mm_xor_pd(a, b); }
    static ORV_FORCE_INLINE V lt(V a, V b) { return _mm_cmplt_pd(a, b); }
    static ORV_FORCE_INLINE V gt(V a, V b) { return _mm_cmpgt_pd(a, b); }
    static ORV_FORCE_INLINE V ge(V a, V b) { return _mm_cmpge_pd(a, b); }
    static ORV_FORCE_INLINE V eq(V a, V b) { return _mm_cmpeq_pd(a, b); }
    // m ? a : b in each lane.
    static ORV_FORCE_INLINE V select(V m, V a, V b) {
        return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b));
    }
    // Bit l set where lane l of m is true.
    static ORV_FORCE_INLINE int mask(V m) { return _mm_movemask_pd(m); }
    // Each lane rounded to float and widened back.
    static ORV_FORCE_INLINE V viaFloat(V v) { return _mm_cvtps_pd(_mm_cvtpd_ps(v)); }

    static ORV_FORCE_INLINE I bits(V v) { return _mm_castpd_si128(v); }
    static ORV_FORCE_INLINE V fromBits(I i) { return _mm_castsi128_pd(i); }
    static ORV_FORCE_INLINE I set64(std::uint64_t v) {
        const int hi = static_cast<int>(static_cast<std::uint32_t>(v >> 32));
        const int lo = static_cast<int>(static_cast<std::uint32_t>(v));
        return _mm_set_epi32(hi, lo, hi, lo);
    }
    static ORV_FORCE_INLINE I add64(I a, I b) { return _mm_add_epi64(a, b); }
    static ORV_FORCE_INLINE I sub64(I a, I b) { return _mm_sub_epi64(a, b); }
    static ORV_FORCE_INLINE I and64(I a, I b) { return _mm_and_si128(a, b); }
    static ORV_FORCE_INLINE I or64(I a, I b) { return _mm_or_si128(a, b); }
    static ORV_FORCE_INLINE I xor64(I a, I b) { return _mm_xor_si128(a, b); }
    template <int n> static ORV_FORCE_INLINE I shl64(I a) { return _mm_slli_epi64(a, n); }
    template <int n> static ORV_FORCE_INLINE I shr64(I a) { return _mm_srli_epi64(a, n); }

    // hi and lo of table[index] for each lane's index (0 <= index < 2^31, in the lane's low bits).
    static ORV_FORCE_INLINE void lookup(const DoubleDouble* table, I index, V& hi, V& lo) {
        const int i0 = _mm_cvtsi128_si32(index);
        const int i1 = _mm_cvtsi128_si32(_mm_shuffle_epi32(index, 0x0e));
        const V e0 = _mm_loadu_pd(&table[i0].hi);
        const V e1 = _mm_loadu_pd(&table[i1].hi);
        hi = _mm_unpacklo_pd(e0, e1);
        lo = _mm_unpackhi_pd(e0, e1);
    }

    // RN(a - th b) where a - RN(th b) is exact: from the exact product.
    static ORV_FORCE_INLINE V remainder(V a, V th, V b) {
        V p, e;
        twoProduct(th, b, p, e);
        return sub(sub(a, p), e);
    }

    // a b = p + e exactly, by Dekker's algorithm (as twoProductDekker).
    static ORV_FORCE_INLINE void twoProduct(V a, V b, V& p, V& e) {
        const V split = set(134217729.0);
        p = mul(a, b);
        const V ta = mul(split, a);
        const V ah = sub(ta, sub(ta, a));
        const V al = sub(a, ah);
        const V tb = mul(split, b);
        const V bh = sub(tb, sub(tb, b));
        const V bl = sub(b, bh);
        e = add(add(add(sub(mul(ah, bh), p), mul(ah, bl)), mul(al, bh)), mul(al, bl));
    }
};
#endif

#if ORV_HAVE_SSE2 && ORV_HAVE_AVX2_INTRINSICS
// AVX2 with FMA: four doubles. Only where processorHasAvx2Fma() is true.
struct Avx2Lanes {
    using V = __m256d;
    using I = __m256i;
    static constexpr int kLanes = 4;
    static constexpr int kAll = 15;

    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V load(const double* p) {
        return _mm256_loadu_pd(p);
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA void store(double* p, V v) {
        _mm256_storeu_pd(p, v);
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V loadFloats(const float* p) {
        return _mm256_cvtps_pd(_mm_loadu_ps(p));
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA void storeFloats(float* p, V v) {
        _mm_storeu_ps(p, _mm256_cvtpd_ps(v));
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V set(double v) { return _mm256_set1_pd(v); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V add(V a, V b) { return _mm256_add_pd(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V sub(V a, V b) { return _mm256_sub_pd(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V mul(V a, V b) { return _mm256_mul_pd(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V div(V a, V b) { return _mm256_div_pd(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V bitAnd(V a, V b) { return _mm256_and_pd(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V bitOr(V a, V b) { return _mm256_or_pd(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V bitXor(V a, V b) { return _mm256_xor_pd(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V lt(V a, V b) {
        return _mm256_cmp_pd(a, b, _CMP_LT_OQ);
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V gt(V a, V b) {
        return _mm256_cmp_pd(a, b, _CMP_GT_OQ);
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V ge(V a, V b) {
        return _mm256_cmp_pd(a, b, _CMP_GE_OQ);
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V eq(V a, V b) {
        return _mm256_cmp_pd(a, b, _CMP_EQ_OQ);
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V select(V m, V a, V b) {
        return _mm256_blendv_pd(b, a, m);
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA int mask(V m) { return _mm256_movemask_pd(m); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V viaFloat(V v) {
        return _mm256_cvtps_pd(_mm256_cvtpd_ps(v));
    }

    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I bits(V v) { return _mm256_castpd_si256(v); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V fromBits(I i) { return _mm256_castsi256_pd(i); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I set64(std::uint64_t v) {
        return _mm256_set1_epi64x(static_cast<long long>(v));
    }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I add64(I a, I b) { return _mm256_add_epi64(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I sub64(I a, I b) { return _mm256_sub_epi64(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I and64(I a, I b) { return _mm256_and_si256(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I or64(I a, I b) { return _mm256_or_si256(a, b); }
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I xor64(I a, I b) { return _mm256_xor_si256(a, b); }
    template <int n> static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I shl64(I a) {
        return _mm256_slli_epi64(a, n);
    }
    template <int n> static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA I shr64(I a) {
        return _mm256_srli_epi64(a, n);
    }

    // Four 128-bit loads of {hi, lo} and a transpose (faster than gathers on some processors).
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA void lookup(const DoubleDouble* table, I index,
                                                            V& hi, V& lo) {
        const __m128i low = _mm256_castsi256_si128(index);
        const __m128i high = _mm256_extracti128_si256(index, 1);
        const __m128d e0 = _mm_loadu_pd(&table[_mm_cvtsi128_si32(low)].hi);
        const __m128d e1 = _mm_loadu_pd(&table[_mm_extract_epi32(low, 2)].hi);
        const __m128d e2 = _mm_loadu_pd(&table[_mm_cvtsi128_si32(high)].hi);
        const __m128d e3 = _mm_loadu_pd(&table[_mm_extract_epi32(high, 2)].hi);
        const V a = _mm256_insertf128_pd(_mm256_castpd128_pd256(e0), e2, 1);
        const V b = _mm256_insertf128_pd(_mm256_castpd128_pd256(e1), e3, 1);
        hi = _mm256_unpacklo_pd(a, b);
        lo = _mm256_unpackhi_pd(a, b);
    }

    // RN(a - th b) in one fused multiply-add.
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA V remainder(V a, V th, V b) {
        return _mm256_fnmadd_pd(th, b, a);
    }

    // a b = p + e exactly: e = a b - p rounded once, which is exact (as twoProductFma).
    static ORV_FORCE_INLINE ORV_TARGET_AVX2_FMA void twoProduct(V a, V b, V& p, V& e) {
        p = _mm256_mul_pd(a, b);
        e = _mm256_fmsub_pd(a, b, p);
    }
};
#endif

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
