// The accurate (multi-precision) paths of the correctly rounded functions: the arithmetic they
// are built on, their enclosures at every precision of Ziv's loop, and their results against
// MPFR (special values, hard-to-round cases, random arguments). The checks that need MPFR skip
// where the build has none (the Windows cross build); the integer facts and the special values
// run everywhere.
#include "MathHardCases.h"
#include "orv/math/detail/Accurate.h"
#include "orv/math/detail/AccurateKernels.h"
#include "orv/math/detail/MultiPrecision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#if defined(ORV_HAVE_MPFR)
#include "MpfrOracle.h"
#endif

namespace {

namespace mp = orv::crmath::detail::mp;
namespace cr = orv::crmath::detail;
using u64 = std::uint64_t;

u64 bitsOf(double d) {
    u64 b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}
std::uint32_t bitsOf(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kMax = std::numeric_limits<double>::max();
const double kTiny = std::numeric_limits<double>::denorm_min();

// A Float of `limbs` random limbs (long runs of ones and zeros half of the time), top bit set.
mp::Float randomFloat(std::mt19937_64& g, int limbs, int expLo, int expHi) {
    mp::Float f;
    f.limbs = limbs;
    const bool runs = (g() & 1) != 0;
    for (int i = 0; i < limbs; ++i) {
        const u64 k = g() % 4;
        f.m[i] = !runs ? g() : k == 0 ? 0 : k == 1 ? ~u64{0} : g();
    }
    f.m[limbs - 1] |= u64{1} << 63;
    f.sign = static_cast<int>(g() & 1);
    f.exp = expLo + static_cast<int>(g() % static_cast<u64>(expHi - expLo + 1));
    return f;
}

// ---- Integer kernels (no MPFR needed) -------------------------------------------------------

TEST(MathAccurateArithmetic, WideProductsAndQuotientsMultiplyBack) {
    std::mt19937_64 g(11);
    const u64 edges[] = {0, 1, 2, 0xffffffffu, 0x100000000u, ~u64{0}, ~u64{0} - 1, u64{1} << 63};
    std::vector<u64> values(std::begin(edges), std::end(edges));
    for (int i = 0; i < 400; ++i) {
        values.push_back(g() >> (g() % 64));
    }
    for (u64 a : values) {
        for (int j = 0; j < 8; ++j) {
            const u64 b = j < 4 ? values[(j * 37 + a) % values.size()] : g();
            u64 h1;
            u64 h2;
            const u64 l1 = mp::mulWide(a, b, h1);
            const u64 l2 = mp::mulWidePortable(a, b, h2);
            ASSERT_EQ(l1, l2);
            ASSERT_EQ(h1, h2);
            ASSERT_EQ(l1, a * b); // the low half is the wrapped product
            // (h:l) / d for d > h: q d + r == (h:l) and r < d.
            const u64 d = b > h1 ? b : (h1 == ~u64{0} ? 0 : h1 + 1 + (g() >> 1) % (~h1));
            if (d == 0) {
                continue;
            }
            u64 rem;
            const u64 q = mp::divWide(h1, l1, d, rem);
            ASSERT_LT(rem, d);
            u64 ph;
            u64 pl = mp::mulWide(q, d, ph);
            pl += rem;
            ph += pl < rem ? 1 : 0;
            ASSERT_EQ(pl, l1) << a << " " << b << " " << d;
            ASSERT_EQ(ph, h1) << a << " " << b << " " << d;
        }
    }
}

// Quotients multiplied back, square roots squared, sums undone, all at the same precision: the
// truncation statement (computed <= exact < computed + 1 ulp in magnitude) through exact facts.
TEST(MathAccurateArithmetic, TruncationThroughExactFacts) {
    std::mt19937_64 g(12);
    for (int i = 0; i < 300; ++i) {
        const int n = 1 + static_cast<int>(g() % 8);
        mp::Float a = randomFloat(g, n, -40, 40);
        mp::Float b = randomFloat(g, 1 + static_cast<int>(g() % 8), -40, 40);
        a.sign = 0;
        b.sign = 0;
        // q = trunc(a / b): q b <= a < (q + ulp) b, products at twice the precision are exact.
        mp::Float q;
        const bool exact = mp::div(q, a, b, n);
        mp::Float qb;
        mp::mul(qb, q, b, 2 * n + 8 > mp::kMaxLimbs ? mp::kMaxLimbs : 2 * n + 8);
        ASSERT_LE(mp::compare(qb, a), 0);
        ASSERT_EQ(exact, mp::compare(qb, a) == 0);
        mp::Float ulp;
        mp::setPow2(ulp, q.exp - 64 * n);
        mp::Float q1;
        mp::add(q1, q, ulp, n + 1);
        mp::Float q1b;
        mp::mul(q1b, q1, b, 2 * n + 9 > mp::kMaxLimbs ? mp::kMaxLimbs : 2 * n + 9);
        ASSERT_GT(mp::compare(q1b, a), 0);
        // s = trunc(sqrt(a)): s^2 <= a < (s + ulp)^2.
        mp::Float s;
        mp::sqrt(s, a, n);
        mp::Float s2;
        mp::mul(s2, s, s, 2 * n);
        ASSERT_LE(mp::compare(s2, a), 0);
        mp::setPow2(ulp, s.exp - 64 * n);
        mp::add(s, s, ulp, n + 1);
        mp::mul(s2, s, s, 2 * n + 2);
        ASSERT_GT(mp::compare(s2, a), 0);
        // Exact products divide back exactly: (a b) / b == a.
        mp::Float ab;
        mp::mul(ab, a, b, a.limbs + b.limbs);
        mp::Float back;
        ASSERT_TRUE(mp::div(back, ab, b, a.limbs));
        ASSERT_EQ(mp::compare(back, a), 0);
        // (a + b) - b == a when the sum is kept whole.
        mp::Float sum;
        mp::add(sum, a, b, 40);
        mp::Float diff;
        mp::sub(diff, sum, b, 40);
        if (std::abs(a.exp - b.exp) < 64 * 30) {
            ASSERT_EQ(mp::compare(diff, a), 0);
        }
    }
    // Perfect squares and small quotients.
    mp::Float v;
    mp::setU64(v, 0xffffffffu);
    mp::Float sq;
    mp::mul(sq, v, v, 2);
    mp::Float root;
    mp::sqrt(root, sq, 3);
    EXPECT_EQ(mp::compare(root, v), 0);
    mp::Float three;
    mp::setU64(three, 3);
    mp::Float third;
    EXPECT_TRUE(mp::div(third, v, three, 4)); // 0xffffffff = 3 * 0x55555555
    EXPECT_EQ(mp::toDouble(third), 1431655765.0);
    mp::mulU64(third, third, 3, 4);
    EXPECT_EQ(mp::compare(third, v), 0);
    mp::Float seven;
    mp::setU64(seven, 7);
    EXPECT_FALSE(mp::div(third, v, seven, 4));
    mp::divU32(third, three, 3, 2);
    EXPECT_EQ(mp::toDouble(third), 1.0);
}

// ---- Rounding to the IEEE formats (no MPFR needed) ------------------------------------------

TEST(MathAccurateRounding, MidpointsTiesAndLimits) {
    struct Case {
        double lower; // two neighbouring doubles (or the largest and "2^1024")
        double upper;
        bool upperEven;
    };
    const double big = std::ldexp(1.0, 1023);
    const Case cases[] = {
        {1.0, 1.0 + 0x1p-52, true == false},
        {1.0 - 0x1p-53, 1.0, true},
        {kTiny * 0, kTiny, false},                   // 0 and the smallest subnormal
        {kTiny, 2 * kTiny, true},                    // subnormal midpoint
        {0x1.ffffffffffffep-1023, 0x1p-1022, true},  // across the subnormal boundary
        {0x1p-1022, 0x1.0000000000001p-1022, false}, // smallest normals
        {kMax, kInf, true},                          // the overflow threshold
        {big, std::nextafter(big, kInf), false},
    };
    for (const Case& c : cases) {
        for (double s : {1.0, -1.0}) {
            // The midpoint exactly, as lower + half an ulp (two limbs hold it).
            mp::Float lo;
            mp::setDouble(lo, c.lower);
            mp::Float half; // half the gap, built exactly (half a subnormal gap is no double)
            const double gap = c.upper == kInf ? std::ldexp(1.0, 971) : c.upper - c.lower;
            mp::setDouble(half, gap);
            mp::mulPow2(half, -1);
            mp::Float mid;
            mp::add(mid, lo, half, 2);
            if (s < 0) {
                mp::negate(mid);
            }
            const double lower = s * c.lower;
            const double upper = s * c.upper;
            EXPECT_TRUE(bitsOf(mp::toDouble(mid, mp::Tie::Even)) ==
                        bitsOf(c.upperEven ? upper : lower))
                << c.lower << " " << s;
            EXPECT_EQ(bitsOf(mp::toDouble(mid, mp::Tie::Up)), bitsOf(s > 0 ? upper : lower));
            EXPECT_EQ(bitsOf(mp::toDouble(mid, mp::Tie::Down)), bitsOf(s > 0 ? lower : upper));
            // Just off the midpoint every tie rule agrees.
            mp::Float eps;
            mp::setDouble(eps, gap);
            mp::mulPow2(eps, -80);
            mp::Float above;
            mp::add(above, mid, eps, 3);
            mp::Float below;
            mp::sub(below, mid, eps, 3);
            for (mp::Tie t : {mp::Tie::Even, mp::Tie::Up, mp::Tie::Down}) {
                EXPECT_EQ(bitsOf(mp::toDouble(above, t)), bitsOf(s > 0 ? upper : lower));
                EXPECT_EQ(bitsOf(mp::toDouble(below, t)), bitsOf(s > 0 ? lower : upper));
            }
        }
    }
    // Below half the smallest subnormal: zero of the value's sign; far beyond: infinity.
    mp::Float f;
    mp::setPow2(f, -1076);
    EXPECT_EQ(bitsOf(mp::toDouble(f, mp::Tie::Up)), bitsOf(0.0));
    mp::negate(f);
    EXPECT_EQ(bitsOf(mp::toDouble(f)), bitsOf(-0.0));
    mp::setPow2(f, 5000);
    EXPECT_EQ(mp::toDouble(f), kInf);
    EXPECT_EQ(mp::toFloat(f), std::numeric_limits<float>::infinity());
    // Float: the smallest subnormal's midpoint and the overflow threshold (2 - 2^-24) 2^127.
    mp::setPow2(f, -150);
    EXPECT_EQ(bitsOf(mp::toFloat(f, mp::Tie::Even)), bitsOf(0.0f));
    EXPECT_EQ(bitsOf(mp::toFloat(f, mp::Tie::Up)), bitsOf(0x1p-149f));
    mp::setDouble(f, 0x1.ffffffp+127);
    EXPECT_EQ(mp::toFloat(f, mp::Tie::Even), std::numeric_limits<float>::infinity());
    EXPECT_EQ(mp::toFloat(f, mp::Tie::Down), std::numeric_limits<float>::max());
}

// Ziv's loop: decided where the enclosure holds one rounding, raised otherwise, and at the cap
// the centre's rounding (here an exact midpoint: ties to even) after every precision was tried.
// 1 + 2^-k exactly (for k = 53 the midpoint of 1 and its successor; k = 24 for floats).
mp::Float onePlus(int k) {
    mp::Float one;
    mp::setU64(one, 1);
    mp::Float t;
    mp::setPow2(t, -k);
    mp::Float r;
    mp::add(r, one, t, 2);
    return r;
}

TEST(MathAccurateZiv, DecisionAndCap) {
    mp::Enclosure e;
    e.a = onePlus(53); // the midpoint of 1 and its successor
    e.valid = true;
    e.side = -1; // the value is below it: rounds to 1
    e.errExp = -120;
    double r = 0;
    EXPECT_TRUE(mp::decideDouble(e, r));
    EXPECT_EQ(r, 1.0);
    e.side = 1;
    EXPECT_TRUE(mp::decideDouble(e, r));
    EXPECT_EQ(r, 1.0 + 0x1p-52);
    e.side = 0;
    EXPECT_FALSE(mp::decideDouble(e, r));
    e.valid = false;
    e.a = onePlus(2);
    EXPECT_FALSE(mp::decideDouble(e, r)); // invalid: never decided

    std::vector<int> tried;
    const double capped = mp::zivDouble([&](mp::Enclosure& en, int limbs) {
        tried.push_back(limbs);
        en.a = onePlus(53);
        en.side = 0;
        en.valid = true;
        en.errExp = en.a.exp - 64 * limbs;
    });
    EXPECT_EQ(tried, std::vector<int>(std::begin(mp::kDoubleLevels), std::end(mp::kDoubleLevels)));
    EXPECT_EQ(tried.back(), mp::kMaxLimbs);
    EXPECT_EQ(capped, 1.0);
    tried.clear();
    const float cappedF = mp::zivFloat([&](mp::Enclosure& en, int limbs) {
        tried.push_back(limbs);
        en.a = onePlus(24);
        en.side = 0;
        en.valid = true;
        en.errExp = en.a.exp - 64 * limbs;
    });
    EXPECT_EQ(tried.size(), std::size(mp::kFloatLevels));
    EXPECT_EQ(cappedF, 1.0f);
}

// ---- Special values (Annex F), exact cases: no MPFR needed ----------------------------------

TEST(MathAccurateSpecial, AnnexFValuesAndExactCases) {
    const double pi = 0x1.921fb54442d18p+1;
    struct Two {
        double y, x, want;
    };
    const Two atan2Cases[] = {
        {0.0, 1.0, 0.0},
        {-0.0, 1.0, -0.0},
        {0.0, 0.0, 0.0},
        {-0.0, 0.0, -0.0},
        {0.0, -0.0, pi},
        {-0.0, -0.0, -pi},
        {0.0, -1.0, pi},
        {-0.0, -kInf, -pi},
        {1.0, 0.0, pi / 2},
        {-1.0, -0.0, -pi / 2},
        {kInf, 1.0, pi / 2},
        {-kInf, -5.0, -pi / 2},
        {kInf, kInf, pi / 4},
        {-kInf, kInf, -pi / 4},
        {kInf, -kInf, 0x1.2d97c7f3321d2p+1},
        {-kInf, -kInf, -0x1.2d97c7f3321d2p+1},
        {3.0, kInf, 0.0},
        {-3.0, kInf, -0.0},
        {3.0, -kInf, pi},
        {-kTiny, -kInf, -pi},
        {kMax, kTiny, pi / 2},
        {kTiny, kMax, 0.0},
        {-kTiny, kMax, -0.0},
        {kTiny, -kMax, pi},
    };
    for (const Two& c : atan2Cases) {
        EXPECT_EQ(bitsOf(cr::atan2Accurate(c.y, c.x)), bitsOf(c.want)) << c.y << " " << c.x;
    }
    EXPECT_TRUE(std::isnan(cr::atan2Accurate(kNaN, 1.0)));
    EXPECT_TRUE(std::isnan(cr::atan2Accurate(0.0, kNaN)));
    struct One {
        double (*f)(double);
        double x, want;
    };
    const One cases[] = {
        {cr::sinAccurate, 0.0, 0.0},         {cr::sinAccurate, -0.0, -0.0},
        {cr::sinAccurate, kInf, kNaN},       {cr::cosAccurate, -0.0, 1.0},
        {cr::cosAccurate, -kInf, kNaN},      {cr::acosAccurate, 1.0, 0.0},
        {cr::acosAccurate, -1.0, pi},        {cr::acosAccurate, 1.0000000000000002, kNaN},
        {cr::acosAccurate, -kInf, kNaN},     {cr::log1pAccurate, 0.0, 0.0},
        {cr::log1pAccurate, -0.0, -0.0},     {cr::log1pAccurate, -1.0, -kInf},
        {cr::log1pAccurate, -1.5, kNaN},     {cr::log1pAccurate, kInf, kInf},
        {cr::expm1Accurate, -0.0, -0.0},     {cr::expm1Accurate, kInf, kInf},
        {cr::expm1Accurate, -kInf, -1.0},    {cr::expm1Accurate, 710.0000000000001, kInf},
        {cr::expm1Accurate, -40.5, -1.0},    {cr::expm1Accurate, -kMax, -1.0},
        {cr::sinAccurate, kTiny, kTiny},     {cr::sinAccurate, -kTiny, -kTiny},
        {cr::cosAccurate, kTiny, 1.0},       {cr::expm1Accurate, kTiny, kTiny},
        {cr::log1pAccurate, -kTiny, -kTiny},
    };
    for (const One& c : cases) {
        const double got = c.f(c.x);
        if (std::isnan(c.want)) {
            EXPECT_TRUE(std::isnan(got)) << c.x;
        } else {
            EXPECT_EQ(bitsOf(got), bitsOf(c.want)) << c.x;
        }
    }
    EXPECT_TRUE(std::isnan(cr::sinAccurate(kNaN)));
    EXPECT_EQ(bitsOf(cr::sinfAccurate(-0.0f)), bitsOf(-0.0f));
    EXPECT_EQ(cr::cosfAccurate(0.0f), 1.0f);
    EXPECT_TRUE(std::isnan(cr::sinfAccurate(std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(std::isnan(cr::cosfAccurate(-std::numeric_limits<float>::infinity())));
    // y / x exactly a midpoint of the subnormal range: atan lies just below it.
    EXPECT_EQ(cr::atan2Accurate(3 * kTiny, 2.0), kTiny);
    EXPECT_EQ(cr::atan2Accurate(-5 * kTiny, 2.0), -2 * kTiny);
    EXPECT_EQ(cr::atan2Accurate(kTiny, 2.0), 0.0);
}

// The same bits on every platform: a digest of every accurate function's results over a fixed
// set of arguments (drawn from the raw bits of a fixed-seed generator, so the set is the same
// everywhere), equal to the one computed where MPFR confirmed each result. The cross-compiled
// Windows build has no MPFR; this is what shows it computes the very same results.
struct DigestCase {
    const char* name;
    double (*f)(double, double);
    int expLo;
    int expHi;
};

double sinOf(double x, double) {
    return cr::sinAccurate(x);
}
double cosOf(double x, double) {
    return cr::cosAccurate(x);
}
double atan2Of(double x, double y) {
    return cr::atan2Accurate(y, x);
}
double acosOf(double x, double) {
    return cr::acosAccurate(x);
}
double log1pOf(double x, double) {
    return cr::log1pAccurate(x <= -1 ? -x : x);
}
double expm1Of(double x, double) {
    return cr::expm1Accurate(x);
}
double sinfOf(double x, double) {
    return cr::sinfAccurate(static_cast<float>(x));
}
double cosfOf(double x, double) {
    return cr::cosfAccurate(static_cast<float>(x));
}

const DigestCase kDigestCases[] = {{"sin", sinOf, -1074, 1023},     {"cos", cosOf, -1074, 1023},
                                   {"atan2", atan2Of, -1074, 1023}, {"acos", acosOf, -60, -1},
                                   {"log1p", log1pOf, -1074, 1023}, {"expm1", expm1Of, -1074, 9},
                                   {"sinf", sinfOf, -140, 127},     {"cosf", cosfOf, -140, 127}};

double digestArgument(std::mt19937_64& g, int lo, int hi) {
    const int e = lo + static_cast<int>(g() % static_cast<u64>(hi - lo + 1));
    const double x = std::ldexp(1.0 + static_cast<double>(g() >> 11) * 0x1p-53, e);
    return (g() & 1) != 0 ? -x : x;
}

u64 digestOf(const DigestCase& c, std::vector<double>* args) {
    std::mt19937_64 g(17);
    u64 h = 1469598103934665603u; // FNV-1a over the results' bits
    for (int i = 0; i < 300; ++i) {
        const double x = digestArgument(g, c.expLo, c.expHi);
        const double y = digestArgument(g, c.expLo, c.expHi);
        const u64 b = bitsOf(c.f(x, y));
        for (int k = 0; k < 8; ++k) {
            h = (h ^ ((b >> (8 * k)) & 0xff)) * 1099511628211u;
        }
        if (args != nullptr) {
            args->push_back(x);
            args->push_back(y);
        }
    }
    return h;
}

TEST(MathAccurateFunctions, SameBitsOnEveryPlatform) {
    const u64 expected[] = {0x03fcd627416e6e52u, 0xcdc4671b1c07a4dcu, 0xaca623ec0867ecbeu,
                            0x16945053499c49e7u, 0xdfa8567b4f4c2b1cu, 0xe19c59752b60959eu,
                            0xa6881cbf5da3d541u, 0xc8d598ed80816037u};
    for (std::size_t i = 0; i < std::size(kDigestCases); ++i) {
        EXPECT_EQ(digestOf(kDigestCases[i], nullptr), expected[i])
            << kDigestCases[i].name << " 0x" << std::hex << digestOf(kDigestCases[i], nullptr);
    }
}

#if defined(ORV_HAVE_MPFR)

namespace oracle = orv_test::mpfr_oracle;

// The exact value of a Float (mpfr precision at least 64 limbs).
void toMpfr(mpfr_t r, const mp::Float& a) {
    mpfr_set_ui(r, 0, MPFR_RNDN);
    if (mp::isZero(a)) {
        return;
    }
    for (int i = a.limbs - 1; i >= 0; --i) {
        mpfr_mul_2ui(r, r, 32, MPFR_RNDN);
        mpfr_add_ui(r, r, static_cast<unsigned long>(a.m[i] >> 32), MPFR_RNDN);
        mpfr_mul_2ui(r, r, 32, MPFR_RNDN);
        mpfr_add_ui(r, r, static_cast<unsigned long>(a.m[i] & 0xffffffffu), MPFR_RNDN);
    }
    mpfr_mul_2si(r, r, static_cast<long>(a.exp) - 64L * a.limbs, MPFR_RNDN);
    if (a.sign != 0) {
        mpfr_neg(r, r, MPFR_RNDN);
    }
}

class Mpfr {
public:
    explicit Mpfr(mpfr_prec_t bits) { mpfr_init2(v, bits); }
    Mpfr(const Mpfr&) = delete;
    Mpfr& operator=(const Mpfr&) = delete;
    ~Mpfr() { mpfr_clear(v); }
    mpfr_t v;
};

// Every operation is the exact result truncated to its precision: MPFR's rounding toward zero at
// 64 * limbs bits, bit for bit, over random operands (runs of equal bits, every exponent gap,
// near cancellations) and random result precisions.
TEST(MathAccurateArithmetic, OperationsAreTruncatedExactResults) {
    std::mt19937_64 g(13);
    const mpfr_prec_t wide = 64 * (mp::kStoreLimbs + 2);
    Mpfr ma(wide), mb(wide), want(64), got(wide);
    for (int i = 0; i < 3000; ++i) {
        const int na = 1 + static_cast<int>(g() % (i % 10 == 0 ? mp::kStoreLimbs : 6));
        const int nb = 1 + static_cast<int>(g() % (i % 7 == 0 ? mp::kStoreLimbs : 6));
        const int n = 1 + static_cast<int>(g() % (i % 5 == 0 ? mp::kMaxLimbs : 6));
        mp::Float a = randomFloat(g, na, -300, 300);
        mp::Float b = randomFloat(g, nb, -300, 300);
        switch (g() % 4) {
        case 0: // a gap within the window, or beyond it
            b.exp = a.exp - static_cast<int>(g() % static_cast<u64>(64 * (na + nb + n + 4)));
            break;
        case 1: // near cancellation: b equals a but for its last limb
            b = a;
            b.m[0] ^= g();
            b.sign ^= 1;
            break;
        default:
            break;
        }
        toMpfr(ma.v, a);
        toMpfr(mb.v, b);
        mpfr_set_prec(want.v, 64 * n);
        auto check = [&](const mp::Float& r, const char* what) {
            toMpfr(got.v, r);
            ASSERT_TRUE(mpfr_equal_p(got.v, want.v) != 0 ||
                        (mpfr_zero_p(got.v) != 0 && mpfr_zero_p(want.v) != 0))
                << what << " case " << i;
            ASSERT_TRUE(mp::isZero(r) || r.limbs <= n) << what;
        };
        mp::Float r;
        mp::add(r, a, b, n);
        mpfr_add(want.v, ma.v, mb.v, MPFR_RNDZ);
        check(r, "add");
        mp::sub(r, a, b, n);
        mpfr_sub(want.v, ma.v, mb.v, MPFR_RNDZ);
        check(r, "sub");
        mp::mul(r, a, b, n);
        mpfr_mul(want.v, ma.v, mb.v, MPFR_RNDZ);
        check(r, "mul");
        const bool exact = mp::div(r, a, b, n);
        const int t = mpfr_div(want.v, ma.v, mb.v, MPFR_RNDZ);
        check(r, "div");
        ASSERT_EQ(exact, t == 0);
        mp::Float aa = a;
        aa.sign = 0;
        toMpfr(ma.v, aa);
        mp::sqrt(r, aa, n);
        mpfr_sqrt(want.v, ma.v, MPFR_RNDZ);
        check(r, "sqrt");
        const std::uint32_t k = static_cast<std::uint32_t>(1 + g() % 0xfffffffeu);
        mp::divU32(r, aa, k, n);
        mpfr_div_ui(want.v, ma.v, k, MPFR_RNDZ);
        check(r, "divU32");
        const u64 k64 = g() | 1;
        mp::mulU64(r, aa, k64, n);
        mpfr_mul_2ui(want.v, ma.v, 0, MPFR_RNDN);
        {
            Mpfr kk(64);
            mpfr_set_ui(kk.v, static_cast<unsigned long>(k64 >> 32), MPFR_RNDN);
            mpfr_mul_2ui(kk.v, kk.v, 32, MPFR_RNDN);
            mpfr_add_ui(kk.v, kk.v, static_cast<unsigned long>(k64 & 0xffffffffu), MPFR_RNDN);
            mpfr_mul(want.v, ma.v, kk.v, MPFR_RNDZ);
        }
        check(r, "mulU64");
    }
}

// Rounding of random values across both formats' ranges (normal, subnormal, underflow,
// overflow) against MPFR's round-to-nearest with subnormals.
TEST(MathAccurateRounding, MatchesMpfrAcrossTheRanges) {
    std::mt19937_64 g(14);
    Mpfr x(64 * 4);
    for (int i = 0; i < 20000; ++i) {
        const bool single = (i & 1) != 0;
        mp::Float f = single ? randomFloat(g, 1 + static_cast<int>(g() % 3), -160, 131)
                             : randomFloat(g, 1 + static_cast<int>(g() % 3), -1090, 1027);
        toMpfr(x.v, f);
        if (single) {
            oracle::Range range(oracle::kFloat);
            Mpfr r(24);
            int t = mpfr_set(r.v, x.v, MPFR_RNDN);
            t = mpfr_check_range(r.v, t, MPFR_RNDN);
            mpfr_subnormalize(r.v, t, MPFR_RNDN);
            ASSERT_EQ(bitsOf(mp::toFloat(f)), bitsOf(mpfr_get_flt(r.v, MPFR_RNDN))) << i;
        } else {
            oracle::Range range(oracle::kDouble);
            Mpfr r(53);
            int t = mpfr_set(r.v, x.v, MPFR_RNDN);
            t = mpfr_check_range(r.v, t, MPFR_RNDN);
            mpfr_subnormalize(r.v, t, MPFR_RNDN);
            ASSERT_EQ(bitsOf(mp::toDouble(f)), bitsOf(mpfr_get_d(r.v, MPFR_RNDN))) << i;
        }
    }
}

// ---- Enclosures at every precision ----------------------------------------------------------

using Exact = std::function<void(mpfr_t, mpfr_prec_t)>;
using Enclose = std::function<void(int, mp::Enclosure&)>;

// The exact value lies in the open enclosure (on its side), at every precision of the loop, and
// the enclosure is no wider than 2^12 ulps of the working precision.
void expectEncloses(const Enclose& enclose, const Exact& exact, const char* what, double arg) {
    for (int limbs : mp::kDoubleLevels) {
        mp::Enclosure e;
        enclose(limbs, e);
        ASSERT_TRUE(e.valid) << what << " " << arg << " at " << limbs;
        // Well beyond the enclosure: the subnormal atan2 midpoints sit 2^-2148 below it.
        const mpfr_prec_t prec = 64 * limbs + 2500;
        Mpfr v(prec), a(prec), lo(prec), hi(prec), d(64);
        exact(v.v, prec);
        toMpfr(a.v, e.a);
        mpfr_set_ui_2exp(d.v, 1, e.errExp, MPFR_RNDN);
        mpfr_sub(lo.v, a.v, d.v, MPFR_RNDN);
        mpfr_add(hi.v, a.v, d.v, MPFR_RNDN);
        if (e.side < 0) {
            mpfr_set(hi.v, a.v, MPFR_RNDN);
        }
        if (e.side > 0) {
            mpfr_set(lo.v, a.v, MPFR_RNDN);
        }
        EXPECT_LT(mpfr_cmp(lo.v, v.v), 0) << what << " " << arg << " at " << limbs;
        EXPECT_GT(mpfr_cmp(hi.v, v.v), 0) << what << " " << arg << " at " << limbs;
        const long ulpExp = static_cast<long>(e.a.exp) - 64L * limbs;
        EXPECT_LE(e.errExp - ulpExp, 12) << what << " " << arg << " at " << limbs;
    }
}

TEST(MathAccurateEnclosure, EveryFunctionAtEveryPrecision) {
    const double reductionHard = std::ldexp(6381956970095103.0, 797);
    for (double x : {0.5, -1.0, 3.0, 100.0, 1e22, reductionHard, 0x1p1023, kMax, 1e-300, kTiny,
                     0x1.921fb54442d18p+0, 0x1.921fb54442d18p+1}) {
        expectEncloses([x](int l, mp::Enclosure& e) { cr::sinEnclose(x, l, e); },
                       [x](mpfr_t v, mpfr_prec_t p) {
                           Mpfr a(64);
                           mpfr_set_d(a.v, x, MPFR_RNDN);
                           (void)p;
                           mpfr_sin(v, a.v, MPFR_RNDN);
                       },
                       "sin", x);
        expectEncloses([x](int l, mp::Enclosure& e) { cr::cosEnclose(x, l, e); },
                       [x](mpfr_t v, mpfr_prec_t) {
                           Mpfr a(64);
                           mpfr_set_d(a.v, x, MPFR_RNDN);
                           mpfr_cos(v, a.v, MPFR_RNDN);
                       },
                       "cos", x);
    }
    const double pairs[][2] = {{1, 2},          {2, 1},         {1, -2},         {-2, -1},
                               {3e-300, 1e300}, {3 * kTiny, 2}, {1e300, 1e-300}, {-1e-10, -1},
                               {kTiny, -kMax},  {0x1p-600, 1.5}};
    for (const auto& yx : pairs) {
        const double y = yx[0];
        const double x = yx[1];
        expectEncloses([y, x](int l, mp::Enclosure& e) { cr::atan2Enclose(y, x, l, e); },
                       [y, x](mpfr_t v, mpfr_prec_t) {
                           Mpfr a(64), b(64);
                           mpfr_set_d(a.v, y, MPFR_RNDN);
                           mpfr_set_d(b.v, x, MPFR_RNDN);
                           mpfr_atan2(v, a.v, b.v, MPFR_RNDN);
                       },
                       "atan2", y);
    }
    auto unary = [](double x, void (*enc)(double, int, mp::Enclosure&),
                    int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), const char* what) {
        expectEncloses([x, enc](int l, mp::Enclosure& e) { enc(x, l, e); },
                       [x, f](mpfr_t v, mpfr_prec_t) {
                           Mpfr a(64);
                           mpfr_set_d(a.v, x, MPFR_RNDN);
                           f(v, a.v, MPFR_RNDN);
                       },
                       what, x);
    };
    for (double x : {0.5, -0.5, 1 - 0x1p-53, -1 + 0x1p-53, 1e-300, 0.0, 0.999, -0.999}) {
        unary(x, cr::acosEnclose, mpfr_acos, "acos");
    }
    for (double x : {1e-10, 0.2, -0.2, 0.3, -0.6, 100.0, 1e300, -1 + 0x1p-53, kTiny, 1.0}) {
        unary(x, cr::log1pEnclose, mpfr_log1p, "log1p");
    }
    for (double x : {1e-10, 0.5, -0.5, 0.6, -0.6, 20.0, -30.0, 709.78, kTiny, -39.9}) {
        unary(x, cr::expm1Enclose, mpfr_expm1, "expm1");
    }
}

// ---- Results against the oracle -------------------------------------------------------------

void expectSame(double got, double want, const char* what, double x, double y = 0) {
    EXPECT_EQ(bitsOf(got), bitsOf(want))
        << what << "(" << std::hexfloat << x << (y != 0 ? ", " : "") << y << "): " << got
        << " != " << want << std::defaultfloat;
}

void checkUnary(double x) {
    expectSame(cr::sinAccurate(x), oracle::sin(x), "sin", x);
    expectSame(cr::cosAccurate(x), oracle::cos(x), "cos", x);
    if (x > -1) {
        expectSame(cr::log1pAccurate(x), oracle::log1p(x), "log1p", x);
    }
    if (x >= -1 && x <= 1) {
        expectSame(cr::acosAccurate(x), oracle::acos(x), "acos", x);
    }
    expectSame(cr::expm1Accurate(x), oracle::expm1(x), "expm1", x);
}

// Boundaries: subnormals, the largest double, the overflow and underflow thresholds, the
// neighbours of multiples of pi/2 (among them the double closest to one, found by Kahan and
// McDonald: 6381956970095103 * 2^797), and the ends of acos's and log1p's domains.
TEST(MathAccurateFunctions, BoundaryValues) {
    std::vector<double> xs = {kTiny,
                              2 * kTiny,
                              3 * kTiny,
                              0x1.fffffffffffffp-1023,
                              0x1p-1022,
                              0x1.0000000000001p-1022,
                              0x1p-537,
                              0x1p-30,
                              0x1.6a09e667f3bcdp-27,
                              0x1p-26,
                              0.25,
                              0.5,
                              1 - 0x1p-53,
                              1.0,
                              1 + 0x1p-52,
                              0x1.62e42fefa39efp-1,
                              0x1.62e42fefa39efp+9,
                              709.782712893384,
                              0x1.62e42fefa39fp+9,
                              710.0,
                              -36.04365338911715,
                              -37.42994775023705,
                              -38.0,
                              -40.0,
                              0x1.fffffffffffffp+1023,
                              0x1p1023,
                              0x1p1000,
                              1e22,
                              1e300,
                              3.0e9,
                              0x1p52,
                              0x1p53,
                              std::ldexp(6381956970095103.0, 797),
                              -1 + 0x1p-53,
                              -1 + 0x1p-52,
                              -0.75,
                              -0.5,
                              -0.25000000000000006,
                              0.24999999999999997};
    // Neighbours of k pi/2 for a range of k.
    for (int k = 1; k <= 400; k += 7) {
        const double v = k * 1.5707963267948966;
        xs.push_back(v);
        xs.push_back(std::nextafter(v, kInf));
        xs.push_back(std::nextafter(v, -kInf));
    }
    for (double x : xs) {
        checkUnary(x);
        checkUnary(-x);
    }
    const double specialXs[] = {kTiny, 0x1p-1022, 1e-300, 1e-200, 1.0, 2.0, 0x1p500, 1e300, kMax};
    for (double y : specialXs) {
        for (double x : specialXs) {
            for (int s = 0; s < 4; ++s) {
                const double sy = (s & 1) != 0 ? -y : y;
                const double sx = (s & 2) != 0 ? -x : x;
                expectSame(cr::atan2Accurate(sy, sx), oracle::atan2(sy, sx), "atan2", sy, sx);
            }
        }
    }
    // Every quotient that lands on a subnormal midpoint, and its neighbours.
    for (int k = 1; k < 64; k += 2) {
        for (double y : {k * kTiny, std::ldexp(k, -600)}) {
            for (double x : {2.0, std::ldexp(1.0, 475), std::ldexp(1.5, 12)}) {
                expectSame(cr::atan2Accurate(y, x), oracle::atan2(y, x), "atan2", y, x);
                expectSame(cr::atan2Accurate(-y, x), oracle::atan2(-y, x), "atan2", -y, x);
            }
        }
    }
}

// Published hard-to-round arguments: the inputs whose results come closest to a rounding
// boundary. sin, cos, expm1: V. Lefevre's worst cases for correct rounding in double precision
// (testlibm data, update of 2020-11-27; 40 to 59 identical bits after the rounding bit), as
// listed by the CORE-MATH project's worst-case files sin.wc, cos.wc, expm1.wc; acos and atan2:
// the same project's acos.wc and atan2.wc; log1p: its log1p.wc, and the logarithm's worst case
// of Lefevre and Muller's table (log(3767500756895095 / 2^43), 61 ones after bit 53:
// J.-M. Muller, "Some worst cases for the Table Maker's Dilemma", ENS Lyon), as log1p(x - 1).
TEST(MathAccurateFunctions, PublishedHardCases) {
    const double sinHard[] = {0x1.005023d32fee5p+1,  0x1.00874a5f9fc33p-13, 0x1.0102947e7003bp-3,
                              0x1.0192deafac33fp+0,  0x1.034c2318b3f2dp+0,  0x1.04394261cffa6p-1,
                              0x1.043e268ba402ap+1,  0x1.184a0aa58191ep-24, 0x1.30c7efbee12acp-24,
                              0x1.45dd7c26e54bap-24, 0x1.58868e3115188p-24, 0x1.695b9b149a439p-24,
                              0x1.1b9648c38c55ep-23, 0x1.5f07120fe56a5p-23, 0x1.6f623e27cdb79p-1,
                              0x1.3721d2f8b5805p-1,  0x1.55b92c74d29cbp+1,  0x1.6ebdedd37ba17p+1};
    for (double x : sinHard) {
        for (double v : {x, -x}) {
            expectSame(cr::sinAccurate(v), oracle::sin(v), "sin", v);
        }
    }
    const double cosHard[] = {
        0x1.0009effd4bedap-12, 0x1.00147eec5cfa5p+0,  0x1.00786b0bf421p-2,   0x1.0203b71ba100fp-1,
        0x1.062a2f8ff7e5p+0,   0x1.065be6e6ee03cp-1,  0x1.0f876ccdf6cd6p-25, 0x1.2c2fc595456a6p-25,
        0x1.465655f122ff7p-25, 0x1.5e8add236a58fp-25, 0x1.0bfbedfb16285p+0,  0x1.0c86069092edcp+0,
        0x1.35c1fe2237f1cp+0,  0x1.64af4ea49404p+0,   0x1.673b9fe297c3ep+0,  0x1.6b8a6273d7c21p+0};
    for (double x : cosHard) {
        for (double v : {x, -x}) {
            expectSame(cr::cosAccurate(v), oracle::cos(v), "cos", v);
        }
    }
    const double expm1Hard[] = {0x1.00091a4a0dae5p+2,  0x1.000bffb8030a7p-39, 0x1.002881d0cbecfp-12,
                                0x1.006652fb6febep-3,  0x1.0076d13ab9d18p+4,  0x1.00ada891b730cp+0,
                                0x1.011dd7222b8d2p+1,  0x1.015f22aac6d3dp+3,  0x1.01e5ceb2c761ep+5,
                                0x1.02e473c781d6ep+6,  0x1.03e7aea5af7fap-2,  0x1.07e0f66afed04p-48,
                                0x1.1e3779b97f4a8p-50, 0x1.08f61e2cdac9ap+6,  0x1.099aa4abe33dcp+0};
    for (double x : expm1Hard) {
        for (double v : {x, -x}) {
            expectSame(cr::expm1Accurate(v), oracle::expm1(v), "expm1", v);
        }
    }
    const double log1pHard[] = {0x1.94d915fa88734p-51, 0x1.010634736a28p+14,
                                -0x0.1bc6879ea14c5p-1022, 0x0.02efe618534fbp-1022,
                                3758704663872887.0 / 8796093022208.0};
    for (double x : log1pHard) {
        expectSame(cr::log1pAccurate(x), oracle::log1p(x), "log1p", x);
    }
    const double acosHard[] = {0x1.ffffffffffdcp-1,  0x1.dffff776c7505p-1, 0x1.fffffffffffffp-1,
                               0x1.022efc1ed056dp-1, 0x1.064abf8e63253p-1, 0x1.08e9c87f4b0a6p-3,
                               0x1.0ac3566d3857cp-6, 0x1.d652a9b8f530cp-7, 0x1.59d20f7f204a5p-5,
                               0x1.fffff9e918ef5p-1, 0x1.ffbbd82b5ad23p-2, 0x1.dbd7b9e27ed71p-6};
    for (double x : acosHard) {
        for (double v : {x, -x}) {
            expectSame(cr::acosAccurate(v), oracle::acos(v), "acos", v);
        }
    }
    // The worst cases, and the extremes of the ratio: every sign, and swapped.
    const auto atan2AllSigns = [](const double(&yx)[2]) {
        for (int s = 0; s < 4; ++s) {
            const double y = (s & 1) != 0 ? -yx[0] : yx[0];
            const double x = (s & 2) != 0 ? -yx[1] : yx[1];
            expectSame(cr::atan2Accurate(y, x), oracle::atan2(y, x), "atan2", y, x);
            expectSame(cr::atan2Accurate(x, y), oracle::atan2(x, y), "atan2", x, y);
        }
    };
    for (const auto& yx : orvtest::kAtan2WorstCases) {
        atan2AllSigns(yx);
    }
    const double atan2Extremes[][2] = {
        {0x1p0, 0x1p-1074}, {0x1p-1074, 0x1p0}, {0x1p1023, 0x1p0}, {0x1p0, 0x1p1023}};
    for (const auto& yx : atan2Extremes) {
        atan2AllSigns(yx);
    }
}

// A double with a uniformly random significand, a uniformly random exponent in [lo, hi] (so
// log-uniform magnitudes) and a random sign.
double logUniform(std::mt19937_64& g, int lo, int hi) {
    const int e = lo + static_cast<int>(g() % static_cast<u64>(hi - lo + 1));
    const double m = 1.0 + static_cast<double>(g() >> 11) * 0x1p-53;
    const double x = std::ldexp(m, e);
    return (g() & 1) != 0 ? -x : x;
}

TEST(MathAccurateFunctions, RandomArguments) {
    std::mt19937_64 g(15);
    for (int i = 0; i < 3000; ++i) {
        const double x = logUniform(g, -1074, 1023);
        expectSame(cr::sinAccurate(x), oracle::sin(x), "sin", x);
        expectSame(cr::cosAccurate(x), oracle::cos(x), "cos", x);
        const double s = logUniform(g, -60, 12); // where sin and cos are not trivial
        expectSame(cr::sinAccurate(s), oracle::sin(s), "sin", s);
        expectSame(cr::cosAccurate(s), oracle::cos(s), "cos", s);
        const double y = logUniform(g, -1074, 1023);
        const double x2 = logUniform(g, -1074, 1023);
        expectSame(cr::atan2Accurate(y, x2), oracle::atan2(y, x2), "atan2", y, x2);
        const double y3 = logUniform(g, -30, 30);
        const double x3 = logUniform(g, -30, 30);
        expectSame(cr::atan2Accurate(y3, x3), oracle::atan2(y3, x3), "atan2", y3, x3);
        const double c = logUniform(g, -60, -1);
        expectSame(cr::acosAccurate(c), oracle::acos(c), "acos", c);
        const double l = std::fabs(logUniform(g, -1074, 1023)) * ((g() & 1) != 0 ? 1 : -0.99);
        const double lx = l <= -1 ? -l : l;
        expectSame(cr::log1pAccurate(lx), oracle::log1p(lx), "log1p", lx);
        const double ln = -std::ldexp(1.0, -static_cast<int>(g() % 60)) *
                          (1 - static_cast<double>(g() >> 11) * 0x1p-54);
        expectSame(cr::log1pAccurate(ln), oracle::log1p(ln), "log1p", ln);
        const double e = logUniform(g, -1074, 9);
        expectSame(cr::expm1Accurate(e), oracle::expm1(e), "expm1", e);
    }
}

// Floats: the same evaluations rounded once to float (rounding the correctly rounded double
// again would round twice). A dense run of consecutive floats, random floats of every exponent,
// and the floats closest to multiples of pi/2.
TEST(MathAccurateFunctions, SinfCosf) {
    auto check = [](float x) {
        EXPECT_EQ(bitsOf(cr::sinfAccurate(x)), bitsOf(oracle::sinf(x))) << std::hexfloat << x;
        EXPECT_EQ(bitsOf(cr::cosfAccurate(x)), bitsOf(oracle::cosf(x))) << std::hexfloat << x;
    };
    std::uint32_t start = bitsOf(1.5f);
    for (std::uint32_t i = 0; i < 2000; ++i) {
        float x;
        const std::uint32_t b = start + i * 977;
        std::memcpy(&x, &b, sizeof x);
        check(x);
    }
    std::mt19937_64 g(16);
    for (int i = 0; i < 4000; ++i) {
        const std::uint32_t b = static_cast<std::uint32_t>(g()) & 0x7fffffffu;
        float x;
        std::memcpy(&x, &b, sizeof x);
        if (std::isfinite(x)) {
            check((g() & 1) != 0 ? -x : x);
        }
    }
    for (int k = 1; k < 2000; k += 3) {
        const float v = static_cast<float>(k * 1.5707963267948966);
        check(v);
        check(std::nextafter(v, 0.0f));
        check(std::nextafter(v, 1e30f));
    }
    for (float x : {0x1p-149f, 0x1p-126f, 0x1.fffffep+127f, 0x1p-12f, 0x1.921fb6p+0f,
                    0x1.921fb6p+1f, 1e30f, 0x1.2d97c8p+1f}) {
        check(x);
        check(-x);
    }
}

// The digest's arguments, each result against the oracle.
TEST(MathAccurateFunctions, DigestArgumentsAgainstMpfr) {
    for (const DigestCase& c : kDigestCases) {
        std::vector<double> args;
        digestOf(c, &args);
        for (std::size_t i = 0; i < args.size(); i += 2) {
            const double x = args[i];
            const double y = args[i + 1];
            const std::string n = c.name;
            const double want = n == "sin"     ? oracle::sin(x)
                                : n == "cos"   ? oracle::cos(x)
                                : n == "atan2" ? oracle::atan2(y, x)
                                : n == "acos"  ? oracle::acos(x)
                                : n == "log1p" ? oracle::log1p(x <= -1 ? -x : x)
                                : n == "expm1" ? oracle::expm1(x)
                                : n == "sinf"  ? oracle::sinf(static_cast<float>(x))
                                               : oracle::cosf(static_cast<float>(x));
            expectSame(c.f(x, y), want, c.name, x, y);
        }
    }
}

#else

TEST(MathAccurateArithmetic, OperationsAreTruncatedExactResults) {
    GTEST_SKIP() << "MPFR not found: the oracle checks of the accurate paths are switched off";
}
TEST(MathAccurateFunctions, AgainstMpfr) {
    GTEST_SKIP() << "MPFR not found: the oracle checks of the accurate paths are switched off";
}

#endif

} // namespace
