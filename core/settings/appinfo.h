// The program's own name and version texts.
#pragma once

#include <string_view>

namespace quintor::appinfo {

inline constexpr std::string_view title = "Quintor Velmar";
inline constexpr std::string_view versionWord = "Velmar 2.02 Beta [84]";
// Status bar and log entries begin with this.
inline constexpr std::string_view versionPrefix = "Quintor Velmar 2.02 Beta [84] - ";

} // namespace quintor::appinfo
