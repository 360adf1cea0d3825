#pragma once

namespace cli {

// manacalc-cli --batch: answers each line of standard input with one line of
// standard output, and gives the exit status.
int runBatch();

}  // namespace cli
