// KernelSettingsGuard against the recording kernel registered in the test process: the order of
// the kernel calls and the exact tolerances set.
#include "KernelTestSupport.h"

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

namespace {

using orv::KernelInterfaceBase;
using orv::KernelSettingsGuard;
using Calls = std::vector<std::string>;

const Calls kRecord{"getProjectionType(int&)", "getTriangulationTolerance", "getTolerance"};
const Calls kRestore{"setProjectionType(type, 42)", "setTriangulationTolerance", "setTolerance"};

Calls join(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class KernelSettingsGuardTest : public ::testing::Test {
protected:
    void SetUp() override { kernel().reset(); }
    static orvtest::RecordingKernel& kernel() { return orvtest::recordingKernel(); }

    // The recorded settings (projectionAlongNormal, 42, 0.1f, 1e-3) are back.
    static ::testing::AssertionResult restored() {
        const orvtest::RecordingKernel& k = kernel();
        if (k.projection == KernelInterfaceBase::projectionAlongNormal && k.parameter == 42 &&
            orvtest::sameBits(k.triangulationTolerance, 0.1f) &&
            orvtest::sameBits(k.tolerance, 1e-3)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "settings not restored";
    }
};

// Runs a script of guard operations: "p<x>" pitch, "r<x>" triangulationToleranceRefinement,
// "u<x>" pushTriangulationToleranceRefinement, "o" popTriangulationToleranceRefinement.
void run(KernelSettingsGuard& guard, const std::string& script) {
    std::istringstream steps(script);
    std::string step;
    while (steps >> step) {
        const float x = step.size() > 1 ? std::stof(step.substr(1)) : 0.0f;
        switch (step[0]) {
        case 'p':
            guard.setTriangulationToleranceByPitch(x);
            break;
        case 'r':
            guard.triangulationToleranceRefinement(x);
            break;
        case 'u':
            guard.pushTriangulationToleranceRefinement(x);
            break;
        default:
            guard.popTriangulationToleranceRefinement();
        }
    }
}

} // namespace

TEST_F(KernelSettingsGuardTest, RecordsAndRestoresInOrder) {
    { KernelSettingsGuard guard; }
    EXPECT_EQ(kernel().calls, join(kRecord, kRestore));
    EXPECT_TRUE(restored());

    kernel().calls.clear();
    {
        KernelSettingsGuard guard(KernelInterfaceBase::projectionAlongDirection);
        EXPECT_EQ(kernel().projection, KernelInterfaceBase::projectionAlongDirection);
        guard.setProjectionType(KernelInterfaceBase::projectionNearest);
        guard.setTolerance(0.5);
        guard.setTriangulationTolerance(0.3f);
        EXPECT_TRUE(orvtest::sameBits(kernel().tolerance, 0.5));
        EXPECT_TRUE(orvtest::sameBits(kernel().triangulationTolerance, 0.3f));
        // setTriangulationTolerance leaves the stack: a pop still finds only the bottom entry.
        EXPECT_THROW(guard.popTriangulationToleranceRefinement(), orv::internal::error);
    }
    EXPECT_EQ(kernel().calls,
              join(join(kRecord, {"setProjectionType(type, 42)", "setProjectionType(type, 42)",
                                  "setTolerance", "setTriangulationTolerance"}),
                   kRestore));
    EXPECT_TRUE(restored());
}

TEST_F(KernelSettingsGuardTest, NewTriangulationTolerances) {
    // From a recorded tolerance of 0.1f: the values set in the kernel, in order.
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"p36", {0.005f}}, // 360 / 36 = 10, below 20: bottom / 20
        {"p18", {0.005f}},
        {"p6", {static_cast<float>(0.1 / 60.0)}},
        {"p11", {0x1.907f6ep-9f}}, // in double precision; in single it would be 0x1.907f7p-9
        {"u2 u2 r5", {0.05f, 0.025f, 0.02f}}, // refinements multiply; r divides the bottom entry
        {"u2 u2 o o", {0.05f, 0.025f, 0.05f, 0.1f}},
        {"r4 u2", {0.025f, 0.0125f}},
    };
    for (const auto& c : cases) {
        kernel().reset();
        {
            KernelSettingsGuard guard;
            run(guard, c.first);
            ASSERT_EQ(kernel().triangulationSet.size(), c.second.size()) << c.first;
            for (std::size_t i = 0; i < c.second.size(); ++i) {
                EXPECT_TRUE(orvtest::sameBits(kernel().triangulationSet[i], c.second[i]))
                    << c.first << " step " << i << ": " << kernel().triangulationSet[i];
            }
        }
        EXPECT_TRUE(restored()) << c.first;
    }
}

TEST_F(KernelSettingsGuardTest, ToleranceRefinementDividesTheRecordedTolerance) {
    KernelSettingsGuard guard;
    guard.setTolerance(5.0);
    guard.toleranceRefinement(4.0);
    EXPECT_TRUE(orvtest::sameBits(kernel().tolerance, 1e-3 / 4.0));
    guard.toleranceRefinement(1e-5);
    EXPECT_TRUE(orvtest::sameBits(kernel().tolerance, 1e-3 / 1e-5));
}

TEST_F(KernelSettingsGuardTest, RefusalsChangeNeitherKernelNorGuard) {
    const std::string tolerance = "Tolerance refinement is less than or equal to zero.";
    const std::string pitch = "Triangulation pitch is less than or equal to zero.";
    const std::string triangulation =
        "Triangulation tolerance refinement is less than or equal to zero.";
    const float below = 9.999999747378752e-06f; // the float nearest 1e-5, widened: below 1e-5
    const float nan = std::numeric_limits<float>::quiet_NaN();
    KernelSettingsGuard guard;
    kernel().calls.clear();
    const auto refused = [](const std::function<void()>& call, const char* op,
                            const std::string& message) {
        return orvtest::throwsWith<orv::internal::error>(call, "KernelSettingsGuard", op, message);
    };
    for (double r : {0.0, -2.0, 1e-6, static_cast<double>(nan)}) {
        EXPECT_TRUE(refused([&] { guard.toleranceRefinement(r); }, "refineTolerance", tolerance))
            << r;
    }
    for (float x : {below, -0.0f, nan}) {
        EXPECT_TRUE(refused([&] { guard.setTriangulationToleranceByPitch(x); },
                            "setTriangulationToleranceByPitch", pitch));
        EXPECT_TRUE(refused([&] { guard.triangulationToleranceRefinement(x); },
                            "triangulationToleranceRefinement", triangulation));
        EXPECT_TRUE(refused([&] { guard.pushTriangulationToleranceRefinement(x); },
                            "pushTriangulationToleranceRefinement", triangulation));
    }
    // Only the bottom entry is left: the pop is refused and the stack never empties.
    EXPECT_TRUE(refused([&] { guard.popTriangulationToleranceRefinement(); },
                        "popTriangulationToleranceRefinement",
                        "Pop Triangulation tolerance stack size is zero."));
    EXPECT_TRUE(kernel().calls.empty());
    EXPECT_TRUE(restored());
    // The stack still holds only the bottom entry; the smallest float arguments are accepted.
    run(guard, "u2 o");
    EXPECT_THROW(guard.popTriangulationToleranceRefinement(), orv::internal::error);
    const float least = 1.0000000656873453e-05f;
    guard.setTriangulationToleranceByPitch(least);
    guard.triangulationToleranceRefinement(least);
    guard.pushTriangulationToleranceRefinement(least);
    EXPECT_EQ(kernel().triangulationSet.size(), 5u);
}

TEST_F(KernelSettingsGuardTest, CopiesRestoreASecondTime) {
    {
        KernelSettingsGuard first;
        first.pushTriangulationToleranceRefinement(2.0f);
        KernelSettingsGuard assigned;
        assigned.pushTriangulationToleranceRefinement(8.0f);
        EXPECT_EQ(&(assigned = first), &assigned);
        {
            KernelSettingsGuard copy(first);
            kernel().calls.clear();
            // Copies take the stack as a whole: a pop sets the bottom entry.
            copy.popTriangulationToleranceRefinement();
            EXPECT_TRUE(orvtest::sameBits(kernel().triangulationTolerance, 0.1f));
            kernel().tolerance = 9.0;
        }
        EXPECT_EQ(kernel().calls, join({"setTriangulationTolerance"}, kRestore));
        EXPECT_TRUE(restored());
        kernel().tolerance = 9.0;
        kernel().calls.clear();
    }
    // `assigned`, then `first`, each restores the recorded settings once more.
    EXPECT_EQ(kernel().calls, join(kRestore, kRestore));
    EXPECT_TRUE(restored());
}

TEST_F(KernelSettingsGuardTest, AFailingKernelDoesNotEscapeTheDestructor) {
    {
        KernelSettingsGuard guard;
        kernel().failSetTolerance = true;
        EXPECT_TRUE(orvtest::throwsWith<orv::data::error>(
            [&] { guard.restoreInitialSettings(); }, "RecordingKernel", "setTolerance", "failed"));
    } // the destructor's restore fails the same way and is swallowed
    EXPECT_EQ(kernel().calls, join(kRecord, join(kRestore, kRestore)));
}
