// The kernel registration, and KernelSettingsGuard driving the recording kernel registered in the
// test process (settings: projection 1 with parameter 42, triangulation tolerance 0.1f,
// tolerance 1e-3). Expected values are the design's worked examples or its steps redone by hand
// (float rows: the double quotient rounded once to float).
#include "KernelTestSupport.h"

#include <sstream>

namespace {

using orv::KernelInterfaceBase;
using orv::KernelSettingsGuard;
using orv::PCKernelInterface;

// ---- Registration: each scenario runs in a fresh process, where nothing is registered yet.

const std::string kNone = "! internal::error(KernelInterfaceBase, instance, KernelInterfaceBase::"
                          "instance called before instance has been registered.)";
const std::string kSecond = "! internal::error(KernelInterfaceBase, registerInstance, "
                            "KernelInterfaceBase::registerInstance second time.)";
orvtest::PlainKernel a, b;
PCKernelInterface* pc = nullptr;

// Each step: the call, its outcome, then who instance() gives ("a", "b", "pc") or its refusal.
struct Step {
    std::function<void()> call;
    std::string outcome, registered;
};

void runSteps(const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(orvtest::attempt(steps[i].call), steps[i].outcome) << "step " << i;
        const KernelInterfaceBase* k = nullptr;
        const std::string refusal = orvtest::attempt([&] { k = KernelInterfaceBase::instance(); });
        const char* who = k == &a ? "a" : k == &b ? "b" : k != nullptr && k == pc ? "pc" : "?";
        EXPECT_EQ(refusal.empty() ? who : refusal, steps[i].registered) << "step " << i;
    }
}

std::vector<Step> hostKernelFirst() {
    return {{[] {}, "", kNone},
            {[] { KernelSettingsGuard guard; }, kNone, kNone},
            {[] { a.registerInstance(nullptr); }, "", kNone}, // null: still none registered
            {[] { a.registerInstance(&b); }, "", "b"},        // the argument, not the object called
            {[] { b.registerInstance(&b); }, kSecond, "b"},
            {[] { a.registerInstance(nullptr); }, kSecond, "b"},
            // The curve kernel's first instance() keeps the new kernel, then reports the second
            // registration; later calls return the kept kernel without error.
            {[] { PCKernelInterface::instance(); }, kSecond, "b"},
            {[] {
                 pc = PCKernelInterface::instance();
                 EXPECT_TRUE(pc != nullptr && PCKernelInterface::instance() == pc);
             },
             "", "b"}};
}

std::vector<Step> curveKernelFirst() {
    return {{[] { pc = PCKernelInterface::instance(); }, "", "pc"},
            {[] { EXPECT_EQ(PCKernelInterface::instance(), pc); }, "", "pc"},
            {[] { a.registerInstance(&a); }, kSecond, "pc"}};
}

// ---- Settings guard.

orvtest::RecordingKernel& kernel() {
    return orvtest::recordingKernel();
}

// The guard's refusals as the log names them: internal::error ("KernelSettingsGuard", label,
// message), error type 4. "!kernel" is the recording kernel's own failure.
const char* const kRefusals[][3] = {
    {"!rt", "refineTolerance", "Tolerance refinement is less than or equal to zero."},
    {"!pitch", "setTriangulationToleranceByPitch",
     "Triangulation pitch is less than or equal to zero."},
    {"!ref", "triangulationToleranceRefinement",
     "Triangulation tolerance refinement is less than or equal to zero."},
    {"!push", "pushTriangulationToleranceRefinement",
     "Triangulation tolerance refinement is less than or equal to zero."},
    {"!pop", "popTriangulationToleranceRefinement",
     "Pop Triangulation tolerance stack size is zero."}};

// Logs a refusal (nothing when `refusal` is empty); true if there was one.
bool logRefusal(const std::string& refusal) {
    if (refusal.empty()) {
        return false;
    }
    std::string entry =
        refusal == "! data::error(RecordingKernel, set, failed)" ? "!kernel" : refusal;
    for (const auto& r : kRefusals) {
        if (refusal ==
            std::string("! internal::error(KernelSettingsGuard, ") + r[1] + ", " + r[2] + ")") {
            entry = r[0];
        }
    }
    kernel().note(entry);
    return true;
}

// Steps: "p<x>" setTriangulationToleranceByPitch, "r<x>" triangulationToleranceRefinement, "u<x>"
// pushTriangulationToleranceRefinement, "o" popTriangulationToleranceRefinement, "d<x>"
// toleranceRefinement, "s<x>" setTolerance, "t<x>" setTriangulationTolerance, "P<n>"
// setProjectionType, "R" restoreInitialSettings, "C" a copy that pops once and is destroyed, "A"
// a new guard assigned from this one and destroyed, "f<letters>" the kernel's set calls fail.
void run(KernelSettingsGuard& guard, const std::string& script) {
    std::istringstream steps(script);
    for (std::string step; steps >> step;) {
        const char* arg = step.c_str() + 1;
        const float x = std::strtof(arg, nullptr);
        const double y = std::strtod(arg, nullptr);
        logRefusal(orvtest::attempt([&] {
            switch (step[0]) {
            case 'p':
                return guard.setTriangulationToleranceByPitch(x);
            case 'r':
                return guard.triangulationToleranceRefinement(x);
            case 'u':
                return guard.pushTriangulationToleranceRefinement(x);
            case 'o':
                return guard.popTriangulationToleranceRefinement();
            case 'd':
                return guard.toleranceRefinement(y);
            case 's':
                return guard.setTolerance(y);
            case 't':
                return guard.setTriangulationTolerance(x);
            case 'P':
                return guard.setProjectionType(KernelInterfaceBase::projectionType(std::atoi(arg)));
            case 'R':
                return guard.restoreInitialSettings();
            case 'C':
                return KernelSettingsGuard(guard).popTriangulationToleranceRefinement();
            case 'A': {
                KernelSettingsGuard other;
                other = guard;
                return;
            }
            default:
                kernel().failing = arg;
            }
        }));
    }
}

// The restore of the recorded settings, and the end of every row: pops until one is refused
// (so the log lists the stack from the top down), then the guard's destruction.
#define RESTORE " P=1,42 T=0.1 D=0.001"
#define END " !pop" RESTORE

// A guard ("G<n>" first: made from projection type n), the script, pops until refused, the
// destruction; the log after the recording "P? T? D?".
const char* const kGuardRows[][2] = {
    {"", "!pop" RESTORE},
    {"G2 P0 s5 t0.3", "P=2,42 P=0,42 D=5 T=0.3" END}, // the stack keeps only the bottom entry
    {"p36", "T=0.005 T=0.1" END},                     // count 10: divisor 20
    {"p18", "T=0.005 T=0.1" END},                     // count 20
    {"p6", "T=0.0016666667 T=0.1" END},               // divisor 60
    {"p11", "T=0.0030555555 T=0.1" END},              // in single precision: 0.0030555557
    {"pinf p1.0000000656873453e-05", "T=0.005 T=2.777778e-09 T=0.005 T=0.1" END},
    {"p9.999999747378752e-06 p-0 pnan p-inf", "!pitch !pitch !pitch !pitch" END},
    {"u2 u2 r5", "T=0.05 T=0.025 T=0.02 T=0.025 T=0.05 T=0.1" END}, // r divides the bottom
    {"u2 p36", "T=0.05 T=0.005 T=0.05 T=0.1" END},
    {"u2 o o", "T=0.05 T=0.1 !pop" END},
    {"u2 R", "T=0.05" RESTORE " T=0.1" END}, // the stack stays
    {"u2 u2 C", "T=0.05 T=0.025 T=0.05" RESTORE " T=0.05 T=0.1" END},
    {"s5 t0.3 A", "D=5 T=0.3 P? T? D?" RESTORE END},
    {"r9.999999747378752e-06 r-0 rnan r1e-45 r1.0000000656873453e-05 rinf r3.4028234663852886e38",
     "!ref !ref !ref !ref T=9999.999 T=0 T=2.93873e-40 T=0 T=9999.999 T=0.1" END},
    {"u9.999999747378752e-06 u-0 unan u-inf u1e-45 uinf",
     "!push !push !push !push !push T=0 T=0.1" END},
    {"s5 d4 d7 d1e-5 dinf", "D=5 D=0.00025 D=0.00014285714285714287 D=100 D=0" END},
    {"d9.9999999999999991e-06 d0 d-0 d-2 dnan d-inf d5e-324", "!rt !rt !rt !rt !rt !rt !rt" END},
    // The destructor attempts all three restores; restoreInitialSettings stops at a failure.
    {"s5 t0.3 fP", "D=5 T=0.3 !pop P=1,42! T=0.1 D=0.001"},
    {"fT", "!pop P=1,42 T=0.1! D=0.001"},
    {"s5 fD R", "D=5 P=1,42 T=0.1 D=0.001! !kernel !pop P=1,42 T=0.1 D=0.001!"},
};

} // namespace

TEST(KernelRegistration, HostKernelFirst) {
    ORV_EXPECT_IN_FRESH_PROCESS(runSteps(hostKernelFirst()));
}

TEST(KernelRegistration, CurveKernelFirst) {
    ORV_EXPECT_IN_FRESH_PROCESS(runSteps(curveKernelFirst()));
}

TEST(KernelSettingsGuard, Rows) {
    for (const auto& row : kGuardRows) {
        kernel().reset();
        const std::string script = row[0];
        {
            // Copy-initialised from the type: the constructor is not explicit.
            const auto make = [&]() -> KernelSettingsGuard {
                if (script[0] == 'G') {
                    return KernelInterfaceBase::projectionType(script[1] - '0');
                }
                return KernelSettingsGuard();
            };
            KernelSettingsGuard guard = make();
            run(guard, script[0] == 'G' ? script.substr(2) : script);
            for (int pops = 0; pops < 8; ++pops) {
                if (logRefusal(
                        orvtest::attempt([&] { guard.popTriangulationToleranceRefinement(); }))) {
                    break;
                }
            }
        }
        EXPECT_EQ(kernel().log, std::string("P? T? D? ") + row[1]) << "script: " << script;
    }
    kernel().reset();
}
