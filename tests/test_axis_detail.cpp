// The internal shortcuts of the axis frame against the operations they stand for: the same bits
// for every value they can meet.

#include "orv/axis/detail/Frame.h"
#include "orv/foundation/TripletBase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

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

} // namespace
