// The library's correctly rounded functions (orv/math/CorrectlyRounded.h) against the platform's
// (std::atan2, std::sin, ...), on the library's own argument ranges and over log-uniform ones:
//
//   ./build/release/bench/orv_bench --benchmark_filter=Math_
//
// Each benchmark runs, in every iteration, four passes over the same 4096 arguments: the
// platform's function and the library's, each as throughput (independent calls: ns per call of a
// loop that stores every result) and as latency (each argument made to depend on the previous
// result by adding (r - r) = 0, so that calls cannot overlap). The counters are the medians of the
// times per call and of the library/platform ratios taken within one iteration (so a machine
// shared with other work moves both sides alike).
//
// MathBlock_* time the array forms (orv/math/VectorMath.h) on each path against loops of the
// platform's functions (sin and cos for sincos, sinf and cosf for sincosf).
//
// Math_PointLoop is the guard rail of the single-point conversions: a loop over random points
// that takes one square root and one atan2 per point, with the platform's atan2 (the floor) and
// with the library's; its ratio is what the library's atan2 adds to such a loop.

#include "BenchSupport.h"
#include "orv/math/CorrectlyRounded.h"
#include "orv/math/VectorMath.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace {

namespace cr = orv::crmath;
constexpr std::size_t kArgs = 4096;
constexpr double kPi = 3.141592653589793;

// A double of random significand, exponent uniform in [emin, emax], random sign when `sign`.
double logUniform(std::mt19937_64& rng, int emin, int emax, bool sign) {
    const double m = std::uniform_real_distribution<double>(1.0, 2.0)(rng);
    const int e = emin + static_cast<int>(rng() % static_cast<unsigned>(emax - emin + 1));
    const double v = std::ldexp(m, e);
    return sign && (rng() & 1) ? -v : v;
}

struct Args {
    std::vector<double> a, b; // b: atan2's x
};

enum class Range { Unit, Degrees, LogUniform, Small, Wide };

Args makeArgs(Range range, bool pairs) {
    std::mt19937_64 rng(2024);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    Args args;
    for (std::size_t i = 0; i < kArgs; ++i) {
        double a = 0, b = 0;
        switch (range) {
        case Range::Unit: // atan2: unit-vector components; acos, log1p, expm1: [-1, 1]
            if (pairs) {
                const double t = unit(rng) * kPi;
                a = std::sin(t);
                b = std::cos(t);
            } else {
                a = unit(rng);
            }
            break;
        case Range::Degrees: // angles of two turns either way, degrees * pi / 180
            a = unit(rng) * 720.0 * kPi / 180.0;
            break;
        case Range::LogUniform:
            a = logUniform(rng, -30, 10, true);
            b = logUniform(rng, -30, 10, true);
            break;
        case Range::Small: // log1p, expm1: |x| in [2^-30, 1)
            a = logUniform(rng, -30, -1, true);
            break;
        case Range::Wide: // expm1: [-40, 700]
            a = std::uniform_real_distribution<double>(-40.0, 700.0)(rng);
            break;
        }
        args.a.push_back(a);
        args.b.push_back(b);
    }
    return args;
}

// Throughput and latency passes of f over the arguments, in ns per call.
template <class F> double throughputPass(F f, const Args& args, std::vector<double>& out) {
    return benchsupport::nsPerPoint(
        [&] {
            for (std::size_t i = 0; i < kArgs; ++i) {
                out[i] = f(args.a[i], args.b[i]);
            }
        },
        kArgs, out.data());
}
template <class F> double latencyPass(F f, const Args& args, std::vector<double>& out) {
    return benchsupport::nsPerPoint(
        [&] {
            double r = 0;
            for (std::size_t i = 0; i < kArgs; ++i) {
                r = f(args.a[i] + (r - r), args.b[i]);
            }
            out[0] = r;
        },
        kArgs, out.data());
}

template <class Ours, class Platform>
void compare(benchmark::State& state, Ours ours, Platform platform, Range range, bool pairs) {
    const Args args = makeArgs(range, pairs);
    std::vector<double> out(kArgs);
    std::vector<double> libThr, ourThr, libLat, ourLat, thrRatio, latRatio;
    for (auto _ : state) {
        const double lt = throughputPass(platform, args, out);
        const double ot = throughputPass(ours, args, out);
        const double ll = latencyPass(platform, args, out);
        const double ol = latencyPass(ours, args, out);
        libThr.push_back(lt);
        ourThr.push_back(ot);
        libLat.push_back(ll);
        ourLat.push_back(ol);
        thrRatio.push_back(ot / lt);
        latRatio.push_back(ol / ll);
    }
    state.counters["orv_thr_ns"] = benchsupport::median(ourThr);
    state.counters["libm_thr_ns"] = benchsupport::median(libThr);
    state.counters["thr_ratio"] = benchsupport::median(thrRatio);
    state.counters["orv_lat_ns"] = benchsupport::median(ourLat);
    state.counters["libm_lat_ns"] = benchsupport::median(libLat);
    state.counters["lat_ratio"] = benchsupport::median(latRatio);
}

// Each function as f(a, b) on doubles (b is used by atan2 only; the float functions take and give
// floats, and sincos adds its two results).
struct Case {
    const char* name;
    double (*ours)(double, double);
    double (*platform)(double, double);
    Range range;
    bool pairs;
};

double ourAtan2(double a, double b) {
    return cr::atan2(a, b);
}
double libAtan2(double a, double b) {
    return std::atan2(a, b);
}
double ourAcos(double a, double) {
    return cr::acos(a);
}
double libAcos(double a, double) {
    return std::acos(a);
}
double ourSin(double a, double) {
    return cr::sin(a);
}
double libSin(double a, double) {
    return std::sin(a);
}
double ourCos(double a, double) {
    return cr::cos(a);
}
double libCos(double a, double) {
    return std::cos(a);
}
double ourSincos(double a, double) {
    double s, c;
    cr::sincos(a, s, c);
    return s + c;
}
double libSincos(double a, double) {
    return std::sin(a) + std::cos(a);
}
double ourSinf(double a, double) {
    return cr::sinf(static_cast<float>(a));
}
double libSinf(double a, double) {
    return std::sin(static_cast<float>(a));
}
double ourCosf(double a, double) {
    return cr::cosf(static_cast<float>(a));
}
double libCosf(double a, double) {
    return std::cos(static_cast<float>(a));
}
double ourLog1p(double a, double) {
    return cr::log1p(a);
}
double libLog1p(double a, double) {
    return std::log1p(a);
}
double ourExpm1(double a, double) {
    return cr::expm1(a);
}
double libExpm1(double a, double) {
    return std::expm1(a);
}

const Case kCases[] = {
    {"atan2/unit_vector", ourAtan2, libAtan2, Range::Unit, true},
    {"atan2/log_uniform", ourAtan2, libAtan2, Range::LogUniform, true},
    {"acos/unit", ourAcos, libAcos, Range::Unit, false},
    {"sin/degrees", ourSin, libSin, Range::Degrees, false},
    {"sin/log_uniform", ourSin, libSin, Range::LogUniform, false},
    {"cos/degrees", ourCos, libCos, Range::Degrees, false},
    {"cos/log_uniform", ourCos, libCos, Range::LogUniform, false},
    {"sincos/degrees", ourSincos, libSincos, Range::Degrees, false},
    {"sinf/degrees", ourSinf, libSinf, Range::Degrees, false},
    {"sinf/log_uniform", ourSinf, libSinf, Range::LogUniform, false},
    {"cosf/degrees", ourCosf, libCosf, Range::Degrees, false},
    {"log1p/unit", ourLog1p, libLog1p, Range::Unit, false},
    {"log1p/small", ourLog1p, libLog1p, Range::Small, false},
    {"expm1/unit", ourExpm1, libExpm1, Range::Unit, false},
    {"expm1/small", ourExpm1, libExpm1, Range::Small, false},
    {"expm1/wide", ourExpm1, libExpm1, Range::Wide, false},
};

// The guard rail: r = sqrt(x^2 + y^2) and t = atan2(y, x) for each point, platform against library.
void pointLoop(benchmark::State& state) {
    constexpr std::size_t n = 1u << 14;
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> c(-100.0, 100.0);
    std::vector<double> xs(n), ys(n), r(n), t(n);
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = c(rng);
        ys[i] = c(rng);
    }
    std::vector<double> floorNs, ourNs, ratio;
    for (auto _ : state) {
        const double f = benchsupport::nsPerPoint(
            [&] {
                for (std::size_t i = 0; i < n; ++i) {
                    r[i] = std::sqrt(xs[i] * xs[i] + ys[i] * ys[i]);
                    t[i] = std::atan2(ys[i], xs[i]);
                }
            },
            n, t.data());
        const double o = benchsupport::nsPerPoint(
            [&] {
                for (std::size_t i = 0; i < n; ++i) {
                    r[i] = std::sqrt(xs[i] * xs[i] + ys[i] * ys[i]);
                    t[i] = cr::atan2(ys[i], xs[i]);
                }
            },
            n, t.data());
        floorNs.push_back(f);
        ourNs.push_back(o);
        ratio.push_back(o / f);
    }
    state.counters["floor_ns"] = benchsupport::median(floorNs);
    state.counters["orv_ns"] = benchsupport::median(ourNs);
    state.counters["ratio"] = benchsupport::median(ratio);
}

// The array forms (orv/math/VectorMath.h) against loops of the platform's scalar functions, on the
// same 4096 arguments: in every iteration the platform's loop and each path the build and the
// processor have (scalar, SSE2, AVX2) in turn. Counters: the medians of ns per element and of
// each path's ratio to the platform's loop of the same iteration.
enum class Block { Atan2, Sincos, Sincosf };

void blockPass(Block f, const orv::crmath::detail::VectorKernels& k, const Args& args,
               std::vector<double>& out, std::vector<double>& out2, std::vector<float>& fin,
               std::vector<float>& fs, std::vector<float>& fc) {
    switch (f) {
    case Block::Atan2:
        k.atan2(args.a.data(), args.b.data(), out.data(), kArgs);
        break;
    case Block::Sincos:
        k.sincos(args.a.data(), out.data(), out2.data(), kArgs);
        break;
    case Block::Sincosf:
        k.sincosf(fin.data(), fs.data(), fc.data(), kArgs);
        break;
    }
}

void platformPass(Block f, const Args& args, std::vector<double>& out, std::vector<double>& out2,
                  std::vector<float>& fin, std::vector<float>& fs, std::vector<float>& fc) {
    for (std::size_t i = 0; i < kArgs; ++i) {
        switch (f) {
        case Block::Atan2:
            out[i] = std::atan2(args.a[i], args.b[i]);
            break;
        case Block::Sincos:
            out[i] = std::sin(args.a[i]);
            out2[i] = std::cos(args.a[i]);
            break;
        case Block::Sincosf:
            fs[i] = std::sin(fin[i]);
            fc[i] = std::cos(fin[i]);
            break;
        }
    }
}

void blockCompare(benchmark::State& state, Block f, Range range) {
    namespace vd = orv::crmath::detail;
    const Args args = makeArgs(range, f == Block::Atan2);
    std::vector<double> out(kArgs), out2(kArgs);
    std::vector<float> fin(kArgs), fs(kArgs), fc(kArgs);
    for (std::size_t i = 0; i < kArgs; ++i) {
        fin[i] = static_cast<float>(args.a[i]);
    }
    const struct {
        vd::VectorPath path;
        const char* name;
    } paths[] = {{vd::VectorPath::Scalar, "scalar"},
                 {vd::VectorPath::Sse2, "sse2"},
                 {vd::VectorPath::Avx2, "avx2"}};
    std::vector<double> platform;
    std::vector<std::vector<double>> ns(3), ratio(3);
    for (auto _ : state) {
        const double p = benchsupport::nsPerPoint(
            [&] { platformPass(f, args, out, out2, fin, fs, fc); }, kArgs, out.data());
        platform.push_back(p);
        for (int j = 0; j < 3; ++j) {
            if (const vd::VectorKernels* k = vd::vectorKernels(paths[j].path)) {
                const double t = benchsupport::nsPerPoint(
                    [&] { blockPass(f, *k, args, out, out2, fin, fs, fc); }, kArgs, out.data());
                ns[j].push_back(t);
                ratio[j].push_back(t / p);
            }
        }
    }
    state.counters["libm_ns"] = benchsupport::median(platform);
    for (int j = 0; j < 3; ++j) {
        if (!ns[j].empty()) {
            state.counters[std::string(paths[j].name) + "_ns"] = benchsupport::median(ns[j]);
            state.counters[std::string(paths[j].name) + "_ratio"] = benchsupport::median(ratio[j]);
        }
    }
}

const bool kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark(
            (std::string("Math_") + c.name).c_str(),
            [c](benchmark::State& state) { compare(state, c.ours, c.platform, c.range, c.pairs); });
    }
    benchmark::RegisterBenchmark("Math_PointLoop", pointLoop);
    benchmark::RegisterBenchmark("MathBlock_atan2/unit_vector", [](benchmark::State& state) {
        blockCompare(state, Block::Atan2, Range::Unit);
    });
    benchmark::RegisterBenchmark("MathBlock_sincos/degrees", [](benchmark::State& state) {
        blockCompare(state, Block::Sincos, Range::Degrees);
    });
    benchmark::RegisterBenchmark("MathBlock_sincosf/degrees", [](benchmark::State& state) {
        blockCompare(state, Block::Sincosf, Range::Degrees);
    });
    return true;
}();

} // namespace
