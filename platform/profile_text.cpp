// Placeholder until the profile layer lands; reads nothing and changes nothing.
#include "platform/profile_text.hpp"

namespace profile {
std::optional<std::string> FindValue(std::string_view, std::string_view, std::string_view) { return std::nullopt; }
std::int32_t ParseInt(std::string_view, std::int32_t defaultValue) { return defaultValue; }
std::optional<std::string> SetValue(std::string_view, std::string_view, std::string_view, std::string_view) {
    return std::nullopt;
}
}  // namespace profile
