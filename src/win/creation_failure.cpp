#include "win/creation_failure.h"

namespace win {

std::wstring CreationFailure::message() const {
    std::wstring text = L"manacalc cannot " + what + L": ";
    wchar_t reason[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reason, 512, nullptr);
    // The system's sentence ends in a line break.
    while (length > 0 && (reason[length - 1] == L'\n' || reason[length - 1] == L'\r')) --length;
    text.append(reason, length);
    if (length > 0) text += L' ';
    return text + L"(error " + std::to_wstring(error) + L")";
}

}  // namespace win
