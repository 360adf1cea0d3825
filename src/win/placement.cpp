#include "win/placement.h"

#include <string>

#include "win/creation_failure.h"
#include "win/fonts.h"
#include "win/text.h"
#include "win/window_classes.h"

namespace win {
namespace {

int toPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

}  // namespace

// Made where the table puts it at the window's DPI: moving the 25 controls
// there afterwards took about 10 ms of the start under wine. A control's id
// is its row counted from 1: 0 is no id.
HWND createControl(ui::Control i, HWND parent, UINT dpi, HINSTANCE instance) {
    const ui::ControlRow& row = ui::kControls[i];
    const std::wstring caption = widen(row.caption);
    // Overlapping siblings paint in z-order only when each clips the others.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* windowClass = kLabelClass;
    switch (row.kind) {
        case ui::Kind::Frame:
            windowClass = kFrameClass;
            style |= WS_CLIPCHILDREN;
            break;
        case ui::Kind::Label:
            // Left-aligned from the top left corner and wrapped; without
            // SS_NOPREFIX, "&&" draws as one "&" as the original's labels did.
            style |= SS_LEFT;
            break;
        case ui::Kind::TextBox:
            windowClass = L"EDIT";
            exStyle = WS_EX_CLIENTEDGE;
            // The results are read-only and out of the Tab cycle.
            style |=
                ES_AUTOHSCROLL | static_cast<DWORD>(ui::isInput(row) ? WS_TABSTOP : ES_READONLY);
            break;
        case ui::Kind::Button:
            windowClass = L"BUTTON";
            style |= BS_PUSHBUTTON;
            break;
    }
    const RECT place = placeOf(row, dpi);
    HWND control =
        made(CreateWindowExW(exStyle, windowClass, caption.c_str(), style, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, parent,
                             reinterpret_cast<HMENU>(i + 1), instance, nullptr),
             L"create the control ", row.name);
    // Typing and pasting only: WM_SETTEXT, the program's write, is never cut.
    if (ui::isInput(row)) {
        SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(row.typingLimit), 0);
    }
    return control;
}

ui::Control rowOf(HWND control) {
    return static_cast<ui::Control>(GetDlgCtrlID(control) - 1);
}

// Both edges are rounded, so neighbours stay neighbours at any scale.
RECT placeOf(const ui::ControlRow& row, UINT dpi) {
    return {toPixels(row.left, dpi), toPixels(row.top, dpi), toPixels(row.left + row.width, dpi),
            toPixels(row.top + row.height, dpi)};
}

// Windows widens a captioned window to its minimum tracking size, far wider
// than ours.
SIZE windowSize(UINT dpi) {
    RECT r{0, 0, toPixels(ui::kClientWidthTwips, dpi), toPixels(ui::kClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&r, kFormStyle, FALSE, kFormExStyle, dpi);
    return {r.right - r.left, r.bottom - r.top};
}

LRESULT onGetMinMaxInfo(HWND form, LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    const SIZE size = windowSize(GetDpiForWindow(form));
    info->ptMinTrackSize = {size.cx, size.cy};
    info->ptMaxTrackSize = {size.cx, size.cy};
    return 0;
}

void layOut(HWND form, const std::array<HWND, ui::kControls.size()>& controls, const Fonts& fonts,
            UINT dpi) {
    for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
        const ui::ControlRow& row = ui::kControls[i];
        const RECT place = placeOf(row, dpi);
        // In place since their creation, unless the DPI has changed.
        RECT now;
        GetWindowRect(controls[i], &now);
        MapWindowPoints(nullptr, GetParent(controls[i]), reinterpret_cast<POINT*>(&now), 2);
        if (!EqualRect(&now, &place)) {
            SetWindowPos(controls[i], nullptr, place.left, place.top, place.right - place.left,
                         place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts.font(row.font)),
                     IsWindowVisible(form));
    }
    const SIZE size = windowSize(dpi);
    RECT now;
    GetWindowRect(form, &now);
    if (now.right - now.left != size.cx || now.bottom - now.top != size.cy) {
        SetWindowPos(form, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace win
