#include "orv/platform/Error.h"

namespace orv {

Error::Error(const std::string& classLabel, const std::string& operationLabel,
             const std::string& message, errorType type)
    : m_classLabel(classLabel), m_operationLabel(operationLabel), m_message(message), m_type(type) {
}

Error::Error(const Error& other) = default;
Error& Error::operator=(const Error& other) = default;
Error::~Error() = default;

std::string Error::describe() const {
    return m_classLabel + "::" + m_operationLabel + ": " + m_message;
}

namespace internal {
error::error(const std::string& classLabel, const std::string& operationLabel,
             const std::string& message, errorType type)
    : Error(classLabel, operationLabel, message, type) {}
error::error(const error& other) = default;
error::~error() = default;
} // namespace internal

namespace data {
error::error(const std::string& classLabel, const std::string& operationLabel,
             const std::string& message, errorType type)
    : Error(classLabel, operationLabel, message, type) {}
error::error(const error& other) = default;
error::~error() = default;

invalid::invalid(const std::string& classLabel, const std::string& operationLabel,
                 const std::string& message, errorType type)
    : error(classLabel, operationLabel, message, type) {}
invalid::invalid(const invalid& other) = default;
invalid::~invalid() = default;
} // namespace data

} // namespace orv
