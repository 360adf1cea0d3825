#pragma once

#include <windows.h>

// The window classes of the calculator window: registered once per process.
namespace win {

inline constexpr wchar_t kFormClass[] = L"ManacalcForm1";
inline constexpr wchar_t kFrameClass[] = L"ManacalcFrame";
inline constexpr wchar_t kLabelClass[] = L"ManacalcLabel";

// The form's class calls formProc; the icons are the program's resource 1.
// Throws a CreationFailure naming the class that could not be registered.
void registerClasses(HINSTANCE instance, WNDPROC formProc);

}  // namespace win
