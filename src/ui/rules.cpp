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

// What a screen reader is told once the player pauses: a calculation's two
// results that a player reads first, by the captions they stand under. A
// recovery value typed into 回復値 changes the seconds only, and the player
// has just heard the value itself.
std::string secondsSummary(std::string_view seconds) {
    std::string summary = "1mana ";
    summary += seconds;
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

Control controlOf(Field f) {
    return controlIndex(calc::fieldName(f));
}

std::optional<Field> fieldAt(Control c) {
    return calc::fieldByName(kControls[c].name);
}

Rules::Rules(calc::FieldSet& fields, Port& port)
    : m_fields(fields), m_port(port), m_writes(fields), m_handlers(m_writes, *this) {}

void Rules::Writes::setText(Field f, std::string_view text) {
    if (m_fields.text(f) == text) return;
    m_fields.setText(f, text);
    changed = true;
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
    const calc::FieldHandlers* b = handlersOf(box);
    if (b != nullptr && b->gotFocus != nullptr) (m_handlers.*b->gotFocus)();
}

// A platform that tells of a focus only once its window is active has not
// reported this one yet; it counts now, and its report later is no entry.
void Rules::moveTo(Field input) {
    m_port.moveFocus(input);
    focusArrived(input);
}

void Rules::tab(bool backward) {
    moveTo(inputAfter(m_focused, backward));
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

template <typename Handler>
Status Rules::run(Control origin, Summary written, Handler handler) {
    m_writes.changed = false;
    const Status status = calc::run(handler);
    summaryAfter(status, m_writes.changed ? written : Summary::None);
    noteAfter(status, origin);
    return status;
}

// A calculation that wrote its results clears the note of an earlier error;
// an error shows at the control it came from, and is told once: raised again
// by the next key, the error that stands is not told again.
void Rules::noteAfter(Status status, Control origin) {
    if (status == Status::Written && m_note) {
        m_note.reset();
        m_port.hideNote();
    }
    if (status != Status::Overflow && status != Status::FloatingPoint) return;
    const std::string_view text = status == Status::Overflow ? kOverflowNote : kFloatingPointNote;
    if (!m_note || m_note->at != origin || m_note->text != text) {
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
}

// A screen reader hears the results once the player pauses: every key release
// calculates, and a summary for each key would talk over the typing, so every
// key starts the pause again. Results that came out as they were (Tab's key
// release in 回復値, the arrows) are no news.
void Rules::summaryAfter(Status status, Summary news) {
    switch (status) {
        case Status::Written:
        case Status::Skipped:
            if (news == Summary::None) {
                if (m_waiting != Summary::None) m_port.startPause(kSummaryPauseMs);
                break;
            }
            // A full calculation still waiting to be told keeps its recovery value.
            m_waiting = news == Summary::Seconds && m_waiting != Summary::Full ? Summary::Seconds
                                                                               : Summary::Full;
            m_port.startPause(kSummaryPauseMs);
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
