// Cost of setting a triangle (the stored measures are computed once there) and of following the
// in-centre towards an edge.
#include "orv/triangle/Triangle.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using D3 = orv::TripletBase<double>;

void BM_TriangleSet(benchmark::State& state) {
    orv::Triangle tri;
    D3 a(0.3, -1.2, 2.0), b(4.1, 0.7, -0.5), c(-2.2, 3.3, 1.1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        tri.setTriangle(a, b, c);
        benchmark::DoNotOptimize(tri.getInCenter());
    }
}
BENCHMARK(BM_TriangleSet);

void BM_TriangleFollowInCenter(benchmark::State& state) {
    const orv::Triangle tri(D3(0.3, -1.2, 2.0), D3(4.1, 0.7, -0.5), D3(-2.2, 3.3, 1.1));
    const int count = static_cast<int>(state.range(0));
    std::vector<D3> path;
    double ratio = 0.0;
    for (auto _ : state) {
        tri.followInCenterToSideA(count, path, ratio, true);
        benchmark::DoNotOptimize(path.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_TriangleFollowInCenter)->Arg(1)->Arg(10)->Arg(100);

} // namespace
