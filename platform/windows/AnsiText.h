#pragma once

#include <optional>
#include <string>
#include <string_view>

// The registry and wallpaper calls use the "A" forms of the Windows functions, which
// read and write text in the system's ANSI code page. These convert between that code
// page and UTF-16.
namespace win {

// Empty when some character has no form in the ANSI code page: a '?' in its place
// would silently address another key or file.
std::optional<std::string> wideToAnsi(std::wstring_view text);

std::wstring ansiToWide(std::string_view text);

} // namespace win
