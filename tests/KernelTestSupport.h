#ifndef ORV_TESTS_KERNELTESTSUPPORT_H
#define ORV_TESTS_KERNELTESTSUPPORT_H

// Kernels for the kernel tests, and the one registration the test process makes.
//
// The registered kernel is process-wide and can be registered only once. All tests of one
// executable run in one process (gtest_discover_tests also runs each alone), in any order. So:
// - every test that needs a registered kernel calls recordingKernel(), which registers a
//   RecordingKernel on its first call, whichever test comes first;
// - pcKernel() calls recordingKernel() before it first asks for the parametric-curve kernel, which
//   is then kept but not registered (its first instance() call reports the second registration);
// - tests of the registration itself (nothing registered yet, null first, the parametric-curve
//   kernel registering itself) run in a fresh child process (inFreshProcess).

#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace orvtest {

// A kernel that overrides nothing: every operation keeps its default.
class PlainKernel : public orv::KernelInterfaceBase {};

// Records the settings operations called on it, in order, and keeps the settings they set.
class RecordingKernel : public orv::KernelInterfaceBase {
public:
    projectionType projection;
    int parameter;
    float triangulationTolerance;
    double tolerance;
    std::vector<std::string> calls;
    std::vector<float> triangulationSet; // every value passed to setTriangulationTolerance
    bool failSetTolerance;               // setTolerance throws, as a failing host kernel would

    RecordingKernel() { reset(); }

    // Settings back to (projectionAlongNormal, 42, 0.1f, 1e-3), logs emptied, no failure.
    void reset() {
        projection = projectionAlongNormal;
        parameter = 42;
        triangulationTolerance = 0.1f;
        tolerance = 1e-3;
        calls.clear();
        triangulationSet.clear();
        failSetTolerance = false;
    }

    projectionType getProjectionType() override {
        calls.push_back("getProjectionType()");
        return projection;
    }
    projectionType getProjectionType(int& p) override {
        calls.push_back("getProjectionType(int&)");
        p = parameter;
        return projection;
    }
    void setProjectionType(projectionType t) override {
        calls.push_back("setProjectionType(type)");
        projection = t;
    }
    void setProjectionType(projectionType t, int p) override {
        calls.push_back("setProjectionType(type, " + std::to_string(p) + ")");
        projection = t;
        parameter = p;
    }
    float getTriangulationTolerance() override {
        calls.push_back("getTriangulationTolerance");
        return triangulationTolerance;
    }
    void setTriangulationTolerance(float t) override {
        calls.push_back("setTriangulationTolerance");
        triangulationTolerance = t;
        triangulationSet.push_back(t);
    }
    double getTolerance() override {
        calls.push_back("getTolerance");
        return tolerance;
    }
    void setTolerance(double t) override {
        calls.push_back("setTolerance");
        if (failSetTolerance) {
            orv::throwError<orv::data::error>("RecordingKernel", "setTolerance", "failed");
        }
        tolerance = t;
    }
};

// The kernel registered in the test process (see the top of this file).
inline RecordingKernel& recordingKernel() {
    static RecordingKernel* const kernel = [] {
        RecordingKernel* k = new RecordingKernel();
        k->registerInstance(k);
        return k;
    }();
    return *kernel;
}

// The parametric-curve kernel, kept but not registered in the test process.
inline orv::PCKernelInterface& pcKernel() {
    recordingKernel();
    static orv::PCKernelInterface* const kernel = [] {
        try {
            orv::PCKernelInterface::instance();
        } catch (const orv::internal::error&) {
            // The recording kernel is registered: the new kernel is kept without registration.
        }
        return orv::PCKernelInterface::instance();
    }();
    return *kernel;
}

// Ends a fresh-process child (below): prints the failed checks on standard error, where the
// parent shows them, and exits 1 if there were any.
[[noreturn]] inline void exitWithChecks() {
    const ::testing::TestResult* result =
        ::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); ++i) {
        const ::testing::TestPartResult& part = result->GetTestPartResult(i);
        if (part.failed()) {
            std::fprintf(stderr, "%s:%d: %s\n", part.file_name() ? part.file_name() : "?",
                         part.line_number(), part.message());
        }
    }
    std::exit(result->Failed() ? 1 : 0);
}

} // namespace orvtest

// Runs the statements in a fresh process, where no kernel is registered yet: a death-test child
// of the "threadsafe" style re-executes the test binary for this test only. A failed check in the
// child makes it exit 1, which fails the test.
#define ORV_EXPECT_IN_FRESH_PROCESS(statements)                                                    \
    do {                                                                                           \
        GTEST_FLAG_SET(death_test_style, "threadsafe");                                            \
        EXPECT_EXIT(                                                                               \
            {                                                                                      \
                statements;                                                                        \
                orvtest::exitWithChecks();                                                         \
            },                                                                                     \
            ::testing::ExitedWithCode(0), "");                                                     \
    } while (false)

#endif
