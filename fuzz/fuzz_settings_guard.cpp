// KernelSettingsGuard: random sequences of guard operations (nested guards, copies, assignments,
// refused arguments, explicit restores) against a recording kernel registered once per process.
// A model of each guard's recorded settings and tolerance stack predicts every value set in the
// kernel. Properties:
//  - every operation sets exactly the value the model predicts (bit for bit), or is refused with
//    the documented labels and changes neither the kernel nor the guard;
//  - destroying a guard puts its recorded settings back, so after all guards are destroyed (in
//    scope order) the kernel holds the settings it had before the first one;
//  - no sequence throws from a destructor or otherwise terminates the process.

#include "FuzzSupport.h"

#include <memory>
#include <vector>

using namespace orvfuzz;
using orv::KernelInterfaceBase;
using orv::KernelSettingsGuard;

namespace {

struct Settings {
    KernelInterfaceBase::projectionType projection;
    int parameter;
    float triangulation;
    double tolerance;
};

bool same(const Settings& a, const Settings& b) {
    return a.projection == b.projection && a.parameter == b.parameter &&
           sameBits(a.triangulation, b.triangulation) && sameBits(a.tolerance, b.tolerance);
}

class RecordingKernel : public KernelInterfaceBase {
public:
    Settings now{projectionNearest, 0, 0.0f, 0.0};

    projectionType getProjectionType(int& parameter) override {
        parameter = now.parameter;
        return now.projection;
    }
    void setProjectionType(projectionType type, int parameter) override {
        now.projection = type;
        now.parameter = parameter;
    }
    float getTriangulationTolerance() override { return now.triangulation; }
    void setTriangulationTolerance(float tolerance) override { now.triangulation = tolerance; }
    double getTolerance() override { return now.tolerance; }
    void setTolerance(double tolerance) override { now.tolerance = tolerance; }
};

// The process's kernel. Before registering it, a guard must fail with the error of instance().
RecordingKernel& kernel() {
    static RecordingKernel* registered = [] {
        expectOutcome<orv::internal::error>(
            true,
            Refusal{"KernelInterfaceBase", "instance",
                    "KernelInterfaceBase::instance called before instance has been registered."},
            [] { KernelSettingsGuard guard; });
        auto* k = new RecordingKernel;
        k->registerInstance(k);
        return k;
    }();
    return *registered;
}

// What a guard recorded, and its tolerance stack.
struct Model {
    Settings recorded;
    std::vector<float> stack;
};

struct Entry {
    std::unique_ptr<KernelSettingsGuard> guard;
    Model model;
};

KernelInterfaceBase::projectionType drawProjection(FuzzedDataProvider& in) {
    return static_cast<KernelInterfaceBase::projectionType>(in.ConsumeIntegralInRange<int>(0, 2));
}

// A refinement or pitch: often near the limit 1e-5, sometimes NaN, infinite, zero or negative.
float drawFactor(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
        return 9.999999747378752e-06f; // the float nearest 1e-5, below it: refused
    case 1:
        return 1.0000000656873453e-05f; // the next float up: accepted
    case 2:
        return -in.ConsumeFloatingPointInRange<float>(0.0f, 10.0f);
    default:
        return static_cast<float>(drawDouble(in));
    }
}

bool below(double v) {
    return !(v >= 1e-5);
}

void destroyTop(std::vector<Entry>& guards) {
    const Model model = guards.back().model;
    guards.pop_back();
    check(same(kernel().now, model.recorded), "a destroyed guard restores its recorded settings");
}

// One operation on guard g; the kernel must end as the model says.
void operate(FuzzedDataProvider& in, Entry& g) {
    RecordingKernel& k = kernel();
    const Settings before = k.now;
    const std::size_t depth = g.model.stack.size();
    Settings expect = before;
    bool refused = false;
    const char* const cls = "KernelSettingsGuard";
    const char* const triangulationMsg =
        "Triangulation tolerance refinement is less than or equal to zero.";
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0: {
        const double t = drawDouble(in);
        expectOk([&] { g.guard->setTolerance(t); });
        expect.tolerance = t;
        break;
    }
    case 1: {
        const double r = in.ConsumeBool() ? drawDouble(in) : static_cast<double>(drawFactor(in));
        refused = expectOutcome<orv::internal::error>(
            below(r),
            Refusal{cls, "refineTolerance", "Tolerance refinement is less than or equal to zero."},
            [&] { g.guard->toleranceRefinement(r); });
        expect.tolerance = refused ? before.tolerance : g.model.recorded.tolerance / r;
        break;
    }
    case 2: {
        const float t = static_cast<float>(drawDouble(in));
        expectOk([&] { g.guard->setTriangulationTolerance(t); });
        expect.triangulation = t;
        break;
    }
    case 3: {
        const float pitch = drawFactor(in);
        refused = expectOutcome<orv::internal::error>(
            below(pitch),
            Refusal{cls, "setTriangulationToleranceByPitch",
                    "Triangulation pitch is less than or equal to zero."},
            [&] { g.guard->setTriangulationToleranceByPitch(pitch); });
        if (!refused) {
            const double count = 360.0 / static_cast<double>(pitch);
            const double divisor = count > 20.0 ? count : 20.0;
            g.model.stack.push_back(
                static_cast<float>(static_cast<double>(g.model.stack.front()) / divisor));
        }
        break;
    }
    case 4: {
        const float r = drawFactor(in);
        refused = expectOutcome<orv::internal::error>(
            below(r), Refusal{cls, "triangulationToleranceRefinement", triangulationMsg},
            [&] { g.guard->triangulationToleranceRefinement(r); });
        if (!refused) {
            g.model.stack.push_back(g.model.stack.front() / r);
        }
        break;
    }
    case 5:
    case 6: {
        const float r = drawFactor(in);
        refused = expectOutcome<orv::internal::error>(
            below(r), Refusal{cls, "pushTriangulationToleranceRefinement", triangulationMsg},
            [&] { g.guard->pushTriangulationToleranceRefinement(r); });
        if (!refused) {
            g.model.stack.push_back(g.model.stack.back() / r);
        }
        break;
    }
    case 7:
        refused = expectOutcome<orv::internal::error>(
            g.model.stack.size() <= 1,
            Refusal{cls, "popTriangulationToleranceRefinement",
                    "Pop Triangulation tolerance stack size is zero."},
            [&] { g.guard->popTriangulationToleranceRefinement(); });
        if (!refused) {
            g.model.stack.pop_back();
        }
        break;
    case 8: {
        const KernelInterfaceBase::projectionType type = drawProjection(in);
        expectOk([&] { g.guard->setProjectionType(type); });
        expect.projection = type;
        expect.parameter = g.model.recorded.parameter;
        break;
    }
    default:
        expectOk([&] { g.guard->restoreInitialSettings(); });
        expect = g.model.recorded;
        break;
    }
    if (refused) {
        // The guard's stack is checked by the values later pushes and pops set.
        check(same(k.now, before), "a refused operation changes nothing");
        return;
    }
    if (g.model.stack.size() != depth) { // a push or a pop sets the new top
        expect.triangulation = g.model.stack.back();
    }
    check(same(k.now, expect), "the kernel holds the value the operation sets");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    RecordingKernel& k = kernel();
    k.now = Settings{drawProjection(in), in.ConsumeIntegral<int>(),
                     static_cast<float>(drawDouble(in)), drawDouble(in)};
    const Settings first = k.now;

    std::vector<Entry> guards;
    const int steps = in.ConsumeIntegralInRange<int>(1, 48);
    for (int step = 0; step < steps && in.remaining_bytes() > 0; ++step) {
        const int what = in.ConsumeIntegralInRange<int>(0, 9);
        if (guards.empty() || (what == 0 && guards.size() < 8)) {
            // A new guard in a nested scope, with or without a projection type.
            const Settings at = k.now;
            Entry e{nullptr, Model{at, {at.triangulation}}};
            if (in.ConsumeBool()) {
                const KernelInterfaceBase::projectionType type = drawProjection(in);
                e.guard.reset(new KernelSettingsGuard(type));
                check(k.now.projection == type && k.now.parameter == at.parameter,
                      "a guard made with a projection type sets it");
            } else {
                e.guard.reset(new KernelSettingsGuard());
                check(same(k.now, at), "making a guard changes nothing");
            }
            guards.push_back(std::move(e));
        } else if (what == 1 && guards.size() < 8) {
            // A copy of any guard, in a nested scope: it restores the same recorded settings.
            const Entry& source =
                guards[in.ConsumeIntegralInRange<std::size_t>(0, guards.size() - 1)];
            guards.push_back(
                Entry{std::unique_ptr<KernelSettingsGuard>(new KernelSettingsGuard(*source.guard)),
                      source.model});
        } else if (what == 2 && guards.size() > 1) {
            // Assignment to any guard but the outermost, which keeps the first settings.
            const std::size_t to = in.ConsumeIntegralInRange<std::size_t>(1, guards.size() - 1);
            const std::size_t from = in.ConsumeIntegralInRange<std::size_t>(0, guards.size() - 1);
            *guards[to].guard = *guards[from].guard;
            guards[to].model = guards[from].model;
        } else if (what == 3) {
            destroyTop(guards);
        } else {
            operate(in, guards[in.ConsumeIntegralInRange<std::size_t>(0, guards.size() - 1)]);
        }
    }
    while (!guards.empty()) {
        destroyTop(guards);
    }
    check(same(k.now, first), "after every guard is gone the kernel holds its first settings");
    return 0;
}
