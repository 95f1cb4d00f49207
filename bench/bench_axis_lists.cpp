// List conversion towards ART against its cost floor and against a loop of single-point calls, on
// 1,048,576 random points around a skew axis. The floor is the bare loop that does what no
// conversion can skip per point: one square root and one atan2 (and the same reads and writes).
//
//   ./build/release/bench/orv_bench --benchmark_filter=AxisList
//
// The counter ns_per_point is the time of one point.

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

void AxisList_Floor_Double(benchmark::State& state) {
    const std::vector<D3>& in = doublePoints();
    std::vector<orv::DART> out(in.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < in.size(); ++i) {
            const D3 p = in[i];
            out[i] = orv::DART{p.z, std::sqrt(p.x * p.x + p.y * p.y), std::atan2(p.y, p.x)};
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state);
}

void AxisList_List_Double(benchmark::State& state) {
    const std::vector<D3>& in = doublePoints();
    std::vector<orv::DART> out(in.size());
    for (auto _ : state) {
        axis().convertART(in, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state);
}

void AxisList_SinglePointLoop_Double(benchmark::State& state) {
    const std::vector<D3>& in = doublePoints();
    std::vector<orv::DART> out(in.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < in.size(); ++i) {
            out[i] = axis().convertART(in[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state);
}

// The single-precision floor: sqrtf, and atan2 in double as the float conversion evaluates it.
void AxisList_Floor_Float(benchmark::State& state) {
    const std::vector<F3>& in = floatPoints();
    std::vector<orv::ART> out(in.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < in.size(); ++i) {
            const F3 p = in[i];
            const double t = std::atan2(double(p.y), double(p.x));
            out[i] = orv::ART{p.z, std::sqrt(p.x * p.x + p.y * p.y), float(t)};
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state);
}

void AxisList_List_Float(benchmark::State& state) {
    const std::vector<F3>& in = floatPoints();
    std::vector<orv::ART> out(in.size());
    for (auto _ : state) {
        axis().convertART(in, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state);
}

void AxisList_SinglePointLoop_Float(benchmark::State& state) {
    const std::vector<F3>& in = floatPoints();
    std::vector<orv::ART> out(in.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < in.size(); ++i) {
            out[i] = axis().convertART(in[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state);
}

} // namespace

BENCHMARK(AxisList_Floor_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_List_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_SinglePointLoop_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_Floor_Float)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_List_Float)->Unit(benchmark::kMillisecond);
BENCHMARK(AxisList_SinglePointLoop_Float)->Unit(benchmark::kMillisecond);
