// KernelSettingsGuard: random sequences of operations on nested guards and their copies, with
// arbitrary and refused arguments, against a kernel that only holds its settings. Modelled is only
// what can be observed, never the guard's arithmetic: each guard's recorded settings (the
// kernel's when it was made) and the triangulation tolerances that its pushes set. A destroyed
// guard leaves the kernel with its recorded settings, so once all are gone the kernel holds its
// first settings; only an argument below 1e-5 or a pop of the only entry is refused, and a refusal
// changes neither the kernel nor the guard (later pops and restores show the guard's state).

#include "FuzzSupport.h"

#include <memory>
#include <tuple>
#include <vector>

using namespace orvfuzz;
using K = orv::KernelInterfaceBase;
using G = orv::KernelSettingsGuard;

namespace {

struct Settings {
    K::projectionType type;
    int parameter;
    float triangulation;
    double tolerance;
    bool operator==(const Settings& o) const {
        return type == o.type && parameter == o.parameter &&
               sameBits(triangulation, o.triangulation) && sameBits(tolerance, o.tolerance);
    }
};

struct Kernel : K {
    Settings now{};
    projectionType getProjectionType(int& parameter) override {
        parameter = now.parameter;
        return now.type;
    }
    void setProjectionType(projectionType type, int parameter) override {
        now.type = type;
        now.parameter = parameter;
    }
    float getTriangulationTolerance() override { return now.triangulation; }
    void setTriangulationTolerance(float t) override { now.triangulation = t; }
    double getTolerance() override { return now.tolerance; }
    void setTolerance(double t) override { now.tolerance = t; }
};

Kernel& kernel() {
    static Kernel* k = new Kernel;
    [[maybe_unused]] static const bool registered = (k->registerInstance(k), true);
    return *k;
}

// Operations 1, 3, 4 and 5 take a refinement or pitch, 3 to 5 push, 6 pops.
void (*const kOps[])(G&, double) = {
    [](G& g, double v) { g.setTolerance(v); },
    [](G& g, double v) { g.toleranceRefinement(v); },
    [](G& g, double v) { g.setTriangulationTolerance(float(v)); },
    [](G& g, double v) { g.setTriangulationToleranceByPitch(float(v)); },
    [](G& g, double v) { g.triangulationToleranceRefinement(float(v)); },
    [](G& g, double v) { g.pushTriangulationToleranceRefinement(float(v)); },
    [](G& g, double) { g.popTriangulationToleranceRefinement(); },
    [](G& g, double) { g.restoreInitialSettings(); },
    [](G& g, double v) {
        g.setProjectionType(v > 0 ? K::projectionAlongNormal : K::projectionNearest);
    },
};

struct Entry {
    std::unique_ptr<G> guard;
    Settings recorded;
    std::vector<float> set; // the triangulation tolerance each entry of the guard's stack set
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Kernel& k = kernel();
    k.now = {K::projectionType(in.ConsumeIntegralInRange<int>(0, 2)), in.ConsumeIntegral<int>(),
             float(drawDouble(in)), drawDouble(in)};
    const Settings first = k.now;
    std::vector<Entry> guards; // guards[i + 1] lives in a scope nested in that of guards[i]
    const auto destroyInnermost = [&] {
        const Settings recorded = guards.back().recorded;
        guards.pop_back();
        check(k.now == recorded, "a destroyed guard restores its recorded settings");
    };
    while (in.remaining_bytes() > 0 || guards.empty()) {
        const int what = in.ConsumeIntegralInRange<int>(0, 9);
        Entry* const g =
            guards.empty() ? nullptr
                           : &guards[in.ConsumeIntegralInRange<std::size_t>(0, guards.size() - 1)];
        if (!g || (what == 0 && guards.size() < 8)) { // a new guard, with a type at times
            const Settings at = k.now;
            const bool typed = in.ConsumeBool();
            std::unique_ptr<G> made(typed ? new G(K::projectionAlongDirection) : new G);
            guards.push_back({std::move(made), at, {at.triangulation}});
            check(k.now.type == (typed ? K::projectionAlongDirection : at.type), "typed guard");
        } else if (what == 1 && guards.size() < 8) { // a copy restores what its source recorded
            guards.push_back({std::make_unique<G>(*g->guard), g->recorded, g->set});
        } else if (what == 2 && g != &guards[0]) { // the outermost keeps the first settings
            const Entry& from =
                guards[in.ConsumeIntegralInRange<std::size_t>(0, guards.size() - 1)];
            *g->guard = *from.guard;
            std::tie(g->recorded, g->set) = std::tie(from.recorded, from.set);
        } else if (what == 3) {
            destroyInnermost();
        } else {
            const int op = in.ConsumeIntegralInRange<int>(0, 8);
            const double v = in.ConsumeBool() ? drawDouble(in) // or near the limit 1e-5
                                              : std::ldexp(in.ConsumeProbability<double>(),
                                                           in.ConsumeIntegralInRange<int>(-20, 4));
            const bool below = !((op == 1 ? v : double(float(v))) >= 1e-5),
                       pushes = op >= 3 && op <= 5;
            const Settings before = k.now;
            bool refused = false;
            try {
                kOps[op](*g->guard, v);
            } catch (const orv::internal::error& e) {
                check(e.getClassLabel() == "KernelSettingsGuard", "refused by the guard");
                refused = true;
            }
            check(refused == (op == 6 ? g->set.size() == 1 : (op == 1 || pushes) && below),
                  "refused exactly below 1e-5 or popping the only entry");
            check(!refused || k.now == before, "a refusal changes nothing");
            if (!refused && pushes) {
                g->set.push_back(k.now.triangulation);
            } else if (!refused && op == 6) {
                g->set.pop_back();
                check(sameBits(k.now.triangulation, g->set.back()), "a pop sets the entry before");
            }
            check(op != 7 || k.now == g->recorded, "restoreInitialSettings");
        }
    }
    while (!guards.empty()) {
        destroyInnermost();
    }
    check(k.now == first, "once every guard is gone the kernel holds its first settings");
    return 0;
}
