#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "calc/field_set.h"
#include "calc/handlers.h"
#include "calc/status.h"
#include "ui/fields.h"
#include "ui/keys.h"
#include "ui/layout_table.h"

// The window's rules around the handlers, the same for every front end: which
// focus is an entry, the Tab order through the inputs, when the note shows,
// steps aside and is told, and what a screen reader hears of the results and
// when. A front end translates its platform's events into the calls below and
// does what the rules ask of it through a Port, in its own platform's terms.
namespace ui {

// A rectangle in a platform's screen units, its right and bottom edges just
// outside it.
template <typename T>
struct Rect {
    T left, top, right, bottom;
};

template <typename T>
struct Point {
    T x, y;
};

// Where the note goes: just below the field, from its left edge, moved back
// only as far as it must to lie within the work area of the field's screen,
// and never past that area's left or top edge. Each front end measures in its
// own units (Qt's logical pixels, Windows' physical ones, the page's CSS
// pixels) and places the note's top left corner here.
template <typename T>
constexpr Point<T> notePlace(const Rect<T>& field, std::type_identity_t<T> width,
                             std::type_identity_t<T> height, const Rect<T>& area) {
    const auto within = [](T from, T length, T start, T end) {
        return std::clamp(from, start, std::max(start, end - length));
    };
    return {within(field.left, width, area.left, area.right),
            within(field.bottom, height, area.top, area.bottom)};
}

// The primitives a front end gives the rules.
class Port {
public:
    virtual ~Port() = default;

    // Puts the focus into an input with its text selected, as a Tab does. A
    // platform that reports the focus arriving reports it as usual; the rules
    // count one arrival either way.
    virtual void moveFocus(calc::Field input) = 0;
    // Gives the focus back to the box that held it, its text and selection as
    // they were: the player came back to the window.
    virtual void returnFocus(calc::Field box) = 0;

    // The note shows text just below a control (an input or Command1),
    // placed and written whole: shown again after the window came back, it
    // is told no more.
    virtual void showNote(Control at, std::string_view text) = 0;
    virtual void hideNote() = 0;
    // The control's description for a screen reader: the note it raised, for
    // a player who comes back to it; empty, none.
    virtual void describe(Control at, std::string_view text) = 0;

    // What a screen reader is told, and nothing more: the note of an error,
    // as an alert, when it first shows (just after showNote); the results,
    // politely, once the typing pauses.
    virtual void announceNote(std::string_view text) = 0;
    virtual void announceResults(std::string_view text) = 0;

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

    // The window became the active one, or stopped being it. Active, its
    // focus goes back to the box that last held it; the first time, to the
    // first input, which is its entry. `holding`: a box the focus is in
    // already, entered before the rules ran (a page drawn with its start,
    // and perhaps clicked into since), which counts as entered as it stands.
    void activated(bool active, std::optional<calc::Field> holding = std::nullopt);

    // The platform reports the focus arriving at a text box, by any means,
    // once it has told assistive technology of it: the entry's emptying told
    // first, a screen reader takes it for the move and names no box. An
    // entry is the focus moving to another control: a focus coming back to
    // the box that last held it (the player returning from another window, a
    // context menu closing), however often and in whatever order a platform
    // reports it, empties nothing. A move the rules make themselves
    // (moveFocus) counts as soon as the port has made it.
    void focusArrived(calc::Field box);

    // A key came up in a text box: its virtual-key code and Shift state.
    calc::Status keyReleased(calc::Field box, int keyCode, int shift);
    // An input method committed text into a box. It may keep the key releases
    // of what it composed to itself; the commit stands for them.
    calc::Status committed(calc::Field box);
    // The click on Command1.
    calc::Status click();
    // A key went down in a text box. The player's Tab (movesFocus) moves the
    // focus on through the inputs from the focused box, backward with Shift,
    // wrapping around: true, and the platform does nothing more with the key.
    bool keyPressed(int keyCode, int shift);

    // The typing pause ran out.
    void pauseEnded();

private:
    enum class Summary { None, Full, Seconds };

    // The field set as the handlers write it. What they write is held and
    // passed on once the focus has moved, each box once with its last text,
    // and only where that differs from what it shows: a screen reader hears
    // of a box's change only after the move into it, and only of what did
    // change (the calculation writes Next INT and Next Medi twice each).
    class Writes final : public calc::FieldSet {
    public:
        explicit Writes(calc::FieldSet& fields) : m_fields(fields) {}
        std::string text(calc::Field f) const override;
        void setText(calc::Field f, std::string_view text) override;
        void flush();
        bool changed = false;  // some box changed since this was last cleared

    private:
        calc::FieldSet& m_fields;
        std::array<std::optional<std::string>, calc::kFieldCount> m_held;
    };

    void sendTab() override;
    void tab(bool backward);
    void moveTo(calc::Field input);
    template <typename Handler>
    calc::Status run(Control origin, Summary written, Handler handler);
    void noteAfter(calc::Status status, Control origin);
    void summaryAfter(calc::Status status, Summary news);
    void tellNote();
    void describeNote();
    void endNote();

    calc::FieldSet& m_fields;
    Port& m_port;
    Writes m_writes;
    calc::Handlers m_handlers;
    std::optional<calc::Field> m_focused;
    bool m_active = true;

    struct Note {
        Control at;
        std::string_view text;
        bool told = false;
        bool described = false;
    };
    std::optional<Note> m_note;  // the error that stands

    Summary m_waiting = Summary::None;  // told once the typing pauses
    std::string m_spoken;               // the last summary told
};

}  // namespace ui
