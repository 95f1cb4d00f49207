#include "orv/foundation/Config.h"

namespace orv {
namespace detail {

namespace {

struct Features {
    bool avx2;
    bool fma;
};

#if ORV_CPU_FEATURES_BUILTIN
// The compiler's own check reads the processor's feature bits and whether the system saves the
// AVX registers.
Features askProcessor() {
    __builtin_cpu_init();
    return {__builtin_cpu_supports("avx2") != 0, __builtin_cpu_supports("fma") != 0};
}
#elif ORV_CPU_FEATURES_CPUID
// Microsoft's compiler: CPUID leaf 1 (ECX bit 12 FMA, bit 27 OSXSAVE, bit 28 AVX), the system's
// saved state from XGETBV (bits 1 and 2: the XMM and YMM registers), leaf 7 (EBX bit 5 AVX2).
Features askProcessor() {
    int r[4];
    __cpuid(r, 0);
    if (r[0] < 7) {
        return {false, false};
    }
    __cpuid(r, 1);
    const bool fma = (r[2] & (1 << 12)) != 0;
    const bool osxsave = (r[2] & (1 << 27)) != 0;
    const bool avx = (r[2] & (1 << 28)) != 0;
    if (!osxsave || !avx || (_xgetbv(0) & 6) != 6) {
        return {false, false};
    }
    __cpuidex(r, 7, 0);
    return {(r[1] & (1 << 5)) != 0, fma};
}
#else
Features askProcessor() {
    return {false, false};
}
#endif

// Asked once: the answer does not change while the process runs.
const Features& features() {
    static const Features f = askProcessor();
    return f;
}

} // namespace

bool processorHasAvx2() {
    return features().avx2;
}

bool processorHasAvx2Fma() {
    return features().avx2 && features().fma;
}

} // namespace detail
} // namespace orv
