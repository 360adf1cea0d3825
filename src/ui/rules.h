#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "calc/handlers.h"
#include "calc/status.h"

// The window's rules around the handlers, the same for every front end: which
// focus is an entry, the Tab order through the inputs, when the note shows,
// steps aside and is told, and what a screen reader hears of the results and
// when. A front end translates its platform's events into the calls below and
// does what the rules ask of it through a Port, in its own platform's terms.
namespace ui {

// A control of the window: its row in ui::kControls.
using Control = std::size_t;

// What a screen reader is told: the note of an error, as an alert, or the
// results, politely, once the typing pauses.
enum class Voice { Note, Results };

// The primitives a front end gives the rules.
class Port {
public:
    virtual ~Port() = default;

    // Puts the focus into an input with its text selected, as a Tab does. A
    // platform that reports the focus arriving reports it as usual; the rules
    // count one arrival either way.
    virtual void moveFocus(calc::Field input) = 0;

    // The note shows text just below a control (an input or Command1), which
    // it describes for a screen reader while it stands.
    virtual void showNote(Control at, std::string_view text) = 0;
    // The note steps aside while another window is active; the error stands.
    virtual void hideNote() = 0;
    // The error no longer stands: the note goes, and its description with it.
    virtual void dismissNote() = 0;

    virtual void announce(std::string_view text, Voice voice) = 0;

    // One timer for the typing pause: pauseEnded() when it runs out. Starting
    // it again while it runs starts the pause over.
    virtual void startPause(int milliseconds) = 0;
    virtual void stopPause() = 0;

protected:
    Port() = default;
    Port(const Port&) = default;
    Port& operator=(const Port&) = default;
};

class Rules final : private calc::FocusPort {
public:
    Rules(calc::FieldSet& fields, Port& port);
    Rules(const Rules&) = delete;
    Rules& operator=(const Rules&) = delete;

    // The window is open: the first input takes the focus, and that is its
    // entry, unless a focus has already been counted (arrived or resumed).
    void start();
    // The focus is where it is and every entry so far was handled (the page,
    // whose start was drawn before its handlers were bound).
    void resume(std::optional<calc::Field> focused);

    // The platform reports the focus arriving at a text box, by any means. An
    // entry is the focus moving to another control: a focus coming back to
    // the box that last held it (the player returning from another window, a
    // context menu closing), however often and in whatever order a platform
    // reports it, empties nothing.
    void focusArrived(calc::Field box);
    // The text box that last held the window's focus: the one to give it
    // back to when the window is activated again.
    std::optional<calc::Field> focused() const { return m_focused; }

    // A key came up in a text box: its virtual-key code and Shift state.
    calc::Status keyReleased(calc::Field box, int keyCode, int shift);
    // An input method committed text into a box. It may keep the key releases
    // of what it composed to itself; the commit stands for them.
    calc::Status committed(calc::Field box);
    // The click on Command1.
    calc::Status click();
    // The player's Tab (Shift+Tab: backward): on through the inputs from the
    // focused box, wrapping around.
    void tab(bool backward);

    // The window became the active one, or stopped being it.
    void activated(bool active);
    // The typing pause ran out.
    void pauseEnded();

private:
    enum class Summary { None, Full, Seconds };

    void sendTab() override;
    void moveTo(calc::Field input);
    void tellNote();
    template <typename Handler>
    calc::Status run(Control origin, Summary written, Handler handler);

    calc::FieldSet& m_fields;
    Port& m_port;
    calc::Handlers m_handlers;
    std::optional<calc::Field> m_focused;
    bool m_active = true;

    struct Note {
        Control at;
        std::string_view text;
        bool told = false;
    };
    std::optional<Note> m_note;  // the error that stands

    Summary m_waiting = Summary::None;  // told once the typing pauses
    std::string m_spoken;               // the last summary told
};

// The room a typing limit leaves for new characters in a box holding length
// characters, selected of them to be replaced. A text over the limit (a
// program write, or an undo back to one) has none.
constexpr std::size_t roomLeft(int limit, std::size_t length, std::size_t selected) {
    const std::size_t kept = length - selected;
    const auto max = static_cast<std::size_t>(limit);
    return kept < max ? max - kept : 0;
}

// How much of text goes into room: all of it that fits, and never half of a
// character outside the BMP, which takes two units (texts in UTF-16).
constexpr std::size_t fitting(std::u16string_view text, std::size_t room) {
    if (text.size() <= room) return text.size();
    return room > 0 && text[room - 1] >= 0xD800 && text[room - 1] < 0xDC00 ? room - 1 : room;
}

// What an edit by the player may leave in a box with a typing limit, for a
// platform whose edit control only tells what it would leave: before, the
// text as it was; after, as the edit leaves it, the cursor at `cursor` in it.
// What the edit inserted is cut to the room the limit leaves, as the system's
// edit control cuts a paste; an edit that inserted nothing (a deletion)
// passes. Texts are in the platform's units (UTF-16).
struct Edit {
    std::u16string text;
    std::size_t cursor;
};
Edit limitEdit(int limit, std::u16string_view before, std::u16string_view after,
               std::size_t cursor);

}  // namespace ui
