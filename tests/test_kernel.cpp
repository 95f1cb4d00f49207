// The kernel registration, and KernelSettingsGuard driving the recording kernel registered in the
// test process (settings: projection 1 with parameter 42, triangulation tolerance 0.1f,
// tolerance 1e-3). Expected values are the design's worked examples or its steps redone by hand
// (float rows: the double quotient rounded once to float).
#include "KernelTestSupport.h"

#include <map>
#include <sstream>
#include <type_traits>

namespace {

using orv::KernelInterfaceBase;
using orv::PCKernelInterface;
using G = orv::KernelSettingsGuard;
using PT = KernelInterfaceBase::projectionType;
static_assert(std::is_convertible<PT, G>::value, "a guard converts from a projection type");

// ---- Registration: each scenario runs in a fresh process, where nothing is registered yet.
// Each step: the call, its outcome, then who instance() gives ("a", "b", "pc") or its refusal.

const std::string kNone = "! internal::error(KernelInterfaceBase, instance, KernelInterfaceBase::"
                          "instance called before instance has been registered.)";
const std::string kSecond = "! internal::error(KernelInterfaceBase, registerInstance, "
                            "KernelInterfaceBase::registerInstance second time.)";
orvtest::PlainKernel a, b;
PCKernelInterface* pc = nullptr;

using Steps = std::vector<std::tuple<std::function<void()>, std::string, std::string>>;

void runSteps(const Steps& steps) {
    for (const auto& [call, outcome, registered] : steps) {
        EXPECT_EQ(orvtest::attempt(call), outcome) << registered;
        const KernelInterfaceBase* k = nullptr;
        const std::string refusal = orvtest::attempt([&] { k = KernelInterfaceBase::instance(); });
        const char* who = k == &a ? "a" : k == &b ? "b" : k != nullptr && k == pc ? "pc" : "?";
        EXPECT_EQ(refusal.empty() ? who : refusal, registered) << outcome;
    }
}

Steps hostKernelFirst() {
    return {{[] {}, "", kNone},
            {[] { G guard; }, kNone, kNone},
            {[] { a.registerInstance(nullptr); }, "", kNone}, // null: still none registered
            {[] { a.registerInstance(&b); }, "", "b"},        // the argument, not the object called
            {[] { b.registerInstance(&b); }, kSecond, "b"},
            {[] { a.registerInstance(nullptr); }, kSecond, "b"},
            // The curve kernel's first instance() keeps the new kernel, then reports the second
            // registration; later calls return the kept kernel without error.
            {[] { PCKernelInterface::instance(); }, kSecond, "b"},
            {[] { EXPECT_EQ(pc = PCKernelInterface::instance(), PCKernelInterface::instance()); },
             "", "b"}};
}

Steps curveKernelFirst() {
    return {{[] { pc = PCKernelInterface::instance(); }, "", "pc"},
            {[] { EXPECT_EQ(PCKernelInterface::instance(), pc); }, "", "pc"},
            {[] { a.registerInstance(&a); }, kSecond, "pc"}};
}

// ---- Settings guard.

orvtest::RecordingKernel& kernel() {
    return orvtest::recordingKernel();
}

// The refusals in the log: the guard's (internal::error, "KernelSettingsGuard", error type 4) and
// the recording kernel's.
#define REFUSED(label, message) " ! internal::error(KernelSettingsGuard, " label ", " message ")"
#define TRI "Triangulation tolerance refinement is less than or equal to zero."
#define RT REFUSED("refineTolerance", "Tolerance refinement is less than or equal to zero.")
#define PITCH                                                                                      \
    REFUSED("setTriangulationToleranceByPitch",                                                    \
            "Triangulation pitch is less than or equal to zero.")
#define REF REFUSED("triangulationToleranceRefinement", TRI)
#define PUSH REFUSED("pushTriangulationToleranceRefinement", TRI)
#define POP                                                                                        \
    REFUSED("popTriangulationToleranceRefinement",                                                 \
            "Pop Triangulation tolerance stack size is zero.")
#define FAILED " ! data::error(RecordingKernel, set, failed)"

// Logs a refusal; false if there is none.
bool logRefusal(const std::string& refusal) {
    if (!refusal.empty()) {
        kernel().note(refusal);
    }
    return !refusal.empty();
}

// Script steps: "p<x>" setTriangulationToleranceByPitch, "r<x>" triangulationToleranceRefinement,
// "u<x>" pushTriangulationToleranceRefinement, "o" popTriangulationToleranceRefinement, "d<x>"
// toleranceRefinement, "s<x>" setTolerance, "t<x>" setTriangulationTolerance, "P<n>"
// setProjectionType, "R" restoreInitialSettings, "C" a copy that pops once and is destroyed, "A"
// a new guard assigned from this one and destroyed; "f<letters>": those set calls fail from now.
const std::map<char, void (*)(G&, float, double)> kSteps = {
    {'p', [](G& g, float x, double) { g.setTriangulationToleranceByPitch(x); }},
    {'r', [](G& g, float x, double) { g.triangulationToleranceRefinement(x); }},
    {'u', [](G& g, float x, double) { g.pushTriangulationToleranceRefinement(x); }},
    {'o', [](G& g, float, double) { g.popTriangulationToleranceRefinement(); }},
    {'d', [](G& g, float, double y) { g.toleranceRefinement(y); }},
    {'s', [](G& g, float, double y) { g.setTolerance(y); }},
    {'t', [](G& g, float x, double) { g.setTriangulationTolerance(x); }},
    {'P', [](G& g, float, double y) { g.setProjectionType(PT(int(y))); }},
    {'R', [](G& g, float, double) { g.restoreInitialSettings(); }},
    {'C', [](G& g, float, double) { G(g).popTriangulationToleranceRefinement(); }},
    {'A', [](G& g, float, double) { G() = g; }}};

// The end of every row: pops until one is refused (the log lists the stack from the top down),
// then the destruction, which restores the recorded settings.
#define RESTORE " P=1,42 T=0.1 D=0.001"
#define END POP RESTORE

// A guard ("G<n>" first: made from projection type n), the script, the pops, the destruction:
// the log after the recording "P? T? D?".
const char* const kGuardRows[][2] = {
    {"", END},
    {"G2 P0 s5 t0.3", " P=2,42 P=0,42 D=5 T=0.3" END}, // the stack keeps only the bottom entry
    {"p36", " T=0.005 T=0.1" END},                     // count 10: divisor 20
    {"p18", " T=0.005 T=0.1" END},                     // count 20
    {"p6", " T=0.0016666667 T=0.1" END},               // divisor 60
    {"p11", " T=0.0030555555 T=0.1" END},              // in single precision: 0.0030555557
    {"pinf p1.0000000656873453e-05", " T=0.005 T=2.777778e-09 T=0.005 T=0.1" END},
    {"p9.999999747378752e-06 p-0 pnan p-inf", PITCH PITCH PITCH PITCH END},
    {"u2 u2 r5", " T=0.05 T=0.025 T=0.02 T=0.025 T=0.05 T=0.1" END}, // r divides the bottom
    {"u2 p36", " T=0.05 T=0.005 T=0.05 T=0.1" END},
    {"u2 o o", " T=0.05 T=0.1" POP END},
    {"u2 R", " T=0.05" RESTORE " T=0.1" END}, // the stack stays
    {"u2 u2 C", " T=0.05 T=0.025 T=0.05" RESTORE " T=0.05 T=0.1" END},
    {"s5 t0.3 A", " D=5 T=0.3 P? T? D?" RESTORE END},
    {"r9.999999747378752e-06 r-0 rnan r1e-45 r1.0000000656873453e-05 rinf r3.4028234663852886e38",
     REF REF REF REF " T=9999.999 T=0 T=2.93873e-40 T=0 T=9999.999 T=0.1" END},
    {"u9.999999747378752e-06 u-0 unan u-inf u1e-45 uinf",
     PUSH PUSH PUSH PUSH PUSH " T=0 T=0.1" END},
    {"s5 d4 d7 d1e-5 dinf", " D=5 D=0.00025 D=0.00014285714285714287 D=100 D=0" END},
    {"d9.9999999999999991e-06 d0 d-0 d-2 dnan d-inf d5e-324", RT RT RT RT RT RT RT END},
    // The destructor attempts all three restores; restoreInitialSettings stops at a failure.
    {"s5 t0.3 fP", " D=5 T=0.3" POP " P=1,42! T=0.1 D=0.001"},
    {"fT", POP " P=1,42 T=0.1! D=0.001"},
    {"s5 fD R", " D=5 P=1,42 T=0.1 D=0.001!" FAILED POP " P=1,42 T=0.1 D=0.001!"},
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
        const bool typed = row[0][0] == 'G';
        std::istringstream script(row[0] + (typed ? 2 : 0));
        {
            // Copy-initialised from the type: the constructor is not explicit.
            G guard = typed ? G(PT(row[0][1] - '0')) : G();
            for (std::string step; script >> step;) {
                const float x = std::strtof(step.c_str() + 1, nullptr);
                const double y = std::strtod(step.c_str() + 1, nullptr);
                if (step[0] == 'f') {
                    kernel().failing = step.substr(1);
                } else {
                    logRefusal(orvtest::attempt([&] { kSteps.at(step[0])(guard, x, y); }));
                }
            }
            for (int pops = 0; pops < 8; ++pops) {
                if (logRefusal(
                        orvtest::attempt([&] { guard.popTriangulationToleranceRefinement(); }))) {
                    break;
                }
            }
        }
        EXPECT_EQ(kernel().log, std::string("P? T? D?") + row[1]) << "script: " << row[0];
    }
    kernel().reset();
}
