#pragma once

#include <windows.h>

#include <oleacc.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "ui/layout_table.h"

namespace win {

// What screen readers are told about our controls beyond what the system
// infers. Windows names an edit control after the static text just above it
// in z-order, and our labels lie beneath every other control, so each text box
// is named here instead (dynamic annotation leaves the z-order alone).
//
// COM and the annotation service are loaded with the first annotation, not
// at start: importing ole32 alone cost a third more start-up time under
// wine, and most players never run a screen reader. Does nothing where the
// service is missing.
class Annotations {
public:
    Annotations() = default;
    ~Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void setName(HWND hwnd, const std::wstring& name);
    void setRole(HWND hwnd, long role);
    // Empty: none.
    void setDescription(HWND hwnd, const std::wstring& description);
    // Before the windows go: the service keeps what it was told until then.
    void clear();

private:
    bool load();
    // What clear() takes back.
    void remember(HWND hwnd, MSAAPROPID property);

    bool m_tried = false;
    HMODULE m_ole = nullptr;
    bool m_initialized = false;  // this COM apartment is ours to end
    IAccPropServices* m_services = nullptr;
    std::vector<std::pair<HWND, MSAAPROPID>> m_set;
};

// What screen readers are told of the calculator window beyond what the
// system infers: each text box's name, the note's role, and the description
// a note leaves on the control it came from. Given once a screen reader asks
// or a note shows while one runs, and not before: the annotations load COM.
class WindowAnnotations {
public:
    using Controls = std::array<HWND, ui::kControls.size()>;

    explicit WindowAnnotations(const Controls& controls) : m_controls(controls) {}

    // A screen reader asked for an object of the window. note: the note's
    // window, null until it first shows.
    void asked(HWND note);
    // The note shows, as an alert.
    void alert(HWND note);
    // Empty: none.
    void describe(ui::Control at, const std::wstring& text);
    // Before the windows go.
    void clear() { m_annotations.clear(); }

private:
    const Controls& m_controls;
    Annotations m_annotations;
    bool m_named = false;
    bool m_noteRole = false;
};

// Tells screen readers a text through UI Automation's notification event,
// which Narrator and NVDA speak wherever their focus is: the only way a window
// of standard controls has to tell one something unasked. The function came
// with Windows 10 1709; looked up at the first text, so that the program
// starts where it is missing (older systems, wine), which then hear nothing.
void notify(HWND window, const std::wstring& text);

}  // namespace win
