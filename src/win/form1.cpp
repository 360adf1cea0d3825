#include "win/form1.h"

#include <imm.h>

#include <algorithm>

#include "win/text.h"

namespace win {

using calc::Field;
using ui::ControlRow;
using ui::kControls;

namespace {

constexpr wchar_t kFormClass[] = L"ManacalcForm1";
constexpr wchar_t kFrameClass[] = L"ManacalcFrame";
constexpr wchar_t kLabelClass[] = L"ManacalcLabel";
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = 0;
// Posted by an input whose input method committed text: its field.
constexpr UINT kInputMethodCommit = WM_APP + 1;
constexpr UINT_PTR kTypingPause = 1;

int toPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// Where the table puts a control at this DPI, in its parent's client area.
// Both edges are rounded, so neighbours stay neighbours at any scale.
RECT placeOf(const ControlRow& row, UINT dpi) {
    return {toPixels(row.left, dpi), toPixels(row.top, dpi), toPixels(row.left + row.width, dpi),
            toPixels(row.top + row.height, dpi)};
}

// The outer size for the table's client area at this DPI. Windows widens a
// captioned window to its minimum tracking size, far wider than ours.
SIZE windowSize(UINT dpi) {
    RECT r{0, 0, toPixels(ui::kClientWidthTwips, dpi), toPixels(ui::kClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&r, kFormStyle, FALSE, kFormExStyle, dpi);
    return {r.right - r.left, r.bottom - r.top};
}

// The Shift argument of the key handlers: 1 Shift, 2 Ctrl, 4 Alt, combined.
int shiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// A frame is a container with an etched edge: its controls are its child
// windows, clipped by it (Command1 shows one pixel). What they tell their
// parent goes on to the window.
LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            RECT client;
            GetClientRect(hwnd, &client);
            DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(hwnd), message, wParam, lParam);
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void registerClasses(HINSTANCE instance) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = Form1::windowProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    // The title bar's icon, from its own size in the .ico: left to
    // RegisterClassExW, it is made from the resource again, 2 ms of the start
    // under wine.
    form.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0));
    form.lpszClassName = kFormClass;
    WNDCLASSEXW frame = form;
    frame.lpfnWndProc = frameProc;
    frame.hIcon = nullptr;
    frame.hIconSm = nullptr;
    frame.lpszClassName = kFrameClass;
    RegisterClassExW(&frame);
    RegisterClassExW(&form);
    // A static control that paints within its own clip: the system's draws
    // with its parent's (CS_PARENTDC), over the controls that lie above it.
    WNDCLASSEXW label{};
    label.cbSize = sizeof label;
    GetClassInfoExW(nullptr, L"STATIC", &label);
    label.style &= ~static_cast<UINT>(CS_PARENTDC);
    label.hInstance = instance;
    label.lpszClassName = kLabelClass;
    RegisterClassExW(&label);
}

}  // namespace

Form1::Form1(HINSTANCE instance) : m_instance(instance) {
    static const bool registered = (registerClasses(instance), true);
    (void)registered;
    // Made at its size for the system's DPI, which most windows keep: a
    // window resized later costs the start a round trip to the display.
    const SIZE size = windowSize(GetDpiForSystem());
    CreateWindowExW(kFormExStyle, kFormClass, widen(ui::kTitle).c_str(), kFormStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, this);
    m_dpi = GetDpiForWindow(m_hwnd);
    m_note = std::make_unique<ErrorNote>(m_hwnd);
    build();
    layOut();
}

Form1::~Form1() {
    m_closing = true;
    m_annotations.clear();
    m_note.reset();
    DestroyWindow(m_hwnd);
}

void Form1::show(int showCommand) {
    ShowWindow(m_hwnd, showCommand);
    // The first input's entry, if the window's activation did not bring it.
    m_rules.start();
}

// Labels lie beneath frames, text boxes and the button, which hide them where
// they overlap (Label11 under Frame2, Label12 under Text10). Among themselves
// each label lies above the ones before it: a static control fills its box,
// and a two-line caption's box reaches into the next label's top ("Next INT"
// into "Next Medi"), never the other way round. A new child goes to the
// bottom, so the labels are made after the rest, the last one first, rather
// than moved down once made: 13 more trips to the server at the start.
void Form1::build() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].kind != ui::Kind::Label) create(i);
    }
    for (std::size_t i = kControls.size(); i-- > 0;) {
        if (kControls[i].kind == ui::Kind::Label) create(i);
    }
}

// Made where the table puts it at the window's DPI: moving the 25 controls
// there afterwards took about 10 ms of the start under wine.
void Form1::create(std::size_t i) {
    const ControlRow& row = kControls[i];
    HWND parent = row.parent == "Form1" ? m_hwnd : control(row.parent);
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
    const RECT place = placeOf(row, m_dpi);
    HWND hwnd = CreateWindowExW(exStyle, windowClass, caption.c_str(), style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, parent, nullptr,
                                m_instance, nullptr);
    m_controls[i] = hwnd;
    if (row.kind == ui::Kind::TextBox) {
        const Field field = *calc::fieldByName(row.name);
        m_fields[calc::index(field)] = hwnd;
        if (ui::isInput(row)) {
            // Typing and pasting only: WM_SETTEXT, the program's write, is
            // never cut.
            SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(row.typingLimit), 0);
        }
    }
    if (row.kind == ui::Kind::TextBox || row.kind == ui::Kind::Button) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_classProcs[i] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
    }
}

void Form1::annotate() {
    if (!m_annotated) {
        m_annotated = true;
        for (std::size_t i = 0; i < kControls.size(); ++i) {
            if (kControls[i].kind == ui::Kind::TextBox) {
                m_annotations.setName(m_controls[i], widen(kControls[i].accessibleName));
            }
        }
    }
    if (!m_noteAnnotated && m_note->hwnd() != nullptr) {
        m_noteAnnotated = true;
        m_annotations.setRole(m_note->hwnd(), ROLE_SYSTEM_ALERT);
    }
}

void Form1::layOut() {
    m_fonts = std::make_unique<Fonts>(m_dpi);
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        const RECT place = placeOf(row, m_dpi);
        // In place since their creation, unless the DPI has changed.
        RECT now;
        GetWindowRect(m_controls[i], &now);
        MapWindowPoints(nullptr, GetParent(m_controls[i]), reinterpret_cast<POINT*>(&now), 2);
        if (!EqualRect(&now, &place)) {
            SetWindowPos(m_controls[i], nullptr, place.left, place.top, place.right - place.left,
                         place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SendMessageW(m_controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts->font(row.font)),
                     IsWindowVisible(m_hwnd));
    }
    m_note->setFont(m_fonts->font(ui::FontRole::Default));
    const SIZE size = windowSize(m_dpi);
    RECT now;
    GetWindowRect(m_hwnd, &now);
    if (now.right - now.left != size.cx || now.bottom - now.top != size.cy) {
        SetWindowPos(m_hwnd, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND Form1::control(std::string_view name) const {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].name == name) return m_controls[i];
    }
    return nullptr;
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

void Form1::Command1_Click() {
    m_rules.click();
}

// The focus as a Tab moves it: the box it reaches has its text selected, as
// a dialog's Tab does.
void Form1::moveFocus(Field input) {
    SetFocus(textBox(input));
    SendMessageW(textBox(input), EM_SETSEL, 0, -1);
}

void Form1::showNote(ui::Control at, std::string_view text) {
    m_note->showAt(m_controls[at], widen(text));
}

void Form1::hideNote() {
    m_note->hide();
}

// The note describes no field here: screen readers read it as an alert.
void Form1::dismissNote() {
    m_note->hide();
}

void Form1::announce(std::string_view text, ui::Voice voice) {
    if (voice == ui::Voice::Results) {
        m_announced = text;
        notify(m_hwnd, widen(text));
        return;
    }
    // The note is an alert; the reader asks for its role once this handler
    // is done.
    NotifyWinEvent(EVENT_SYSTEM_ALERT, m_note->hwnd(), OBJID_CLIENT, CHILDID_SELF);
    BOOL reader = FALSE;
    SystemParametersInfoW(SPI_GETSCREENREADER, 0, &reader, 0);
    if (reader) annotate();
}

void Form1::startPause(int milliseconds) {
    SetTimer(m_hwnd, kTypingPause, static_cast<UINT>(milliseconds), nullptr);
}

void Form1::stopPause() {
    KillTimer(m_hwnd, kTypingPause);
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        // The table's client area and no other: no wider minimum, no resizing.
        // Asked before anything else, while the window is being made too.
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const SIZE size = windowSize(GetDpiForWindow(hwnd));
        info->ptMinTrackSize = {size.cx, size.cy};
        info->ptMaxTrackSize = {size.cx, size.cy};
        return 0;
    }
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return form->handle(message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DPICHANGED: {
            m_dpi = HIWORD(wParam);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layOut();
            return 0;
        }
        case WM_ACTIVATE:
            m_rules.activated(LOWORD(wParam) != WA_INACTIVE);
            if (LOWORD(wParam) == WA_INACTIVE) return 0;
            [[fallthrough]];
        case WM_SETFOCUS:
            // The focus goes back to the box that last held it, which is no
            // entry; the first time, to the first input, which is.
            if (!IsIconic(m_hwnd)) {
                if (const auto focused = m_rules.focused()) {
                    SetFocus(textBox(*focused));
                } else {
                    m_rules.start();
                }
            }
            return 0;
        case WM_TIMER:
            if (wParam != kTypingPause) break;
            KillTimer(m_hwnd, kTypingPause);
            m_rules.pauseEnded();
            return 0;
        case WM_MOVE:
            if (m_note != nullptr) m_note->follow();  // none yet while the window is made
            return 0;
        case WM_CTLCOLORSTATIC: {
            // Read-only results stay white, as the inputs are.
            wchar_t windowClass[8];
            GetClassNameW(reinterpret_cast<HWND>(lParam), windowClass, 8);
            if (lstrcmpiW(windowClass, L"EDIT") != 0) break;
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        case kInputMethodCommit:
            m_rules.committed(static_cast<Field>(wParam));
            return 0;
        case WM_GETOBJECT:
            annotate();
            break;
        case WM_DESTROY:
            if (!m_closing) PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
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

LRESULT Form1::handleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::size_t i = indexOf(control);
    if (kControls[i].kind == ui::Kind::Button)
        return buttonMessage(control, message, wParam, lParam);
    // A screen reader may meet a text box before the window.
    if (message == WM_GETOBJECT) annotate();
    return textBoxMessage(i, control, message, wParam, lParam);
}

LRESULT Form1::byClass(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(m_classProcs[indexOf(control)], control, message, wParam, lParam);
}

std::size_t Form1::indexOf(HWND control) const {
    return static_cast<std::size_t>(std::find(m_controls.begin(), m_controls.end(), control) -
                                    m_controls.begin());
}

// Every text box: the focus arriving, and Tab through the inputs, also from
// a result the player clicked into.
LRESULT Form1::textBoxMessage(std::size_t i, HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto field =
        static_cast<Field>(std::find(m_fields.begin(), m_fields.end(), box) - m_fields.begin());
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
                m_rules.tab(GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            break;
        case WM_CHAR:
            // Tab and Enter are the rules' to act on; an edit would only beep.
            if (wParam == L'\t' || wParam == L'\r' || wParam == L'\n') return 0;
            break;
        case WM_SETFOCUS: {
            const LRESULT result = byClass(box, message, wParam, lParam);
            m_rules.focusArrived(field);
            return result;
        }
        default:
            break;
    }
    if (ui::isInput(kControls[i])) {
        return inputMessage(field, box, message, wParam, lParam);
    }
    return byClass(box, message, wParam, lParam);
}

LRESULT Form1::inputMessage(Field field, HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYUP:
        case WM_SYSKEYUP:
            // The native code is the one the handlers expect. A held key
            // repeats only its press.
            m_rules.keyReleased(field, static_cast<int>(wParam), shiftState());
            break;
        case WM_UNDO:
        case EM_UNDO: {
            // An undo brings back a text the box held, a long one the program
            // wrote too; the limit would cut it. A longer text then still
            // refuses more typing, as a limited edit does.
            const LRESULT limit = SendMessageW(box, EM_GETLIMITTEXT, 0, 0);
            SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
            const LRESULT result = byClass(box, message, wParam, lParam);
            SendMessageW(box, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
            return result;
        }
        case WM_IME_COMPOSITION:
            // An input method may keep the key releases of what it composed to
            // itself. Its commit stands for them; posted, so that the box
            // holds the committed text by then.
            if ((lParam & GCS_RESULTSTR) != 0) {
                PostMessageW(m_hwnd, kInputMethodCommit, calc::index(field), 0);
            }
            break;
        default:
            break;
    }
    return byClass(box, message, wParam, lParam);
}

// Command1 takes no focus: only a one-pixel sliver shows, a focus there would
// be invisible and would swallow the player's typing. The button's own mouse
// handling would take it, so the press is followed here.
LRESULT Form1::buttonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(button);
            SendMessageW(button, BM_SETSTATE, TRUE, 0);
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == button) {
                RECT r;
                GetClientRect(button, &r);
                const POINT at{static_cast<short>(LOWORD(lParam)),
                               static_cast<short>(HIWORD(lParam))};
                SendMessageW(button, BM_SETSTATE, static_cast<WPARAM>(PtInRect(&r, at)), 0);
            }
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == button) {
                const bool pressed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
                ReleaseCapture();
                if (pressed) Command1_Click();
            }
            return 0;
        case WM_CAPTURECHANGED:
            SendMessageW(button, BM_SETSTATE, FALSE, 0);
            return 0;
        default:
            break;
    }
    return byClass(button, message, wParam, lParam);
}

}  // namespace win
