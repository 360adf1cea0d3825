#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// The window as the original form defined it: every control with its parent,
// position and size in twips relative to the parent's client area, caption or
// starting text, and tab index, and the texts and faces it shows. Plain data,
// so that the desktop window, the page and the start-up benchmark's bare twin
// build from the very same rows.
namespace ui {

inline constexpr std::string_view kTitle = "マナ回復速度計算 Ver1.10(Korvale対応)";

// Twips are 1/1440 inch; at 96 dpi that is 15 to a logical pixel, and Qt's
// device pixel ratio takes it from there on HiDPI screens.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 1230;
inline constexpr int kClientHeightTwips = 4590;

constexpr int toPixels(int twips) {
    return twips / kTwipsPerPixel;
}

enum class Kind { Frame, Label, TextBox, Button };
enum class FontRole { Default, Bold };

struct ControlRow {
    std::string_view name;
    Kind kind;
    std::string_view parent;  // "Form1" for the window itself
    int left, top, width, height;
    std::string_view caption;  // or starting text
    int tabIndex;
    FontRole font;
    int typingLimit;                  // characters a user may type; 0: no limit
    std::string_view accessibleName;  // text boxes: the caption of their label
};

// clang-format off
inline constexpr std::array<ControlRow, 25> kControls = {{
    // name       kind           parent    left  top   width height caption / text   tab font               limit accessible name
    {"Frame1",   Kind::Frame,   "Form1",  0,    0,    1215, 1455,  "",               4,  FontRole::Default, 0,    ""},
    {"Label1",   Kind::Label,   "Frame1", 120,  120,  375,  255,   "INT",            5,  FontRole::Default, 0,    ""},
    {"Text1",    Kind::TextBox, "Frame1", 600,  120,  495,  270,   "0",              0,  FontRole::Default, 3,    "INT"},
    {"Label3",   Kind::Label,   "Frame1", 120,  480,  495,  255,   "Medi",           7,  FontRole::Default, 0,    ""},
    {"Text2",    Kind::TextBox, "Frame1", 600,  480,  495,  270,   "0",              1,  FontRole::Default, 5,    "Medi"},
    {"Label2",   Kind::Label,   "Frame1", 120,  840,  615,  255,   "Focus",          6,  FontRole::Default, 0,    ""},
    {"Text3",    Kind::TextBox, "Frame1", 600,  840,  495,  270,   "0",              2,  FontRole::Default, 3,    "Focus"},
    {"Label12",  Kind::Label,   "Frame1", 120,  1140, 615,  255,   "回復値",         24, FontRole::Default, 0,    ""},
    {"Text10",   Kind::TextBox, "Frame1", 720,  1140, 375,  270,   "0",              23, FontRole::Default, 2,    "回復値"},
    {"Command1", Kind::Button,  "Frame1", 120,  1440, 975,  375,   "計算",           3,  FontRole::Default, 0,    ""},
    {"Label11",  Kind::Label,   "Form1",  120,  1470, 975,  735,   "ﾏﾅ回復+1= Focus+20  瞑想不可= int0&&medi0",
                                                                                     22, FontRole::Default, 0,    ""},
    {"Frame2",   Kind::Frame,   "Form1",  0,    2160, 1215, 2415,  "",               8,  FontRole::Default, 0,    ""},
    {"Label4",   Kind::Label,   "Frame2", 120,  120,  495,  255,   "FPoint",         9,  FontRole::Default, 0,    ""},
    {"Text4",    Kind::TextBox, "Frame2", 600,  120,  495,  270,   "0",              10, FontRole::Default, 0,    "FPoint"},
    {"Label5",   Kind::Label,   "Frame2", 120,  360,  495,  375,   "Next FPoint",    12, FontRole::Default, 0,    ""},
    {"Text6",    Kind::TextBox, "Frame2", 600,  480,  495,  270,   "0",              14, FontRole::Default, 0,    "Next FPoint"},
    {"Label6",   Kind::Label,   "Frame2", 120,  720,  735,  255,   "1mana",          13, FontRole::Bold,    0,    ""},
    {"Text5",    Kind::TextBox, "Frame2", 120,  960,  690,  285,   "0",              11, FontRole::Bold,    0,    "1mana sec"},
    {"Label10",  Kind::Label,   "Frame2", 840,  960,  255,  255,   "sec",            21, FontRole::Default, 0,    ""},
    {"Label7",   Kind::Label,   "Frame2", 120,  1200, 615,  495,   "Next INT",       15, FontRole::Default, 0,    ""},
    {"Text7",    Kind::TextBox, "Frame2", 600,  1320, 495,  270,   "0",              16, FontRole::Default, 0,    "Next INT"},
    {"Label8",   Kind::Label,   "Frame2", 120,  1560, 495,  375,   "Next Medi",      19, FontRole::Default, 0,    ""},
    {"Text8",    Kind::TextBox, "Frame2", 600,  1680, 495,  270,   "0",              17, FontRole::Default, 0,    "Next Medi"},
    {"Label9",   Kind::Label,   "Frame2", 120,  1920, 615,  375,   "Next Focus",     20, FontRole::Default, 0,    ""},
    {"Text9",    Kind::TextBox, "Frame2", 600,  2040, 495,  270,   "20",             18, FontRole::Default, 0,    "Next Focus"},
}};
// clang-format on

// A control: its row in kControls.
using Control = std::size_t;

// The window itself, which the table names as the frames' parent: no row of
// the table, and never the answer to a lookup that found nothing.
inline constexpr std::string_view kForm1Name = "Form1";
inline constexpr Control kForm1 = kControls.size();

// Whether a name is one the table may refer to: a row's, or the window's.
constexpr bool isTableName(std::string_view name) {
    return name == kForm1Name ||
           std::any_of(kControls.begin(), kControls.end(),
                       [name](const ControlRow& row) { return row.name == name; });
}

namespace detail {
template <std::size_t N>
struct Spelled {
    char text[N];
};

template <const auto& names, std::size_t I>
constexpr auto spelled() {
    Spelled<names[I].size() + 1> name{};
    std::copy(names[I].begin(), names[I].end(), name.text);
    return name;
}

template <auto name>
constexpr void requireName() {
    static_assert(isTableName(name.text), "the layout table has no control of this name");
}

template <const auto& names, std::size_t... I>
constexpr bool requireNames(std::index_sequence<I...>) {
    (requireName<spelled<names, I>()>(), ...);
    return true;
}
}  // namespace detail

// Every name of `names` is one of the table's. Each is checked as a template
// argument, so that a misspelt one fails the build with a message that spells
// it out (GCC: "'isTableName(Spelled<6>{"Fram1"}.text)' evaluates to false").
template <const auto& names>
inline constexpr bool kAllTableNames =
    detail::requireNames<names>(std::make_index_sequence<std::size(names)>{});

// A control by its name, for the table's own derivations below and for tests,
// so that a front end never searches by name. A name the table lacks throws:
// no answer could mean "not found" without also meaning a control.
constexpr Control controlIndex(std::string_view name) {
    for (Control i = 0; i < kControls.size(); ++i) {
        if (kControls[i].name == name) return i;
    }
    throw std::out_of_range("no control named " + std::string(name));
}

inline constexpr Control kCommand1 = controlIndex("Command1");

inline constexpr auto kParentNames = [] {
    std::array<std::string_view, kControls.size()> names{};
    std::transform(kControls.begin(), kControls.end(), names.begin(),
                   [](const ControlRow& row) { return row.parent; });
    return names;
}();
static_assert(kAllTableNames<kParentNames>);

// Each control's parent's row; kForm1 for a control of the window itself.
inline constexpr auto kParents = [] {
    std::array<Control, kControls.size()> parents{};
    for (Control i = 0; i < kControls.size(); ++i) {
        const std::string_view parent = kControls[i].parent;
        parents[i] = parent == kForm1Name ? kForm1 : controlIndex(parent);
    }
    return parents;
}();

// The order a platform makes the controls in, every parent before what it
// holds, so that each lies where it must among its siblings: the labels
// beneath the rest, which hide them where they overlap (Label11 under Frame2,
// Label12 under Text10), and each label above the ones before it in the table,
// so that a caption's box that fills its background and reaches into the next
// label's top ("Next INT" into "Next Medi") never covers that label's text.
// The rest never overlap one another and come in the table's order, the order
// a screen reader meets them in. A platform puts a new control either above
// its siblings made before (Qt's widgets, a page's elements) or beneath them
// (Windows' child windows).
template <bool NewBeneath>
constexpr std::array<Control, kControls.size()> makeOrder() {
    std::array<Control, kControls.size()> order{};
    std::size_t n = 0;
    const auto add = [&](Control parent, bool labels, bool lastFirst) {
        for (Control k = 0; k < kControls.size(); ++k) {
            const Control i = lastFirst ? kControls.size() - 1 - k : k;
            if (kParents[i] == parent && (kControls[i].kind == Kind::Label) == labels) {
                order[n++] = i;
            }
        }
    };
    // The window's controls, then those of each control made, as it is made.
    for (std::size_t made = 0; made == 0 || made <= n; ++made) {
        const Control parent = made == 0 ? kForm1 : order[made - 1];
        if (NewBeneath) {
            add(parent, false, false);
            add(parent, true, true);
        } else {
            add(parent, true, false);
            add(parent, false, false);
        }
    }
    return order;
}

inline constexpr auto kMadeAbove = makeOrder<false>();
inline constexpr auto kMadeBeneath = makeOrder<true>();

// The inputs are the text boxes the player types into, each with a typing
// limit; the results take no typing.
constexpr bool isInput(const ControlRow& row) {
    return row.kind == Kind::TextBox && row.typingLimit > 0;
}

// Whether a click or a key may put the focus on the control. Only a
// one-pixel sliver of Command1 shows: a focus there would be invisible and
// would swallow the player's typing, so it takes the click alone.
constexpr bool takesFocus(const ControlRow& row) {
    return row.kind == Kind::TextBox;
}

// The inputs' rows by tab index, the order Tab and Enter take through them:
// nothing else in the window is in the cycle.
inline constexpr auto kInputOrder = [] {
    std::array<Control, std::count_if(kControls.begin(), kControls.end(), isInput)> order{};
    std::size_t n = 0;
    for (Control i = 0; i < kControls.size(); ++i) {
        if (isInput(kControls[i])) order[n++] = i;
    }
    std::sort(order.begin(), order.end(),
              [](Control a, Control b) { return kControls[a].tabIndex < kControls[b].tabIndex; });
    return order;
}();

// The window's default face is a Japanese proportional Gothic at 9 pt, Label6
// and Text5 a bold one at 11.25 pt. The original's face where installed, then
// IPAPGothic (metrically the same), then other Japanese proportional Gothics:
// nothing maps the original's name to a face with kana on its own.
inline constexpr std::array<std::string_view, 9> kGothicFamilies = {
    "ＭＳ Ｐゴシック", "MS PGothic",       "IPAPGothic",         "IPAexGothic", "VL PGothic",
    "TakaoPGothic",    "Noto Sans CJK JP", "Source Han Sans JP", "IPAGothic"};

// The one face the window is drawn in, picked once at start from what is
// installed: the first of kGothicFamilies, else the first of a platform's own
// Japanese faces. Naming a face that is there spares the font system a search
// for substitutes of every missing name, at every first use of a font. Empty
// when none is installed: the system's default face then.
template <typename IsInstalled>
std::string_view chooseFamily(const IsInstalled& installed,
                              std::span<const std::string_view> platformFaces = {}) {
    for (std::string_view family : kGothicFamilies) {
        if (installed(family)) return family;
    }
    for (std::string_view family : platformFaces) {
        if (installed(family)) return family;
    }
    return {};
}

inline constexpr double kDefaultPointSize = 9.0;
inline constexpr double kBoldPointSize = 11.25;

// The text a caption draws, as the original's labels drew theirs: its "&"
// markers taken out, "&&" showing as one "&" (a single "&" underlines the
// character after it, which only the drawing itself can show).
inline std::string drawnCaption(std::string_view caption) {
    std::string drawn;
    drawn.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && ++i == caption.size()) break;
        drawn += caption[i];
    }
    return drawn;
}

// The text box a label's caption names for assistive technology: the one
// whose accessible name it is, else the one whose name it begins or ends as
// a whole word ("1mana" and "sec" together name "1mana sec"); none for a
// control that names none (Label11).
inline std::optional<Control> namedBox(Control label) {
    if (kControls[label].kind != Kind::Label) return std::nullopt;
    const std::string caption = drawnCaption(kControls[label].caption);
    const auto names = [&](const ControlRow& box, bool whole) {
        const std::string_view name = box.accessibleName;
        return box.kind == Kind::TextBox &&
               (whole ? name == caption
                      : name.starts_with(caption + ' ') || name.ends_with(' ' + caption));
    };
    for (const bool whole : {true, false}) {
        for (Control box = 0; box < kControls.size(); ++box) {
            if (names(kControls[box], whole)) return box;
        }
    }
    return std::nullopt;
}

}  // namespace ui
