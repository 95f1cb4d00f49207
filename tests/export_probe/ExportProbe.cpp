#include "ExportProbe.h"

namespace orvprobe {

Registry* Registry::m_instance = nullptr;

Registry::Registry() = default;
Registry::~Registry() = default;

Registry* Registry::instance() {
    if (m_instance == nullptr) {
        orv::throwError<orv::internal::error>("Registry", "instance", "none");
    }
    return m_instance;
}

void Registry::registerInstance(Registry* r) {
    if (m_instance != nullptr) {
        orv::throwError<orv::internal::error>("Registry", "registerInstance", "twice");
    }
    m_instance = r;
}

template <class T> T Scaler<T>::scale(T value) const {
    return value * m_factor;
}
template <class T> const int Scaler<T>::s_bytes = sizeof(T);

template class Scaler<float>;
template class Scaler<double>;

ProbeError::ProbeError(const std::string& message)
    : orv::data::invalid("Probe", "throwProbeError", message, orv::errorTypeError) {}
ProbeError::ProbeError(const ProbeError& other) = default;
ProbeError::~ProbeError() = default;
std::string ProbeError::describe() const {
    return "probe: " + getMessage();
}

void throwProbeError() {
    throw ProbeError("thrown in the probe");
}

} // namespace orvprobe
