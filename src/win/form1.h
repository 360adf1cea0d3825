#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "ui/layout_table.h"
#include "ui/rules.h"
#include "win/annotations.h"
#include "win/creation_failure.h"
#include "win/error_note.h"
#include "win/fonts.h"

namespace win {

// The calculator window on the Windows API. Its edit controls are the field
// set: the calculations read and write the controls themselves, so no copy of
// the state exists anywhere else. It hands the controls' messages to the
// window's rules and does what they ask of it in the system's terms.
class Form1 : public calc::FieldSet, private ui::Port {
public:
    // Creates the window, hidden, at the DPI of the monitor it lands on.
    // Throws a CreationFailure when a class or a window cannot be made.
    explicit Form1(HINSTANCE instance);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the window with the focus on Text1, whose focus handler runs.
    void show(int showCommand);

    std::string text(calc::Field f) const override;
    void setText(calc::Field f, std::string_view text) override;

    HWND hwnd() const { return m_hwnd; }
    HWND control(ui::Control c) const { return m_controls[c]; }
    HWND textBox(calc::Field f) const { return m_fields[calc::index(f)]; }
    const ErrorNote& errorNote() const { return *m_note; }
    // A window the form could not make once it was running, which ended
    // the message loop.
    const std::optional<CreationFailure>& failure() const { return m_failure; }

    // The window class's procedure.
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static void attach(HWND hwnd, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    // What the control in row i does with a message by its own class.
    LRESULT byClass(ui::Control i, HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    // The window's messages.
    LRESULT onDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT onActivate(WPARAM wParam);
    LRESULT onSetFocus();
    LRESULT onTimer(WPARAM wParam, LPARAM lParam);
    LRESULT onMove();
    LRESULT onCtlColorStatic(WPARAM wParam, LPARAM lParam);
    LRESULT onInputMethodCommit(WPARAM wParam);
    LRESULT onGetObject(WPARAM wParam, LPARAM lParam);
    LRESULT onDestroy();

    // A text box's messages; i is its row.
    LRESULT textBoxMessage(ui::Control i, HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxKeyDown(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxChar(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxSetFocus(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxKeyUp(ui::Control i, HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxUndo(ui::Control i, HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxImeComposition(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxGetObject(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam);
    // Command1's.
    LRESULT buttonMessage(ui::Control i, HWND button, UINT message, WPARAM wParam, LPARAM lParam);

    void build();
    // Every control's place and face at the window's DPI.
    void layOut();

    void moveFocus(calc::Field input) override;
    void returnFocus(calc::Field box) override;
    void showNote(ui::Control at, std::string_view text) override;
    void hideNote() override;
    void describe(ui::Control at, std::string_view text) override;
    void announceNote(std::string_view text) override;
    void announceResults(std::string_view text) override;
    void startPause(int milliseconds) override;
    void stopPause() override;

    HINSTANCE m_instance;
    HWND m_hwnd = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<Fonts> m_fonts;
    std::array<HWND, ui::kControls.size()> m_controls{};
    std::array<HWND, calc::kFieldCount> m_fields{};
    // The procedures the text boxes and the button had from their class.
    std::array<WNDPROC, ui::kControls.size()> m_classProcs{};
    std::unique_ptr<ErrorNote> m_note;
    WindowAnnotations m_annotations{m_controls};
    bool m_closing = false;  // destroyed by its owner, not closed by the player
    std::optional<CreationFailure> m_failure;
    ui::Rules m_rules{*this, *this};
};

}  // namespace win
