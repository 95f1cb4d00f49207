#ifndef ORV_PLATFORM_SYSTEMMSG_H
#define ORV_PLATFORM_SYSTEMMSG_H

#include "orv/platform/PlatformExport.h"

#include <string>

namespace orv {

// Wraps the text of a message meant for the developer of a host (an internal or programming fault).
// This wrapper passes the text through unchanged: converting it back gives exactly the text it was
// built from.
class ORV_PLATFORM_API SystemMsg {
public:
    explicit SystemMsg(const std::string& text);
    operator std::string() const;

private:
    std::string m_text;
};

} // namespace orv

#endif
