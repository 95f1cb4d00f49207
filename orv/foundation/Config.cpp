#include "orv/foundation/Config.h"

namespace orv {
namespace detail {

#if ORV_HAVE_AVX2_TARGET
bool processorHasAvx2() {
    // Asked once: the answer does not change while the process runs. The compiler's own check
    // reads the processor's feature bits and whether the system saves the AVX registers.
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#else
bool processorHasAvx2() {
    return false;
}
#endif

} // namespace detail
} // namespace orv
