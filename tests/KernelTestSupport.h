#ifndef ORV_TESTS_KERNELTESTSUPPORT_H
#define ORV_TESTS_KERNELTESTSUPPORT_H

// Kernels for the kernel tests, and the one registration the test process makes. The tests run in
// one process in any order and a kernel registers only once, so every test that needs a registered
// kernel calls recordingKernel(), which registers a RecordingKernel on its first call; pcKernel()
// keeps the parametric-curve kernel unregistered; tests of the registration itself run in a fresh
// child process (ORV_EXPECT_IN_FRESH_PROCESS).

#include "TestSupport.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvtest {

// A kernel that overrides nothing: every operation keeps its default.
class PlainKernel : public orv::KernelInterfaceBase {};

// The shortest text that reads back to the same float or double ("0.05", "-0", "nan").
template <class T> std::string shortest(T value) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// "" when f returns, else "! <class>(<class label>, <operation label>, <message>)", the class the
// most derived of the library's four, with " type <n>" when the error type is not 4.
inline std::string attempt(const std::function<void()>& f) {
    try {
        f();
    } catch (const orv::Error& e) {
        const char* kind = dynamic_cast<const orv::data::invalid*>(&e)     ? "data::invalid"
                           : dynamic_cast<const orv::data::error*>(&e)     ? "data::error"
                           : dynamic_cast<const orv::internal::error*>(&e) ? "internal::error"
                                                                           : "Error";
        const int type = e.getErrorType();
        return std::string("! ") + kind + "(" + e.getClassLabel() + ", " + e.getOperationLabel() +
               ", " + e.getMessage() + ")" + (type == 4 ? "" : " type " + std::to_string(type));
    }
    return "";
}

// Keeps the settings set on it and logs the settings calls in order: "P?" getProjectionType(int&),
// "T?" getTriangulationTolerance, "D?" getTolerance, "P=<type>,<parameter>" setProjectionType,
// "T=<value>" setTriangulationTolerance, "D=<value>" setTolerance (calls of the other forms are
// missing from the log). A set call whose letter is in `failing` is logged with a "!" and throws
// data::error ("RecordingKernel", "set", "failed") instead of setting.
class RecordingKernel : public orv::KernelInterfaceBase {
public:
    projectionType projection;
    int parameter;
    float triangulationTolerance;
    double tolerance;
    std::string log, failing;

    RecordingKernel() { reset(); }

    // Settings back to (projectionAlongNormal, 42, 0.1f, 1e-3), log emptied, no failure.
    void reset() {
        projection = projectionAlongNormal;
        parameter = 42;
        triangulationTolerance = 0.1f;
        tolerance = 1e-3;
        log = failing = "";
    }
    void note(const std::string& entry) { log += (log.empty() ? "" : " ") + entry; }

    projectionType getProjectionType(int& p) override {
        p = parameter;
        return got("P?", projection);
    }
    float getTriangulationTolerance() override { return got("T?", triangulationTolerance); }
    double getTolerance() override { return got("D?", tolerance); }
    void setTriangulationTolerance(float t) override {
        triangulationTolerance = set('T', t, shortest(t));
    }
    void setTolerance(double t) override { tolerance = set('D', t, shortest(t)); }
    void setProjectionType(projectionType t, int p) override {
        projection = set('P', t, std::to_string(t) + "," + std::to_string(p));
        parameter = p;
    }

private:
    template <class T> T got(const char* entry, T value) {
        note(entry);
        return value;
    }
    template <class T> T set(char setting, T value, const std::string& text) {
        const bool fails = failing.find(setting) != std::string::npos;
        note(std::string(1, setting) + "=" + text + (fails ? "!" : ""));
        if (fails) {
            orv::throwError<orv::data::error>("RecordingKernel", "set", "failed");
        }
        return value;
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
        // The first call keeps the new kernel and reports the second registration.
        attempt([] { orv::PCKernelInterface::instance(); });
        return orv::PCKernelInterface::instance();
    }();
    return *kernel;
}

// Ends a fresh-process child: its failed checks go to standard error, which the parent shows.
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

// Runs the statements in a death-test child of the "threadsafe" style, which re-executes the test
// binary for this test only; a failed check in the child fails the test.
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
