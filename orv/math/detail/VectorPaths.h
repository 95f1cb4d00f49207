#ifndef ORV_MATH_DETAIL_VECTORPATHS_H
#define ORV_MATH_DETAIL_VECTORPATHS_H

// Internal: the kernels of each vector path (orv/math/VectorSse2.cpp, VectorAvx2.cpp), for the
// choice in orv/math/Vector.cpp.

#include "orv/foundation/Config.h"
#include "orv/math/VectorMath.h"

namespace orv {
namespace crmath {
namespace detail {

#if ORV_HAVE_SSE2
extern const VectorKernels kSse2Kernels;
#endif
#if ORV_HAVE_SSE2 && ORV_HAVE_AVX2_INTRINSICS
// Only where processorHasAvx2Fma() is true.
extern const VectorKernels kAvx2Kernels;
#endif

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
