#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "calc/handlers.h"
#include "calc/recalculation.h"
#include "layout/layout_table.h"
#include "win/annotations.h"
#include "win/error_note.h"
#include "win/fonts.h"

namespace win {

// The calculator window on the Windows API. Its edit controls are the field
// set: the calculations read and write the controls themselves, so no copy of
// the state exists anywhere else. It binds the shared handlers to the
// controls' messages and gives them their Tab keystroke.
class Form1 final : public calc::FieldSet, private calc::FocusPort {
public:
    // Creates the window, hidden, at the DPI of the monitor it lands on.
    explicit Form1(HINSTANCE instance);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the window with the focus on Text1, whose focus handler runs.
    void show(int showCommand);

    std::string text(calc::Field f) const override;
    void setText(calc::Field f, std::string_view text) override;

    HWND hwnd() const { return m_hwnd; }
    // A control by its name in the layout table; nullptr for an unknown name.
    HWND control(std::string_view name) const;
    HWND textBox(calc::Field f) const { return m_fields[calc::index(f)]; }
    const ErrorNote& errorNote() const { return *m_note; }

    // The click on the Calculate button.
    void Command1_Click();

    // The window class's procedure.
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    // What the control's own class does with a message.
    LRESULT byClass(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    std::size_t indexOf(HWND control) const;
    LRESULT input(const calc::FieldHandlers& binding, HWND box, UINT message, WPARAM wParam,
                  LPARAM lParam);
    LRESULT button(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

    void build();
    void create(std::size_t control);
    // Names the text boxes and gives the note its role, once a screen reader
    // asks or a note shows while one runs.
    void annotate();
    // Every control's place and face at the window's DPI.
    void layOut();
    void sendTab() override;
    void moveFocus(HWND from, bool backward);
    void calculated(calc::Outcome outcome);
    // Runs a handler; a calculation error shows at the field instead of
    // ending the program.
    template <typename Handler>
    void run(HWND origin, Handler handler);

    HINSTANCE m_instance;
    HWND m_hwnd = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<Fonts> m_fonts;
    std::array<HWND, ui::kControls.size()> m_controls{};
    std::array<HWND, calc::kFieldCount> m_fields{};
    // The procedures the text boxes and the button had from their class.
    std::array<WNDPROC, ui::kControls.size()> m_classProcs{};
    // The shared handlers of each input; nullptr for the other controls.
    std::array<const calc::FieldHandlers*, ui::kControls.size()> m_bindings{};
    std::unique_ptr<ErrorNote> m_note;
    Annotations m_annotations;
    HWND m_lastFocus = nullptr;  // the input to give the focus back to
    bool m_returning = false;    // the focus comes back with the window: no entry
    bool m_closing = false;      // destroyed by its owner, not closed by the player
    bool m_annotated = false;
    bool m_noteAnnotated = false;
    calc::Handlers m_handlers{*this, *this};
};

}  // namespace win
