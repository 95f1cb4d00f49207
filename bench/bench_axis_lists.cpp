// List conversion towards ART against its cost floor and against a loop of single-point calls, on
// 1,048,576 random points around a skew axis. The floor is the bare loop that does what no
// conversion can skip per point: one square root and one atan2 (and the same reads and writes).
//
//   ./build/release/bench/orv_bench --benchmark_filter=AxisList
//
// The counter ns_per_point is the time of one point; AxisList_Ratios_* give the ratios to the floor
// measured with the passes interleaved, AxisList_XYZRatios_* those of the lists back to points and
// AxisList_RotateRatios_* those of the list rotations (rotateByAngle).

#include "BenchSupport.h"
#include "orv/GeometryTools.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using D3 = orv::TripletBase<double>;
using F3 = orv::TripletBase<float>;

constexpr std::size_t kPoints = 1u << 20;

const std::vector<D3>& doublePoints() {
    static const std::vector<D3> points = [] {
        std::mt19937_64 gen(12345);
        std::uniform_real_distribution<double> c(-100.0, 100.0);
        std::vector<D3> p(kPoints);
        for (D3& x : p) {
            x = D3(c(gen), c(gen), c(gen));
        }
        return p;
    }();
    return points;
}

const std::vector<F3>& floatPoints() {
    static const std::vector<F3> points = [] {
        std::vector<F3> p;
        p.reserve(kPoints);
        for (const D3& x : doublePoints()) {
            p.push_back(F3(x));
        }
        return p;
    }();
    return points;
}

const orv::RotationAxis& axis() {
    static const orv::RotationAxis a(D3(1.0, -2.0, 3.0), D3(0.3, -0.2, 1.0), 30.0,
                                     D3(1.0, 0.0, 0.0));
    return a;
}

void perPoint(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * int64_t(kPoints));
    state.counters["ns_per_point"] =
        benchmark::Counter(double(kPoints) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

// One pass of each loop over the points.
void floorPass(const std::vector<D3>& in, std::vector<orv::DART>& out) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        const D3 p = in[i];
        out[i] = orv::DART{p.z, std::sqrt(p.x * p.x + p.y * p.y), std::atan2(p.y, p.x)};
    }
}
// The single-precision floor: sqrtf, and atan2 in double as the float conversion evaluates it.
void floorPass(const std::vector<F3>& in, std::vector<orv::ART>& out) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        const F3 p = in[i];
        const double t = std::atan2(double(p.y), double(p.x));
        out[i] = orv::ART{p.z, std::sqrt(p.x * p.x + p.y * p.y), float(t)};
    }
}
template <class P, class R> void listPass(const std::vector<P>& in, std::vector<R>& out) {
    axis().convertART(in, out);
}
template <class P, class R> void singlePointPass(const std::vector<P>& in, std::vector<R>& out) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        out[i] = axis().convertART(in[i]);
    }
}

template <class P, class R, void (*Pass)(const std::vector<P>&, std::vector<R>&)>
void timed(benchmark::State& state, const std::vector<P>& in) {
    std::vector<R> out(in.size());
    for (auto _ : state) {
        Pass(in, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state);
}

void AxisList_Floor_Double(benchmark::State& state) {
    timed<D3, orv::DART, floorPass>(state, doublePoints());
}
void AxisList_List_Double(benchmark::State& state) {
    timed<D3, orv::DART, listPass>(state, doublePoints());
}
void AxisList_SinglePointLoop_Double(benchmark::State& state) {
    timed<D3, orv::DART, singlePointPass>(state, doublePoints());
}
void AxisList_Floor_Float(benchmark::State& state) {
    timed<F3, orv::ART, floorPass>(state, floatPoints());
}
void AxisList_List_Float(benchmark::State& state) {
    timed<F3, orv::ART, listPass>(state, floatPoints());
}
void AxisList_SinglePointLoop_Float(benchmark::State& state) {
    timed<F3, orv::ART, singlePointPass>(state, floatPoints());
}

// The ratios to the floor with every pass interleaved: each iteration runs the floor, the list and
// the single-point loop of one precision one after the other, so that a change of the machine's
// speed between benchmarks (a shared virtual machine) does not enter the ratios. The counters are
// the medians over the iterations of each pass's time per point and of its ratio to the floor of
// the same iteration.
template <class P, class R> void ratios(benchmark::State& state, const std::vector<P>& in) {
    std::vector<R> out(in.size());
    benchsupport::InterleavedRatios ratios;
    for (auto _ : state) {
        const double fl =
            benchsupport::nsPerPoint([&] { floorPass(in, out); }, in.size(), out.data());
        const double li =
            benchsupport::nsPerPoint([&] { listPass<P, R>(in, out); }, in.size(), out.data());
        const double si = benchsupport::nsPerPoint([&] { singlePointPass<P, R>(in, out); },
                                                   in.size(), out.data());
        ratios.add(fl, li, si);
    }
    ratios.report(state);
}

void AxisList_Ratios_Double(benchmark::State& state) {
    ratios<D3, orv::DART>(state, doublePoints());
}
void AxisList_Ratios_Float(benchmark::State& state) {
    ratios<F3, orv::ART>(state, floatPoints());
}

// The lists back to points and the rotations against the same floor, interleaved the same way.
// convertXYZ: the list form on the records of the points (as the list towards ART gives them)
// against a loop of single-point calls. rotateByAngle: the list form (on a fresh copy of the
// points for every pass, the copy outside the timing) against a loop of what one point's
// rotation does (convertART, theta + angle, convertXYZ).
template <class P, class R> const std::vector<R>& records(const std::vector<P>& in) {
    static const std::vector<R> out = [&in] {
        std::vector<R> r;
        axis().convertART(in, r);
        return r;
    }();
    return out;
}

template <class P, class R> void xyzRatios(benchmark::State& state, const std::vector<P>& in) {
    const std::vector<R>& recs = records<P, R>(in);
    std::vector<R> floorOut(in.size());
    std::vector<P> out(in.size());
    benchsupport::InterleavedRatios ratios;
    for (auto _ : state) {
        const double fl =
            benchsupport::nsPerPoint([&] { floorPass(in, floorOut); }, in.size(), floorOut.data());
        const double li =
            benchsupport::nsPerPoint([&] { axis().convertXYZ(recs, out); }, in.size(), out.data());
        const double si = benchsupport::nsPerPoint(
            [&] {
                for (std::size_t i = 0; i < recs.size(); ++i) {
                    out[i] = axis().convertXYZ(recs[i]);
                }
            },
            in.size(), out.data());
        ratios.add(fl, li, si);
    }
    ratios.report(state);
}

constexpr double kRotation = 7.5; // degrees

template <class P, class R> void rotateRatios(benchmark::State& state, const std::vector<P>& in) {
    std::vector<R> floorOut(in.size());
    std::vector<P> work(in.size());
    benchsupport::InterleavedRatios ratios;
    for (auto _ : state) {
        const double fl =
            benchsupport::nsPerPoint([&] { floorPass(in, floorOut); }, in.size(), floorOut.data());
        work = in;
        const double li = benchsupport::nsPerPoint([&] { axis().rotateByAngle(work, kRotation); },
                                                   in.size(), work.data());
        const double si = benchsupport::nsPerPoint(
            [&] {
                for (std::size_t i = 0; i < in.size(); ++i) {
                    R rec = axis().convertART(in[i]);
                    rec.t = static_cast<decltype(rec.t)>(static_cast<double>(rec.t) + kRotation);
                    work[i] = axis().convertXYZ(rec);
                }
            },
            in.size(), work.data());
        ratios.add(fl, li, si);
    }
    ratios.report(state);
}

void AxisList_XYZRatios_Double(benchmark::State& state) {
    xyzRatios<D3, orv::DART>(state, doublePoints());
}
void AxisList_XYZRatios_Float(benchmark::State& state) {
    xyzRatios<F3, orv::ART>(state, floatPoints());
}
void AxisList_RotateRatios_Double(benchmark::State& state) {
    rotateRatios<D3, orv::DART>(state, doublePoints());
}
void AxisList_RotateRatios_Float(benchmark::State& state) {
    rotateRatios<F3, orv::ART>(state, floatPoints());
}

} // namespace

BENCHMARK(AxisList_Floor_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_List_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_SinglePointLoop_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_Floor_Float)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_List_Float)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_SinglePointLoop_Float)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_Ratios_Double)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(AxisList_Ratios_Float)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(AxisList_XYZRatios_Double)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(AxisList_XYZRatios_Float)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(AxisList_RotateRatios_Double)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(AxisList_RotateRatios_Float)->Unit(benchmark::kMillisecond)->MinTime(2.0);
