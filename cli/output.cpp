#include "cli/output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "messages/messages.h"

namespace cli {
namespace {

// The first error writing standard output (an errno value), 0 while there is none.
// Output is buffered, so a full disk shows up on a later write or only at the final
// flush; every write and that flush record it here, and the exit status reports it.
int outputError = 0;

}  // namespace

bool writeOut(std::string_view text) {
    errno = 0;
    if (outputError == 0 && std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
        outputError = errno != 0 ? errno : EIO;
    }
    return outputError == 0;
}

bool flushOut() {
    errno = 0;
    if (outputError == 0 && std::fflush(stdout) != 0) outputError = errno != 0 ? errno : EIO;
    return outputError == 0;
}

bool outputFailed() {
    return outputError != 0;
}

// Closing standard output is its last chance to fail (a disk that fills up at the
// final flush).
int closeOut(int status) {
    errno = 0;
    if (std::fclose(stdout) != 0 && outputError == 0) outputError = errno != 0 ? errno : EIO;
    if (outputError == 0) return status;
    std::fprintf(stderr, _("manacalc-cli: cannot write standard output: %s\n"),
                 std::strerror(outputError));
    return kIoFailed;
}

}  // namespace cli
