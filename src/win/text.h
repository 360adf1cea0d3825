#pragma once

#include <string>
#include <string_view>

namespace win {

// The handlers and the layout table speak UTF-8, the Windows API UTF-16.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace win
