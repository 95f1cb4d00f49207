#ifndef ORV_BENCH_BENCHSUPPORT_H
#define ORV_BENCH_BENCHSUPPORT_H

// Helpers shared by the benchmarks.

#include <algorithm>
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

} // namespace benchsupport

#endif
