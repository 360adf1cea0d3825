// The Windows start-up benchmark's yardstick: a plain Windows API window with
// the same 25 controls in the same tree and places as manacalc.exe's at
// 96 dpi, and nothing else: no handlers, fonts, notes or annotations.
//
// usage: bare_window_win.exe [FAMILY]   with a family, the controls show their
// texts in it, at the window's two sizes and with the Shift-JIS character set:
// the second yardstick, which tells the face's share of manacalc.exe's start.

#include <windows.h>

#include <array>
#include <string>

#include "ui/layout_table.h"

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring widen(std::string_view utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

// The character height at 96 dpi, as manacalc.exe's: a point is 20 twips.
HFONT face(const wchar_t* family, double points, int weight) {
    return CreateFontW(-ui::toPixels(static_cast<int>(points * 20)), 0, 0, 0, weight, FALSE, FALSE,
                       FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, family);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR family, int showCommand) {
    HFONT faces[2] = {};
    if (*family != L'\0') {
        faces[0] = face(family, ui::kDefaultPointSize, FW_NORMAL);
        faces[1] = face(family, ui::kBoldPointSize, FW_BOLD);
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"bare";
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(
        0, L"bare", L"bare", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
        ui::toPixels(ui::kClientWidthTwips) + 16, ui::toPixels(ui::kClientHeightTwips) + 39,
        nullptr, nullptr, instance, nullptr);
    std::array<HWND, ui::kControls.size()> built{};
    for (const ui::Control i : ui::kMadeBeneath) {
        const ui::ControlRow& row = ui::kControls[i];
        HWND parent = ui::kParents[i] == ui::kForm1 ? window : built[ui::kParents[i]];
        const wchar_t* windowClass = row.kind == ui::Kind::TextBox  ? L"EDIT"
                                     : row.kind == ui::Kind::Button ? L"BUTTON"
                                                                    : L"STATIC";
        built[i] =
            CreateWindowExW(row.kind == ui::Kind::TextBox ? WS_EX_CLIENTEDGE : 0, windowClass,
                            widen(row.caption).c_str(), WS_CHILD | WS_VISIBLE,
                            ui::toPixels(row.left), ui::toPixels(row.top), ui::toPixels(row.width),
                            ui::toPixels(row.height), parent, nullptr, instance, nullptr);
        if (faces[0] != nullptr) {
            SendMessageW(built[i], WM_SETFONT,
                         reinterpret_cast<WPARAM>(faces[row.font == ui::FontRole::Bold ? 1 : 0]),
                         FALSE);
        }
    }
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
