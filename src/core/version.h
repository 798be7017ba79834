// The program's version, as the build states it, and the title every window carries.
#pragma once

#include <string_view>

namespace solvane::core {

inline constexpr std::string_view kVersion = SOLVANE_VERSION;
inline constexpr std::string_view kProgramTitle = "Solvane v" SOLVANE_SHORT_VERSION;

}  // namespace solvane::core
