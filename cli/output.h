// Standard output as manacalc-cli writes it: every write and the final flush
// checked, so that a result that never reached its reader (a full disk) is a
// failure, not a silent exit 0.
#pragma once

#include <string_view>

namespace cli {

// The exit status for input that could not be read or output that could not be
// written, whatever else happened.
inline constexpr int kIoFailed = 3;

// Writes text unless an earlier write failed; false once one has.
bool writeOut(std::string_view text);
bool flushOut();
// Whether a write has failed so far.
bool outputFailed();

// Closes standard output and gives the exit status: status, or kIoFailed with
// a message if any write failed.
int closeOut(int status);

}  // namespace cli
