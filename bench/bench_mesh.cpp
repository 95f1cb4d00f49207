// A mesh of NASA Rotor 37's passage converted between XYZ and the passage coordinates: 1,000,000
// points (100 x 100 x 100 in normalised meridional coordinate, span and theta) filling the passage
// over one blade pitch of 10 degrees, float points as a mesher holds them. Against the floor of the
// same points: a bare loop of one sqrt and one atan2 per point.
//
//   ./build/release/bench/orv_bench --benchmark_filter='Mesh|AxisList'
//
// The counter ns_per_point is the time of one point; Mesh_Ratios gives the ratios to the floor
// measured with the passes interleaved.

#include "BenchSupport.h"
#include "Rotor37.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using F3 = orv::TripletBase<float>;
using D3 = orv::TripletBase<double>;

const orv::TurboTransform& passage() {
    static const orv::TurboTransform p = rotor37::passage(ORV_ROTOR37_DIR);
    return p;
}

const orv::ThetaTurboTransform& transform() {
    static const orv::ThetaTurboTransform t(-180.0, rotor37::axis());
    return t;
}

const std::vector<F3>& mesh() {
    static const std::vector<F3> points = [] {
        constexpr double kPi = 3.141592653589793;
        std::vector<D3> nmts;
        for (int i = 0; i < 100; ++i) {
            for (int j = 0; j < 100; ++j) {
                for (int k = 0; k < 100; ++k) {
                    nmts.emplace_back(i / 99.0,
                                      (k / 99.0 - 0.5) * rotor37::kPitchDegrees * kPi / 180.0,
                                      j / 99.0);
                }
            }
        }
        std::vector<F3> xyz;
        transform().convertNMTStoXYZ(nmts, xyz, passage());
        return xyz;
    }();
    return points;
}

// The same points with theta in the outer loop, so that no point shares its (axial, radial) with
// its neighbours in the list: the list forms then invert the passage for every point.
const std::vector<F3>& meshAcross() {
    static const std::vector<F3> points = [] {
        const std::vector<F3>& byTheta = mesh();
        std::vector<F3> across;
        across.reserve(byTheta.size());
        for (std::size_t k = 0; k < 100; ++k) {
            for (std::size_t ij = 0; ij < 10000; ++ij) {
                across.push_back(byTheta[ij * 100 + k]);
            }
        }
        return across;
    }();
    return points;
}

template <class Out> const std::vector<Out>& converted(orv::TurboTransform::space sp) {
    static std::vector<Out> out;
    if (out.empty()) {
        transform().convertXYZtoSpace(sp, mesh(), out, passage());
    }
    return out;
}

void perPoint(benchmark::State& state, std::size_t n) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * int64_t(n));
    state.counters["ns_per_point"] =
        benchmark::Counter(double(n) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

// One pass of each loop over the points.
void floorPass(const std::vector<F3>& in, std::vector<D3>& out) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        const F3 p = in[i];
        out[i] = D3(p.z, std::sqrt(p.x * p.x + p.y * p.y), std::atan2(double(p.y), double(p.x)));
    }
}
void singlePointPass(const std::vector<F3>& in, std::vector<D3>& out) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        out[i] = transform().convertXYZtoNMTS(in[i], passage());
    }
}

template <void (*Pass)(const std::vector<F3>&, std::vector<D3>&)>
void timed(benchmark::State& state) {
    const std::vector<F3>& in = mesh();
    std::vector<D3> out(in.size());
    for (auto _ : state) {
        Pass(in, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state, in.size());
}

void Mesh_Floor(benchmark::State& state) {
    timed<floorPass>(state);
}

void Mesh_SinglePointXYZtoNMTS(benchmark::State& state) {
    timed<singlePointPass>(state);
}

// The ratios to the floor with the passes interleaved: each iteration runs the floor, the list
// towards NMTS and the loop of single-point convertXYZtoNMTS one after the other, so that a change
// of the machine's speed between benchmarks does not enter the ratios. The counters are medians
// over the iterations.
void Mesh_Ratios(benchmark::State& state) {
    const std::vector<F3>& in = mesh();
    std::vector<D3> out(in.size());
    benchsupport::InterleavedRatios ratios;
    for (auto _ : state) {
        const double fl =
            benchsupport::nsPerPoint([&] { floorPass(in, out); }, in.size(), out.data());
        const double li = benchsupport::nsPerPoint(
            [&] {
                transform().convertXYZtoSpace(orv::TurboTransform::spaceNMTS, in, out, passage());
            },
            in.size(), out.data());
        const double si =
            benchsupport::nsPerPoint([&] { singlePointPass(in, out); }, in.size(), out.data());
        ratios.add(fl, li, si);
    }
    ratios.report(state);
}

// The list towards the space given as the benchmark's argument.
void listToSpace(benchmark::State& state, const std::vector<F3>& in) {
    const auto sp = static_cast<orv::TurboTransform::space>(state.range(0));
    std::vector<D3> out;
    for (auto _ : state) {
        transform().convertXYZtoSpace(sp, in, out, passage());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state, in.size());
}

void Mesh_ListXYZtoSpace(benchmark::State& state) {
    listToSpace(state, mesh());
}

void Mesh_ListXYZtoSpaceAcross(benchmark::State& state) {
    listToSpace(state, meshAcross());
}

// The passage model alone: the mesh's (axial, radial, theta) points, as the list form hands them
// to the passage, converted one at a time.
void Mesh_PassageForward(benchmark::State& state) {
    const auto sp = static_cast<orv::TurboTransform::space>(state.range(0));
    static const std::vector<F3> art = [] {
        const orv::RotationAxis axis = transform().getRotationAxis();
        std::vector<F3> points;
        for (const F3& p : mesh()) {
            const orv::ART a = axis.convertART(p);
            points.emplace_back(a.a, a.r, a.t);
        }
        return points;
    }();
    std::vector<F3> out(art.size(), F3(0.0f, 0.0f, 0.0f));
    for (auto _ : state) {
        for (std::size_t i = 0; i < art.size(); ++i) {
            passage().convertARTtoSpaceTNs(sp, art[i], out[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state, art.size());
}

void Mesh_ListSpaceToXYZ(benchmark::State& state) {
    const auto sp = static_cast<orv::TurboTransform::space>(state.range(0));
    const std::vector<D3>& in = converted<D3>(sp);
    std::vector<F3> out;
    for (auto _ : state) {
        transform().convertSpaceToXYZ(sp, in, out, passage());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perPoint(state, in.size());
}

} // namespace

BENCHMARK(Mesh_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(Mesh_SinglePointXYZtoNMTS)->Unit(benchmark::kMillisecond);
BENCHMARK(Mesh_Ratios)->Unit(benchmark::kMillisecond)->MinTime(2.0);
// Spaces: 0 MTS, 3 NMTS, 4 m'.
BENCHMARK(Mesh_ListXYZtoSpace)->Arg(3)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(Mesh_ListXYZtoSpaceAcross)->Arg(3)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(Mesh_PassageForward)->Arg(3)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(Mesh_ListSpaceToXYZ)->Arg(3)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);
