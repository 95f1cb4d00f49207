// The array forms of the correctly rounded functions (orv/math/VectorMath.h) on every path that the
// build and the processor have, each called directly: every element has the bits of the single
// call (its oracle, checked against MPFR in test_math_*.cpp), on large random arrays, special
// values, the arguments whose rounding the fast path leaves to the accurate path, at every lane
// position and with every tail length.
#include "MathHardCases.h"
#include "TestSupport.h"

#include "orv/foundation/Config.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/VectorMath.h"
#include "orv/math/detail/FastPaths.h"

#include <random>
#include <string>

using orvtest::sameBits;

namespace {

namespace cr = orv::crmath;
namespace dd = orv::crmath::detail;
using Path = dd::VectorPath;

struct NamedPath {
    Path path;
    const char* name;
};
const NamedPath kPaths[] = {{Path::Scalar, "scalar"}, {Path::Sse2, "SSE2"}, {Path::Avx2, "AVX2"}};

// A double of random significand and sign, exponent uniform in [emin, emax].
double logUniform(std::mt19937_64& rng, int emin, int emax) {
    const double m = std::uniform_real_distribution<double>(1.0, 2.0)(rng);
    const int e = emin + static_cast<int>(rng() % static_cast<unsigned>(emax - emin + 1));
    const double v = std::ldexp(m, e);
    return (rng() & 1) != 0 ? -v : v;
}

// The special values every function meets: zeros, subnormals, the edges of the fast ranges and
// their neighbours, huge values, infinities, NaN; with both signs.
std::vector<double> specials() {
    std::vector<double> v;
    for (const double x : {0.0, 0x1p-1074, 0x1p-1022, 0x1p-542, 0x1p-480, 0x1p-62, 0x1p-30, 0x1p-27,
                           0x1p-26, 0x1p-12, 1.0, 1.5707963267948966, 0x1p12, 0x1p20, 0x1p481,
                           1e300, orvtest::M, orvtest::I, orvtest::N}) {
        for (const double s : {x, std::nextafter(x, 0.0), std::nextafter(x, orvtest::I)}) {
            v.push_back(s);
            v.push_back(-s);
        }
    }
    return v;
}

// The results of one block call at every offset into the arrays (each argument then lands in
// every lane) and with lengths that leave every tail, against the single calls.
template <class F, class Check> void overOffsetsAndTails(std::size_t n, F run, Check check) {
    for (std::size_t offset = 0; offset < 4 && offset < n; ++offset) {
        for (std::size_t cut = 0; cut < 8 && offset + cut <= n; ++cut) {
            run(offset, n - offset - cut);
            check(offset, n - offset - cut);
        }
    }
}

// Arguments of atan2: unit vectors (the lists' own), both coordinates log-uniform over the whole
// range (the unusual paths), every pair of special values, pairs around the smallest ratio of
// the common range, the pairs known to take the accurate path, the published worst cases, and
// pairs found to take the accurate path among random unit vectors.
void atan2Arguments(std::vector<double>& ys, std::vector<double>& xs) {
    std::mt19937_64 rng(28);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const auto add = [&](double y, double x) {
        ys.push_back(y);
        xs.push_back(x);
    };
    const double fallbacks[][2] = {{0x1.482b105d0423ep-1, 0x1.890033baa8ec2p-1},
                                   {-0x1.c790228091fb7p-5, 0x1.ff352b6800ee5p-1},
                                   {0x1.52e604adbbaefp-2, 0x1.e3259ccfa2f89p-1},
                                   {-0x1.31c7c9905beb8p-1, 0x1.9aa92d93ecc5fp-1}};
    for (const auto& f : fallbacks) { // each with ordinary neighbours in every lane order
        for (int k = 0; k < 4; ++k) {
            add(f[0], f[1]);
            add(unit(rng), unit(rng));
        }
    }
    // The published worst cases of atan2, with every sign and swapped.
    for (const auto& h : orvtest::kAtan2WorstCases) {
        for (const double sy : {1.0, -1.0}) {
            for (const double sx : {1.0, -1.0}) {
                add(sy * h[0], sx * h[1]);
                add(sx * h[1], sy * h[0]);
            }
        }
    }
    int found = 0;
    for (int i = 0; found < 24; ++i) {
        const double t = unit(rng) * orvtest::kPi;
        const double y = std::sin(t), x = std::cos(t);
        double r;
        if (!dd::atan2Fast(y, x, r)) {
            add(y, x);
            add(-y, x);
            add(y, -x);
            ++found;
        }
    }
    const std::vector<double> s = specials();
    for (const double y : s) {
        for (const double x : s) {
            add(y, x);
        }
    }
    for (int e = 58; e < 68; ++e) {
        add(std::ldexp(1.5, -e), 1.25);
        add(-1.25, std::ldexp(-1.75, -e));
    }
    for (int i = 0; i < 60000; ++i) {
        const double t = unit(rng) * orvtest::kPi;
        add(std::sin(t), std::cos(t));
        add(logUniform(rng, -1074, 1023), logUniform(rng, -1074, 1023));
        add(logUniform(rng, -40, 40), logUniform(rng, -40, 40));
    }
}

// Arguments of sincos: angles of two turns either way in degrees times pi/180, log-uniform over
// the whole range, the special values, multiples of pi/4 (reduced arguments near 0: the wide
// reduction), the arguments known to take the accurate path and those found to among the angles.
std::vector<double> sincosArguments() {
    std::mt19937_64 rng(29);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> v = {-0x1.37869bc330cc3p+1, -0x1.46b520f69cd3ap+2, 0x1.8e3a77c308214p+0,
                             -0x1.bad92805343eep+2, -0x1.83fe5af74fb5ep+1, -0x1.3363b7ada4bf8p-3};
    for (int k = -64; k <= 64; ++k) {
        v.push_back(k * 0.7853981633974483);
        v.push_back(std::nextafter(k * 0.7853981633974483, 0.0));
    }
    for (int found = 0; found < 24;) {
        const double x = unit(rng) * 720.0 * orvtest::kPi / 180.0;
        double r;
        if (!dd::sinFast(x, r) || !dd::cosFast(x, r)) {
            v.push_back(x);
            v.push_back(unit(rng));
            ++found;
        }
    }
    const std::vector<double> s = specials();
    v.insert(v.end(), s.begin(), s.end());
    for (int i = 0; i < 80000; ++i) { // few beyond 2^20 (the slow exact reduction)
        v.push_back(unit(rng) * 720.0 * orvtest::kPi / 180.0);
        v.push_back(i % 40 == 0 ? logUniform(rng, -1074, 1023) : logUniform(rng, -1074, 19));
        v.push_back(logUniform(rng, -30, 14));
    }
    return v;
}

// Arguments of sincosf: the same kinds in float, with the floats known to take the accurate path
// and to need the large reduction.
std::vector<float> sincosfArguments() {
    std::mt19937_64 rng(30);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<float> v = {0x1.0d5fdcp+20f, -0x1.f0b85ap+20f, 0x1.30f266p+22f};
    // Every positive float of the common range [2^-12, 2^20) whose sine or cosine the fast path
    // leaves to the accurate path (found by scanning them all), each with both signs: there a
    // rounding test that decided too much would round to the wrong float.
    const float hard[] = {
        0x1p-12f,        0x1.d12edp-12f,  0x1.1e377ap-11f, 0x1.250bfep-11f, 0x1.a8872ap-11f,
        0x1.0a403p-10f,  0x1.869c24p-9f,  0x1.20ffccp-7f,  0x1.f9f7fep-6f,  0x1.0ca1d4p-5f,
        0x1.b141d4p-5f,  0x1.589f8p-4f,   0x1.9eab2ep-4f,  0x1.c4dfap-4f,   0x1.bf4e1cp-3f,
        0x1.41cddep-2f,  0x1.e64002p-2f,  0x1.e7061ep-2f,  0x1.fd825cp-2f,  0x1.0c4d4ap+0f,
        0x1.41f49cp+0f,  0x1.544ce4p+0f,  0x1.b6781cp+0f,  0x1.21497ep+1f,  0x1.3e42p+1f,
        0x1.4b3ef8p+1f,  0x1.ce1026p+2f,  0x1.2b7fcp+5f,   0x1.6f1b7p+5f,   0x1.8f219cp+5f,
        0x1.2e2296p+6f,  0x1.a88a5p+6f,   0x1.e35bc6p+7f,  0x1.09e25p+8f,   0x1.2ee95ep+8f,
        0x1.ea8098p+9f,  0x1.515766p+12f, 0x1.c716dcp+12f, 0x1.0b638ep+13f, 0x1.33333p+13f,
        0x1.ce6bf4p+13f, 0x1.d85f1ap+14f, 0x1.f0b444p+14f, 0x1.9a4cb8p+15f, 0x1.41c47p+16f,
        0x1.5d274ap+16f, 0x1.6de11ep+16f, 0x1.af8cfcp+16f, 0x1.8e8c56p+17f, 0x1.cf9736p+19f,
        0x1.fa4b8ep+19f};
    for (const float x : hard) {
        v.push_back(x);
        v.push_back(-x);
    }
    for (int k = -64; k <= 64; ++k) {
        v.push_back(static_cast<float>(k * 0.7853981633974483));
    }
    for (const double x : specials()) {
        v.push_back(static_cast<float>(x));
    }
    for (int i = 0; i < 80000; ++i) {
        v.push_back(static_cast<float>(unit(rng) * 720.0 * orvtest::kPi / 180.0));
        v.push_back(static_cast<float>(logUniform(rng, -150, 127)));
        v.push_back(static_cast<float>(logUniform(rng, -14, 22)));
    }
    return v;
}

} // namespace

// The path the block functions take: the widest that the build and the processor have.
TEST(VectorMath, PathChoice) {
    const bool sse2 = ORV_HAVE_SSE2 != 0;
    const bool avx2 = sse2 && ORV_HAVE_AVX2_INTRINSICS != 0 && orv::detail::processorHasAvx2Fma();
    EXPECT_NE(dd::vectorKernels(Path::Scalar), nullptr);
    EXPECT_EQ(dd::vectorKernels(Path::Sse2) != nullptr, sse2);
    EXPECT_EQ(dd::vectorKernels(Path::Avx2) != nullptr, avx2);
    EXPECT_EQ(dd::chosenVectorPath(), avx2 ? Path::Avx2 : sse2 ? Path::Sse2 : Path::Scalar);
}

TEST(VectorMath, Atan2EveryPathHasTheBitsOfTheSingleCall) {
    std::vector<double> ys, xs;
    atan2Arguments(ys, xs);
    const std::size_t n = ys.size();
    std::vector<double> want(n), got(n);
    for (std::size_t i = 0; i < n; ++i) {
        want[i] = cr::atan2(ys[i], xs[i]);
    }
    // The float conversions' arguments: floats widened.
    std::vector<double> yf(n), xf(n), wantF(n), gotF(n);
    for (std::size_t i = 0; i < n; ++i) {
        yf[i] = static_cast<float>(ys[i]);
        xf[i] = static_cast<float>(xs[i]);
        wantF[i] = cr::atan2(yf[i], xf[i]);
    }
    for (const NamedPath& p : kPaths) {
        const dd::VectorKernels* k = dd::vectorKernels(p.path);
        if (k == nullptr) {
            continue;
        }
        k->atan2(ys.data(), xs.data(), got.data(), n);
        k->atan2(yf.data(), xf.data(), gotF.data(), n);
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_TRUE(sameBits(got[i], want[i]) && sameBits(gotF[i], wantF[i]))
                << p.name << " atan2(" << std::hexfloat << ys[i] << ", " << xs[i] << ")";
        }
        // The first 300 arguments hold the fall-backs with their neighbours.
        std::vector<double> part(300);
        overOffsetsAndTails(
            300, [&](std::size_t o, std::size_t m) { k->atan2(&ys[o], &xs[o], part.data(), m); },
            [&](std::size_t o, std::size_t m) {
                for (std::size_t i = 0; i < m; ++i) {
                    ASSERT_TRUE(sameBits(part[i], want[o + i])) << p.name << " " << o << " " << m;
                }
            });
    }
    cr::atan2Block(ys.data(), xs.data(), got.data(), n);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), want.begin(), sameBits<double>));
    // The single call's fast path compiled with the fused multiply-add decides the same
    // arguments with the same bits as the baseline one.
    for (std::size_t i = 0; i < n; ++i) {
        double a = 0.0, b = 0.0;
        const bool da = dd::atan2Fast(ys[i], xs[i], a), db = dd::atan2FastFma(ys[i], xs[i], b);
        ASSERT_TRUE(da == db && (!da || sameBits(a, b))) << std::hexfloat << ys[i] << " " << xs[i];
    }
}

TEST(VectorMath, SincosEveryPathHasTheBitsOfTheSingleCall) {
    const std::vector<double> xs = sincosArguments();
    const std::size_t n = xs.size();
    std::vector<double> ws(n), wc(n), s(n), c(n);
    for (std::size_t i = 0; i < n; ++i) {
        cr::sincos(xs[i], ws[i], wc[i]);
    }
    for (const NamedPath& p : kPaths) {
        const dd::VectorKernels* k = dd::vectorKernels(p.path);
        if (k == nullptr) {
            continue;
        }
        k->sincos(xs.data(), s.data(), c.data(), n);
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_TRUE(sameBits(s[i], ws[i]) && sameBits(c[i], wc[i]))
                << p.name << " sincos(" << std::hexfloat << xs[i] << ")";
        }
        std::vector<double> ps(400), pc(400);
        overOffsetsAndTails(
            400, [&](std::size_t o, std::size_t m) { k->sincos(&xs[o], ps.data(), pc.data(), m); },
            [&](std::size_t o, std::size_t m) {
                for (std::size_t i = 0; i < m; ++i) {
                    ASSERT_TRUE(sameBits(ps[i], ws[o + i]) && sameBits(pc[i], wc[o + i]))
                        << p.name << " " << o << " " << m;
                }
            });
    }
    cr::sincosBlock(xs.data(), s.data(), c.data(), n);
    EXPECT_TRUE(std::equal(s.begin(), s.end(), ws.begin(), sameBits<double>) &&
                std::equal(c.begin(), c.end(), wc.begin(), sameBits<double>));
}

TEST(VectorMath, SincosfEveryPathHasTheBitsOfTheSingleCall) {
    const std::vector<float> xs = sincosfArguments();
    const std::size_t n = xs.size();
    std::vector<float> ws(n), wc(n), s(n), c(n);
    for (std::size_t i = 0; i < n; ++i) {
        cr::sincosf(xs[i], ws[i], wc[i]);
    }
    for (const NamedPath& p : kPaths) {
        const dd::VectorKernels* k = dd::vectorKernels(p.path);
        if (k == nullptr) {
            continue;
        }
        k->sincosf(xs.data(), s.data(), c.data(), n);
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_TRUE(sameBits(s[i], ws[i]) && sameBits(c[i], wc[i]))
                << p.name << " sincosf(" << std::hexfloat << xs[i] << ")";
        }
        std::vector<float> ps(300), pc(300);
        overOffsetsAndTails(
            300, [&](std::size_t o, std::size_t m) { k->sincosf(&xs[o], ps.data(), pc.data(), m); },
            [&](std::size_t o, std::size_t m) {
                for (std::size_t i = 0; i < m; ++i) {
                    ASSERT_TRUE(sameBits(ps[i], ws[o + i]) && sameBits(pc[i], wc[o + i]))
                        << p.name << " " << o << " " << m;
                }
            });
    }
    cr::sincosfBlock(xs.data(), s.data(), c.data(), n);
    EXPECT_TRUE(std::equal(s.begin(), s.end(), ws.begin(), sameBits<float>) &&
                std::equal(c.begin(), c.end(), wc.begin(), sameBits<float>));
}
