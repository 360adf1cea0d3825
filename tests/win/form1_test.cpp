// The Windows window driven in-process with real input (SendInput through
// the message loop), its texts and focus read back. Run under wine by CTest.

#include "win/form1.h"

#include <windows.h>

#include <imm.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "win/creation_failure.h"
#include "win/placement.h"
#include "win/text.h"
#include "win/window_classes.h"
#include "window_rows.h"

namespace {

using calc::Field;

UINT expectedDpi = 96;

// Until the window has handled every input and message queued for it.
void pump() {
    MSG message;
    for (int idle = 0; idle < 3;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
            idle = 0;
        } else {
            ++idle;
            Sleep(1);
        }
    }
}

INPUT key(WORD vk, bool up, DWORD flags = 0, WCHAR unicode = 0) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = unicode;
    in.ki.dwFlags = flags | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    pump();
}

// A key pressed and released, with a modifier held around it (0: none).
void tap(WORD vk, WORD modifier = 0, DWORD flags = 0) {
    if (modifier != 0) send({key(modifier, false)});
    send({key(vk, false, flags)});
    send({key(vk, true, flags)});
    if (modifier != 0) send({key(modifier, true)});
}

// Types text as a player would, one key at a time; what no key of the
// layout gives comes as an on-screen keyboard sends it.
void type(std::string_view utf8) {
    for (const wchar_t c : win::widen(utf8)) {
        const SHORT scan = c < 0x80 ? VkKeyScanW(c) : -1;
        if (scan == -1) {
            send({key(0, false, KEYEVENTF_UNICODE, c)});
            send({key(0, true, KEYEVENTF_UNICODE, c)});
        } else {
            tap(LOBYTE(scan), (HIBYTE(scan) & 1) != 0 ? VK_SHIFT : 0);
        }
    }
}

void setClipboard(std::string_view utf8) {
    const std::wstring text = win::widen(utf8);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::wmemcpy(static_cast<wchar_t*>(GlobalLock(memory)), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

template <typename Row>
std::string rowName(const testing::TestParamInfo<Row>& row) {
    return row.param.name;
}

// wine has no UI Automation notification to carry the results to a screen
// reader: the window keeps what it would tell.
struct ToldForm1 final : win::Form1 {
    using Form1::Form1;
    void announceResults(std::string_view text) override { told = text; }
    std::string told;
};

class Form1Test : public testing::Test {
protected:
    void SetUp() override {
        m_form = std::make_unique<ToldForm1>(GetModuleHandleW(nullptr));
        m_form->show(SW_SHOWNORMAL);
        SetForegroundWindow(m_form->hwnd());
        pump();
    }
    void TearDown() override {
        m_form.reset();
        pump();
    }

    ToldForm1& form() { return *m_form; }
    HWND box(Field f) { return m_form->textBox(f); }
    std::string text(Field f) { return m_form->text(f); }
    bool noteShown() { return m_form->errorNote().isVisible(); }

    // Tab from Text1 to an input: its text is then selected.
    void tabTo(Field f) {
        for (Field at : {Field::Text1, Field::Text2, Field::Text3, Field::Text10}) {
            if (at == f) break;
            tap(VK_TAB);
        }
        ASSERT_EQ(GetFocus(), box(f));
    }

    // The player switches to another window (the game) and comes back; the
    // note never shows while the window is not the active one.
    void awayAndBack() {
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        pump();
        EXPECT_NE(GetForegroundWindow(), form().hwnd());
        EXPECT_FALSE(noteShown());
        SetForegroundWindow(form().hwnd());
        pump();
        DestroyWindow(other);
        pump();
    }

    void compareFields(const calc::FieldSet& expected) {
        for (std::size_t i = 0; i < calc::kFieldCount; ++i) {
            const auto f = static_cast<Field>(i);
            EXPECT_EQ(text(f), expected.text(f)) << calc::kFieldNames[calc::index(f)];
        }
    }

private:
    std::unique_ptr<ToldForm1> m_form;
};

TEST_F(Form1Test, StartsWithTheStartingTextsAndIntFocusedAndEmptied) {
    wchar_t title[64];
    GetWindowTextW(form().hwnd(), title, 64);
    EXPECT_STREQ(title, L"マナ回復速度計算 Ver1.10(Korvale対応)");
    EXPECT_EQ(GetFocus(), box(Field::Text1));
    calc::MemoryFieldSet starting;
    starting.setText(Field::Text1, "");
    compareFields(starting);
    EXPECT_EQ(text(Field::Text9), "20");
}

class Typing : public Form1Test, public testing::WithParamInterface<window_rows::Typing> {};

TEST_P(Typing, EnterMovesOnAndTheResultsAreTheCores) {
    const window_rows::Typing& r = GetParam();
    type(r.intText);
    tap(VK_RETURN);
    ASSERT_EQ(GetFocus(), box(Field::Text2));
    EXPECT_EQ(text(Field::Text2), "");
    type(r.medi);
    tap(VK_RETURN);
    ASSERT_EQ(GetFocus(), box(Field::Text3));
    type(r.focus);
    compareFields(window_rows::coreResult(r.intText, r.medi, r.focus));
    EXPECT_FALSE(noteShown());
}

INSTANTIATE_TEST_SUITE_P(Rows, Typing, testing::ValuesIn(window_rows::kTyping),
                         rowName<window_rows::Typing>);

struct CycleKey {
    const char* name;
    WORD vk;
    DWORD flags;
};

class FocusCycle : public Form1Test, public testing::WithParamInterface<CycleKey> {};

// Text1 -> Text2 -> Text3 -> 回復値 -> Text1, the results and the button
// skipped; the box reached has its text selected.
TEST_P(FocusCycle, GoesThroughTheInputsAndSelects) {
    for (Field next : {Field::Text2, Field::Text3, Field::Text10, Field::Text1}) {
        tap(GetParam().vk, 0, GetParam().flags);
        ASSERT_EQ(GetFocus(), box(next));
        DWORD start = 1, end = 0;
        SendMessageW(box(next), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(box(next))));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FocusCycle,
    testing::Values(CycleKey{"tab", VK_TAB, 0}, CycleKey{"enter", VK_RETURN, 0},
                    CycleKey{"keypad_enter", VK_RETURN, KEYEVENTF_EXTENDEDKEY}),
    rowName<CycleKey>);

// The Tab's release comes up in the box it landed in: in 回復値 it runs the
// recovery entry, which answers a negative value.
TEST_F(Form1Test, TabReleaseReachesTheBoxItLandsIn) {
    form().setText(Field::Text10, "-3");
    form().setText(Field::Text5, "old");
    tabTo(Field::Text10);
    EXPECT_EQ(text(Field::Text5), "3.33333333333333");
}

class RecoveryEntry : public Form1Test,
                      public testing::WithParamInterface<window_rows::RecoveryEntry> {};

TEST_P(RecoveryEntry, TypedValueGivesTheSeconds) {
    const window_rows::RecoveryEntry& r = GetParam();
    form().setText(Field::Text5, "old");
    tabTo(Field::Text10);
    type(r.typed);
    EXPECT_EQ(text(Field::Text10), r.typed);
    EXPECT_EQ(text(Field::Text5), r.seconds.empty() ? "old" : r.seconds);
    EXPECT_EQ(text(Field::Text4), "0");
}

INSTANTIATE_TEST_SUITE_P(Rows, RecoveryEntry, testing::ValuesIn(window_rows::kRecoveryEntry),
                         rowName<window_rows::RecoveryEntry>);

class TypingLimit : public Form1Test,
                    public testing::WithParamInterface<window_rows::TypingLimit> {};

TEST_P(TypingLimit, KeepsWhatFits) {
    const window_rows::TypingLimit& r = GetParam();
    tabTo(r.field);
    if (r.pasted) {
        setClipboard(r.typed);
        tap('V', VK_CONTROL);
    } else {
        type(r.typed);
    }
    EXPECT_EQ(text(r.field), r.kept);
}

INSTANTIATE_TEST_SUITE_P(Rows, TypingLimit, testing::ValuesIn(window_rows::kTypingLimits),
                         rowName<window_rows::TypingLimit>);

// A key with Ctrl held, or alone (modifier 0).
struct Key {
    WORD modifier, vk;
};

struct UndoRow {
    const char* name;
    const char* clipboard;
    std::vector<Key> keys;
    const char* kept;
};

class LimitAfterUndo : public Form1Test, public testing::WithParamInterface<UndoRow> {};

// The overflow writes 1679 into 回復値; the player types 1 over it. An undo
// brings 1679 back whole, and the two-character limit then refuses more.
TEST_P(LimitAfterUndo, HoldsForTypingAndPaste) {
    const UndoRow& r = GetParam();
    setClipboard(r.clipboard);
    type("999");
    tap(VK_TAB);
    type("20000");
    ASSERT_EQ(text(Field::Text10), "1679");
    tap(VK_TAB);
    tap(VK_TAB);
    type("1");
    ASSERT_EQ(text(Field::Text10), "1");
    for (const Key& k : r.keys) tap(k.vk, k.modifier);
    EXPECT_EQ(text(Field::Text10), r.kept);
}

constexpr WORD kCtrl = VK_CONTROL;
INSTANTIATE_TEST_SUITE_P(
    Rows, LimitAfterUndo,
    testing::Values(
        UndoRow{"undo_type", "99", {{kCtrl, 'Z'}, {0, VK_END}, {0, '9'}, {0, '9'}}, "1679"},
        UndoRow{"undo_paste", "99", {{kCtrl, 'Z'}, {0, VK_END}, {kCtrl, 'V'}}, "1679"},
        UndoRow{
            "undo_shorten_type", "99", {{kCtrl, 'Z'}, {0, VK_END}, {0, VK_BACK}, {0, '5'}}, "167"},
        UndoRow{"undo_paste_over_all", "99", {{kCtrl, 'Z'}, {kCtrl, 'A'}, {kCtrl, 'V'}}, "99"},
        UndoRow{"long_paste_cut", "12345", {{kCtrl, 'A'}, {kCtrl, 'V'}}, "12"}),
    rowName<UndoRow>);

class Errors : public Form1Test, public testing::WithParamInterface<window_rows::Error> {};

TEST_P(Errors, ShowTheNoteAndStopEnter) {
    const window_rows::Error& r = GetParam();
    form().setText(Field::Text2, r.medi);
    form().setText(Field::Text3, r.focus);
    type(r.intText);
    compareFields(window_rows::coreAfterTypingInt(r.intText, r.medi, r.focus));
    ASSERT_TRUE(noteShown());
    EXPECT_EQ(win::narrow(form().errorNote().text()), r.note);
    // Back from another window: the note with it, the input not emptied.
    awayAndBack();
    EXPECT_TRUE(noteShown());
    EXPECT_EQ(GetFocus(), box(Field::Text1));
    EXPECT_EQ(text(Field::Text1), r.intText);

    // The error ends the handler before its Enter test: no Tab.
    tap(VK_RETURN);
    EXPECT_EQ(GetFocus(), box(Field::Text1));

    // Only a calculation that writes clears the note.
    tap(VK_TAB);
    type("x");
    EXPECT_TRUE(noteShown());
    tap(VK_BACK);
    form().setText(Field::Text1, "10");
    form().setText(Field::Text3, "1");
    type("1");
    compareFields(window_rows::coreResult("10", "1", "1"));
    EXPECT_FALSE(noteShown());
    awayAndBack();
    EXPECT_FALSE(noteShown());
}

INSTANTIATE_TEST_SUITE_P(Rows, Errors, testing::ValuesIn(window_rows::kErrors),
                         rowName<window_rows::Error>);

// What could not be made, and the system's code and words for why: the
// text of the box the program shows before it ends. A window of the
// fixture's lies behind each, so the classes are registered already. The
// words and codes are wine's (Windows finds no class with 1407).
struct FailureRow {
    const char* name;
    void (*make)(HWND gone);  // gone: a window destroyed already
    const wchar_t* message;
};

class Failures : public Form1Test, public testing::WithParamInterface<FailureRow> {};

TEST_P(Failures, NameWhatAndWhy) {
    HWND gone =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    try {
        GetParam().make(gone);
        ADD_FAILURE() << "made";
    } catch (const win::CreationFailure& failure) {
        EXPECT_EQ(failure.message(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Failures,
    testing::Values(
        FailureRow{"classes_twice",
                   [](HWND) { win::registerClasses(GetModuleHandleW(nullptr), DefWindowProcW); },
                   L"manacalc cannot register the window class ManacalcFrame: Class already "
                   L"exists. (error 1410)"},
        FailureRow{"window_of_another_module",
                   [](HWND) { win::Form1 form(GetModuleHandleW(L"kernel32")); },
                   L"manacalc cannot create the calculator window: Class does not exist. "
                   L"(error 1411)"},
        FailureRow{
            "control_of_a_gone_frame",
            [](HWND gone) { win::createControl(ui::controlIndex("Text1"), gone, 96, nullptr); },
            L"manacalc cannot create the control Text1: Invalid window handle. (error 1400)"},
        FailureRow{"note_of_a_gone_window",
                   [](HWND gone) { win::ErrorNote(gone).showAt(gone, L"x"); },
                   L"manacalc cannot create the error note's window: Invalid window handle. (error "
                   L"1400)"}),
    rowName<FailureRow>);

// Told once the typing pauses.
TEST_F(Form1Test, ResultsAreToldOnceTheTypingPauses) {
    type("100");
    EXPECT_EQ(form().told, "");
    for (int waited = 0; waited < 2000 && form().told.empty(); waited += 10) {
        Sleep(10);
        pump();
    }
    EXPECT_EQ(form().told, "回復値 4、1mana 2.5 sec");
}

// A screen reader names the box a move lands in before it hears of the
// box's emptying: each box's text as the system tells of its focus, read in
// the window's own thread as it is told.
std::vector<std::string> focusTold;

void CALLBACK recordFocus(HWINEVENTHOOK, DWORD, HWND box, LONG object, LONG, DWORD, DWORD) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)), L'\0');
    GetWindowTextW(box, text.data(), static_cast<int>(text.size() + 1));
    if (object == OBJID_CLIENT) focusTold.push_back(win::narrow(text));
}

TEST_F(Form1Test, MovesTellTheFocusBeforeTheEmptying) {
    type("100");
    focusTold.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, GetModuleHandleW(nullptr),
                        recordFocus, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    tap(VK_RETURN);
    tap(VK_TAB);
    PostMessageW(box(Field::Text1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(box(Field::Text1), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    pump();
    UnhookWinEvent(hook);
    EXPECT_EQ(focusTold, (std::vector<std::string>{"0", "0", "100"}));
    EXPECT_EQ(GetFocus(), box(Field::Text1));
    EXPECT_EQ(text(Field::Text1), "");
}

TEST_F(Form1Test, ClickOnCommand1RecalculatesAndLeavesTheFocus) {
    form().setText(Field::Text1, "100");
    HWND button = form().control(ui::kCommand1);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 0));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 0));
    pump();
    compareFields(window_rows::coreResult("100", "0", "0"));
    EXPECT_EQ(GetFocus(), box(Field::Text1));
    // A result takes a click's focus, for copying, and keeps its text; Tab
    // goes on to the next input.
    PostMessageW(box(Field::Text4), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(box(Field::Text4), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    pump();
    EXPECT_EQ(GetFocus(), box(Field::Text4));
    tap(VK_TAB);
    EXPECT_EQ(GetFocus(), box(Field::Text10));
    compareFields(window_rows::coreResult("100", "0", "0"));
}

// Full-width digits committed by an input method count like typed ones,
// though the input method keeps the key releases to itself. wine's null
// display has no input method, so its messages come as one sends them: the
// characters, then the composition's result.
TEST_F(Form1Test, InputMethodCommitRecalculates) {
    HWND input = box(Field::Text1);
    PostMessageW(input, WM_IME_STARTCOMPOSITION, 0, 0);
    for (const wchar_t c : win::widen("１００")) PostMessageW(input, WM_IME_CHAR, c, 1);
    PostMessageW(input, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    PostMessageW(input, WM_IME_ENDCOMPOSITION, 0, 0);
    pump();
    EXPECT_EQ(text(Field::Text1), "１００");
    compareFields(window_rows::coreResult("１００", "0", "0"));
}

// Every text box where the table puts it, in client pixels: left, top,
// width, height at 96 dpi, and at 144 dpi (150 %) with both edges rounded.
struct Place {
    Field field;
    const char* at96;
    const char* at144;
};

constexpr Place kPlaces[] = {
    {Field::Text1, "40 8 33 18", "60 12 50 27"},    {Field::Text2, "40 32 33 18", "60 48 50 27"},
    {Field::Text3, "40 56 33 18", "60 84 50 27"},   {Field::Text10, "48 76 25 18", "72 114 38 27"},
    {Field::Text4, "40 152 33 18", "60 228 50 27"}, {Field::Text5, "8 208 46 19", "12 312 69 29"},
    {Field::Text6, "40 176 33 18", "60 264 50 27"}, {Field::Text7, "40 232 33 18", "60 348 50 27"},
    {Field::Text8, "40 256 33 18", "60 384 50 27"}, {Field::Text9, "40 280 33 18", "60 420 50 27"},
};

std::string place(RECT r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

// The fonts' pixel heights: 9 pt and 11.25 pt at the DPI.
std::string faceOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return win::narrow(font.lfFaceName) + " " + std::to_string(font.lfHeight) + " " +
           std::to_string(font.lfWeight) + " " + std::to_string(font.lfCharSet);
}

TEST_F(Form1Test, LayoutScalesWithTheDpi) {
    ASSERT_EQ(GetDpiForWindow(form().hwnd()), expectedDpi);
    const bool at96 = expectedDpi == 96;
    RECT client;
    GetClientRect(form().hwnd(), &client);
    EXPECT_EQ(place(client), at96 ? "0 0 82 306" : "0 0 123 459");
    for (const Place& p : kPlaces) {
        RECT r;
        GetWindowRect(box(p.field), &r);
        MapWindowPoints(nullptr, form().hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(place(r), at96 ? p.at96 : p.at144) << calc::kFieldNames[calc::index(p.field)];
    }
    const std::string family = win::narrow(win::windowFamily());
    EXPECT_EQ(faceOf(box(Field::Text1)), family + (at96 ? " -12 400 128" : " -18 400 128"));
    EXPECT_EQ(faceOf(box(Field::Text5)), family + (at96 ? " -15 700 128" : " -23 700 128"));
}

}  // namespace

// --dpi=N: the DPI the system is set to for this run (CTest sets wine's).
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc == 2 && std::strncmp(argv[1], "--dpi=", 6) == 0) {
        expectedDpi = static_cast<UINT>(std::atoi(argv[1] + 6));
    }
    return RUN_ALL_TESTS();
}
