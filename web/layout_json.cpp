#include "layout_json.h"

#include "calc/field_set.h"
#include "calc/handlers.h"
#include "ui/fields.h"
#include "ui/keys.h"
#include "ui/layout_table.h"

namespace web {
namespace {

void appendString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += kHex[(c >> 4) & 0xf];
            out += kHex[c & 0xf];
        } else {
            out += c;  // UTF-8 passes through: JSON text is Unicode
        }
    }
    out += '"';
}

void appendMember(std::string& out, std::string_view name, std::string_view value) {
    appendString(out, name);
    out += ':';
    appendString(out, value);
    out += ',';
}

void appendMember(std::string& out, std::string_view name, int value) {
    appendString(out, name);
    out += ':';
    out += std::to_string(value);
    out += ',';
}

std::string_view kindName(ui::Kind kind) {
    switch (kind) {
        case ui::Kind::Frame:
            return "frame";
        case ui::Kind::Label:
            return "label";
        case ui::Kind::TextBox:
            return "textbox";
        case ui::Kind::Button:
            return "button";
    }
    return "";
}

void appendControl(std::string& out, ui::Control i) {
    const ui::ControlRow& row = ui::kControls[i];
    out += '{';
    appendMember(out, "name", row.name);
    appendMember(out, "kind", kindName(row.kind));
    // The parent's row; -1 for the window itself.
    appendMember(out, "parent",
                 ui::kParents[i] == ui::kForm1 ? -1 : static_cast<int>(ui::kParents[i]));
    appendMember(out, "left", ui::toPixels(row.left));
    appendMember(out, "top", ui::toPixels(row.top));
    appendMember(out, "width", ui::toPixels(row.width));
    appendMember(out, "height", ui::toPixels(row.height));
    // A text box shows its text as it is; captions have their markers.
    appendMember(
        out, "text",
        row.kind == ui::Kind::TextBox ? std::string(row.caption) : ui::drawnCaption(row.caption));
    appendMember(out, "tabIndex", row.tabIndex);
    appendMember(out, "bold", row.font == ui::FontRole::Bold ? 1 : 0);
    appendMember(out, "limit", row.typingLimit);
    appendMember(out, "input", ui::isInput(row) ? 1 : 0);
    appendMember(out, "focus", ui::takesFocus(row) ? 1 : 0);
    const auto named = ui::namedBox(i);
    appendMember(out, "for", named ? ui::kControls[*named].name : std::string_view{});
    const auto field = ui::fieldAt(i);
    appendMember(out, "field", field ? static_cast<int>(calc::index(*field)) : -1);
    out.back() = '}';  // in place of the last member's comma
}

}  // namespace

std::string layoutJson() {
    std::string out = "{";
    appendMember(out, "title", ui::kTitle);
    appendMember(out, "width", ui::toPixels(ui::kClientWidthTwips));
    appendMember(out, "height", ui::toPixels(ui::kClientHeightTwips));
    appendMember(out, "inputMethodKeyCode", calc::kInputMethodKeyCode);
    out += "\"shiftBits\":[" + std::to_string(ui::kShiftBit) + ',' + std::to_string(ui::kCtrlBit) +
           ',' + std::to_string(ui::kAltBit) + "],";
    // Every Shift state Tab may come with, and those the rules take.
    out += "\"focusKeys\":[";
    for (int shift = 0; shift <= (ui::kShiftBit | ui::kCtrlBit | ui::kAltBit); ++shift) {
        if (!ui::movesFocus(ui::kTabKeyCode, shift)) continue;
        out += '[' + std::to_string(ui::kTabKeyCode) + ',' + std::to_string(shift) + "],";
    }
    out.back() = ']';
    out += ',';
    out += "\"fonts\":[";
    for (std::size_t i = 0; i < ui::kGothicFamilies.size(); ++i) {
        if (i > 0) out += ',';
        appendString(out, ui::kGothicFamilies[i]);
    }
    out += "],";
    out += "\"madeAbove\":[";
    for (const ui::Control i : ui::kMadeAbove) {
        out += std::to_string(i);
        out += ',';
    }
    out.back() = ']';
    out += ",\"controls\":[";
    for (ui::Control i = 0; i < ui::kControls.size(); ++i) {
        if (i > 0) out += ',';
        appendControl(out, i);
    }
    out += "]}";
    return out;
}

}  // namespace web
