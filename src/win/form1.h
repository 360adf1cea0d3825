#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "ui/layout_table.h"
#include "ui/rules.h"
#include "win/annotations.h"
#include "win/error_note.h"
#include "win/fonts.h"

namespace win {

// The calculator window on the Windows API. Its edit controls are the field
// set: the calculations read and write the controls themselves, so no copy of
// the state exists anywhere else. It hands the controls' messages to the
// window's rules and does what they ask of it in the system's terms.
class Form1 final : public calc::FieldSet, private ui::Port {
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
    // The last summary of the results told to screen readers.
    const std::string& announced() const { return m_announced; }

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
    // i: the control's row, which its procedure has looked up already.
    LRESULT textBoxMessage(std::size_t i, HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT inputMessage(calc::Field field, HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT buttonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

    void build();
    void create(std::size_t control);
    // Names the text boxes and gives the note its role, once a screen reader
    // asks or a note shows while one runs.
    void annotate();
    // Every control's place and face at the window's DPI.
    void layOut();

    void moveFocus(calc::Field input) override;
    void showNote(ui::Control at, std::string_view text) override;
    void hideNote() override;
    void dismissNote() override;
    void announce(std::string_view text, ui::Voice voice) override;
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
    Annotations m_annotations;
    std::string m_announced;
    bool m_closing = false;  // destroyed by its owner, not closed by the player
    bool m_annotated = false;
    bool m_noteAnnotated = false;
    ui::Rules m_rules{*this, *this};
};

}  // namespace win
