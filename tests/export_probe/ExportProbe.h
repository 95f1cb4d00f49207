#ifndef ORV_TESTS_EXPORTPROBE_H
#define ORV_TESTS_EXPORTPROBE_H

// A small shared library built with the geometry library's export macro and build settings, holding
// one of each kind of exported entity that the macro's rules cover: an abstract singleton with a
// private static m_instance and inline members, a class template explicitly instantiated in the
// library, and an exception class of the orv family. The tests use it as a host would.

#include "orv/foundation/Export.h"
#include "orv/platform/Error.h"

#include <string>

namespace orvprobe {

class ORV_API Registry {
public:
    Registry();
    virtual ~Registry();

    virtual int id() const = 0;
    // Inline virtual member calling the host's override.
    virtual int twice() const { return 2 * id(); }

    // The registered object; internal::error ("Registry", "instance", "none") when there is none.
    static Registry* instance();
    // Registers r once; a second call throws internal::error ("Registry", "registerInstance",
    // "twice") and keeps the first.
    void registerInstance(Registry* r);
    // Inline member reading the private static data.
    static bool hasInstance() { return m_instance != nullptr; }

private:
    static Registry* m_instance;
};

template <class T> class ORV_API Scaler {
public:
    explicit Scaler(T factor) : m_factor(factor) {}
    // Defined in the library.
    T scale(T value) const;
    // Inline member of an explicitly instantiated template.
    T factor() const { return m_factor; }
    // Static data defined in the library for each instantiation: sizeof(T).
    static const int s_bytes;

private:
    T m_factor;
};

ORV_EXTERN_TEMPLATE(Scaler<float>);
ORV_EXTERN_TEMPLATE(Scaler<double>);

class ORV_API ProbeError : public orv::data::invalid {
public:
    explicit ProbeError(const std::string& message);
    ProbeError(const ProbeError& other);
    ~ProbeError() override;
    std::string describe() const override;
};

// Throws ProbeError("thrown in the probe").
ORV_API void throwProbeError();

} // namespace orvprobe

#endif
