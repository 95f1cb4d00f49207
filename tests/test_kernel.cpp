// The kernel registration, then KernelSettingsGuard driving the recording kernel registered, in a
// fresh child process. Expected values are the worked examples or their steps redone by hand
// (float rows: the double quotient rounded once to float).
#include "KernelTestSupport.h"

#include <map>
#include <sstream>

namespace {

using orv::KernelInterfaceBase;
using orv::PCKernelInterface;
using orvtest::attempt;
using orvtest::shortest;
using G = orv::KernelSettingsGuard;
using PT = KernelInterfaceBase::projectionType;

// The guard rows' kernel holds its settings and logs the settings calls: "P?", "T?", "D?" the gets
// (of the projection type: the form with the parameter), "P=<type>,<parameter>", "T=<value>",
// "D=<value>" the sets. A set whose letter is in `failing` is logged with a "!" and throws
// data::error ("RecordingKernel", "set", "failed").
struct RecordingKernel : KernelInterfaceBase {
    struct State {
        projectionType type = projectionAlongNormal;
        int par = 42;
        float tri = 0.1f;
        double tol = 1e-3;
        std::string log, failing;
    } s;
    void note(const std::string& entry) { s.log += (s.log.empty() ? "" : " ") + entry; }
    void set(char setting, const std::string& text) {
        const bool fails = s.failing.find(setting) != std::string::npos;
        note(setting + ("=" + text) + (fails ? "!" : ""));
        if (fails) {
            orv::throwError<orv::data::error>("RecordingKernel", "set", "failed");
        }
    }
    projectionType getProjectionType(int& p) override { return note("P?"), p = s.par, s.type; }
    float getTriangulationTolerance() override { return note("T?"), s.tri; }
    double getTolerance() override { return note("D?"), s.tol; }
    void setTriangulationTolerance(float t) override { set('T', shortest(t)), s.tri = t; }
    void setTolerance(double t) override { set('D', shortest(t)), s.tol = t; }
    void setProjectionType(projectionType t, int p) override {
        set('P', std::to_string(t) + "," + std::to_string(p)), s.type = t, s.par = p;
    }
} kernel;

#define ZERO(label, what)                                                                          \
    " ! internal::error(KernelSettingsGuard, " label ", " what " is less than or equal to zero.)"
#define RT ZERO("refineTolerance", "Tolerance refinement")
#define PITCH ZERO("setTriangulationToleranceByPitch", "Triangulation pitch")
#define REF ZERO("triangulationToleranceRefinement", "Triangulation tolerance refinement")
#define PUSH ZERO("pushTriangulationToleranceRefinement", "Triangulation tolerance refinement")
#define POP                                                                                        \
    " ! internal::error(KernelSettingsGuard, popTriangulationToleranceRefinement, Pop "            \
    "Triangulation tolerance stack size is zero.)"

// Script steps: a letter, then the argument, if any. "C": a copy that pops once and is destroyed;
// "A": a new guard assigned from this one and destroyed; "g<n>": a new guard converted from
// projection type n and destroyed; "f<letters>": those set calls fail from now.
const std::map<char, void (*)(G&, double)> kSteps = {
    {'p', [](G& g, double v) { g.setTriangulationToleranceByPitch(float(v)); }},
    {'r', [](G& g, double v) { g.triangulationToleranceRefinement(float(v)); }},
    {'u', [](G& g, double v) { g.pushTriangulationToleranceRefinement(float(v)); }},
    {'o', [](G& g, double) { g.popTriangulationToleranceRefinement(); }},
    {'d', [](G& g, double v) { g.toleranceRefinement(v); }},
    {'s', [](G& g, double v) { g.setTolerance(v); }},
    {'t', [](G& g, double v) { g.setTriangulationTolerance(float(v)); }},
    {'P', [](G& g, double v) { g.setProjectionType(PT(int(v))); }},
    {'R', [](G& g, double) { g.restoreInitialSettings(); }},
    {'C', [](G& g, double) { G(g).popTriangulationToleranceRefinement(); }},
    {'A', [](G& g, double) { G() = g; }},
    {'g', [](G&, double v) { G typed = PT(int(v)); }}};

// The end of every row: pops until one is refused (the log lists the stack from the top down),
// then the destruction, which restores the recorded settings.
#define RESTORE " P=1,42 T=0.1 D=0.001"
#define END POP RESTORE

// A guard, the script, the pops, the destruction: the log after the recording "P? T? D?".
const char* const kGuardRows[][2] = {
    {"g2 P0", " P? T? D? P=2,42" RESTORE " P=0,42" END},
    // Divisor 60, then 360 / 11 (in single precision: 0.0030555557).
    {"p6 p11", " T=0.0016666667 T=0.0030555555 T=0.0016666667 T=0.1" END},
    {"pinf p1.0000000656873453e-05", " T=0.005 T=2.777778e-09 T=0.005 T=0.1" END},
    {"p9.999999747378752e-06 p-0 pnan p-inf", PITCH PITCH PITCH PITCH END},
    {"u2 u2 r5", " T=0.05 T=0.025 T=0.02 T=0.025 T=0.05 T=0.1" END}, // r divides the bottom
    {"u2 p36", " T=0.05 T=0.005 T=0.05 T=0.1" END}, // count 10: divisor 20, of the bottom
    {"u2 R", " T=0.05" RESTORE " T=0.1" END},       // the stack stays
    {"u2 u2 C", " T=0.05 T=0.025 T=0.05" RESTORE " T=0.05 T=0.1" END},
    {"s5 t0.3 A", " D=5 T=0.3 P? T? D?" RESTORE END},
    {"r9.999999747378752e-06 r-0 rnan r1e-45 r1.0000000656873453e-05 rinf r3.4028234663852886e38",
     REF REF REF REF " T=9999.999 T=0 T=2.93873e-40 T=0 T=9999.999 T=0.1" END},
    {"u9.999999747378752e-06 u-0 unan u-inf u1e-45 uinf",
     PUSH PUSH PUSH PUSH PUSH " T=0 T=0.1" END},
    {"s5 d4 d7 d1e-5 dinf", " D=5 D=0.00025 D=0.00014285714285714287 D=100 D=0" END},
    {"d9.9999999999999991e-06 d0 d-0 d-2 dnan d-inf d5e-324", RT RT RT RT RT RT RT END},
    // restoreInitialSettings stops at a failure; the destructor attempts all three restores.
    {"s5 t0.3 fPT R", " D=5 T=0.3 P=1,42! ! data::error(RecordingKernel, set, failed)" POP
                      " P=1,42! T=0.1! D=0.001"},
};

// The child process of the test below, a death-test child of the "threadsafe" style, which
// re-executes the test binary for this test only: registration, then the guard rows on the
// registered recording kernel. Each registration step: the call, its outcome, then who instance()
// gives ("a", "r" the recording kernel) or its refusal. Failed checks go to standard error.
[[noreturn]] void registrationThenGuardRows() {
    const std::string none = "! internal::error(KernelInterfaceBase, instance, KernelInterface"
                             "Base::instance called before instance has been registered.)";
    const std::string second = "! internal::error(KernelInterfaceBase, registerInstance, "
                               "KernelInterfaceBase::registerInstance second time.)";
    static orvtest::PlainKernel a;
    const std::tuple<void (*)(), std::string, std::string> steps[] = {
        {[] { G guard; }, none, none},
        {[] { a.registerInstance(nullptr); }, "", none}, // null: still none registered
        {[] { a.registerInstance(&kernel); }, "", "r"},  // the argument, not the object called
        {[] { kernel.registerInstance(&kernel); }, second, "r"},
        // The curve kernel's first instance() keeps the new kernel, then reports the second
        // registration; later calls return the kept kernel without error.
        {[] { PCKernelInterface::instance(); }, second, "r"},
        {[] { EXPECT_EQ(PCKernelInterface::instance(), PCKernelInterface::instance()); }, "", "r"}};
    for (const auto& [call, outcome, registered] : steps) {
        EXPECT_EQ(attempt(call), outcome) << registered;
        const KernelInterfaceBase* k = nullptr;
        const std::string refusal = attempt([&] { k = KernelInterfaceBase::instance(); });
        const char* const who = k == &a ? "a" : k == &kernel ? "r" : "?";
        EXPECT_EQ(refusal.empty() ? who : refusal, registered) << outcome;
    }
    for (const auto& row : kGuardRows) {
        kernel.s = {};
        std::istringstream script(row[0] + std::string(" o o o o o o o o"));
        {
            G guard;
            for (std::string step; script >> step;) {
                const double v = std::strtod(step.c_str() + 1, nullptr);
                const std::string refusal = step[0] == 'f'
                                                ? (kernel.s.failing = step.substr(1), "")
                                                : attempt([&] { kSteps.at(step[0])(guard, v); });
                if (!refusal.empty() && (kernel.note(refusal), step == "o")) {
                    break; // the first refused pop ends the row
                }
            }
        }
        EXPECT_EQ(kernel.s.log, std::string("P? T? D?") + row[1]) << "script: " << row[0];
    }
    const auto* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); ++i) {
        std::fprintf(stderr, "%s\n", result->GetTestPartResult(i).message());
    }
    std::exit(result->Failed() ? 1 : 0);
}

} // namespace

TEST(KernelRegistration, ThenTheSettingsGuardRows) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(registrationThenGuardRows(), ::testing::ExitedWithCode(0), "");
}
