// The block functions of orv/math/VectorMath.h: the scalar path and the choice of the path.
#include "orv/math/VectorMath.h"

#include "orv/foundation/Config.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/detail/VectorPaths.h"

namespace orv {
namespace crmath {
namespace detail {

namespace {

void atan2Scalar(const double* y, const double* x, double* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = crmath::atan2(y[i], x[i]);
    }
}
void sincosScalar(const double* x, double* s, double* c, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        crmath::sincos(x[i], s[i], c[i]);
    }
}
void sincosfScalar(const float* x, float* s, float* c, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        crmath::sincosf(x[i], s[i], c[i]);
    }
}

constexpr VectorKernels kScalarKernels = {atan2Scalar, sincosScalar, sincosfScalar};

const VectorKernels& chosenKernels() {
    static const VectorKernels& k = *vectorKernels(chosenVectorPath());
    return k;
}

} // namespace

const VectorKernels* vectorKernels(VectorPath path) {
    switch (path) {
    case VectorPath::Scalar:
        return &kScalarKernels;
    case VectorPath::Sse2:
#if ORV_HAVE_SSE2
        return &kSse2Kernels;
#else
        return nullptr;
#endif
    case VectorPath::Avx2:
#if ORV_HAVE_SSE2 && ORV_HAVE_AVX2_INTRINSICS
        return orv::detail::processorHasAvx2Fma() ? &kAvx2Kernels : nullptr;
#else
        return nullptr;
#endif
    }
    return nullptr;
}

VectorPath chosenVectorPath() {
    if (vectorKernels(VectorPath::Avx2) != nullptr) {
        return VectorPath::Avx2;
    }
    if (vectorKernels(VectorPath::Sse2) != nullptr) {
        return VectorPath::Sse2;
    }
    return VectorPath::Scalar;
}

} // namespace detail

void atan2Block(const double* y, const double* x, double* out, std::size_t n) {
    detail::chosenKernels().atan2(y, x, out, n);
}

void sincosBlock(const double* x, double* s, double* c, std::size_t n) {
    detail::chosenKernels().sincos(x, s, c, n);
}

void sincosfBlock(const float* x, float* s, float* c, std::size_t n) {
    detail::chosenKernels().sincosf(x, s, c, n);
}

} // namespace crmath
} // namespace orv
