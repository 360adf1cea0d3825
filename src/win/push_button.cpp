#include "win/push_button.h"

namespace win {
namespace {

Press onButtonDown(HWND button) {
    SetCapture(button);
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    return Press::Followed;
}

// Pressed while the pointer is over it, as a held button shows.
Press onMouseMove(HWND button, LPARAM lParam) {
    if (GetCapture() != button) return Press::Followed;
    RECT r;
    GetClientRect(button, &r);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    SendMessageW(button, BM_SETSTATE, static_cast<WPARAM>(PtInRect(&r, at)), 0);
    return Press::Followed;
}

Press onButtonUp(HWND button) {
    if (GetCapture() != button) return Press::Followed;
    const bool pressed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    ReleaseCapture();
    return pressed ? Press::Clicked : Press::Followed;
}

Press onCaptureChanged(HWND button) {
    SendMessageW(button, BM_SETSTATE, FALSE, 0);
    return Press::Followed;
}

}  // namespace

Press followPress(HWND button, UINT message, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return onButtonDown(button);
        case WM_MOUSEMOVE:
            return onMouseMove(button, lParam);
        case WM_LBUTTONUP:
            return onButtonUp(button);
        case WM_CAPTURECHANGED:
            return onCaptureChanged(button);
        default:
            return Press::Ignored;
    }
}

}  // namespace win
