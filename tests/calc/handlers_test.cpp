#include "calc/handlers.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/field_set.h"
#include "runtime/errors.h"
#include "ui/fields.h"
#include "ui/layout_table.h"

namespace {

using calc::Field;
using calc::Outcome;

// A window without a toolkit: fields that log every write, and a focus that a
// Tab moves on through the inputs in the window's Tab order, running the focus
// handler it reaches.
class FakeWindow final : public calc::FieldSet, public calc::FocusPort {
public:
    std::string text(Field f) const override { return m_fields.text(f); }
    void setText(Field f, std::string_view t) override {
        log.push_back(std::string(calc::kFieldNames[calc::index(f)]) + "=" + std::string(t));
        m_fields.setText(f, t);
    }

    void sendTab() override {
        log.emplace_back("Tab");
        const auto& order = ui::kInputOrder;
        auto next = std::find_if(order.begin(), order.end(),
                                 [this](ui::Control c) { return ui::fieldAt(c) == focus; });
        next = next == order.end() || next + 1 == order.end() ? order.begin() : next + 1;
        focus = *ui::fieldAt(*next);
        if (const auto gotFocus = of(focus).gotFocus) (handlers.*gotFocus)();
    }

    // The release of a key in the focused field.
    Outcome keyUp(int code) { return (handlers.*of(focus).keyUp)(code, 0); }

    static const calc::FieldHandlers& of(Field f) {
        return *std::find_if(std::begin(calc::kFieldHandlers), std::end(calc::kFieldHandlers),
                             [f](const calc::FieldHandlers& h) { return h.field == f; });
    }

    calc::MemoryFieldSet m_fields;
    calc::Handlers handlers{*this, *this};
    Field focus = Field::Text1;
    std::vector<std::string> log;
};

enum class Raises { Nothing, Overflow, FloatingPoint };

struct KeyCase {
    const char* name;
    const char* intText;
    const char* medi;
    const char* focus;
    const char* recovery;
    Field focused;
    int keyCode;
    std::vector<std::string> log;  // writes and Tabs, in order
    Field focusedAfter;
    Raises raises;
};

class KeyRelease : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyRelease, WritesAndMovesInOrder) {
    const KeyCase& c = GetParam();
    FakeWindow w;
    w.m_fields.setText(Field::Text1, c.intText);
    w.m_fields.setText(Field::Text2, c.medi);
    w.m_fields.setText(Field::Text3, c.focus);
    w.m_fields.setText(Field::Text10, c.recovery);
    w.focus = c.focused;
    switch (c.raises) {
        case Raises::Nothing:
            (void)w.keyUp(c.keyCode);
            break;
        case Raises::Overflow:
            EXPECT_THROW((void)w.keyUp(c.keyCode), runtime::OverflowError);
            break;
        case Raises::FloatingPoint:
            EXPECT_THROW((void)w.keyUp(c.keyCode), runtime::FloatingPointError);
            break;
    }
    EXPECT_EQ(w.log, c.log);
    EXPECT_EQ(w.focus, c.focusedAfter);
}

const std::vector<std::string> kRecalculated = {"Text10=12", "Text5=0.833333333333333",
                                                "Text6=220", "Text4=219.175",
                                                "Text7=1",   "Text7=2",
                                                "Text8=0.4", "Text8=0.5"};

std::vector<std::string> then(std::vector<std::string> first, std::vector<std::string> rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, KeyRelease,
    testing::Values(KeyCase{"digit_recalculates_and_stays", "100", "99.5", "0", "0", Field::Text3,
                            53, kRecalculated, Field::Text3, Raises::Nothing},
                    // The Tab goes after the recalculation, and the next input empties
                    // inside the handler that sent it.
                    KeyCase{"enter_in_int_recalculates_then_empties_medi", "100", "99.5", "0", "0",
                            Field::Text1, 13, then(kRecalculated, {"Tab", "Text2="}), Field::Text2,
                            Raises::Nothing},
                    KeyCase{"enter_in_focus_moves_to_recovery_which_keeps_its_text", "100", "99.5",
                            "0", "7", Field::Text3, 13, then(kRecalculated, {"Tab"}), Field::Text10,
                            Raises::Nothing},
                    KeyCase{"enter_with_an_empty_input_still_moves_on",
                            "",
                            "99.5",
                            "0",
                            "0",
                            Field::Text1,
                            13,
                            {"Tab", "Text2="},
                            Field::Text2,
                            Raises::Nothing},
                    // An error ends the handler before its Enter test: no Tab.
                    KeyCase{"error_sends_no_tab",
                            "-80",
                            "0",
                            "0",
                            "9",
                            Field::Text1,
                            13,
                            {"Text10=0"},
                            Field::Text1,
                            Raises::FloatingPoint},
                    KeyCase{"overflow_before_any_write_sends_no_tab",
                            "0",
                            "40000",
                            "0",
                            "9",
                            Field::Text2,
                            13,
                            {},
                            Field::Text2,
                            Raises::Overflow},
                    // In Text10 the Tab goes first: Text1 empties before the seconds are
                    // written, and only Text5 is written.
                    KeyCase{"enter_in_recovery_moves_first_then_computes",
                            "150",
                            "0",
                            "0",
                            "4",
                            Field::Text10,
                            13,
                            {"Tab", "Text1=", "Text5=2.5"},
                            Field::Text1,
                            Raises::Nothing},
                    KeyCase{"recovery_key_writes_only_seconds",
                            "150",
                            "0",
                            "0",
                            "3",
                            Field::Text10,
                            51,
                            {"Text5=3.33333333333333"},
                            Field::Text10,
                            Raises::Nothing},
                    KeyCase{"recovery_rounding_to_zero_still_moves_on",
                            "150",
                            "0",
                            "0",
                            ".4",
                            Field::Text10,
                            13,
                            {"Tab", "Text1="},
                            Field::Text1,
                            Raises::Nothing}),
    [](const auto& row) { return std::string(row.param.name); });

// What a front end needs to clear an earlier error's note: whether the key's
// calculation wrote its results.
TEST(Handlers, KeyUpTellsWhetherResultsWereWritten) {
    FakeWindow w;
    EXPECT_EQ(w.keyUp(53), Outcome::Written);  // the starting texts are all numbers
    w.handlers.Text1_GotFocus();
    EXPECT_EQ(w.keyUp(53), Outcome::Skipped);
    w.focus = Field::Text10;
    w.m_fields.setText(Field::Text10, "0");
    EXPECT_EQ(w.keyUp(48), Outcome::Skipped);
}

}  // namespace
