#ifndef ORV_PYTHON_RESERVEDLIST_H
#define ORV_PYTHON_RESERVEDLIST_H

#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orvpy {

// An empty list with room for n records. A large list is advised onto huge pages before it is
// first written, as numpy does for its arrays: filling fresh memory then costs its memory traffic
// rather than a page fault per 4 KiB. The module's lists and orv_list_timer's fresh lists are made
// here.
template <class Rec> std::vector<Rec> reserved(std::ptrdiff_t n) {
    std::vector<Rec> list;
    list.reserve(static_cast<std::size_t>(n));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(Rec);
    const std::uintptr_t page = 4096, begin = reinterpret_cast<std::uintptr_t>(list.data());
    const std::uintptr_t first = (begin + page - 1) / page * page,
                         last = (begin + bytes) / page * page;
    if (bytes >= (std::size_t(4) << 20) && last > first) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    return list;
}

} // namespace orvpy

#endif
