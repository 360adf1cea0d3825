#pragma once

#include <windows.h>

#include <wtypes.h>

#include <string>

struct IRawElementProviderSimple;

namespace win {

// Tells screen readers a text through UI Automation's notification event,
// which Narrator and NVDA speak wherever their focus is: the only way a window
// of standard controls has to tell one something unasked. The function came
// with Windows 10 1709 and is looked up at the first text, so that the program
// starts where it is missing (older systems, wine), and then tells nothing.
class Notifier {
public:
    Notifier() = default;
    ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    void notify(HWND window, const std::wstring& text);

private:
    bool load();

    bool m_tried = false;
    HMODULE m_uia = nullptr;
    HMODULE m_oleaut = nullptr;
    BOOL(WINAPI* m_listening)() = nullptr;
    HRESULT(WINAPI* m_hostProvider)(HWND, IRawElementProviderSimple**) = nullptr;
    HRESULT(WINAPI* m_raise)(IRawElementProviderSimple*, int, int, BSTR, BSTR) = nullptr;
    BSTR(WINAPI* m_allocString)(const OLECHAR*) = nullptr;
    void(WINAPI* m_freeString)(BSTR) = nullptr;
};

}  // namespace win
