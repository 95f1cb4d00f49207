// The internal shortcuts of the axis frame against the operations they stand for: the same bits
// for every value they can meet.

#include "orv/axis/AxisKernel.h"
#include "orv/foundation/Config.h"
#include "orv/foundation/TripletBase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using orv::detail::fromBits;
using orv::detail::overPredecessorOfOne;
using orv::detail::unitOf;

template <class T> bool sameBits(T a, T b) {
    return orv::detail::bitsOf(a) == orv::detail::bitsOf(b);
}
template <class T> bool sameBits(const orv::TripletBase<T>& a, const orv::TripletBase<T>& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}

// Every float significand, both signs, in the binades where rounding can differ: the subnormals,
// the smallest normal binade, the binade of 1 and the largest (whose last value overflows).
TEST(AxisDetail, OverPredecessorOfOneIsTheFloatDivisionForEverySignificand) {
    const float below = std::nextafter(1.0f, 0.0f);
    for (const std::uint32_t exponent : {0u, 1u, 2u, 126u, 127u, 254u}) {
        for (std::uint32_t m = 0; m < (1u << 23); ++m) {
            const std::uint32_t bits = (exponent << 23) | m;
            const float v = fromBits<float>(bits | (m & 1u ? 0x80000000u : 0u));
            ASSERT_TRUE(sameBits(overPredecessorOfOne(v), v / below)) << v;
        }
    }
}

TEST(AxisDetail, OverPredecessorOfOneIsTheDoubleDivision) {
    const double below = std::nextafter(1.0, 0.0);
    std::mt19937_64 gen(20261208);
    for (int i = 0; i < 1000000; ++i) {
        const std::uint64_t bits = gen() & ~UINT64_C(0x7FF0000000000000);
        // Exponents spread over the whole range, the largest finite and the subnormals included.
        const std::uint64_t exponent = gen() % 2047;
        const double v = fromBits<double>(bits | (exponent << 52));
        ASSERT_TRUE(sameBits(overPredecessorOfOne(v), v / below)) << v;
    }
    for (const double v :
         {0.0, -0.0, 1.0, -1.0, 0x1.fffffffffffffp-1, 0x1p-1022, 0x0.fffffffffffffp-1022,
          0x1.fffffffffffffp+1023, -0x1.fffffffffffffp+1023, 4.9406564584124654e-324}) {
        EXPECT_TRUE(sameBits(overPredecessorOfOne(v), v / below)) << v;
    }
}

// unitOf against TripletBase::normalize(): unit vectors rounded to float or normalised again in
// double (whose squared lengths fall on every shortcut), and vectors that take the general path.
template <class T> void expectUnitOfIsNormalize(const orv::TripletBase<T>& v) {
    orv::TripletBase<T> want = v;
    want.normalize();
    EXPECT_TRUE(sameBits(unitOf(v), want)) << v.x << " " << v.y << " " << v.z;
}

TEST(AxisDetail, UnitOfIsNormalize) {
    std::mt19937_64 gen(7);
    std::normal_distribution<double> c;
    for (int i = 0; i < 200000; ++i) {
        orv::TripletBase<double> d(c(gen), c(gen), c(gen));
        d.normalize();
        expectUnitOfIsNormalize(d);
        expectUnitOfIsNormalize(orv::TripletBase<float>(d));
        expectUnitOfIsNormalize(d * 3.0);
    }
    const double big = std::numeric_limits<double>::max();
    const float bigf = std::numeric_limits<float>::max();
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const orv::TripletBase<double>& d :
         {orv::TripletBase<double>(0, 0, 0), orv::TripletBase<double>(-0.0, 0, 0),
          orv::TripletBase<double>(0, 0, 1), orv::TripletBase<double>(big, 0, 0),
          orv::TripletBase<double>(1, inf, 0), orv::TripletBase<double>(nan, 0, 1),
          orv::TripletBase<double>(1e-200, 0, 0), orv::TripletBase<double>(1e200, 1e200, 0)}) {
        expectUnitOfIsNormalize(d);
    }
    for (const orv::TripletBase<float>& f :
         {orv::TripletBase<float>(bigf, 0, 0), orv::TripletBase<float>(0, 0, -1),
          orv::TripletBase<float>(1e-30f, 0, 0), orv::TripletBase<float>(0.6f, 0.8f, 0)}) {
        expectUnitOfIsNormalize(f);
    }
}

// The list worker's two builds (baseline instruction set, AVX2) compute the same operations: the
// same bits for every element, continuity included, on points that cross the cut, NaN, markers,
// points on the axis and lists longer than a block.
template <class T, class Out>
void workerBaseline(const orv::detail::ArtFrame<T>& f, const orv::TripletBase<T>* in, Out* out,
                    std::size_t n, const double* reference) {
    orv::detail::convertContinuous(f, in, out, n, reference);
}
#if ORV_HAVE_AVX2_TARGET
template <class T, class Out>
ORV_TARGET_AVX2 void workerAvx2(const orv::detail::ArtFrame<T>& f, const orv::TripletBase<T>* in,
                                Out* out, std::size_t n, const double* reference) {
    orv::detail::convertContinuous(f, in, out, n, reference);
}

template <class T> void expectWorkersAgree(std::mt19937_64& gen) {
    using P = orv::TripletBase<T>;
    std::uniform_real_distribution<double> c(-50.0, 50.0);
    std::vector<P> in(1000);
    for (P& p : in) {
        p = P(static_cast<T>(c(gen)), static_cast<T>(c(gen)), static_cast<T>(c(gen)));
    }
    in[3] = P(1, -2, 3); // on the axis
    in[7].y = std::numeric_limits<T>::quiet_NaN();
    in[11].x = P::undefinedMarker();
    in[500].z = std::numeric_limits<T>::infinity();
    const orv::detail::ArtFrame<T> f(
        orv::TripletBase<double>(1, -2, 3),
        orv::TripletBase<double>(0.28734788556634538, -0.19156525704423025, 0.95782628522115129),
        orv::TripletBase<double>(0.9578262852211513, 0, -0.28734788556634538));
    const double turns = 725.0; // a reference two turns away from the first theta
    for (const double* reference : {static_cast<const double*>(nullptr), &turns}) {
        std::vector<P> a(in.size()), b(in.size());
        workerBaseline(f, in.data(), a.data(), in.size(), reference);
        workerAvx2(f, in.data(), b.data(), in.size(), reference);
        for (std::size_t i = 0; i < in.size(); ++i) {
            ASSERT_TRUE(sameBits(a[i], b[i])) << i;
        }
    }
}
#endif

TEST(AxisDetail, ListWorkerBuildsGiveTheSameBits) {
#if ORV_HAVE_AVX2_TARGET
    if (!orv::detail::processorHasAvx2()) {
        GTEST_SKIP() << "this processor has no AVX2";
    }
    std::mt19937_64 gen(99);
    expectWorkersAgree<float>(gen);
    expectWorkersAgree<double>(gen);
#else
    GTEST_SKIP() << "this build has no AVX2 worker";
#endif
}

} // namespace
