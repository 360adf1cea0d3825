#pragma once

#include <string>
#include <string_view>

namespace web {

// The window's layout table as JSON, for the page to draw its window from and
// bind: {"title", "width", "height", "summaryPauseMs", "fonts": [family...],
// "controls": [{"name", "kind", "parent", "left", "top", "width", "height",
// "text", "tabIndex", "bold", "limit", "for", "field"}]}, geometry in CSS
// pixels. "summaryPauseMs" is how long the typing pauses before the results
// are spoken; "text" is what the control shows: a caption as drawn, or a text
// box's starting text; "for" is the text box a label's caption names, "" if
// none; "field" is a text box's field number (calc::index), -1 for others.
std::string layoutJson();

}  // namespace web
