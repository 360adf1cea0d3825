#include "win/form1.h"

#include <imm.h>

#include "win/placement.h"
#include "win/push_button.h"
#include "win/text.h"
#include "win/window_classes.h"

namespace win {

using calc::Field;
using ui::kControls;

namespace {

// Posted by an input whose input method committed text: its field.
constexpr UINT kInputMethodCommit = WM_APP + 1;
constexpr UINT_PTR kTypingPause = 1;

int shiftState() {
    return ui::shiftState(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                          GetKeyState(VK_MENU) < 0);
}

}  // namespace

Form1::Form1(HINSTANCE instance) : m_instance(instance) {
    static const bool registered = (registerClasses(instance, windowProc), true);
    (void)registered;
    // Made at its size for the system's DPI, which most windows keep: a
    // window resized later costs the start a round trip to the display.
    const SIZE size = windowSize(GetDpiForSystem());
    made(CreateWindowExW(kFormExStyle, kFormClass, widen(ui::kTitle).c_str(), kFormStyle,
                         CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance,
                         this),
         L"create the calculator window");
    try {
        m_dpi = GetDpiForWindow(m_hwnd);
        m_note = std::make_unique<ErrorNote>(m_hwnd);
        build();
        layOut();
    } catch (...) {
        // Left behind, the window would still find this Form1 in its user
        // data: in the message box's loop, for one.
        m_closing = true;
        DestroyWindow(m_hwnd);
        throw;
    }
}

Form1::~Form1() {
    m_closing = true;
    m_annotations.clear();
    m_note.reset();
    DestroyWindow(m_hwnd);
}

void Form1::show(int showCommand) {
    ShowWindow(m_hwnd, showCommand);
}

// A new child window lies beneath its siblings made before it. Moved there
// once made instead, each label would cost the start a trip to the server.
// The text boxes and the button bring their messages here.
void Form1::build() {
    for (const ui::Control i : ui::kMadeBeneath) {
        const ui::Control parent = ui::kParents[i];
        HWND hwnd =
            createControl(i, parent == ui::kForm1 ? m_hwnd : m_controls[parent], m_dpi, m_instance);
        m_controls[i] = hwnd;
        if (const auto field = ui::fieldAt(i)) m_fields[calc::index(*field)] = hwnd;
        if (kControls[i].kind == ui::Kind::TextBox || kControls[i].kind == ui::Kind::Button) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            m_classProcs[i] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
        }
    }
}

void Form1::layOut() {
    m_fonts = std::make_unique<Fonts>(m_dpi);
    win::layOut(m_hwnd, m_controls, *m_fonts, m_dpi);
    m_note->setFont(m_fonts->font(ui::FontRole::Default));
}

std::string Form1::text(Field f) const {
    HWND box = textBox(f);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)), L'\0');
    GetWindowTextW(box, text.data(), static_cast<int>(text.size() + 1));
    return narrow(text);
}

void Form1::setText(Field f, std::string_view text) {
    HWND box = textBox(f);
    SetWindowTextW(box, widen(text).c_str());
    // Show a written number from its first digit: "219.17" in a narrow box,
    // not ".175".
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

// The focus as a Tab moves it: the box it reaches has its text selected, as
// a dialog's Tab does.
void Form1::moveFocus(Field input) {
    SetFocus(textBox(input));
    SendMessageW(textBox(input), EM_SETSEL, 0, -1);
}

// As the player left it: its text and selection as they were.
void Form1::returnFocus(Field box) {
    SetFocus(textBox(box));
}

// The note's window is made when it first shows, inside a window
// procedure, which no exception may leave: its failure ends the message loop
// and waits for the loop's end.
void Form1::showNote(ui::Control at, std::string_view text) {
    try {
        m_note->showAt(m_controls[at], widen(text));
    } catch (const CreationFailure& failure) {
        m_failure = failure;
        PostQuitMessage(1);
    }
}

void Form1::hideNote() {
    m_note->hide();
}

void Form1::describe(ui::Control at, std::string_view text) {
    m_annotations.describe(at, widen(text));
}

void Form1::announceNote(std::string_view /*text*/) {
    m_annotations.alert(m_note->hwnd());
}

void Form1::announceResults(std::string_view text) {
    notify(m_hwnd, widen(text));
}

void Form1::startPause(int milliseconds) {
    SetTimer(m_hwnd, kTypingPause, static_cast<UINT>(milliseconds), nullptr);
}

void Form1::stopPause() {
    KillTimer(m_hwnd, kTypingPause);
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) return onGetMinMaxInfo(hwnd, lParam);
    if (message == WM_NCCREATE) attach(hwnd, lParam);
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return form->handle(message, wParam, lParam);
}

// The window's first message: from here on it finds its Form1 in its user data.
void Form1::attach(HWND hwnd, LPARAM lParam) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->m_hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DPICHANGED:
            return onDpiChanged(wParam, lParam);
        case WM_ACTIVATE:
            return onActivate(wParam);
        case WM_SETFOCUS:
            return onSetFocus();
        case WM_TIMER:
            return onTimer(wParam, lParam);
        case WM_MOVE:
            return onMove();
        case WM_CTLCOLORSTATIC:
            return onCtlColorStatic(wParam, lParam);
        case kInputMethodCommit:
            return onInputMethodCommit(wParam);
        case WM_GETOBJECT:
            return onGetObject(wParam, lParam);
        case WM_DESTROY:
            return onDestroy();
        default:
            return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

LRESULT Form1::onDpiChanged(WPARAM wParam, LPARAM lParam) {
    m_dpi = HIWORD(wParam);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut();
    return 0;
}

// A window activated while minimized shows nothing yet: its focus waits for
// the WM_SETFOCUS of its restoring.
LRESULT Form1::onActivate(WPARAM wParam) {
    const bool active = LOWORD(wParam) != WA_INACTIVE;
    if (!active || !IsIconic(m_hwnd)) m_rules.activated(active);
    return 0;
}

LRESULT Form1::onSetFocus() {
    if (!IsIconic(m_hwnd)) m_rules.activated(true);
    return 0;
}

LRESULT Form1::onTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam != kTypingPause) return DefWindowProcW(m_hwnd, WM_TIMER, wParam, lParam);
    KillTimer(m_hwnd, kTypingPause);
    m_rules.pauseEnded();
    return 0;
}

LRESULT Form1::onMove() {
    if (m_note != nullptr) m_note->follow();  // none yet while the window is made
    return 0;
}

// Read-only results stay white, as the inputs are.
LRESULT Form1::onCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    wchar_t windowClass[8];
    GetClassNameW(reinterpret_cast<HWND>(lParam), windowClass, 8);
    if (lstrcmpiW(windowClass, L"EDIT") != 0) {
        return DefWindowProcW(m_hwnd, WM_CTLCOLORSTATIC, wParam, lParam);
    }
    SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

LRESULT Form1::onInputMethodCommit(WPARAM wParam) {
    m_rules.committed(static_cast<Field>(wParam));
    return 0;
}

LRESULT Form1::onGetObject(WPARAM wParam, LPARAM lParam) {
    m_annotations.asked(m_note->hwnd());
    return DefWindowProcW(m_hwnd, WM_GETOBJECT, wParam, lParam);
}

LRESULT Form1::onDestroy() {
    if (!m_closing) PostQuitMessage(0);
    return 0;
}

// The text boxes' and the button's procedure, in place of their class's.
// Subclassed through comctl32 instead, each message would first look the
// subclass up in a window property: under wine a round trip to the server,
// three of them for every message to a text box, at the start as in every
// paint.
LRESULT CALLBACK Form1::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))
        ->handleControl(hwnd, message, wParam, lParam);
}

// The button takes no focus: its class's mouse handling would give it one,
// so its press is followed here instead.
LRESULT Form1::handleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const ui::Control i = rowOf(control);
    if (!ui::takesFocus(kControls[i])) return buttonMessage(i, control, message, wParam, lParam);
    return textBoxMessage(i, control, message, wParam, lParam);
}

LRESULT Form1::byClass(ui::Control i, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(m_classProcs[i], control, message, wParam, lParam);
}

// Every text box, the results too: the focus arriving, and Tab through the
// inputs, also from a result the player clicked into. The rules have nothing
// for a result's keys.
LRESULT Form1::textBoxMessage(ui::Control i, HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            return onBoxKeyDown(i, box, wParam, lParam);
        case WM_CHAR:
            return onBoxChar(i, box, wParam, lParam);
        case WM_SETFOCUS:
            return onBoxSetFocus(i, box, wParam, lParam);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return onBoxKeyUp(i, box, message, wParam, lParam);
        case WM_UNDO:
        case EM_UNDO:
            return onBoxUndo(i, box, message, wParam, lParam);
        case WM_IME_COMPOSITION:
            return onBoxImeComposition(i, box, wParam, lParam);
        case WM_GETOBJECT:
            return onBoxGetObject(i, box, wParam, lParam);
        default:
            return byClass(i, box, message, wParam, lParam);
    }
}

LRESULT Form1::onBoxKeyDown(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam) {
    if (m_rules.keyPressed(static_cast<int>(wParam), shiftState())) return 0;
    return byClass(i, box, WM_KEYDOWN, wParam, lParam);
}

// Tab and Enter are the rules' to act on; an edit would only beep.
LRESULT Form1::onBoxChar(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam) {
    if (wParam == L'\t' || wParam == L'\r' || wParam == L'\n') return 0;
    return byClass(i, box, WM_CHAR, wParam, lParam);
}

LRESULT Form1::onBoxSetFocus(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = byClass(i, box, WM_SETFOCUS, wParam, lParam);
    m_rules.focusArrived(*ui::fieldAt(i));
    return result;
}

// The native code is the one the handlers expect. A held key repeats only
// its press.
LRESULT Form1::onBoxKeyUp(ui::Control i, HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    m_rules.keyReleased(*ui::fieldAt(i), static_cast<int>(wParam), shiftState());
    return byClass(i, box, message, wParam, lParam);
}

// An undo brings back a text the box held, a long one the program wrote too;
// the limit would cut it. A longer text then still refuses more typing, as a
// limited edit does.
LRESULT Form1::onBoxUndo(ui::Control i, HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT limit = SendMessageW(box, EM_GETLIMITTEXT, 0, 0);
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    const LRESULT result = byClass(i, box, message, wParam, lParam);
    SendMessageW(box, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    return result;
}

// An input method may keep the key releases of what it composed to itself.
// Its commit stands for them; posted, so that the box holds the committed
// text by then.
LRESULT Form1::onBoxImeComposition(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam) {
    if ((lParam & GCS_RESULTSTR) != 0) {
        PostMessageW(m_hwnd, kInputMethodCommit, calc::index(*ui::fieldAt(i)), 0);
    }
    return byClass(i, box, WM_IME_COMPOSITION, wParam, lParam);
}

// A screen reader may meet a text box before the window.
LRESULT Form1::onBoxGetObject(ui::Control i, HWND box, WPARAM wParam, LPARAM lParam) {
    m_annotations.asked(m_note->hwnd());
    return byClass(i, box, WM_GETOBJECT, wParam, lParam);
}

LRESULT Form1::buttonMessage(ui::Control i, HWND button, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    switch (followPress(button, message, lParam)) {
        case Press::Ignored:
            return byClass(i, button, message, wParam, lParam);
        case Press::Clicked:
            m_rules.click();
            return 0;
        case Press::Followed:
            return 0;
    }
    return 0;
}

}  // namespace win
