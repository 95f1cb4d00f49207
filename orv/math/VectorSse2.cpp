// The SSE2 path of orv/math/VectorMath.h: two doubles per operation.
#include "orv/foundation/Config.h"

#if ORV_HAVE_SSE2

#define ORV_VECTOR_TARGET
#include "orv/math/detail/VectorKernels.h"
#include "orv/math/detail/VectorPaths.h"

namespace orv {
namespace crmath {
namespace detail {

const VectorKernels kSse2Kernels = {atan2Block<Sse2Lanes>, sincosBlock<Sse2Lanes>,
                                    sincosfBlock<Sse2Lanes>};

} // namespace detail
} // namespace crmath
} // namespace orv

#endif
