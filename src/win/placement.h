#pragma once

#include <windows.h>

#include <array>

#include "ui/layout_table.h"

// The calculator window's controls made, and placed at a DPI: the table's
// twips in the monitor's pixels.
namespace win {

class Fonts;

inline constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
inline constexpr DWORD kFormExStyle = 0;

// The control in row i of the layout table as one of the system's child
// windows, made where the table puts it at dpi, with parent: a frame, a
// label, an edit control or a push button. Its id names its row.
HWND createControl(ui::Control i, HWND parent, UINT dpi, HINSTANCE instance);

// The row of a control made by createControl.
ui::Control rowOf(HWND control);

// Where the table puts a control at this DPI, in its parent's client area.
RECT placeOf(const ui::ControlRow& row, UINT dpi);

// The outer size for the table's client area at this DPI.
SIZE windowSize(UINT dpi);

// WM_GETMINMAXINFO, asked before any other message, while the window is
// being made too: the table's client area and no other, no resizing.
LRESULT onGetMinMaxInfo(HWND form, LPARAM lParam);

// Every control's place and face at dpi, and the window's size.
void layOut(HWND form, const std::array<HWND, ui::kControls.size()>& controls, const Fonts& fonts,
            UINT dpi);

}  // namespace win
