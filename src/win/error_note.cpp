#include "win/error_note.h"

#include "ui/rules.h"
#include "win/creation_failure.h"

namespace win {
namespace {

constexpr wchar_t kClassName[] = L"ManacalcErrorNote";
constexpr int kMargin = 3;  // around the text, inside the border

}  // namespace

ErrorNote::ErrorNote(HWND owner) : m_owner(owner) {}

ErrorNote::~ErrorNote() {
    if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
}

void ErrorNote::setFont(HFONT font) {
    m_font = font;
    if (isVisible()) place();
}

std::wstring ErrorNote::text() const {
    if (m_hwnd == nullptr) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_hwnd)), L'\0');
    GetWindowTextW(m_hwnd, text.data(), static_cast<int>(text.size() + 1));
    return text;
}

void ErrorNote::showAt(HWND field, const std::wstring& message) {
    if (m_hwnd == nullptr) {
        static const ATOM registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = windowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
            wc.lpszClassName = kClassName;
            return made(RegisterClassExW(&wc), L"register the window class ",
                        std::wstring_view(kClassName));
        }();
        (void)registered;
        m_hwnd = made(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST,
                                      kClassName, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0, m_owner,
                                      nullptr, GetModuleHandleW(nullptr), nullptr),
                      L"create the error note's window");
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    m_field = field;
    // The window text is what screen readers read as the note's name.
    SetWindowTextW(m_hwnd, message.c_str());
    place();
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
}

void ErrorNote::hide() {
    if (m_hwnd != nullptr) ShowWindow(m_hwnd, SW_HIDE);
}

void ErrorNote::follow() {
    if (isVisible() && m_field != nullptr) place();
}

// Sized to the text.
void ErrorNote::place() {
    const std::wstring message = text();
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ old = SelectObject(dc, m_font);
    RECT bounds{};
    DrawTextW(dc, message.c_str(), static_cast<int>(message.size()), &bounds,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(m_hwnd, dc);
    const int border = GetSystemMetrics(SM_CXBORDER);
    const int width = bounds.right + 2 * (kMargin + border);
    const int height = bounds.bottom + 2 * (kMargin + border);

    RECT field{};
    GetWindowRect(m_field, &field);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_field, MONITOR_DEFAULTTONEAREST), &monitor);
    const auto rect = [](const RECT& r) {
        return ui::Rect<LONG>{r.left, r.top, r.right, r.bottom};
    };
    const auto [x, y] = ui::notePlace(rect(field), width, height, rect(monitor.rcWork));
    SetWindowPos(m_hwnd, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

LRESULT CALLBACK ErrorNote::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* note = reinterpret_cast<ErrorNote*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_PAINT:
            if (note != nullptr) return note->onPaint();
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The text in the note's face, inside its margin, on the tooltip colours.
LRESULT ErrorNote::onPaint() const {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hwnd, &paint);
    RECT client;
    GetClientRect(m_hwnd, &client);
    InflateRect(&client, -kMargin, -kMargin);
    HGDIOBJ old = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    const std::wstring message = text();
    DrawTextW(dc, message.c_str(), static_cast<int>(message.size()), &client,
              DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(m_hwnd, &paint);
    return 0;
}

}  // namespace win
