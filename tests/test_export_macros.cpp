// The export macro's rules, checked through a probe library built with the geometry library's
// settings and used from this program as a host uses the library.
#include "TestSupport.h"

#include "export_probe/ExportProbe.h"

namespace {

class HostRegistry : public orvprobe::Registry {
public:
    explicit HostRegistry(int id) : m_id(id) {}
    int id() const override { return m_id; }

private:
    int m_id;
};

} // namespace

// The whole life of the process-wide registration, in order, in one test.
TEST(ExportMacros, SingletonWithPrivateStaticInstance) {
    EXPECT_FALSE(orvprobe::Registry::hasInstance());
    EXPECT_TRUE(orvtest::throwsWith<orv::internal::error>([] { orvprobe::Registry::instance(); },
                                                          "Registry", "instance", "none"));
    static HostRegistry first(21);
    static HostRegistry second(5);
    first.registerInstance(&first);
    EXPECT_TRUE(orvprobe::Registry::hasInstance());
    ASSERT_EQ(orvprobe::Registry::instance(), &first);
    EXPECT_EQ(orvprobe::Registry::instance()->twice(), 42);
    EXPECT_NE(dynamic_cast<HostRegistry*>(orvprobe::Registry::instance()), nullptr);
    EXPECT_TRUE(orvtest::throwsWith<orv::internal::error>([] { second.registerInstance(&second); },
                                                          "Registry", "registerInstance", "twice"));
    EXPECT_EQ(orvprobe::Registry::instance(), &first);
}

TEST(ExportMacros, ExplicitlyInstantiatedClassTemplate) {
    const orvprobe::Scaler<float> f(0.5f);
    const orvprobe::Scaler<double> d(0.25);
    EXPECT_TRUE(orvtest::sameBits(f.scale(3.0f), 1.5f));
    EXPECT_TRUE(orvtest::sameBits(d.scale(3.0), 0.75));
    EXPECT_TRUE(orvtest::sameBits(f.factor(), 0.5f));
    EXPECT_TRUE(orvtest::sameBits(d.factor(), 0.25));
    // Called through its address, the inline member is the library's exported copy.
    float (orvprobe::Scaler<float>::*volatile factorOf)() const = &orvprobe::Scaler<float>::factor;
    EXPECT_TRUE(orvtest::sameBits((f.*factorOf)(), 0.5f));
    EXPECT_EQ(orvprobe::Scaler<float>::s_bytes, 4);
    EXPECT_EQ(orvprobe::Scaler<double>::s_bytes, 8);
}

TEST(ExportMacros, ExceptionClassOfTheLibraryCaughtByTheHost) {
    EXPECT_TRUE(orvtest::throwsWith<orvprobe::ProbeError>(
        orvprobe::throwProbeError, "Probe", "throwProbeError", "thrown in the probe"));
    try {
        orvprobe::throwProbeError();
    } catch (const orv::Error& e) {
        EXPECT_EQ(e.describe(), "probe: thrown in the probe");
        EXPECT_NE(dynamic_cast<const orv::data::invalid*>(&e), nullptr);
    }
}
