#ifndef ORV_TESTS_KERNELTESTSUPPORT_H
#define ORV_TESTS_KERNELTESTSUPPORT_H

// Helpers for the kernel tests. The test process registers no kernel but the parametric-curve
// kernel (on the first PCKernelInterface::instance()); tests that register another run in a fresh
// child process.

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

} // namespace orvtest

#endif
