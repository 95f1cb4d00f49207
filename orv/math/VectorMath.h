#ifndef ORV_MATH_VECTORMATH_H
#define ORV_MATH_VECTORMATH_H

// Internal to the library (not installed): the correctly rounded functions of
// orv/math/CorrectlyRounded.h over arrays, several arguments at a time. Every result has the bits
// of the single call, on every path and every platform: the vector paths run the fast path's
// operations in the same order and precision in each lane (the exact products may come from the
// fused multiply-add, which gives the same double-double), and a lane whose argument leaves the
// fast path's common range or whose rounding test fails is computed again by the single call.
//
// Paths: SSE2 (two doubles per operation; orv/math/VectorSse2.cpp) where Config.h has
// ORV_HAVE_SSE2, AVX2 with FMA (four doubles; VectorAvx2.cpp) where it has
// ORV_HAVE_AVX2_INTRINSICS and the processor has both, and plain loops of the single calls
// (the build without SIMD paths). The block functions use the widest path the build and the
// processor allow, chosen once per process. Inputs and outputs must not overlap; n may be 0.

#include <cstddef>

namespace orv {
namespace crmath {

// out[i] = atan2(y[i], x[i]) for i < n.
void atan2Block(const double* y, const double* x, double* out, std::size_t n);
// s[i], c[i] = sincos(x[i]) for i < n.
void sincosBlock(const double* x, double* s, double* c, std::size_t n);
// s[i], c[i] = sincosf(x[i]) for i < n.
void sincosfBlock(const float* x, float* s, float* c, std::size_t n);

namespace detail {

enum class VectorPath { Scalar, Sse2, Avx2 };

// The block functions of one path.
struct VectorKernels {
    void (*atan2)(const double* y, const double* x, double* out, std::size_t n);
    void (*sincos)(const double* x, double* s, double* c, std::size_t n);
    void (*sincosf)(const float* x, float* s, float* c, std::size_t n);
};

// The kernels of a path, or null where the build does not have it or the processor cannot run it
// (the scalar path is always there).
const VectorKernels* vectorKernels(VectorPath path);
// The path the block functions above use.
VectorPath chosenVectorPath();

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
