#ifndef ORV_FOUNDATION_CONFIG_H
#define ORV_FOUNDATION_CONFIG_H

// Internal to the library (not installed): every test of the compiler or of the instruction set
// that the library's code makes is made here, once, with the spelling of each compiler the library
// is built with (Microsoft's, GCC, Clang, MinGW-w64's GCC). Code elsewhere tests only the macros
// below. Nothing here changes a result: the SIMD paths and the hints compute the same IEEE
// operations as the plain code beside them.
//
// ORV_HAVE_SSE2        1 where the SSE2 intrinsics of <emmintrin.h> may be used: GCC and Clang
//                      when they define __SSE2__ (every x86-64 target), Microsoft's compiler on x64
//                      (_M_X64) or on 32-bit x86 with /arch:SSE2 or above (_M_IX86_FP >= 2).
//                      0 when the build defines ORV_NO_SIMD (CMake option ORV_SIMD=OFF), which is
//                      also what a compiler unknown to this header gets.
// ORV_HAVE_AVX2_TARGET 1 where a function of plain code can be compiled for AVX2 on its own
//                      (ORV_TARGET_AVX2) and the processor asked at run time whether it has AVX2
//                      (detail::processorHasAvx2): GCC and Clang on x86-64, ELF or Windows alike.
//                      Microsoft's compiler builds a whole file for one instruction set only, so
//                      there it is 0 and the SSE2 code is used.
// ORV_HAVE_AVX2_INTRINSICS
//                      1 where a function may use the AVX2 and FMA intrinsics of <immintrin.h>
//                      explicitly when marked ORV_TARGET_AVX2_FMA, to be called only where
//                      detail::processorHasAvx2Fma() is true: GCC and Clang on x86-64 (a target
//                      attribute), and Microsoft's compiler on x64, which compiles these intrinsics
//                      in any function (ORV_TARGET_AVX2 and ORV_TARGET_AVX2_FMA are empty there).
//                      The fused multiply-add of these paths only forms exact products.
// ORV_FMA_TARGETED(a, b, c)
//                      where ORV_HAVE_AVX2_INTRINSICS is 1: a * b + c rounded once, for code that
//                      runs inside a function marked ORV_TARGET_AVX2_FMA (plain inline code
//                      inlined into one: GCC and Clang expand the builtin there as the
//                      instruction).
// ORV_HAVE_FMA         1 where the build's instruction set has fused multiply-add (GCC and Clang:
//                      __FMA__; Microsoft's compiler: /arch:AVX2, __AVX2__). Only for exact steps
//                      (the error of a product), which give the same bits with or without it.
// ORV_FMA(a, b, c)     where ORV_HAVE_FMA is 1: a * b + c of three doubles rounded once, the
//                      processor's fused multiply-add (an intrinsic, no library call).
// ORV_FORCE_INLINE     inline, and inlined even where the compiler would rather not.
// ORV_NOINLINE         never inlined.
// ORV_COLD             never inlined and rarely called (refusals): kept out of the hot code.
// ORV_HAVE_UINT128     1 where the compiler has an unsigned 128-bit integer (GCC and Clang on
//                      64-bit targets, __SIZEOF_INT128__): ORV_UINT128 names it. For exact
//                      integer products only; portable code stands beside every use.
// ORV_HAVE_UMUL128     1 where Microsoft's compiler gives the 64 x 64 -> 128-bit product as the
//                      _umul128 intrinsic of <intrin.h> (x64).

#if defined(ORV_NO_SIMD)
#define ORV_HAVE_SSE2 0
#elif (defined(__GNUC__) || defined(__clang__)) && defined(__SSE2__)
#define ORV_HAVE_SSE2 1
#elif defined(_MSC_VER) && (defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define ORV_HAVE_SSE2 1
#else
#define ORV_HAVE_SSE2 0
#endif

#if ORV_HAVE_SSE2 && (defined(__GNUC__) || defined(__clang__)) &&                                  \
    (defined(__x86_64__) || defined(_M_X64))
#define ORV_HAVE_AVX2_TARGET 1
#define ORV_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define ORV_HAVE_AVX2_TARGET 0
#define ORV_TARGET_AVX2
#endif

#if ORV_HAVE_AVX2_TARGET
#define ORV_HAVE_AVX2_INTRINSICS 1
#define ORV_TARGET_AVX2_FMA __attribute__((target("avx2,fma")))
#elif ORV_HAVE_SSE2 && defined(_MSC_VER) && defined(_M_X64)
#define ORV_HAVE_AVX2_INTRINSICS 1
#define ORV_TARGET_AVX2_FMA
#else
#define ORV_HAVE_AVX2_INTRINSICS 0
#define ORV_TARGET_AVX2_FMA
#endif
#if ORV_HAVE_AVX2_TARGET
#define ORV_FMA_TARGETED(a, b, c) __builtin_fma(a, b, c)
#elif ORV_HAVE_AVX2_INTRINSICS
#define ORV_FMA_TARGETED(a, b, c)                                                                  \
    _mm_cvtsd_f64(_mm_fmadd_sd(_mm_set_sd(a), _mm_set_sd(b), _mm_set_sd(c)))
#endif

#if !defined(ORV_NO_SIMD) && (defined(__FMA__) || (defined(_MSC_VER) && defined(__AVX2__)))
#define ORV_HAVE_FMA 1
#include <immintrin.h>
#define ORV_FMA(a, b, c) _mm_cvtsd_f64(_mm_fmadd_sd(_mm_set_sd(a), _mm_set_sd(b), _mm_set_sd(c)))
#else
#define ORV_HAVE_FMA 0
#endif

#if defined(__GNUC__) || defined(__clang__)
#define ORV_FORCE_INLINE inline __attribute__((always_inline))
#define ORV_NOINLINE __attribute__((noinline))
#define ORV_COLD __attribute__((noinline, cold))
#elif defined(_MSC_VER)
#define ORV_FORCE_INLINE __forceinline
#define ORV_NOINLINE __declspec(noinline)
#define ORV_COLD __declspec(noinline)
#else
#define ORV_FORCE_INLINE inline
#define ORV_NOINLINE
#define ORV_COLD
#endif

#if defined(__SIZEOF_INT128__) && (defined(__GNUC__) || defined(__clang__))
#define ORV_HAVE_UINT128 1
#define ORV_UINT128 __uint128_t
#else
#define ORV_HAVE_UINT128 0
#endif

#if !ORV_HAVE_UINT128 && defined(_MSC_VER) && defined(_M_X64)
#define ORV_HAVE_UMUL128 1
#include <intrin.h>
#else
#define ORV_HAVE_UMUL128 0
#endif

// How the processor is asked for its features (orv/foundation/Config.cpp): the compiler's own
// check (GCC and Clang: ORV_CPU_FEATURES_BUILTIN), or the CPUID and XGETBV intrinsics of
// Microsoft's compiler (ORV_CPU_FEATURES_CPUID).
#if ORV_HAVE_AVX2_TARGET
#define ORV_CPU_FEATURES_BUILTIN 1
#define ORV_CPU_FEATURES_CPUID 0
#elif ORV_HAVE_AVX2_INTRINSICS && defined(_MSC_VER)
#define ORV_CPU_FEATURES_BUILTIN 0
#define ORV_CPU_FEATURES_CPUID 1
#include <intrin.h>
#else
#define ORV_CPU_FEATURES_BUILTIN 0
#define ORV_CPU_FEATURES_CPUID 0
#endif

#if ORV_HAVE_SSE2
#include <emmintrin.h>
#endif
#if ORV_HAVE_AVX2_INTRINSICS
#include <immintrin.h>
#endif

namespace orv {
namespace detail {

// True where the processor running the library has AVX2 (and the system saves its registers).
// Asked once per process; false where ORV_HAVE_AVX2_TARGET and ORV_HAVE_AVX2_INTRINSICS are 0.
bool processorHasAvx2();
// True where it has AVX2 and FMA both (the same conditions).
bool processorHasAvx2Fma();

} // namespace detail
} // namespace orv

#endif
