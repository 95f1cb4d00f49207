// The process-wide kernel registration. Each scenario runs in a fresh process, where nothing is
// registered yet (see KernelTestSupport.h).
#include "KernelTestSupport.h"

namespace {

using orv::KernelInterfaceBase;

::testing::AssertionResult refusesInstance() {
    return orvtest::throwsWith<orv::internal::error>(
        [] { KernelInterfaceBase::instance(); }, "KernelInterfaceBase", "instance",
        "KernelInterfaceBase::instance called before instance has been registered.");
}

::testing::AssertionResult refusesSecond(const std::function<void()>& registration) {
    return orvtest::throwsWith<orv::internal::error>(
        registration, "KernelInterfaceBase", "registerInstance",
        "KernelInterfaceBase::registerInstance second time.");
}

orvtest::PlainKernel a, b;

void nullFirstThenOnceThenRefused() {
    EXPECT_TRUE(refusesInstance());
    a.registerInstance(nullptr);
    EXPECT_TRUE(refusesInstance());
    a.registerInstance(&b); // the argument is registered, not the object called
    EXPECT_EQ(KernelInterfaceBase::instance(), &b);
    EXPECT_EQ(KernelInterfaceBase::instance(), &b);
    EXPECT_TRUE(refusesSecond([] { b.registerInstance(&b); }));
    EXPECT_TRUE(refusesSecond([] { a.registerInstance(&a); }));
    EXPECT_TRUE(refusesSecond([] { a.registerInstance(nullptr); }));
    EXPECT_EQ(KernelInterfaceBase::instance(), &b);
    // The curve kernel's first instance() keeps the new kernel, then reports the second
    // registration; later calls return the kept kernel without error.
    EXPECT_TRUE(refusesSecond([] { orv::PCKernelInterface::instance(); }));
    orv::PCKernelInterface* kept = orv::PCKernelInterface::instance();
    EXPECT_NE(kept, nullptr);
    EXPECT_EQ(orv::PCKernelInterface::instance(), kept);
    EXPECT_EQ(KernelInterfaceBase::instance(), &b);
}

void curveKernelRegistersItself() {
    orv::PCKernelInterface* kernel = orv::PCKernelInterface::instance();
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(orv::PCKernelInterface::instance(), kernel);
    EXPECT_EQ(KernelInterfaceBase::instance(), kernel);
    EXPECT_TRUE(refusesSecond([] { a.registerInstance(&a); }));
    EXPECT_EQ(KernelInterfaceBase::instance(), kernel);
}

} // namespace

TEST(KernelRegistration, NullFirstThenOnceThenRefusedAndKept) {
    ORV_EXPECT_IN_FRESH_PROCESS(nullFirstThenOnceThenRefused());
}

TEST(KernelRegistration, CurveKernelRegistersItselfOnFirstUse) {
    ORV_EXPECT_IN_FRESH_PROCESS(curveKernelRegistersItself());
}
