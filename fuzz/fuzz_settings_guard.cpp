// KernelSettingsGuard: random operations on nested guards and their copies, with arbitrary
// arguments, against a kernel that only holds its settings. Modelled is only what each guard
// recorded (the kernel's settings when it was made; the unit tests pin the rest): a destroyed
// guard and restoreInitialSettings set those again, so once all guards are gone the kernel holds
// its first settings; a refusal changes nothing.

#include "FuzzSupport.h"

#include <memory>
#include <utility>
#include <vector>

using namespace orvfuzz;
using K = orv::KernelInterfaceBase;
using G = orv::KernelSettingsGuard;

namespace {

struct Settings {
    K::projectionType type;
    int par;
    float tri;
    double tol;
    bool operator==(const Settings& o) const {
        return type == o.type && par == o.par && sameBits(tri, o.tri) && sameBits(tol, o.tol);
    }
};

struct Kernel : K {
    Settings now{};
    projectionType getProjectionType(int& p) override { return p = now.par, now.type; }
    void setProjectionType(projectionType type, int p) override { now.type = type, now.par = p; }
    float getTriangulationTolerance() override { return now.tri; }
    void setTriangulationTolerance(float t) override { now.tri = t; }
    double getTolerance() override { return now.tol; }
    void setTolerance(double t) override { now.tol = t; }
} kernel;

// Operation 7 restores; 8 sets projection type 0 or 1.
void (*const kOps[])(G&, double) = {
    [](G& g, double v) { g.setTolerance(v); },
    [](G& g, double v) { g.toleranceRefinement(v); },
    [](G& g, double v) { g.setTriangulationTolerance(float(v)); },
    [](G& g, double v) { g.setTriangulationToleranceByPitch(float(v)); },
    [](G& g, double v) { g.triangulationToleranceRefinement(float(v)); },
    [](G& g, double v) { g.pushTriangulationToleranceRefinement(float(v)); },
    [](G& g, double) { g.popTriangulationToleranceRefinement(); },
    [](G& g, double) { g.restoreInitialSettings(); },
    [](G& g, double v) { g.setProjectionType(K::projectionType(v > 0)); }};

using Entry = std::pair<std::unique_ptr<G>, Settings>; // a guard and the settings it recorded

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    [[maybe_unused]] static const bool registered = (kernel.registerInstance(&kernel), true);
    FuzzedDataProvider in(data, size);
    kernel.now = {K::projectionType(in.ConsumeIntegralInRange<int>(0, 2)),
                  in.ConsumeIntegral<int>(), float(drawDouble(in)), drawDouble(in)};
    const Settings first = kernel.now;
    std::vector<Entry> guards; // guards[i + 1] lives in a scope nested in that of guards[i]
    const auto destroyInnermost = [&] {
        const Settings recorded = guards.back().second;
        guards.pop_back();
        check(kernel.now == recorded, "a destroyed guard restores its recorded settings");
    };
    const auto pick = [&] {
        return &guards[in.ConsumeIntegralInRange<size_t>(0, guards.size() - 1)];
    };
    while (in.remaining_bytes() > 0 || guards.empty()) {
        const int what = in.ConsumeIntegralInRange<int>(0, 9);
        Entry* const g = guards.empty() ? nullptr : pick();
        if (!g || (what == 0 && guards.size() < 8)) { // a new guard, with a type at times
            guards.emplace_back(nullptr, kernel.now);
            guards.back().first.reset(in.ConsumeBool() ? new G(K::projectionAlongDirection)
                                                       : new G);
        } else if (what == 1 && guards.size() < 8) { // a copy restores what its source recorded
            guards.emplace_back(std::make_unique<G>(*g->first), g->second);
        } else if (what == 2 && g != &guards[0]) { // the outermost keeps the first settings
            const Entry* const from = pick();
            *g->first = *from->first;
            g->second = from->second;
        } else if (what == 3) {
            destroyInnermost();
        } else {
            const int op = in.ConsumeIntegralInRange<int>(0, 8);
            const double v = in.ConsumeBool() ? drawDouble(in) // or near the limit 1e-5
                                              : in.ConsumeFloatingPointInRange<double>(0, 2e-5);
            const Settings before = kernel.now;
            bool refused = false;
            try {
                kOps[op](*g->first, v);
            } catch (const orv::internal::error&) {
                refused = true;
            }
            check(!refused || kernel.now == before, "a refusal changes nothing");
            check(op != 7 || kernel.now == g->second, "restoreInitialSettings");
        }
    }
    while (!guards.empty()) {
        destroyInnermost();
    }
    check(kernel.now == first, "once every guard is gone the kernel holds its first settings");
    return 0;
}
