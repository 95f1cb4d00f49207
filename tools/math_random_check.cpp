// Random arguments against MPFR for every correctly rounded function of the library, over the
// library's own ranges and over the whole range (log-uniform magnitudes, both signs), with a fixed
// seed. For each function and range it reports the results different from MPFR's correctly
// rounded one (must be 0), those different from the platform's (std::atan2, ...), and the share
// of arguments that the fast path leaves to the accurate path.
//
//   math_random_check [arguments per function and range, default 1000000]
//
// Two threads share the (function, range) pairs. Exit status 1 where any result differs from MPFR.
#include "MpfrOracle.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/detail/FastPaths.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

namespace cr = orv::crmath;
namespace fp = orv::crmath::detail;
namespace mo = orv_test::mpfr_oracle;
constexpr double kPi = 3.141592653589793;

bool same(double a, double b) {
    return (a != a && b != b) || std::memcmp(&a, &b, sizeof a) == 0;
}
bool same(float a, float b) {
    return (a != a && b != b) || std::memcmp(&a, &b, sizeof a) == 0;
}

// A double of random significand with exponent uniform in [emin, emax] (ldexp rounds below the
// normal range), random sign when `sign`.
double logUniform(std::mt19937_64& rng, int emin, int emax, bool sign) {
    const std::uint64_t b = rng();
    double m;
    const std::uint64_t bits = (b & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL;
    std::memcpy(&m, &bits, sizeof m);
    const int e = emin + static_cast<int>(rng() % static_cast<std::uint64_t>(emax - emin + 1));
    const double v = std::ldexp(m, e);
    return sign && (b >> 63) ? -v : v;
}

struct Task {
    const char* function;
    const char* range;
    // Draws one argument from rng and checks it: counts results different from MPFR's and from
    // the platform's, and arguments left to the accurate path.
    void (*check)(std::mt19937_64& rng, long& wrong, long& libmDiffers, long& fallback);
};

void checkAtan2(double y, double x, long& w, long& l, long& f) {
    double r;
    const bool fast = fp::atan2Fast(y, x, r);
    const double want = mo::atan2(y, x);
    w += !same(cr::atan2(y, x), want);
    l += !same(std::atan2(y, x), want);
    f += !fast;
}
void checkUnary(bool (*fast)(double, double&), double (*ours)(double), double (*libm)(double),
                double (*oracle)(double), double x, long& w, long& l, long& f) {
    double r;
    const bool decided = fast(x, r);
    const double want = oracle(x);
    w += !same(ours(x), want);
    l += !same(libm(x), want);
    f += !decided;
}
void checkFloat(bool (*fast)(float, float&), float (*ours)(float), float (*libm)(float),
                float (*oracle)(float), float x, long& w, long& l, long& f) {
    float r;
    const bool decided = fast(x, r);
    const float want = oracle(x);
    w += !same(ours(x), want);
    l += !same(libm(x), want);
    f += !decided;
}

double libAcos(double x) {
    return std::acos(x);
}
double libSin(double x) {
    return std::sin(x);
}
double libCos(double x) {
    return std::cos(x);
}
float libSinf(float x) {
    return std::sin(x);
}
float libCosf(float x) {
    return std::cos(x);
}
double libLog1p(double x) {
    return std::log1p(x);
}
double libExpm1(double x) {
    return std::expm1(x);
}

double uniform(std::mt19937_64& rng, double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(rng);
}
double degrees(std::mt19937_64& rng) { // two turns either way, in radians as the library makes them
    return uniform(rng, -720.0, 720.0) * kPi / 180.0;
}
float floatDegrees(std::mt19937_64& rng) {
    return static_cast<float>(uniform(rng, -720.0, 720.0)) * 3.14159265f / 180.0f;
}

const Task kTasks[] = {
    {"atan2", "unit vectors",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         const double t = uniform(g, -kPi, kPi);
         checkAtan2(std::sin(t), std::cos(t), w, l, f);
     }},
    {"atan2", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         const double y = logUniform(g, -1074, 1023, true);
         checkAtan2(y, logUniform(g, -1074, 1023, true), w, l, f);
     }},
    {"acos", "[-1, 1]",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::acosFast, cr::acos, libAcos, mo::acos, uniform(g, -1.0, 1.0), w, l, f);
     }},
    {"acos", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::acosFast, cr::acos, libAcos, mo::acos, logUniform(g, -1074, 0, true), w, l,
                    f);
     }},
    {"sin", "degrees*pi/180",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::sinFast, cr::sin, libSin, mo::sin, degrees(g), w, l, f);
     }},
    {"sin", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::sinFast, cr::sin, libSin, mo::sin, logUniform(g, -1074, 1023, true), w, l,
                    f);
     }},
    {"cos", "degrees*pi/180",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::cosFast, cr::cos, libCos, mo::cos, degrees(g), w, l, f);
     }},
    {"cos", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::cosFast, cr::cos, libCos, mo::cos, logUniform(g, -1074, 1023, true), w, l,
                    f);
     }},
    {"sinf", "float angles",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkFloat(fp::sinfFast, cr::sinf, libSinf, mo::sinf, floatDegrees(g), w, l, f);
     }},
    {"sinf", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         const float x = static_cast<float>(logUniform(g, -149, 127, true));
         checkFloat(fp::sinfFast, cr::sinf, libSinf, mo::sinf, x, w, l, f);
     }},
    {"cosf", "float angles",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkFloat(fp::cosfFast, cr::cosf, libCosf, mo::cosf, floatDegrees(g), w, l, f);
     }},
    {"cosf", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         const float x = static_cast<float>(logUniform(g, -149, 127, true));
         checkFloat(fp::cosfFast, cr::cosf, libCosf, mo::cosf, x, w, l, f);
     }},
    {"log1p", "|x| < 1",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::log1pFast, cr::log1p, libLog1p, mo::log1p, uniform(g, -1.0, 1.0), w, l, f);
     }},
    {"log1p", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         // Positive magnitudes over the whole range, negative ones in (-1, 0).
         const double x =
             g() & 1 ? logUniform(g, -1074, 1023, false) : -logUniform(g, -1074, -1, false);
         checkUnary(fp::log1pFast, cr::log1p, libLog1p, mo::log1p, x, w, l, f);
     }},
    {"expm1", "|x| < 1",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::expm1Fast, cr::expm1, libExpm1, mo::expm1, uniform(g, -1.0, 1.0), w, l, f);
     }},
    {"expm1", "whole range",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::expm1Fast, cr::expm1, libExpm1, mo::expm1, logUniform(g, -1074, 1023, true),
                    w, l, f);
     }},
    {"expm1", "[-40, 710]",
     [](std::mt19937_64& g, long& w, long& l, long& f) {
         checkUnary(fp::expm1Fast, cr::expm1, libExpm1, mo::expm1, uniform(g, -40.0, 710.0), w, l,
                    f);
     }},
};

struct Outcome {
    long wrong = 0, libm = 0, fallback = 0;
    double seconds = 0;
};

} // namespace

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
    constexpr std::size_t tasks = sizeof kTasks / sizeof kTasks[0];
    std::vector<Outcome> outcomes(tasks);
    std::atomic<std::size_t> next(0);
    const auto worker = [&] {
        for (std::size_t t = next++; t < tasks; t = next++) {
            std::mt19937_64 rng(1000003u * (t + 1));
            Outcome& o = outcomes[t];
            const auto t0 = std::chrono::steady_clock::now();
            for (long i = 0; i < n; ++i) {
                kTasks[t].check(rng, o.wrong, o.libm, o.fallback);
            }
            o.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        }
    };
    const auto t0 = std::chrono::steady_clock::now();
    std::thread second(worker);
    worker();
    second.join();
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%ld random arguments per function and range (fixed seed)\n\n", n);
    std::printf("%-7s %-16s %12s %14s %14s %9s\n", "", "range", "wrong (MPFR)", "differs (libm)",
                "accurate path", "seconds");
    long wrong = 0;
    for (std::size_t t = 0; t < tasks; ++t) {
        const Outcome& o = outcomes[t];
        std::printf("%-7s %-16s %12ld %14ld %14.2e %9.1f\n", kTasks[t].function, kTasks[t].range,
                    o.wrong, o.libm, double(o.fallback) / double(n), o.seconds);
        wrong += o.wrong;
    }
    std::printf("\n%s: %ld wrong results, %.0f s on two threads\n", wrong ? "FAILED" : "passed",
                wrong, total);
    return wrong ? 1 : 0;
}
