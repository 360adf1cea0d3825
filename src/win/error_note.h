#pragma once

#include <windows.h>

#include <string>

namespace win {

// A tooltip-like note that shows a calculation error beside a field. It never
// takes the focus and needs no click to close: a message box would swallow
// the player's typing, and the Enter released to close it would land in the
// field and raise the same error again.
class ErrorNote {
public:
    explicit ErrorNote(HWND owner);
    ~ErrorNote();
    ErrorNote(const ErrorNote&) = delete;
    ErrorNote& operator=(const ErrorNote&) = delete;

    // Shows message just below the field (or the button). Throws a
    // CreationFailure when the note's window cannot be made.
    void showAt(HWND field, const std::wstring& message);
    void hide();
    // Moves a visible note back under its field after the window moved.
    void follow();
    void setFont(HFONT font);

    // The note's window, made when it first shows: most players never see it.
    HWND hwnd() const { return m_hwnd; }
    bool isVisible() const { return m_hwnd != nullptr && IsWindowVisible(m_hwnd) != FALSE; }
    std::wstring text() const;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onPaint() const;
    void place();

    HWND m_owner;
    HWND m_hwnd = nullptr;
    HWND m_field = nullptr;
    HFONT m_font = nullptr;
};

}  // namespace win
