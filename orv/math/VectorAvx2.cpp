// The AVX2 path of orv/math/VectorMath.h: four doubles per operation, the exact products from the
// fused multiply-add. Called only where the processor has AVX2 and FMA.
#include "orv/foundation/Config.h"

#if ORV_HAVE_SSE2 && ORV_HAVE_AVX2_INTRINSICS

#define ORV_VECTOR_TARGET ORV_TARGET_AVX2_FMA
#include "orv/math/detail/VectorKernels.h"
#include "orv/math/detail/VectorPaths.h"

namespace orv {
namespace crmath {
namespace detail {

const VectorKernels kAvx2Kernels = {atan2Block<Avx2Lanes>, sincosBlock<Avx2Lanes>,
                                    sincosfBlock<Avx2Lanes>};

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
