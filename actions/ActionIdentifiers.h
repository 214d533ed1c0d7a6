#pragma once

#include <string_view>

// The action kinds this plug-in offers, as the host names them. Compared by exact byte
// equality: an identifier that differs in letter case or length is someone else's action.
namespace ActionIdentifiers {

inline constexpr std::string_view Load = "com.korvex.powerpoint.load";
inline constexpr std::string_view Play = "com.korvex.powerpoint.play";
inline constexpr std::string_view Next = "com.korvex.powerpoint.next";
inline constexpr std::string_view Previous = "com.korvex.powerpoint.prev";
inline constexpr std::string_view First = "com.korvex.powerpoint.first";
inline constexpr std::string_view Last = "com.korvex.powerpoint.last";

}  // namespace ActionIdentifiers
