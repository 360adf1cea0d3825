#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

// A window class or window the program could not make, which leaves it no
// window to go on with: what it was doing, and the system's code for why.
struct CreationFailure {
    std::wstring what;  // "register the window class ManacalcFrame"
    DWORD error;

    // What the player is shown: the act that failed, then the system's own
    // words for its error code.
    std::wstring message() const;
};

// handle, unless it is null: then a CreationFailure for act and name, with
// the error the call that returned it left behind. The error is read before
// the text is put together, which could change it; the names are the
// program's own ASCII words.
template <typename Handle, typename Char = wchar_t>
Handle made(Handle handle, std::wstring_view act, std::basic_string_view<Char> name = {}) {
    if (handle != Handle{}) return handle;
    const DWORD error = GetLastError();
    std::wstring what(act);
    what.append(name.begin(), name.end());
    throw CreationFailure{std::move(what), error};
}

}  // namespace win
