#ifndef ORV_BENCH_BENCHSUPPORT_H
#define ORV_BENCH_BENCHSUPPORT_H

// Helpers shared by the benchmarks.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

namespace benchsupport {

// The median of the values (0 for none), for counters taken over a benchmark's iterations.
inline double median(std::vector<double> v) {
    if (v.empty()) {
        return 0.0;
    }
    std::sort(v.begin(), v.end());
    const std::size_t h = v.size() / 2;
    return v.size() % 2 != 0 ? v[h] : 0.5 * (v[h - 1] + v[h]);
}

// Wall time of one pass over n points, in nanoseconds per point; out is what the pass wrote.
template <class Pass> double nsPerPoint(Pass&& pass, std::size_t n, const void* out) {
    const std::chrono::steady_clock::time_point t0 = std::chrono::steady_clock::now();
    pass();
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
    const std::chrono::duration<double, std::nano> t = std::chrono::steady_clock::now() - t0;
    return t.count() / double(n);
}

// The times per point of a floor, a list and a loop of single-point calls, one of each per
// iteration, reported as counters: the medians of the times and of the ratios to the floor of
// the same iteration.
class InterleavedRatios {
public:
    void add(double floorNs, double listNs, double singleNs) {
        m_floor.push_back(floorNs);
        m_list.push_back(listNs);
        m_single.push_back(singleNs);
        m_listRatio.push_back(listNs / floorNs);
        m_singleRatio.push_back(singleNs / floorNs);
    }
    void report(benchmark::State& state) const {
        state.counters["floor_ns"] = median(m_floor);
        state.counters["list_ns"] = median(m_list);
        state.counters["single_ns"] = median(m_single);
        state.counters["list_ratio"] = median(m_listRatio);
        state.counters["single_ratio"] = median(m_singleRatio);
    }

private:
    std::vector<double> m_floor, m_list, m_single, m_listRatio, m_singleRatio;
};

} // namespace benchsupport

#endif
