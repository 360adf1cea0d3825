#include "win/window_classes.h"

#include "win/creation_failure.h"

namespace win {
namespace {

LRESULT onFramePaint(HWND frame) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(frame, &paint);
    RECT client;
    GetClientRect(frame, &client);
    DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT);
    EndPaint(frame, &paint);
    return 0;
}

// What its controls tell their parent goes on to the window.
LRESULT onFrameNotice(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetParent(frame), message, wParam, lParam);
}

// A frame is a container with an etched edge: its controls are its child
// windows, clipped by it (Command1 shows one pixel).
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            return onFramePaint(frame);
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return onFrameNotice(frame, message, wParam, lParam);
        default:
            return DefWindowProcW(frame, message, wParam, lParam);
    }
}

void registerClass(const WNDCLASSEXW& windowClass) {
    made(RegisterClassExW(&windowClass), L"register the window class ",
         std::wstring_view(windowClass.lpszClassName));
}

}  // namespace

void registerClasses(HINSTANCE instance, WNDPROC formProc) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    // The title bar's icon, from its own size in the .ico: left to
    // RegisterClassExW, it is made from the resource again, 2 ms of the start
    // under wine.
    form.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0));
    form.lpszClassName = kFormClass;
    WNDCLASSEXW frame = form;
    frame.lpfnWndProc = frameProc;
    frame.hIcon = nullptr;
    frame.hIconSm = nullptr;
    frame.lpszClassName = kFrameClass;
    registerClass(frame);
    registerClass(form);
    // A static control that paints within its own clip: the system's draws
    // with its parent's (CS_PARENTDC), over the controls that lie above it.
    WNDCLASSEXW label{};
    label.cbSize = sizeof label;
    GetClassInfoExW(nullptr, L"STATIC", &label);
    label.style &= ~static_cast<UINT>(CS_PARENTDC);
    label.hInstance = instance;
    label.lpszClassName = kLabelClass;
    registerClass(label);
}

}  // namespace win
