#ifndef ORV_PLATFORM_ERROR_H
#define ORV_PLATFORM_ERROR_H

#include "orv/platform/PlatformExport.h"

#include <string>

namespace orv {

// Severity of an exception. Every refusal of libORVRWGeometryTools uses errorTypeError (4).
enum errorType {
    errorTypeInformation = 1,
    errorTypeWarning = 2,
    errorTypeFatal = 3,
    errorTypeError = 4
};

// Root of the exception family thrown by the library. It does not derive from std::exception:
// catch orv::Error (or a more specific class) by reference. It keeps the label of the class and of
// the operation where the check lives, the message text and the error type.
//
// The classes have default visibility and their virtual destructors are defined in the platform
// library, so their type information is unique and a host catches them by type across the library
// boundary.
class ORV_PLATFORM_API Error {
public:
    Error(const std::string& classLabel, const std::string& operationLabel,
          const std::string& message, errorType type);
    Error(const Error& other);
    Error& operator=(const Error& other);
    virtual ~Error();

    const std::string& getClassLabel() const { return m_classLabel; }
    const std::string& getOperationLabel() const { return m_operationLabel; }
    const std::string& getMessage() const { return m_message; }
    errorType getErrorType() const { return m_type; }

    // "<class label>::<operation label>: <message>", for logging by a host.
    virtual std::string describe() const;

private:
    std::string m_classLabel;
    std::string m_operationLabel;
    std::string m_message;
    errorType m_type;
};

namespace internal {

// A fault of the program or of its sequence of calls (for example an unregistered kernel).
class ORV_PLATFORM_API error : public Error {
public:
    error(const std::string& classLabel, const std::string& operationLabel,
          const std::string& message, errorType type);
    error(const error& other);
    ~error() override;
};

} // namespace internal

namespace data {

// A fault in the data a host passed.
class ORV_PLATFORM_API error : public Error {
public:
    error(const std::string& classLabel, const std::string& operationLabel,
          const std::string& message, errorType type);
    error(const error& other);
    ~error() override;
};

// Data refused as invalid (zero axis direction, division by zero, bad period angle, ...).
class ORV_PLATFORM_API invalid : public error {
public:
    invalid(const std::string& classLabel, const std::string& operationLabel,
            const std::string& message, errorType type);
    invalid(const invalid& other);
    ~invalid() override;
};

} // namespace data

// Builds an exception of class E from the labels and the already wrapped message and throws it by
// value with error type 4. Every refusal in the library goes through here, for example
//   throwError<data::invalid>("Triplet", "operator/=", UserMsg("Attempt to divide by zero.",
//   nullptr));
template <class E>
[[noreturn]] void throwError(const std::string& classLabel, const std::string& operationLabel,
                             const std::string& message) {
    throw E(classLabel, operationLabel, message, errorTypeError);
}

} // namespace orv

#endif
