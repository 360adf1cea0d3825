#include "ui/rules.h"

#include <algorithm>

#include "ui/layout_table.h"

namespace ui {

using calc::Field;
using calc::Status;

namespace {

Control controlOf(Field f) {
    return ui::controlIndex(calc::fieldName(f));
}

Field fieldOf(Control c) {
    return *calc::fieldByName(ui::kControls[c].name);
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
    const auto& order = ui::kInputOrder;
    if (!from) return fieldOf(backward ? order.back() : order.front());
    const int at = ui::kControls[controlOf(*from)].tabIndex;
    if (backward) {
        const auto it = std::find_if(order.rbegin(), order.rend(),
                                     [at](Control c) { return ui::kControls[c].tabIndex < at; });
        return fieldOf(it != order.rend() ? *it : order.back());
    }
    const auto it = std::find_if(order.begin(), order.end(),
                                 [at](Control c) { return ui::kControls[c].tabIndex > at; });
    return fieldOf(it != order.end() ? *it : order.front());
}

}  // namespace

Rules::Rules(calc::FieldSet& fields, Port& port)
    : m_fields(fields), m_port(port), m_handlers(fields, *this) {}

void Rules::start() {
    if (!m_focused) moveTo(inputAfter(std::nullopt, false));
}

void Rules::resume(std::optional<Field> focused) {
    m_focused = focused;
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
    return run(ui::controlIndex("Command1"), Summary::Full,
               [this] { return m_handlers.Command1_Click(); });
}

// A screen reader hears the results once the player pauses: every key release
// calculates, and a summary for each key would talk over the typing, so every
// key starts the pause again. A calculation that wrote its results clears the
// note of an earlier error; an error shows at the control it came from.
template <typename Handler>
Status Rules::run(Control origin, Summary written, Handler handler) {
    const Status status = calc::run(handler);
    if (status == Status::Written) {
        if (m_note) {
            m_note.reset();
            m_port.dismissNote();
        }
        // A full calculation still waiting to be told keeps its recovery value.
        m_waiting = written == Summary::Seconds && m_waiting != Summary::Full ? Summary::Seconds
                                                                              : Summary::Full;
        m_port.startPause(ui::kSummaryPauseMs);
    } else if (status == Status::Skipped) {
        if (m_waiting != Summary::None) m_port.startPause(ui::kSummaryPauseMs);
    } else {
        // The results waiting no longer stand beside the error, and once it is
        // corrected they are told again, even if they come out the same.
        m_waiting = Summary::None;
        m_spoken.clear();
        m_port.stopPause();
        // Raised again by the next key, the error that stands is not told again.
        const std::string_view text = ui::noteText(status);
        if (!m_note || m_note->at != origin || m_note->text != text) {
            m_note = Note{origin, text};
            if (m_active) tellNote();
        }
    }
    return status;
}

// Told once, as it first shows: an error raised while the window is not the
// active one is told when the player comes back to it.
void Rules::tellNote() {
    m_port.showNote(m_note->at, m_note->text);
    m_port.announce(m_note->text, Voice::Note);
    m_note->told = true;
}

// A note that stands above every other window would cover the game: it goes
// with the window and comes back with it while the error stands.
void Rules::activated(bool active) {
    if (active == m_active) return;
    m_active = active;
    if (!m_note) return;
    if (!active) {
        m_port.hideNote();
    } else if (m_note->told) {
        m_port.showNote(m_note->at, m_note->text);
    } else {
        tellNote();
    }
}

void Rules::pauseEnded() {
    if (m_waiting == Summary::None) return;
    const std::string seconds = m_fields.text(Field::Text5);
    std::string summary = m_waiting == Summary::Seconds
                              ? ui::secondsSummary(seconds)
                              : ui::resultSummary(m_fields.text(Field::Text10), seconds);
    m_waiting = Summary::None;
    // Enter, Tab and the arrows calculate too, and write what was just told.
    if (summary == m_spoken) return;
    m_spoken = std::move(summary);
    m_port.announce(m_spoken, Voice::Results);
}

Edit limitEdit(int limit, std::u16string_view before, std::u16string_view after,
               std::size_t cursor) {
    const Edit unchanged{std::u16string(after), cursor};
    const std::u16string_view tail = after.substr(std::min(cursor, after.size()));
    if (cursor > after.size() || !before.ends_with(tail)) {
        // Not an insertion at the cursor: let it shorten a text, never lengthen one over the limit.
        const bool over =
            after.size() > static_cast<std::size_t>(limit) && after.size() >= before.size();
        return over ? Edit{std::u16string(before), std::min(cursor, before.size())} : unchanged;
    }
    // The edit replaced before[start, end) with after[start, cursor).
    const std::size_t end = before.size() - tail.size();
    const std::size_t common = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first -
        before.begin());
    const std::size_t start = std::min({common, cursor, end});
    const std::u16string_view inserted = after.substr(start, cursor - start);
    const std::size_t kept = fitting(inserted, roomLeft(limit, before.size(), end - start));
    if (kept == inserted.size()) return unchanged;
    std::u16string text(before.substr(0, start));
    text += inserted.substr(0, kept);
    text += tail;
    return {std::move(text), start + kept};
}

}  // namespace ui
