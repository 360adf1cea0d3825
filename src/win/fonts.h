#pragma once

#include <windows.h>

#include <string>

#include "ui/layout_table.h"

namespace win {

// The window's two faces at one DPI: the default at 9 pt and the bold one at
// 11.25 pt, in the one family picked at start. Made again for a new DPI.
class Fonts {
public:
    explicit Fonts(UINT dpi);
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    HFONT font(ui::FontRole role) const { return role == ui::FontRole::Bold ? m_bold : m_default; }

private:
    HFONT m_default;
    HFONT m_bold;
};

// The family the window is drawn in: the first of the layout's Gothic faces
// that is installed, else the first of the system's Japanese UI faces; empty
// when none is (the system's default face then).
const std::wstring& windowFamily();

}  // namespace win
