#pragma once

#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "calc/recalculation.h"
#include "runtime/errors.h"

// Rows that every desktop window must answer alike, as plain data: each
// window's test types them with its own platform's real key events and
// reads its own boxes back.
namespace window_rows {

// INT, Enter, Medi, Enter, Focus: the results are then the core's for them.
struct Typing {
    const char* name;
    std::string_view intText, medi, focus;
};

inline constexpr Typing kTyping[] = {
    {"zeros", "0", "0", "0"},
    {"int_1", "1", "0", "0"},
    {"focus_20", "100", "50", "20"},
    {"medi_99", "100", "99", "0"},
    {"medi_98_5", "100", "98.5", "0"},
    {"medi_99_5", "100", "99.5", "0"},
    {"all_100", "100", "100", "100"},
    {"medi_85_3", "100", "85.3", "20"},
    {"medi_123", "0", "123", "0"},
    {"all_high", "150", "120", "120"},
    {"int_120_medi_99_5_focus_40", "120", "99.5", "40"},
};

// A recovery value typed into 回復値 over whatever it held, and the seconds per
// mana that follow; empty: Text5 keeps its text.
struct RecoveryEntry {
    const char* name;
    std::string_view typed, seconds;
};

inline constexpr RecoveryEntry kRecoveryEntry[] = {
    {"five", "5", "2"},
    {"three", "3", "3.33333333333333"},
    {"minus_three", "-3", "3.33333333333333"},
    {"point_six", ".6", "16.6666666666667"},
    {"zero", "0", ""},
    {"point_four", ".4", ""},
    {"letter", "a", ""},
};

// Typed one character at a time into an input over all it held; non-ASCII
// characters come as an input method or an on-screen keyboard sends them.
// Pasted, what does not fit is cut, as the system's edit control cuts it.
struct TypingLimit {
    const char* name;
    calc::Field field;
    std::string_view typed, kept;
    bool pasted = false;
};

inline constexpr TypingLimit kTypingLimits[] = {
    {"int_3", calc::Field::Text1, "12345", "123"},
    {"medi_5", calc::Field::Text2, "100.55", "100.5"},
    {"focus_3", calc::Field::Text3, "1000", "100"},
    {"recovery_2", calc::Field::Text10, "123", "12"},
    {"fullwidth_counts_as_one", calc::Field::Text1, "１２３４", "１２３"},
    {"int_paste_cut", calc::Field::Text1, "12345", "123", true},
    {"medi_paste_cut", calc::Field::Text2, "99.555", "99.55", true},
    {"focus_paste_cut", calc::Field::Text3, "abc12", "abc", true},
};

// INT typed with Medi and Focus already written; its last key raises, and
// the note beside the field says so.
struct Error {
    const char* name;
    std::string_view intText, medi, focus, note;
};

inline constexpr std::string_view kOverflow = "オーバーフローしました。";
inline constexpr std::string_view kRecoveryZero = "回復値が 0 のため計算できません。";

inline constexpr Error kErrors[] = {
    {"recovery_zero", "-80", "0", "0", kRecoveryZero},
    {"focus_minus_40", "0", "0", "-40", kRecoveryZero},
    {"medi_40000", "1", "40000", "0", kOverflow},
    // Text10 takes two typed characters but shows 1728 whole.
    {"step_4_overflow", "999", "20000", "999", kOverflow},
};

// What the core gives for the three inputs typed as they stand, the other
// fields as at start: the window must show the same.
inline calc::MemoryFieldSet coreResult(std::string_view intText, std::string_view medi,
                                       std::string_view focus) {
    calc::MemoryFieldSet f;
    f.setText(calc::Field::Text1, intText);
    f.setText(calc::Field::Text2, medi);
    f.setText(calc::Field::Text3, focus);
    (void)calc::Command1_Click(f);
    return f;
}

// The same for INT typed one character at a time into an emptied box, each
// release a recalculation that may raise, as an error row's keys give.
inline calc::MemoryFieldSet coreAfterTypingInt(std::string_view intText, std::string_view medi,
                                               std::string_view focus) {
    calc::MemoryFieldSet f;
    f.setText(calc::Field::Text1, "");
    f.setText(calc::Field::Text2, medi);
    f.setText(calc::Field::Text3, focus);
    for (std::size_t n = 1; n <= intText.size(); ++n) {
        f.setText(calc::Field::Text1, intText.substr(0, n));
        try {
            (void)calc::Command1_Click(f);
        } catch (const runtime::RuntimeError&) {
        }
    }
    return f;
}

}  // namespace window_rows
