#include "ui/rules.h"

#include <algorithm>

namespace ui {

using calc::Field;
using calc::Status;

namespace {

// The notes shown beside a field when a calculation raises.
constexpr std::string_view kOverflowNote = "オーバーフローしました。";
// With the typing limits, the only way to it is a recovery value of 0.
constexpr std::string_view kFloatingPointNote = "回復値が 0 のため計算できません。";

// How long the typing pauses before the summary is told.
constexpr int kSummaryPauseMs = 500;

// The seconds as a screen reader says them: to three significant digits,
// rounded half up ("0.833", "16.7", "2.5"). Read out digit by digit, the
// fifteen of "0.833333333333333" take a Japanese voice four seconds more, and
// the next key cuts the summary off; the box keeps every digit. A text in
// another shape (an exponent) is said as it stands.
std::string spoken(std::string_view seconds) {
    const bool negative = seconds.starts_with('-');
    const std::string_view number = seconds.substr(negative ? 1 : 0);
    const std::size_t point = std::min(number.find('.'), number.size());
    std::string digits(number.substr(0, point));
    if (point < number.size()) digits += number.substr(point + 1);
    const std::size_t first = digits.find_first_not_of('0');
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
        number.find('.', point + 1) != std::string_view::npos || first == std::string::npos ||
        digits.size() - first <= 3) {
        return std::string(seconds);
    }
    std::size_t whole = point;  // digits before the point
    const bool up = digits[first + 3] >= '5';
    digits.resize(first + 3);
    for (std::size_t i = digits.size(); up && i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            break;
        }
        digits[i] = '0';
        if (i == 0) {
            digits.insert(digits.begin(), '1');  // 999 up to 1000
            ++whole;
        }
    }
    if (digits.size() < whole) digits.append(whole - digits.size(), '0');
    std::string out = negative ? "-" : "";
    out += whole == 0 ? std::string("0") : digits.substr(0, whole);
    std::string decimals = digits.substr(whole);
    decimals.erase(decimals.find_last_not_of('0') + 1);
    if (!decimals.empty()) out += "." + decimals;
    return out;
}

// What a screen reader is told once the player pauses: a calculation's two
// results that a player reads first, by the captions they stand under. A
// recovery value typed into 回復値 changes the seconds only, and the player
// has just heard the value itself.
std::string secondsSummary(std::string_view seconds) {
    std::string summary = "1mana ";
    summary += spoken(seconds);
    summary += " sec";
    return summary;
}

std::string resultSummary(std::string_view recovery, std::string_view seconds) {
    std::string summary = "回復値 ";
    summary += recovery;
    summary += "、";
    return summary + secondsSummary(seconds);
}

const calc::FieldHandlers* handlersOf(Field f) {
    for (const calc::FieldHandlers& b : calc::kFieldHandlers) {
        if (b.field == f) return &b;
    }
    return nullptr;
}

// The next input in tab order after `from`, or before it, wrapping around;
// from nowhere, the first (or the last).
Field inputAfter(std::optional<Field> from, bool backward) {
    const auto& order = kInputOrder;
    if (!from) return *fieldAt(backward ? order.back() : order.front());
    const int at = kControls[controlOf(*from)].tabIndex;
    if (backward) {
        const auto it = std::find_if(order.rbegin(), order.rend(),
                                     [at](Control c) { return kControls[c].tabIndex < at; });
        return *fieldAt(it != order.rend() ? *it : order.back());
    }
    const auto it = std::find_if(order.begin(), order.end(),
                                 [at](Control c) { return kControls[c].tabIndex > at; });
    return *fieldAt(it != order.end() ? *it : order.front());
}

}  // namespace

Rules::Rules(calc::FieldSet& fields, Port& port)
    : m_fields(fields), m_port(port), m_writes(fields), m_handlers(m_writes, *this) {}

std::string Rules::Writes::text(Field f) const {
    const std::optional<std::string>& held = m_held[calc::index(f)];
    return held ? *held : m_fields.text(f);
}

void Rules::Writes::setText(Field f, std::string_view text) {
    m_held[calc::index(f)] = std::string(text);
}

void Rules::Writes::flush() {
    for (std::size_t i = 0; i < m_held.size(); ++i) {
        if (!m_held[i]) continue;
        const auto f = static_cast<Field>(i);
        if (m_fields.text(f) != *m_held[i]) {
            m_fields.setText(f, *m_held[i]);
            changed = true;
        }
        m_held[i].reset();
    }
}

void Rules::activated(bool active, std::optional<Field> holding) {
    if (active) {
        if (!m_focused) m_focused = holding;
        if (m_focused) {
            m_port.returnFocus(*m_focused);
        } else {
            moveTo(inputAfter(std::nullopt, false));
        }
    }
    if (active == m_active) return;
    m_active = active;
    // A note that stands above every other window would cover the game: it
    // goes with the window and comes back with it while the error stands. An
    // error raised while the window was not the active one is told now.
    if (!m_note) return;
    if (!active) {
        m_port.hideNote();
    } else if (m_note->told) {
        m_port.showNote(m_note->at, m_note->text);
    } else {
        tellNote();
    }
}

void Rules::focusArrived(Field box) {
    if (m_focused == box) return;
    m_focused = box;
    describeNote();
    const calc::FieldHandlers* b = handlersOf(box);
    if (b != nullptr && b->gotFocus != nullptr) (m_handlers.*b->gotFocus)();
    m_writes.flush();
}

// The box reached shows its last text, selected as a Tab leaves it, before
// the focus moves. A platform that tells of a focus only once its window is
// active, or later still, has not reported this one yet; it counts now, and
// its report later is no entry.
void Rules::moveTo(Field input) {
    m_writes.flush();
    m_port.moveFocus(input);
    focusArrived(input);
}

void Rules::tab(bool backward) {
    moveTo(inputAfter(m_focused, backward));
}

bool Rules::keyPressed(int keyCode, int shift) {
    if (!movesFocus(keyCode, shift)) return false;
    tab((shift & kShiftBit) != 0);
    return true;
}

// The handlers' Tab keystroke is typed without Shift, whatever the player holds.
void Rules::sendTab() {
    tab(false);
}

Status Rules::keyReleased(Field box, int keyCode, int shift) {
    const calc::FieldHandlers* b = handlersOf(box);
    if (b == nullptr) return Status::Skipped;  // a result: no handler
    // A recovery value typed into 回復値 changes the seconds alone.
    const Summary written = box == Field::Text10 ? Summary::Seconds : Summary::Full;
    return run(controlOf(box), written,
               [this, b, keyCode, shift] { return (m_handlers.*b->keyUp)(keyCode, shift); });
}

Status Rules::committed(Field box) {
    return keyReleased(box, calc::kInputMethodKeyCode, 0);
}

Status Rules::click() {
    return run(kCommand1, Summary::Full, [this] { return m_handlers.Command1_Click(); });
}

// Results that came out as they were (Tab's key release in 回復値, the
// arrows) are no news, unless the last error dropped what was told before.
template <typename Handler>
Status Rules::run(Control origin, Summary written, Handler handler) {
    m_writes.changed = false;
    const Status status = calc::run(handler);
    m_writes.flush();
    summaryAfter(status, m_writes.changed || m_spoken.empty() ? written : Summary::None);
    noteAfter(status, origin);
    return status;
}

// A calculation that wrote its results clears the note of an earlier error;
// an error shows at the control it came from, and is told once: raised again
// by the next key, the error that stands is not told again.
void Rules::noteAfter(Status status, Control origin) {
    if (status == Status::Written && m_note) endNote();
    if (status != Status::Overflow && status != Status::FloatingPoint) return;
    const std::string_view text = status == Status::Overflow ? kOverflowNote : kFloatingPointNote;
    if (!m_note || m_note->at != origin || m_note->text != text) {
        if (m_note && m_note->described) m_port.describe(m_note->at, {});
        m_note = Note{origin, text};
        if (m_active) tellNote();
    }
}

// Told once, as it first shows: an error raised while the window is not the
// active one is told when the player comes back to it.
void Rules::tellNote() {
    m_port.showNote(m_note->at, m_note->text);
    m_port.announceNote(m_note->text);
    m_note->told = true;
    describeNote();
}

// The note describes the control it came from, for a player who comes back
// to it, from when the focus is elsewhere: a player in that box has just been
// told the note, and a screen reader that tells a change of the focused box's
// description (Orca 48) would tell it a second time.
void Rules::describeNote() {
    if (!m_note || !m_note->told || m_note->described) return;
    if (m_focused && controlOf(*m_focused) == m_note->at) return;
    m_port.describe(m_note->at, m_note->text);
    m_note->described = true;
}

void Rules::endNote() {
    if (m_note->described) m_port.describe(m_note->at, {});
    m_note.reset();
    m_port.hideNote();
}

// A screen reader hears the results once the player pauses: every key release
// calculates, and a summary for each key would talk over the typing, so every
// key starts the pause again.
void Rules::summaryAfter(Status status, Summary news) {
    switch (status) {
        case Status::Written:
            if (news != Summary::None) {
                // A full calculation still waiting to be told keeps its recovery value.
                m_waiting = news == Summary::Seconds && m_waiting != Summary::Full
                                ? Summary::Seconds
                                : Summary::Full;
                m_port.startPause(kSummaryPauseMs);
                break;
            }
            [[fallthrough]];
        case Status::Skipped:
            if (m_waiting != Summary::None) m_port.startPause(kSummaryPauseMs);
            break;
        case Status::Overflow:
        case Status::FloatingPoint:
            // The results waiting no longer stand beside the error, and once it
            // is corrected they are told again, even if they come out the same.
            m_waiting = Summary::None;
            m_spoken.clear();
            m_port.stopPause();
            break;
    }
}

void Rules::pauseEnded() {
    if (m_waiting == Summary::None) return;
    const std::string seconds = m_fields.text(Field::Text5);
    std::string summary = m_waiting == Summary::Seconds
                              ? secondsSummary(seconds)
                              : resultSummary(m_fields.text(Field::Text10), seconds);
    m_waiting = Summary::None;
    // Enter, Tab and the arrows calculate too, and write what was just told.
    if (summary == m_spoken) return;
    m_spoken = std::move(summary);
    m_port.announceResults(m_spoken);
}

}  // namespace ui
