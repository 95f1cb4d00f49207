// The correctly rounded functions (orv/math/CorrectlyRounded.h) and their fast paths: the exact
// sums and products they are built on against integer arithmetic, C's Annex F special values, the
// thresholds of the exact ranges, arguments that take the accurate path, sincos against the
// separate calls, the float functions at float subnormals, and random arguments over the
// library's ranges and over the whole range against MPFR. The MPFR checks skip where the build has
// none (the Windows cross build); everything else runs everywhere.
#include "MathOracle.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/Math.h"
#include "orv/math/detail/DoubleDouble.h"
#include "orv/math/detail/FastPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#if defined(ORV_HAVE_MPFR)
#include "MpfrOracle.h"
#endif

namespace {

namespace cr = orv::crmath;
namespace dd = orv::crmath::detail;
using u64 = std::uint64_t;

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const float kInfF = std::numeric_limits<float>::infinity();
const float kNaNF = std::numeric_limits<float>::quiet_NaN();
// Correctly rounded pi, pi/2, pi/4 and 3 pi/4 (the bits of their nearest doubles).
const double kPi = 0x1.921fb54442d18p+1;
const double kPi2 = 0x1.921fb54442d18p+0;
const double kPi4 = 0x1.921fb54442d18p-1;
const double k3Pi4 = 0x1.2d97c7f3321d2p+1;

// Same bits, or both NaN.
bool same(double a, double b) {
    return (a != a && b != b) || dd::bitsOf(a) == dd::bitsOf(b);
}
bool same(float a, float b) {
    return (a != a && b != b) || dd::bitsOf(a) == dd::bitsOf(b);
}

// ---------------------------------------------------------------------------------------------
// Exact arithmetic for the oracle: sums of terms m 2^e (m < 2^64, or a product of two such) as
// unsigned limbs, positive and negative parts apart; a sum is zero when the two parts are equal.
class ExactSum {
public:
    void add(double v) {
        if (v == 0) {
            return;
        }
        const u64 b = dd::bitsOf(v);
        const int field = static_cast<int>((b >> 52) & 0x7ff);
        const u64 m = (b & 0x000fffffffffffffULL) | (field ? (1ULL << 52) : 0);
        terms.push_back({m, 1, (field ? field : 1) - 1075, (b >> 63) != 0});
    }
    void addProduct(double a, double b, bool negate) {
        ExactSum pa, pb;
        pa.add(a);
        pb.add(b);
        if (pa.terms.empty() || pb.terms.empty()) {
            return;
        }
        const Term& x = pa.terms[0];
        const Term& y = pb.terms[0];
        terms.push_back({x.m, y.m, x.e + y.e, (x.negative != y.negative) != negate});
    }
    bool isZero() const {
        int lowest = 1 << 20;
        for (const Term& t : terms) {
            lowest = t.e < lowest ? t.e : lowest;
        }
        std::vector<std::uint32_t> pos(80, 0), neg(80, 0);
        for (const Term& t : terms) {
            std::vector<std::uint32_t>& acc = t.negative ? neg : pos;
            const int s = t.e - lowest;
            // m1 * m2 from 32-bit halves.
            const u64 a0 = t.m & 0xffffffffULL, a1 = t.m >> 32, b0 = t.m2 & 0xffffffffULL,
                      b1 = t.m2 >> 32;
            addShifted(acc, a0 * b0, s);
            addShifted(acc, a0 * b1, s + 32);
            addShifted(acc, a1 * b0, s + 32);
            addShifted(acc, a1 * b1, s + 64);
        }
        const std::size_t size = pos.size() > neg.size() ? pos.size() : neg.size();
        pos.resize(size, 0);
        neg.resize(size, 0);
        return pos == neg;
    }

private:
    struct Term {
        u64 m, m2;
        int e;
        bool negative;
    };
    static void addShifted(std::vector<std::uint32_t>& acc, u64 v, int shift) {
        std::size_t limb = static_cast<std::size_t>(shift / 32);
        const int bit = shift % 32;
        u64 lowPart = (v & 0xffffffffULL) << bit;
        u64 highPart = (v >> 32) << bit;
        u64 carry = 0;
        for (int k = 0; k < 3 || carry; ++k, ++limb) {
            if (limb >= acc.size()) {
                acc.resize(limb + 8, 0);
            }
            const u64 piece = k == 0   ? (lowPart & 0xffffffffULL)
                              : k == 1 ? (lowPart >> 32) + (highPart & 0xffffffffULL)
                              : k == 2 ? (highPart >> 32)
                                       : 0;
            const u64 sum = acc[limb] + piece + carry;
            acc[limb] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
    }
    std::vector<Term> terms;
};

// A double of random significand and sign with exponent uniform in [emin, emax].
double randomDouble(std::mt19937_64& rng, int emin, int emax) {
    const u64 b = rng();
    const double m = dd::doubleFromBits((b & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);
    const int e = emin + static_cast<int>(rng() % static_cast<u64>(emax - emin + 1));
    const double v = std::ldexp(m, e);
    return (b >> 63) ? -v : v;
}

// Ties of a value with few bits: at most n significant bits.
bool fitsBits(double v, int n) {
    if (v == 0) {
        return true;
    }
    const u64 m = (dd::bitsOf(v) & 0x000fffffffffffffULL) | (1ULL << 52);
    return (m & ((1ULL << (53 - n)) - 1)) == 0;
}

TEST(MathDoubleDouble, ExactSumsProductsAndSplitsAgainstIntegers) {
    std::mt19937_64 rng(11);
    for (int i = 0; i < 20000; ++i) {
        // Sums over the whole range (subnormals included), products where their error is a double.
        const double a = randomDouble(rng, -1074, 1000), b = randomDouble(rng, -1074, 1000);
        const dd::DoubleDouble s = dd::twoSum(a, b);
        ExactSum sum;
        sum.add(s.hi);
        sum.add(s.lo);
        sum.add(-a);
        sum.add(-b);
        ASSERT_TRUE(sum.isZero() && same(s.hi, a + b)) << a << " " << b;
        const double big = std::fabs(a) >= std::fabs(b) ? a : b, small = big == a ? b : a;
        const dd::DoubleDouble f = dd::fastTwoSum(big, small);
        ASSERT_TRUE(same(f.hi, s.hi) && same(f.lo, s.lo)) << a << " " << b;

        const double x = randomDouble(rng, -470, 470), y = randomDouble(rng, -470, 470);
        const dd::DoubleDouble p = dd::twoProductDekker(x, y);
        ExactSum product;
        product.add(p.hi);
        product.add(p.lo);
        product.addProduct(x, y, true);
        ASSERT_TRUE(product.isZero() && same(p.hi, x * y)) << x << " " << y;
        const dd::DoubleDouble q = dd::twoProduct(x, y);
        const dd::DoubleDouble sq = dd::twoSquare(x), sqd = dd::twoProductDekker(x, x);
        ASSERT_TRUE(same(q.hi, p.hi) && same(q.lo, p.lo) && same(sq.hi, sqd.hi) &&
                    same(sq.lo, sqd.lo))
            << x << " " << y;
#if ORV_HAVE_FMA
        const dd::DoubleDouble fma = dd::twoProductFma(x, y);
        ASSERT_TRUE(same(fma.hi, p.hi) && same(fma.lo, p.lo)) << x << " " << y;
#endif
        const dd::DoubleDouble v = dd::veltkampSplit(x);
        ASSERT_TRUE(v.hi + v.lo == x && fitsBits(v.hi, 26) && fitsBits(v.lo, 26)) << x;
    }
    // The bounds of the product's conditions and exact cases.
    const double edges[][2] = {{0x1.fffffffffffffp+994, 0x1p-1},
                               {0x1.fffffffffffffp-481, 0x1.8p-479},
                               {-0x1.0000000000001p+0, 0x1.fffffffffffffp+0},
                               {0.0, 3.0},
                               {-0.0, 0x1p-1074}};
    for (const auto& e : edges) {
        const dd::DoubleDouble p = dd::twoProduct(e[0], e[1]);
        ExactSum product;
        product.add(p.hi);
        product.add(p.lo);
        product.addProduct(e[0], e[1], true);
        EXPECT_TRUE(product.isZero() && same(p.hi, e[0] * e[1])) << e[0] << " " << e[1];
    }
}

TEST(MathDoubleDouble, RoundingTestDecidesOnlyAwayFromMidpoints) {
    double r = 0;
    float f = 0;
    const struct {
        double hi, lo, err;
        bool decided;
        double result;
    } rows[] = {
        // err >= 2^-53 |lo| throughout, as the test requires.
        {1.0, 0x1p-53, 0x1p-100, false, 0},             // exactly the midpoint of 1 and 1 + 2^-52
        {1.0, 0x1p-53 - 0x1p-100, 0x1p-104, true, 1.0}, // just below it
        {1.0, 0x1p-53 + 0x1p-100, 0x1p-104, true, 1.0 + 0x1p-52},
        {1.0, 0x1p-53 - 0x1p-100, 0x1p-99, false, 0}, // the bound reaches over the midpoint
        {-1.0, 0x1p-55, 0x1p-104, true, -1.0},        // below 1 the gap is 2^-53
        {1.0, -0x1p-54, 0x1p-104, false, 0},          // the midpoint below 1
        {0x1.fffffffffffffp+1023, 0x1p970, 0x1p920, false, 0}, // DBL_MAX + half an ulp
        {0x1.fffffffffffffp+1023, 0x1p969, 0x1p920, true, 0x1.fffffffffffffp+1023},
        {0x1.fffffffffffffp+1023, 0x1p971, 0x1p920, true, kInf},
    };
    for (const auto& row : rows) {
        const bool decided = dd::roundsToDouble(row.hi, row.lo, row.err, r);
        EXPECT_EQ(decided, row.decided) << row.hi << " " << row.lo;
        if (row.decided) {
            EXPECT_TRUE(same(r, row.result)) << row.hi << " " << row.lo;
        }
    }
    EXPECT_FALSE(dd::roundsToFloat(1.0 + 0x1p-24, 0x1p-50, f)); // float midpoint
    EXPECT_TRUE(dd::roundsToFloat(1.0 + 0x1p-24 + 0x1p-50, 0x1p-52, f) && f == 1.0f + 0x1p-23f);
    EXPECT_TRUE(dd::roundsToFloat(0x1p-140, 0x1p-190, f) && f == 0x1p-140f); // subnormal float
    EXPECT_FALSE(dd::roundsToFloat(0x1.8p-149, 0x1p-190, f));                // subnormal midpoint
}

// ---------------------------------------------------------------------------------------------
// Annex F and the exact ranges: independent statements (no MPFR).
TEST(MathSpecialValues, AnnexFTables) {
    const double y0[] = {0.0, -0.0};
    const double dmin = 0x1p-1074, dmax = 0x1.fffffffffffffp+1023;
    const struct {
        double y, x, want;
    } atan2Rows[] = {
        {0.0, 0.0, 0.0},
        {-0.0, 0.0, -0.0},
        {0.0, -0.0, kPi},
        {-0.0, -0.0, -kPi},
        {0.0, 5.0, 0.0},
        {-0.0, 5.0, -0.0},
        {0.0, -5.0, kPi},
        {-0.0, -5.0, -kPi},
        {0.0, dmin, 0.0},
        {-0.0, -dmin, -kPi},
        {3.0, 0.0, kPi2},
        {3.0, -0.0, kPi2},
        {-3.0, 0.0, -kPi2},
        {-dmin, -0.0, -kPi2},
        {2.0, kInf, 0.0},
        {-2.0, kInf, -0.0},
        {2.0, -kInf, kPi},
        {-2.0, -kInf, -kPi},
        {kInf, 7.0, kPi2},
        {-kInf, -7.0, -kPi2},
        {kInf, kInf, kPi4},
        {-kInf, kInf, -kPi4},
        {kInf, -kInf, k3Pi4},
        {-kInf, -kInf, -k3Pi4},
        {kInf, 0.0, kPi2},
        {-kInf, -0.0, -kPi2},
        {0.0, kInf, 0.0},
        {-0.0, -kInf, -kPi},
        {kNaN, 1.0, kNaN},
        {1.0, kNaN, kNaN},
        {kNaN, kInf, kNaN},
        {0.0, kNaN, kNaN},
        {1.0, 1.0, kPi4},
        {-1.0, -1.0, -k3Pi4},
        {dmax, dmax, kPi4},
        {dmin, dmin, kPi4},
        {dmax, -dmax, k3Pi4},
        {dmax, dmin, kPi2},
        {dmin, dmax, 0.0},
        {-dmin, -dmax, -kPi},
        {1.0, 0x1p-80, kPi2},
        {0x1p-80, -1.0, kPi},
        {-0x1p-70, 1.0, -0x1p-70},
        {0x1p-1000, 0x1p30, 0x1p-1030},
        {3 * dmin, 2.0, dmin}, // a subnormal midpoint: towards 0
        {5 * dmin, 4.0, dmin},
        {-dmin, 2.0, -0.0},
        {0x1.8p-1022, 0x1p+2, 0x1.8p-1024},
    };
    for (const auto& row : atan2Rows) {
        EXPECT_TRUE(same(cr::atan2(row.y, row.x), row.want)) << row.y << " " << row.x;
    }
    const struct {
        double (*f)(double);
        const char* name;
        double x, want;
    } rows[] = {
        {cr::acos, "acos", 1.0, 0.0},
        {cr::acos, "acos", -1.0, kPi},
        {cr::acos, "acos", 0.0, kPi2},
        {cr::acos, "acos", -0.0, kPi2},
        {cr::acos, "acos", 0x1p-56, kPi2},
        {cr::acos, "acos", -dmin, kPi2},
        {cr::acos, "acos", 1.0 + 0x1p-52, kNaN},
        {cr::acos, "acos", -kInf, kNaN},
        {cr::acos, "acos", kNaN, kNaN},
        {cr::acos, "acos", 2.0, kNaN},
        {cr::sin, "sin", 0.0, 0.0},
        {cr::sin, "sin", -0.0, -0.0},
        {cr::sin, "sin", dmin, dmin},
        {cr::sin, "sin", -0x1.fffffffffffffp-27, -0x1.fffffffffffffp-27},
        {cr::sin, "sin", kInf, kNaN},
        {cr::sin, "sin", -kInf, kNaN},
        {cr::sin, "sin", kNaN, kNaN},
        {cr::cos, "cos", 0.0, 1.0},
        {cr::cos, "cos", -0.0, 1.0},
        {cr::cos, "cos", -0x1.fffffffffffffp-28, 1.0},
        {cr::cos, "cos", dmin, 1.0},
        {cr::cos, "cos", kInf, kNaN},
        {cr::cos, "cos", -kInf, kNaN},
        {cr::cos, "cos", kNaN, kNaN},
        {cr::log1p, "log1p", 0.0, 0.0},
        {cr::log1p, "log1p", -0.0, -0.0},
        {cr::log1p, "log1p", -1.0, -kInf},
        {cr::log1p, "log1p", -1.0 - 0x1p-52, kNaN},
        {cr::log1p, "log1p", -kInf, kNaN},
        {cr::log1p, "log1p", kInf, kInf},
        {cr::log1p, "log1p", kNaN, kNaN},
        {cr::log1p, "log1p", dmin, dmin},
        {cr::log1p, "log1p", -0x1.fffffffffffffp-54, -0x1.fffffffffffffp-54},
        {cr::log1p, "log1p", 0x1.fffffffffffffp-54, 0x1.fffffffffffffp-54},
        {cr::expm1, "expm1", 0.0, 0.0},
        {cr::expm1, "expm1", -0.0, -0.0},
        {cr::expm1, "expm1", -kInf, -1.0},
        {cr::expm1, "expm1", kInf, kInf},
        {cr::expm1, "expm1", kNaN, kNaN},
        {cr::expm1, "expm1", -dmin, -dmin},
        {cr::expm1, "expm1", 0x1.fffffffffffffp-55, 0x1.fffffffffffffp-55},
        {cr::expm1, "expm1", -40.0, -1.0},
        {cr::expm1, "expm1", -745.5, -1.0},
        {cr::expm1, "expm1", 710.0, kInf},
        {cr::expm1, "expm1", dmax, kInf},
        {cr::expm1, "expm1", 709.79, kInf},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(same(row.f(row.x), row.want)) << row.name << "(" << row.x << ")";
    }
    const struct {
        float (*f)(float);
        const char* name;
        float x, want;
    } floatRows[] = {
        {cr::sinf, "sinf", 0.0f, 0.0f},
        {cr::sinf, "sinf", -0.0f, -0.0f},
        {cr::sinf, "sinf", kInfF, kNaNF},
        {cr::sinf, "sinf", -kInfF, kNaNF},
        {cr::sinf, "sinf", kNaNF, kNaNF},
        {cr::sinf, "sinf", 0x1.fffffep-13f, 0x1.fffffep-13f},
        {cr::sinf, "sinf", -0x1p-149f, -0x1p-149f},
        {cr::cosf, "cosf", 0.0f, 1.0f},
        {cr::cosf, "cosf", -0.0f, 1.0f},
        {cr::cosf, "cosf", -0x1.fffffep-13f, 1.0f},
        {cr::cosf, "cosf", kInfF, kNaNF},
        {cr::cosf, "cosf", kNaNF, kNaNF},
    };
    for (const auto& row : floatRows) {
        EXPECT_TRUE(same(row.f(row.x), row.want)) << row.name << "(" << row.x << ")";
    }
    for (double y : y0) { // sincos keeps the signed zero and gives NaN pairs for infinities
        double s, c;
        cr::sincos(y, s, c);
        EXPECT_TRUE(same(s, y) && same(c, 1.0));
        cr::sincos(-kInf, s, c);
        EXPECT_TRUE(s != s && c != c);
        float sf, cf;
        cr::sincosf(static_cast<float>(y), sf, cf);
        EXPECT_TRUE(same(sf, static_cast<float>(y)) && same(cf, 1.0f));
    }
}

// Every float subnormal (one in 61, and both ends): sin x rounds to x (x - x^3/6 lies within far
// less than half an ulp below x) and cos x to 1.
TEST(MathFloat, SubnormalArguments) {
    for (std::uint32_t m = 1; m < 0x800000U; m += (m < 64 || m > 0x7fffc0U) ? 1 : 61) {
        for (std::uint32_t sign : {0U, 0x80000000U}) {
            const float x = dd::floatFromBits(m | sign);
            float s, c;
            cr::sincosf(x, s, c);
            ASSERT_TRUE(same(cr::sinf(x), x) && same(cr::cosf(x), 1.0f) && same(s, x) &&
                        same(c, 1.0f))
                << x;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Arguments whose rounding the fast path leaves to the accurate path (the rounding test fails or
// the argument lies beyond the fast range), with their correctly rounded results from MPFR.
TEST(MathFallback, ArgumentsThatTakeTheAccuratePath) {
    const struct {
        double y, x, want;
    } atan2Rows[] = {
        {0x1.482b105d0423ep-1, 0x1.890033baa8ec2p-1, 0x1.6438055c7c933p-1},
        {-0x1.c790228091fb7p-5, 0x1.ff352b6800ee5p-1, -0x1.c7cc54620f37bp-5},
        {0x1.52e604adbbaefp-2, 0x1.e3259ccfa2f89p-1, 0x1.5969600817d92p-2},
        {-0x1.31c7c9905beb8p-1, 0x1.9aa92d93ecc5fp-1, -0x1.47b34cab60d58p-1},
    };
    for (const auto& row : atan2Rows) {
        double r;
        EXPECT_FALSE(dd::atan2Fast(row.y, row.x, r)) << row.y << " " << row.x;
        EXPECT_TRUE(same(cr::atan2(row.y, row.x), row.want)) << row.y << " " << row.x;
    }
    const struct {
        bool (*fast)(double, double&);
        double (*f)(double);
        const char* name;
        double x, want;
    } rows[] = {
        {dd::acosFast, cr::acos, "acos", 0x1.160262b1f1552p-1, 0x1.fe5d654623e38p-1},
        {dd::acosFast, cr::acos, "acos", 0x1.be8bc91d21974p-2, 0x1.1e9b5ce06b9bep+0},
        {dd::acosFast, cr::acos, "acos", 0x1.8e611535e29f4p-1, 0x1.5bbe3d40aae12p-1},
        {dd::sinFast, cr::sin, "sin", -0x1.37869bc330cc3p+1, -0x1.4ce1fe59c5b7cp-1},
        {dd::sinFast, cr::sin, "sin", -0x1.46b520f69cd3ap+2, 0x1.d914eb93bbb3ep-1},
        {dd::sinFast, cr::sin, "sin", 0x1.8e3a77c308214p+0, 0x1.fff0d35b110f4p-1},
        {dd::sinFast, cr::sin, "sin", 0x1p20, 0x1.526ccb2fc8656p-2}, // beyond the fast range
        {dd::sinFast, cr::sin, "sin", 1e22, -0x1.b453ab76bf397p-1},
        {dd::cosFast, cr::cos, "cos", -0x1.bad92805343eep+2, 0x1.9bcbb9b3ecb0cp-1},
        {dd::cosFast, cr::cos, "cos", -0x1.83fe5af74fb5ep+1, -0x1.fce226a9e7c43p-1},
        {dd::cosFast, cr::cos, "cos", -0x1.3363b7ada4bf8p-3, 0x1.fa3e63bb9b86p-1},
        {dd::cosFast, cr::cos, "cos", -0x1p20, 0x1.e33ada92fe2aep-1},
        {dd::log1pFast, cr::log1p, "log1p", -0x1.2c66719bfdd0ap-1, -0x1.c46adab164b52p-1},
        {dd::log1pFast, cr::log1p, "log1p", 0x1.d618392009ebp-2, 0x1.82df060aeaad1p-2},
        {dd::log1pFast, cr::log1p, "log1p", 0x1.2f69c6fabe134p-1, 0x1.dc8a0b256364ep-2},
        {dd::expm1Fast, cr::expm1, "expm1", -0x1.00d492e4d5618p+1, -0x1.bb2809476e53fp-1},
        {dd::expm1Fast, cr::expm1, "expm1", 0x1.0cdb07bdfc944p+1, 0x1.cadca4cd2b2acp+2},
        {dd::expm1Fast, cr::expm1, "expm1", 0x1.e654b607606bdp+0, 0x1.6bc821c57367cp+2},
    };
    for (const auto& row : rows) {
        double r;
        EXPECT_FALSE(row.fast(row.x, r)) << row.name << "(" << row.x << ")";
        EXPECT_TRUE(same(row.f(row.x), row.want)) << row.name << "(" << row.x << ")";
    }
    const struct {
        bool (*fast)(float, float&);
        float (*f)(float);
        const char* name;
        float x, want;
    } floatRows[] = {
        {dd::cosfFast, cr::cosf, "cosf", 0x1p-12f, 1.0f}, // cos = 1 - 2^-25 + 2^-50/24
        {dd::sinfFast, cr::sinf, "sinf", 0x1.d12edp-12f, 0x1.d12edp-12f},
        {dd::cosfFast, cr::cosf, "cosf", 0x1.1e377ap-11f, 0x1.fffffap-1f},
        {dd::sinfFast, cr::sinf, "sinf", 0x1.0a403p-10f, 0x1.0a402ep-10f},
        {dd::cosfFast, cr::cosf, "cosf", 0x1.0d5fdcp+20f, 0x1.121a2cp-1f}, // large reduction
        {dd::cosfFast, cr::cosf, "cosf", -0x1.f0b85ap+20f, 0x1.c9a0b8p-2f},
        {dd::sinfFast, cr::sinf, "sinf", 0x1.30f266p+22f, -0x1.e1e632p-1f},
    };
    for (const auto& row : floatRows) {
        float r;
        EXPECT_FALSE(row.fast(row.x, r)) << row.name << "(" << row.x << ")";
        EXPECT_TRUE(same(row.f(row.x), row.want)) << row.name << "(" << row.x << ")";
    }
}

// sincos and sincosf give the bits of the separate calls: over the library's angles, the whole
// range, near multiples of pi/2 and at the fall-back arguments above.
TEST(MathSinCos, PairsEqualTheSeparateCalls) {
    std::mt19937_64 rng(5);
    std::vector<double> xs = {-0x1.37869bc330cc3p+1,
                              -0x1.bad92805343eep+2,
                              0x1p20,
                              1e22,
                              kPi,
                              -kPi2,
                              3 * kPi2,
                              0x1.fffffffffffffp-27,
                              0x1p-27,
                              0x1p12};
    for (int i = 0; i < 4000; ++i) {
        const double degrees = std::uniform_real_distribution<double>(-1080.0, 1080.0)(rng);
        xs.push_back(degrees * kPi / 180.0);
        xs.push_back(randomDouble(rng, -30, 25));
        xs.push_back(static_cast<double>(static_cast<int>(degrees)) * kPi / 180.0);
    }
    for (double x : xs) {
        double s, c;
        cr::sincos(x, s, c);
        ASSERT_TRUE(same(s, cr::sin(x)) && same(c, cr::cos(x))) << x;
        const float xf = static_cast<float>(x);
        float sf, cf;
        cr::sincosf(xf, sf, cf);
        ASSERT_TRUE(same(sf, cr::sinf(xf)) && same(cf, cr::cosf(xf))) << xf;
    }
}

// ---------------------------------------------------------------------------------------------
// Against MPFR: thresholds of every range, then random arguments (fixed seed) over the library's
// ranges and log-uniformly over the whole range.
#if defined(ORV_HAVE_MPFR)
namespace mo = orv_test::mpfr_oracle;

// The doubles within n ulps of v.
std::vector<double> around(double v, int n) {
    std::vector<double> out;
    double a = v, b = v;
    for (int k = 0; k < n; ++k) {
        a = std::nextafter(a, -kInf);
        b = std::nextafter(b, kInf);
        out.push_back(a);
        out.push_back(b);
    }
    out.push_back(v);
    return out;
}

TEST(MathAgainstMpfr, RangeThresholds) {
    const double unary[] = {0x1p-26,
                            0x1p-27,
                            0x1p12,
                            0x1p20,
                            0x1p-53,
                            0x1p-54,
                            0x1p-55,
                            -38.0,
                            709.0,
                            709.8,
                            0x1.62e42fefa39efp+9,
                            709.782712893384,
                            0.5,
                            0x1.6a09e667f3bcdp-1,
                            -0x1.6a09e667f3bcdp-1,
                            1.0,
                            -1.0,
                            kPi,
                            kPi2,
                            0x1.5bf0a8b145769p+1,
                            -0x1.8p-1,
                            0x1.8p+0};
    for (double v : unary) {
        for (double x : around(v, 3)) {
            for (double s : {x, -x}) {
                ASSERT_TRUE(same(cr::acos(s), mo::acos(s))) << "acos " << s;
                ASSERT_TRUE(same(cr::sin(s), mo::sin(s))) << "sin " << s;
                ASSERT_TRUE(same(cr::cos(s), mo::cos(s))) << "cos " << s;
                ASSERT_TRUE(same(cr::log1p(s), mo::log1p(s))) << "log1p " << s;
                ASSERT_TRUE(same(cr::expm1(s), mo::expm1(s))) << "expm1 " << s;
                const float f = static_cast<float>(s);
                ASSERT_TRUE(same(cr::sinf(f), mo::sinf(f)) && same(cr::cosf(f), mo::cosf(f))) << f;
            }
        }
    }
    for (float v : {0x1p-12f, 0x1p20f, 0x1p-126f, 3.14159274f, 0x1p64f, 0x1.fffffep+127f}) {
        for (int k = -40; k <= 40; ++k) {
            const float f = dd::floatFromBits(dd::bitsOf(v) + static_cast<std::uint32_t>(k));
            ASSERT_TRUE(same(cr::sinf(f), mo::sinf(f)) && same(cr::cosf(f), mo::cosf(f))) << f;
        }
    }
    // atan2: exponent differences around the tiny-ratio limit, magnitudes around the scaling
    // limits, subnormal ratios and their midpoints.
    std::mt19937_64 rng(3);
    for (int diff = 58; diff <= 66; ++diff) {
        for (int k = 0; k < 40; ++k) {
            const double x = randomDouble(rng, -10, 10);
            const double y = std::ldexp(randomDouble(rng, 0, 0), std::ilogb(x) - diff);
            for (double sx : {x, -x}) {
                ASSERT_TRUE(same(cr::atan2(y, sx), mo::atan2(y, sx))) << y << " " << sx;
                ASSERT_TRUE(same(cr::atan2(sx, y), mo::atan2(sx, y))) << sx << " " << y;
            }
        }
    }
    for (int e : {-482, -481, -480, -479, 479, 480, 481, 482, -1022, -1023, -1060, 1023}) {
        for (int k = 0; k < 20; ++k) {
            const double d = std::ldexp(randomDouble(rng, 0, 0), e);
            const double n = d * std::ldexp(randomDouble(rng, 0, 0), -(k % 50));
            ASSERT_TRUE(same(cr::atan2(n, d), mo::atan2(n, d))) << n << " " << d;
            ASSERT_TRUE(same(cr::atan2(-d, n), mo::atan2(-d, n))) << -d << " " << n;
        }
    }
    for (int k = 1; k < 400; k += 2) { // y / x on or beside midpoints of the subnormal grid
        for (double x : {2.0, 4.0, 6.0, 0x1p60, 0x1.8p1}) {
            const double y = std::ldexp(static_cast<double>(k), -1074) * (x / 2);
            for (double yy : {y, std::nextafter(y, 0.0), std::nextafter(y, 1.0)}) {
                ASSERT_TRUE(same(cr::atan2(yy, x), mo::atan2(yy, x))) << yy << " " << x;
            }
        }
    }
}

TEST(MathAgainstMpfr, RandomArguments) {
    std::mt19937_64 rng(2024);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const int n = 3000;
    int wrong = 0;
    const auto check = [&](bool ok, const std::string& what) {
        if (!ok && ++wrong <= 10) {
            ADD_FAILURE() << what;
        }
    };
    const auto hex = [](double v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%a", v);
        return std::string(buf);
    };
    for (int i = 0; i < n; ++i) {
        // atan2: unit-vector components (the library's), log-uniform over the whole range.
        const double t = unit(rng) * kPi;
        const double uy = std::sin(t), ux = std::cos(t);
        check(same(cr::atan2(uy, ux), mo::atan2(uy, ux)), "atan2 " + hex(uy) + " " + hex(ux));
        const double ly = randomDouble(rng, -1074, 1023), lx = randomDouble(rng, -1074, 1023);
        check(same(cr::atan2(ly, lx), mo::atan2(ly, lx)), "atan2 " + hex(ly) + " " + hex(lx));
        const double ny = randomDouble(rng, -40, 40), nx = randomDouble(rng, -40, 40);
        check(same(cr::atan2(ny, nx), mo::atan2(ny, nx)), "atan2 " + hex(ny) + " " + hex(nx));
        // acos: [-1, 1], near +-1, tiny.
        const double a1 = unit(rng);
        const double a2 = std::copysign(
            1.0 - std::ldexp(std::fabs(unit(rng)), -static_cast<int>(rng() % 53)), a1);
        const double a3 = randomDouble(rng, -60, -1);
        for (double a : {a1, a2, a3}) {
            check(same(cr::acos(a), mo::acos(a)), "acos " + hex(a));
        }
        // sin, cos: degrees * pi / 180 over three turns, log-uniform in the fast range and over
        // the whole range.
        const double deg = unit(rng) * 1080.0 * kPi / 180.0;
        const double s2 = randomDouble(rng, -30, 19), s3 = randomDouble(rng, -1074, 1023);
        for (double s : {deg, s2, s3}) {
            check(same(cr::sin(s), mo::sin(s)), "sin " + hex(s));
            check(same(cr::cos(s), mo::cos(s)), "cos " + hex(s));
        }
        // sinf, cosf: float angles, log-uniform floats.
        const float f1 = static_cast<float>(unit(rng) * 1080.0) * 3.14159265f / 180.0f;
        const float f2 = static_cast<float>(randomDouble(rng, -149, 127));
        for (float f : {f1, f2}) {
            check(same(cr::sinf(f), mo::sinf(f)), "sinf " + hex(f));
            check(same(cr::cosf(f), mo::cosf(f)), "cosf " + hex(f));
        }
        // log1p, expm1: |x| < 1 (the passage model's m'), log-uniform, and the ranges' edges.
        const double l1 = unit(rng), l2 = std::fabs(randomDouble(rng, -1074, 1023));
        const double l3 = -1.0 + std::ldexp(std::fabs(unit(rng)), -static_cast<int>(rng() % 53));
        for (double l : {l1, l2, l3, randomDouble(rng, -60, 0)}) {
            check(same(cr::log1p(l), mo::log1p(l)), "log1p " + hex(l));
        }
        const double e2 = unit(rng) * 750.0, e3 = randomDouble(rng, -1074, 10);
        for (double e : {l1, e2, e3}) {
            check(same(cr::expm1(e), mo::expm1(e)), "expm1 " + hex(e));
        }
    }
    EXPECT_EQ(wrong, 0);
}
#else
TEST(MathAgainstMpfr, RangeThresholds) {
    GTEST_SKIP() << "MPFR not found: the comparison with correctly rounded results is skipped";
}
TEST(MathAgainstMpfr, RandomArguments) {
    GTEST_SKIP() << "MPFR not found: the comparison with correctly rounded results is skipped";
}
#endif

} // namespace

// The library's calls (orv/math/Math.h) against the oracle of the build (MPFR, or the platform in
// the platform-math build). At the float argument below the correctly rounded double sine, rounded
// again to float, is not the correctly rounded float (the only such float below 2^20): a float
// call that went through the double function would give another value there.
TEST(MathDispatch, FloatSineAndCosineAreTheFloatFunctions) {
    for (const float x : {0x1.33333p+13f}) {
        float s = 0.0f;
        float c = 0.0f;
        orv::math::sincos(x, s, c);
        EXPECT_EQ(orv::crmath::detail::bitsOf(s), orv::crmath::detail::bitsOf(mathoracle::sin(x)))
            << std::hexfloat << x;
        EXPECT_EQ(orv::crmath::detail::bitsOf(c), orv::crmath::detail::bitsOf(mathoracle::cos(x)))
            << std::hexfloat << x;
    }
}
