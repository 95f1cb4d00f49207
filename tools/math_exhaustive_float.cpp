// Every float argument of the library's sinf, cosf and sincosf, against a reference of its own:
//
//   math_exhaustive_float [first last]   (bit patterns, default 0 and 0xffffffff)
//
// The reference shares no code or table with the library's functions. x = M 2^E (M < 2^24) is
// reduced modulo pi/2 exactly enough by Payne and Hanek's method: y = x 2/pi mod 4 from a window
// of 192 bits of 2/pi (computed with MPFR at start-up) times M in 32-bit limbs, with 128 bits
// after the binary point (|error| < 2^-127), converted to a double-double within 2^-105 relative;
// below 2^-5, r = x. sin r and cos r (|r| <= pi/4)
// come from their Taylor series to degree 29 in double-double arithmetic (coefficients 1/n! from
// MPFR): truncation below 2^-100, each of the 15 double-double steps within 2^-101 relative, so
// the reference v = hi + lo is within 2^-95 |v| + 2^-125 of the exact value. Where v's error
// bound leaves one float as the rounding, that float is the reference; MPFR decides the rest.
// Two threads share blocks of 2^24 arguments. Exit status 1 where any result differs.
#include "MpfrOracle.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/detail/DoubleDouble.h"

#include <mpfr.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

namespace cr = orv::crmath;
namespace dd = orv::crmath::detail;
namespace mo = orv_test::mpfr_oracle;
using dd::DoubleDouble;

// 2/pi from the binary point, 32 bits a word (word i: weights 2^-(32i+1) .. 2^-(32i+32)); pi/2 and
// 1/n! as double-doubles. Filled once before the threads start.
std::uint32_t twoOverPi[16];
DoubleDouble piHalf;
DoubleDouble inverseFactorial[32];

DoubleDouble toDoubleDouble(mpfr_t v) {
    mpfr_t rest;
    mpfr_init2(rest, 400);
    const double hi = mpfr_get_d(v, MPFR_RNDN);
    mpfr_sub_d(rest, v, hi, MPFR_RNDN);
    const double lo = mpfr_get_d(rest, MPFR_RNDN);
    mpfr_clear(rest);
    return {hi, lo};
}

void constants() {
    mpfr_t v, w;
    mpfr_init2(v, 1000);
    mpfr_init2(w, 1000);
    mpfr_const_pi(v, MPFR_RNDN);
    mpfr_div_2ui(w, v, 1, MPFR_RNDN);
    piHalf = toDoubleDouble(w);
    mpfr_ui_div(w, 2, v, MPFR_RNDN); // 2/pi < 1
    for (std::uint32_t& word : twoOverPi) {
        mpfr_mul_2ui(w, w, 32, MPFR_RNDN);
        word = static_cast<std::uint32_t>(mpfr_get_ui(w, MPFR_RNDZ));
        mpfr_sub_ui(w, w, word, MPFR_RNDN);
    }
    mpfr_set_ui(v, 1, MPFR_RNDN);
    for (int n = 0; n < 32; ++n) {
        if (n > 0) {
            mpfr_div_ui(v, v, static_cast<unsigned long>(n), MPFR_RNDN);
        }
        inverseFactorial[n] = toDoubleDouble(v);
    }
    mpfr_clear(v);
    mpfr_clear(w);
}

// Double-double steps (each within 2^-101 relative).
DoubleDouble add(DoubleDouble a, DoubleDouble b) {
    DoubleDouble s = dd::twoSum(a.hi, b.hi);
    const DoubleDouble t = dd::twoSum(a.lo, b.lo);
    s = dd::fastTwoSum(s.hi, s.lo + t.hi);
    return dd::fastTwoSum(s.hi, s.lo + t.lo);
}
DoubleDouble mul(DoubleDouble a, DoubleDouble b) {
    DoubleDouble p = dd::twoProductDekker(a.hi, b.hi);
    return dd::fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}
DoubleDouble negate(DoubleDouble a) {
    return {-a.hi, -a.lo};
}

// |x| = q pi/2 + r (q mod 4), for finite |x| >= 2^-5 given as M 2^E.
DoubleDouble reduce(std::uint32_t m, int e, int& q) {
    // The window: bits j0 .. j0 + 191 of 2/pi (weight 2^-j), j0 = max(1, e - 1).
    const int j0 = e - 1 > 1 ? e - 1 : 1;
    std::uint32_t g[6]; // g[0] most significant
    for (int i = 0; i < 6; ++i) {
        const int p = j0 - 1 + 32 * i;
        const int wi = p / 32, sh = p % 32;
        const std::uint64_t pair =
            (static_cast<std::uint64_t>(twoOverPi[wi]) << 32) | twoOverPi[wi + 1];
        g[i] = static_cast<std::uint32_t>(pair >> (32 - sh));
    }
    // P = m G in 32-bit limbs, P[0] least significant; y = P 2^-(j0 + 191 - e).
    std::uint32_t p[8] = {};
    std::uint64_t carry = 0;
    for (int i = 0; i < 6; ++i) {
        carry += static_cast<std::uint64_t>(m) * g[5 - i];
        p[i] = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
    p[6] = static_cast<std::uint32_t>(carry);
    const int s = j0 + 191 - e;
    const auto bit = [&p](int pos) { return (p[pos / 32] >> (pos % 32)) & 1U; };
    q = static_cast<int>(bit(s) | (bit(s + 1) << 1));
    // The 128 bits after the binary point, as a fraction in [0, 1), then in [-1/2, 1/2).
    std::uint64_t fhi = 0, flo = 0;
    for (int k = 1; k <= 128; ++k) {
        const std::uint64_t b = bit(s - k);
        if (k <= 64) {
            fhi |= b << (64 - k);
        } else {
            flo |= b << (128 - k);
        }
    }
    bool negative = false;
    if (fhi >> 63) { // f - 1: the 128-bit two's complement of (fhi, flo)
        q = (q + 1) & 3;
        negative = true;
        fhi = ~fhi;
        flo = ~flo + 1;
        fhi += flo == 0 ? 1 : 0;
    }
    // Normalised (leading bit at 2^127), the top 53 bits give hi and the next 53 lo: f = hi + lo
    // within 2^-105 |f| (a fraction is never 0: x is not a multiple of pi/2).
    int shift = 0;
    while (!(fhi >> 63) && shift < 128) {
        fhi = (fhi << 1) | (flo >> 63);
        flo <<= 1;
        ++shift;
    }
    const double hi = std::ldexp(static_cast<double>(fhi >> 11), -53 - shift);
    const double lo =
        std::ldexp(static_cast<double>(((fhi & 0x7ff) << 42) | (flo >> 22)), -106 - shift);
    DoubleDouble f = dd::fastTwoSum(hi, lo);
    if (negative) {
        f = negate(f);
    }
    return mul(f, piHalf);
}

// sin r and cos r for |r| <= pi/4 (Taylor to degree 29 and 28, Horner in r^2).
void taylor(DoubleDouble r, DoubleDouble& s, DoubleDouble& c) {
    const DoubleDouble z = mul(r, r);
    DoubleDouble ps = inverseFactorial[29], pc = inverseFactorial[28];
    for (int n = 27; n >= 1; n -= 2) {
        ps = add(mul(ps, negate(z)), inverseFactorial[n]);
        pc = add(mul(pc, negate(z)), inverseFactorial[n - 1]);
    }
    s = mul(ps, r);
    c = pc;
}

// The reference float for v = hi + lo (error bound above; no absolute term where r = x), or false
// where MPFR must decide.
bool decide(DoubleDouble v, bool reduced, float& out) {
    const double err =
        (std::fabs(v.lo) + 0x1p-95 * std::fabs(v.hi) + (reduced ? 0x1p-125 : 0.0)) * (1 + 0x1p-50) +
        0x1p-52 * std::fabs(v.hi);
    return dd::roundsToFloat(v.hi, err, out);
}

struct Counts {
    std::uint64_t wrongSin = 0, wrongCos = 0, wrongPair = 0, mpfr = 0;
};

void check(std::uint32_t bits, Counts& counts) {
    const float x = dd::floatFromBits(bits);
    const float s = cr::sinf(x), c = cr::cosf(x);
    float ps, pc;
    cr::sincosf(x, ps, pc);
    const auto same = [](float a, float b) {
        return (a != a && b != b) || dd::bitsOf(a) == dd::bitsOf(b);
    };
    counts.wrongPair += !(same(s, ps) && same(c, pc));
    float ws, wc;
    const std::uint32_t ax = bits & 0x7fffffffU;
    if (ax >= 0x7f800000U) { // infinities and NaN: NaN
        counts.wrongSin += !(s != s);
        counts.wrongCos += !(c != c);
        return;
    }
    DoubleDouble r, sr, cr_;
    int q = 0;
    const std::uint32_t m = ax < 0x800000U ? ax : (ax & 0x7fffffU) | 0x800000U;
    const int e = ax < 0x800000U ? -149 : static_cast<int>(ax >> 23) - 150;
    if (ax < 0x3d000000U) { // |x| < 2^-5
        r = {std::fabs(static_cast<double>(x)), 0.0};
    } else {
        r = reduce(m, e, q);
    }
    taylor(r, sr, cr_);
    // |x| = q pi/2 + r: sin |x| = sin r, cos r, -sin r, -cos r; cos |x| = cos r, -sin r, ...
    DoubleDouble sv = (q & 1) ? cr_ : sr, cv = (q & 1) ? sr : cr_;
    if (q & 2) {
        sv = negate(sv);
    }
    if ((q + 1) & 2) {
        cv = negate(cv);
    }
    if (bits >> 31) {
        sv = negate(sv);
    }
    const bool reduced = ax >= 0x3d000000U;
    if (!decide(sv, reduced, ws)) {
        ws = mo::sinf(x);
        ++counts.mpfr;
    }
    if (!decide(cv, reduced, wc)) {
        wc = mo::cosf(x);
        ++counts.mpfr;
    }
    if (!same(s, ws) && counts.wrongSin++ < 10) {
        std::printf("sinf(%a): %a, want %a\n", static_cast<double>(x), static_cast<double>(s),
                    static_cast<double>(ws));
    }
    if (!same(c, wc) && counts.wrongCos++ < 10) {
        std::printf("cosf(%a): %a, want %a\n", static_cast<double>(x), static_cast<double>(c),
                    static_cast<double>(wc));
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::uint64_t first = argc > 2 ? std::strtoull(argv[1], nullptr, 0) : 0;
    const std::uint64_t last = argc > 2 ? std::strtoull(argv[2], nullptr, 0) : 0xffffffffULL;
    constants();
    constexpr std::uint64_t block = 1ULL << 24;
    std::atomic<std::uint64_t> next(first);
    std::vector<Counts> counts(2);
    const auto t0 = std::chrono::steady_clock::now();
    const auto worker = [&](Counts& mine) {
        for (std::uint64_t b = next.fetch_add(block); b <= last; b = next.fetch_add(block)) {
            const std::uint64_t end = b + block - 1 < last ? b + block - 1 : last;
            for (std::uint64_t i = b; i <= end; ++i) {
                check(static_cast<std::uint32_t>(i), mine);
            }
        }
    };
    std::thread second(worker, std::ref(counts[1]));
    worker(counts[0]);
    second.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    Counts total;
    for (const Counts& c : counts) {
        total.wrongSin += c.wrongSin;
        total.wrongCos += c.wrongCos;
        total.wrongPair += c.wrongPair;
        total.mpfr += c.mpfr;
    }
    std::printf("floats 0x%08llx..0x%08llx: sinf wrong %llu, cosf wrong %llu, sincosf different "
                "from sinf/cosf %llu; %llu references from MPFR; %.0f s on two threads\n",
                static_cast<unsigned long long>(first), static_cast<unsigned long long>(last),
                static_cast<unsigned long long>(total.wrongSin),
                static_cast<unsigned long long>(total.wrongCos),
                static_cast<unsigned long long>(total.wrongPair),
                static_cast<unsigned long long>(total.mpfr), seconds);
    return total.wrongSin + total.wrongCos + total.wrongPair ? 1 : 0;
}
