#include "orv/platform/SystemMsg.h"
#include "orv/platform/UserMsg.h"

namespace orv {

SystemMsg::SystemMsg(const std::string& text) : m_text(text) {}

SystemMsg::operator std::string() const {
    return m_text;
}

UserMsg::UserMsg(const std::string& text, bool* /*flag*/) : m_text(text) {}

UserMsg::operator std::string() const {
    return m_text;
}

} // namespace orv
