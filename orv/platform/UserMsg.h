#ifndef ORV_PLATFORM_USERMSG_H
#define ORV_PLATFORM_USERMSG_H

#include "orv/platform/PlatformExport.h"

#include <string>

namespace orv {

// Wraps the text of a message meant for the user of a host (bad input). The flag pointer is
// accepted for interface compatibility and is not used; every caller passes nullptr. The text
// passes through unchanged.
class ORV_PLATFORM_API UserMsg {
public:
    UserMsg(const std::string& text, bool* flag);
    operator std::string() const;

private:
    std::string m_text;
};

} // namespace orv

#endif
