#include "ui/rules.h"

#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "calc/field_set.h"
#include "ui/keys.h"
#include "ui/layout_table.h"
#include "ui/typing_limit.h"

namespace {

using calc::Field;

std::string nameOf(Field f) {
    return std::string(calc::kFieldNames[calc::index(f)]);
}

// A front end without a platform: it logs what the rules ask of it, and the
// inputs emptied by an entry, as "what; what; ...". Its focus moves only when
// a step says it arrived.
class FakeWindow final : public calc::FieldSet, public ui::Port {
public:
    std::string text(Field f) const override { return m_fields.text(f); }
    void setText(Field f, std::string_view t) override {
        if (t.empty()) say(nameOf(f) + "=");
        m_fields.setText(f, t);
    }
    void moveFocus(Field input) override { say("focus " + nameOf(input)); }
    void returnFocus(Field box) override { say("return " + nameOf(box)); }
    void showNote(ui::Control at, std::string_view text) override {
        say("show " + std::string(ui::kControls[at].name) + " " + std::string(text));
    }
    void hideNote() override { say("hide"); }
    void describe(ui::Control at, std::string_view text) override {
        say("describe " + std::string(ui::kControls[at].name) + (text.empty() ? "" : " ") +
            std::string(text));
    }
    void announceNote(std::string_view text) override { say("tell note " + std::string(text)); }
    void announceResults(std::string_view text) override { say("tell " + std::string(text)); }
    void startPause(int ms) override { say("pause " + std::to_string(ms)); }
    void stopPause() override { say("stop"); }
    void say(const std::string& what) { log += (log.empty() ? "" : "; ") + what; }

    calc::MemoryFieldSet m_fields;
    std::string log;
};

// Steps separated by ";": back [BOX] (the window became active, the focus
// already in BOX) | away | arrive BOX | set BOX TEXT | key BOX [CODE] |
// commit BOX | click | tab [SHIFT] | backtab | pause (the pause timer ran
// out). A Tab the rules leave to the system logs "system". A step or a box it
// does not know throws, and fails the test.
void play(ui::Rules& rules, FakeWindow& w, const std::string& steps) {
    std::istringstream all(steps);
    for (std::string step; std::getline(all, step, ';');) {
        std::istringstream words(step);
        std::string verb, box, arg;
        words >> verb >> box >> arg;
        const auto unknown = [&](const std::string& what) {
            return std::invalid_argument("no " + what + " in step \"" + step + '"');
        };
        const auto field = [&] {
            if (const auto f = calc::fieldByName(box)) return *f;
            throw unknown("box \"" + box + '"');
        };
        const auto tab = [&](int shift) {
            if (!rules.keyPressed(ui::kTabKeyCode, shift)) w.say("system");
        };
        const std::map<std::string, std::function<void()>> verbs = {
            {"back",
             [&] { rules.activated(true, box.empty() ? std::nullopt : std::optional(field())); }},
            {"away", [&] { rules.activated(false); }},
            {"arrive", [&] { rules.focusArrived(field()); }},
            {"set", [&] { w.m_fields.setText(field(), arg); }},
            {"key", [&] { rules.keyReleased(field(), arg.empty() ? 48 : std::stoi(arg), 0); }},
            {"commit", [&] { rules.committed(field()); }},
            {"click", [&] { rules.click(); }},
            {"tab", [&] { tab(box.empty() ? 0 : std::stoi(box)); }},
            {"backtab", [&] { tab(ui::kShiftBit); }},
            {"pause", [&] { rules.pauseEnded(); }},
        };
        const auto it = verbs.find(verb);
        if (it == verbs.end()) throw unknown("verb \"" + verb + '"');
        it->second();
    }
}

struct Row {
    const char* name;
    std::string steps, seen;
};

class Rules : public testing::TestWithParam<Row> {};

TEST_P(Rules, PortSeesWhatTheRulesSay) {
    FakeWindow w;
    ui::Rules rules(w, w);
    play(rules, w, GetParam().steps);
    EXPECT_EQ(w.log, GetParam().seen);
}

// The window opens; INT -80 with Medi and Focus 0 raises at the seconds of a
// recovery value of 0.
const std::string kError = "back; set Text1 -80; key Text1; ";
const std::string kZero = "回復値が 0 のため計算できません。";
const std::string kShown =
    "focus Text1; Text1=; stop; show Text1 " + kZero + "; tell note " + kZero;
const std::string kOverflow = "オーバーフローしました。";

INSTANTIATE_TEST_SUITE_P(
    Table, Rules,
    testing::Values(
        // Entry and return.
        Row{"first_activation_enters_the_first_input", "back", "focus Text1; Text1="},
        Row{"activation_after_the_focus_came_is_no_second_entry", "arrive Text1; back",
            "Text1=; return Text1"},
        Row{"focus_held_before_the_rules_is_no_entry", "back Text2; arrive Text2", "return Text2"},
        Row{"only_another_box_is_an_entry",
            "arrive Text2; set Text2 45; away; arrive Text2; back; arrive Text2; arrive Text10; "
            "arrive Text2",
            "Text2=; return Text2; Text2="},
        Row{"tab_cycles_the_inputs_both_ways", "back; tab; tab; tab; backtab; backtab",
            "focus Text1; Text1=; focus Text2; Text2=; focus Text3; Text3=; focus Text10; "
            "focus Text3; focus Text2"},
        Row{"tab_from_the_last_input_wraps_to_the_first", "arrive Text10; tab; backtab",
            "focus Text1; Text1=; focus Text10"},
        // Held with Ctrl or Alt (2, 4), Tab is the system's; with Shift alone it goes back.
        Row{"ctrl_or_alt_leave_tab_to_the_system", "back; tab 2; tab 4; tab 7; tab 1",
            "focus Text1; Text1=; system; system; system; focus Text10"},
        // The note.
        Row{"error_is_shown_and_told_once", kError + "key Text1", kShown + "; stop"},
        Row{"another_place_or_error_is_told", kError + "click; set Text2 40000; key Text1",
            kShown + "; stop; show Command1 " + kZero + "; tell note " + kZero +
                "; describe Command1 " + kZero + "; stop; describe Command1; show Text1 " +
                kOverflow + "; tell note " + kOverflow},
        Row{"box_described_once_the_focus_leaves", kError + "arrive Text2; set Text2 5; key Text2",
            kShown + "; describe Text1 " + kZero + "; Text2=; pause 500; describe Text1; hide"},
        Row{"note_steps_aside_and_returns_untold", kError + "away; back",
            kShown + "; hide; return Text1; show Text1 " + kZero},
        Row{"error_while_away_is_told_on_return", "back; away; set Text1 -80; key Text1; back",
            "focus Text1; Text1=; stop; return Text1; show Text1 " + kZero + "; tell note " +
                kZero},
        // The summary.
        Row{"recovery_value_keeps_a_waiting_full_summary",
            "key Text1; set Text10 5; commit Text10; pause",
            "pause 500; pause 500; tell 回復値 5、1mana 2 sec"},
        Row{"no_news_no_summary", "key Text1; pause; key Text10 9; pause",
            "pause 500; tell 回復値 2、1mana 5 sec"},
        Row{"seconds_told_to_three_digits",
            "set Text2 99.5; set Text1 100; key Text1; pause; set Text10 1.0005; key Text10; pause",
            "pause 500; tell 回復値 12、1mana 0.833 sec; pause 500; tell 1mana 10 sec"},
        // 0.666666666666667 rounds up, 0.12987012987013 carries into the 2.
        Row{"seconds_rounded_up_and_carried",
            "set Text10 15; key Text10; pause; set Text10 77; key Text10; pause",
            "pause 500; tell 1mana 0.667 sec; pause 500; tell 1mana 0.13 sec"},
        Row{"any_key_holds_a_waiting_summary_back",
            "set Text2 x; key Text1; set Text2 0; key Text1; set Text2 x; key Text1",
            "pause 500; pause 500"},
        Row{"told_when_changed_or_after_an_error",
            "key Text1; pause; key Text1; pause; " + kError + "set Text1 0; key Text1; pause",
            "pause 500; tell 回復値 2、1mana 5 sec; " + kShown +
                "; pause 500; hide; tell 回復値 2、1mana 5 sec"}),
    [](const auto& row) { return std::string(row.param.name); });

// Where the note goes on a 100 x 50 work area: below the field from its left
// edge, moved back only as far as the area needs, never past its left edge.
struct PlaceRow {
    const char* name;
    ui::Rect<int> field;
    int width, height;
    int x, y;
};

class NotePlace : public testing::TestWithParam<PlaceRow> {};

TEST_P(NotePlace, KeepsTheNoteOnTheScreen) {
    const PlaceRow& r = GetParam();
    const auto at = ui::notePlace(r.field, r.width, r.height, ui::Rect<int>{0, 0, 100, 50});
    EXPECT_EQ(std::pair(at.x, at.y), std::pair(r.x, r.y));
}

INSTANTIATE_TEST_SUITE_P(
    Table, NotePlace,
    testing::Values(PlaceRow{"below_the_field", {10, 10, 30, 20}, 20, 5, 10, 20},
                    PlaceRow{"back_from_the_right_edge", {80, 10, 95, 20}, 30, 5, 70, 20},
                    PlaceRow{"up_from_the_bottom", {10, 40, 30, 48}, 20, 5, 10, 45},
                    PlaceRow{"wider_than_the_area", {10, 10, 30, 20}, 150, 5, 0, 20}),
    [](const auto& row) { return std::string(row.param.name); });

// What a paste, a drop or a commit may leave in a box with a typing limit of
// three: what it inserts is cut to the room left.
struct LimitRow {
    const char* name;
    std::u16string before, after;
    std::size_t cursor;
    std::u16string kept;
};

class TypingLimit : public testing::TestWithParam<LimitRow> {};

TEST_P(TypingLimit, CutsWhatWasInserted) {
    const LimitRow& r = GetParam();
    EXPECT_EQ(ui::limitEdit(3, r.before, r.after, r.cursor).text, r.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypingLimit,
    testing::Values(LimitRow{"paste_repeating_its_neighbour", u"ab", u"abXYb", 4, u"abb"},
                    LimitRow{"no_half_character", u"1", u"1a\U0001F600", 4, u"1a"},
                    LimitRow{"selection_replaced_past_the_limit", u"123", u"14567", 5, u"145"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
