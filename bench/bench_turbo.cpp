// Cost of one XYZ -> NMTS conversion through the hub/shroud passage model of the platform
// TurboTransform: the axis conversion (atan2, square roots), the break-angle wrap and the passage
// inversion (station search and one quadratic per point); and the passage model alone, both ways.
#include "orv/GeometryTools.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using F3 = orv::TripletBase<float>;
using D3 = orv::TripletBase<double>;

// An axial passage: hub and shroud with break points at different arc lengths (seven stations).
orv::TurboTransform axialPassage() {
    return orv::TurboTransform({{0.0f, 0.30f}, {0.10f, 0.31f}, {0.25f, 0.33f}, {0.40f, 0.33f}},
                               {{0.0f, 0.50f}, {0.15f, 0.49f}, {0.30f, 0.48f}, {0.40f, 0.48f}});
}

std::vector<F3> pointCloud(std::size_t count) {
    std::mt19937 rng(42u);
    std::uniform_real_distribution<double> axial(0.0, 0.4), radial(0.32, 0.47), theta(-3.0, 3.0);
    std::vector<F3> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double r = radial(rng);
        const double t = theta(rng);
        points.emplace_back(static_cast<float>(-r * std::sin(t)),
                            static_cast<float>(r * std::cos(t)), static_cast<float>(axial(rng)));
    }
    return points;
}

void BM_convertXYZtoNMTS(benchmark::State& state) {
    const orv::TurboTransform passage = axialPassage();
    const orv::ThetaTurboTransform transform(
        -180.0, orv::RotationAxis(D3(0, 0, 0), D3(0, 0, 1), 36.0, D3(0, 1, 0)));
    const std::vector<F3> points = pointCloud(4096);
    for (auto _ : state) {
        for (const F3& p : points) {
            double m, t, s;
            transform.convertXYZtoNMTS(p, m, t, s, passage);
            benchmark::DoNotOptimize(m);
            benchmark::DoNotOptimize(t);
            benchmark::DoNotOptimize(s);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points.size()));
}
BENCHMARK(BM_convertXYZtoNMTS);

// (axial, radial, theta) points inside the passage, theta in degrees.
std::vector<F3> artCloud(std::size_t count) {
    std::mt19937 rng(43u);
    std::uniform_real_distribution<double> axial(0.0, 0.4), radial(0.32, 0.47),
        theta(-170.0, 170.0);
    std::vector<F3> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const float a = static_cast<float>(axial(rng));
        const float r = static_cast<float>(radial(rng));
        points.emplace_back(a, r, static_cast<float>(theta(rng)));
    }
    return points;
}

// The passage inversion alone, (axial, radial) -> (meridional, span), for comparison.
void BM_passageForward(benchmark::State& state) {
    const orv::TurboTransform passage = axialPassage();
    const std::vector<F3> points = artCloud(4096);
    for (auto _ : state) {
        for (const F3& p : points) {
            F3 tns;
            passage.convertARTtoSpaceTNs(orv::TurboTransform::spaceNMTS, p, tns);
            benchmark::DoNotOptimize(tns);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points.size()));
}
BENCHMARK(BM_passageForward);

// And back, (meridional, span) -> (axial, radial), from the same points' NMTS coordinates.
void BM_passageBackward(benchmark::State& state) {
    const orv::TurboTransform passage = axialPassage();
    std::vector<F3> points = artCloud(4096);
    for (F3& p : points) {
        passage.convertARTtoSpaceTNs(orv::TurboTransform::spaceNMTS, p, p);
    }
    for (auto _ : state) {
        for (const F3& p : points) {
            F3 art;
            passage.convertSpaceTNsToART(orv::TurboTransform::spaceNMTS, p, art);
            benchmark::DoNotOptimize(art);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points.size()));
}
BENCHMARK(BM_passageBackward);

} // namespace
