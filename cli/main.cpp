// manacalc-cli: the calculator's numbers without the window, for scripts and
// for checking a character build from a terminal.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>
#endif

#include "calc/field_set.h"
#include "calc/recalculation.h"
#include "calc/status.h"
#include "cli/messages.h"
#include "runtime/errors.h"
#include "runtime/numeric.h"

namespace {

using calc::Field;

// Left as they read, each line as it prints, and marked for translation.
// clang-format off
constexpr std::string_view kUsage = N_(
    "Usage: manacalc-cli INT MEDI FOCUS\n"
    "  or:  manacalc-cli --recovery VALUE\n"
    "  or:  manacalc-cli --batch < LINES\n"
    "  or:  manacalc-cli --help | --version\n");

// GNU-style, so that help2man makes the manual page from it, the Japanese one
// from its translation.
// TRANSLATORS: INT, MEDI, FOCUS, the captions and the --batch columns and
// statuses stay as they are: the window shows them so, and scripts read them.
constexpr std::string_view kHelp = N_(
    "Compute a character's mana regeneration exactly as the manacalc window does.\n"
    "\n"
    "With INT MEDI FOCUS, print 回復値 (mana per 10 s), 1mana sec, FPoint, Next FPoint,\n"
    "Next INT, Next Medi and Next Focus, one \"caption<TAB>value\" line each.\n"
    "An input starting with \"-\" is a negative number; \"--\" ends the options.\n"
    "\n"
    "      --recovery VALUE  print the seconds per mana for a known recovery value\n"
    "      --batch           answer each line of standard input with one line\n"
    "      --help            display this help and exit\n"
    "      --version         output version information and exit\n"
    "\n"
    "With --batch, each line of standard input gets one line of output, fields\n"
    "separated by tabs; a line ends in LF, CRLF or CR.\n"
    "  INT MEDI FOCUS   回復値 1mana-sec NextFPoint FPoint NextINT NextMedi STATUS\n"
    "  VALUE            1mana-sec STATUS, for a recovery value\n"
    "  any other line   bad-line\n"
    "STATUS is ok, skipped (nothing was computed), overflow or floating-point.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  a calculation error, or a bad batch line\n"
    "  2  bad arguments: an input that is not a number, or a recovery value that\n"
    "     rounds to 0 and so has no seconds per mana\n"
    "  3  standard input could not be read, or standard output could not be written\n"
    "     (a full disk)\n");
// clang-format on

struct Result {
    std::string_view caption;
    Field field;
};

// Window order, top to bottom.
constexpr Result kResults[] = {
    {"回復値", Field::Text10},     {"1mana sec", Field::Text5}, {"FPoint", Field::Text4},
    {"Next FPoint", Field::Text6}, {"Next INT", Field::Text7},  {"Next Medi", Field::Text8},
    {"Next Focus", Field::Text9},
};

// The batch contract: the order in which a three-input line is answered.
constexpr Field kBatchFields[] = {Field::Text10, Field::Text5, Field::Text6,
                                  Field::Text4,  Field::Text7, Field::Text8};

// The exit status for input that could not be read or output that could not be
// written, whatever else happened.
constexpr int kIoFailed = 3;

// The first error writing standard output (an errno value), 0 while there is none.
// Output is buffered, so a full disk shows up on a later write or only at the final
// flush; every write and that flush record it here, and the exit status reports it.
int outputError = 0;

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

// Closing standard output is its last chance to fail (a disk that fills up at the
// final flush); a result that never reached its reader must not exit 0.
int closeOut(int status) {
    errno = 0;
    if (std::fclose(stdout) != 0 && outputError == 0) outputError = errno != 0 ? errno : EIO;
    if (outputError == 0) return status;
    std::fprintf(stderr, _("manacalc-cli: cannot write standard output: %s\n"),
                 std::strerror(outputError));
    return kIoFailed;
}

// Writes a calculation's fields, then the error that stopped it, if one did.
int writeResults(std::string_view out, const std::string& error) {
    writeOut(out);
    if (error.empty()) return 0;
    // The results first, so that on a terminal the error reads after them; if they
    // could not be written, that failure is the one to report.
    if (!flushOut()) return kIoFailed;
    std::fprintf(stderr, "manacalc-cli: %s\n", _(error.c_str()));
    return 1;
}

int usageError(std::string_view message) {
    std::fprintf(stderr, "manacalc-cli: %.*s\n%s", static_cast<int>(message.size()), message.data(),
                 _(kUsage.data()));
    return 2;
}

int runInputs(const char* intText, const char* mediText, const char* focusText) {
    const std::pair<const char*, const char*> inputs[] = {
        {"INT", intText}, {"Medi", mediText}, {"Focus", focusText}};
    for (const auto& [name, text] : inputs) {
        if (!runtime::isNumeric(text)) {
            std::fprintf(stderr, _("manacalc-cli: %s is not a number: \"%s\"\n"), name, text);
            return 2;
        }
    }
    calc::MemoryFieldSet fields;
    fields.setText(Field::Text1, intText);
    fields.setText(Field::Text2, mediText);
    fields.setText(Field::Text3, focusText);
    std::string error;
    try {
        calc::Command1_Click(fields);
    } catch (const runtime::RuntimeError& e) {
        error = e.what();  // the fields show how far the calculation got
    }
    std::string out;
    for (const auto& r : kResults) {
        out += r.caption;
        out += '\t';
        out += fields.view(r.field);
        out += '\n';
    }
    return writeResults(out, error);
}

int runRecovery(const char* value) {
    if (!runtime::isNumeric(value)) {
        std::fprintf(stderr, _("manacalc-cli: recovery value is not a number: \"%s\"\n"), value);
        return 2;
    }
    calc::MemoryFieldSet fields;
    fields.setText(Field::Text10, value);
    std::string error;
    try {
        if (calc::recoveryValueEntry(fields) == calc::Outcome::Skipped) {
            std::fprintf(stderr, _("manacalc-cli: a recovery value of \"%s\" rounds to 0\n"),
                         value);
            return 2;
        }
    } catch (const runtime::RuntimeError& e) {
        error = e.what();  // 1mana sec as the error left it, as with three inputs
    }
    std::string out(fields.view(Field::Text5));
    out += '\n';
    return writeResults(out, error);
}

// A file of the wrong kind is bad on every line: name the first few, then count the
// rest instead of repeating one message millions of times.
constexpr unsigned long long kBadLinesShown = 10;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

class BatchRunner {
public:
    // Answers one line (without its end of line); false for a bad line.
    bool answer(std::string_view line, std::string& out) {
        const std::size_t tab1 = line.find('\t');
        if (tab1 == std::string_view::npos) {
            calc::MemoryFieldSet& fields = fresh();
            fields.setText(Field::Text10, line);
            const std::string_view status =
                calc::statusName(calc::run([&] { return calc::recoveryValueEntry(fields); }));
            out += fields.view(Field::Text5);
            out += '\t';
            out += status;
            out += '\n';
            return true;
        }
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos || line.find('\t', tab2 + 1) != std::string_view::npos) {
            out += "bad-line\n";
            return false;
        }
        calc::MemoryFieldSet& fields = fresh();
        fields.setText(Field::Text1, line.substr(0, tab1));
        fields.setText(Field::Text2, line.substr(tab1 + 1, tab2 - tab1 - 1));
        fields.setText(Field::Text3, line.substr(tab2 + 1));
        const std::string_view status =
            calc::statusName(calc::run([&] { return calc::Command1_Click(fields); }));
        for (Field f : kBatchFields) {
            out += fields.view(f);
            out += '\t';
        }
        out += status;
        out += '\n';
        return true;
    }

private:
    // Every line starts from the window's starting texts. Resetting one field
    // set reuses its strings' storage instead of building ten new ones.
    calc::MemoryFieldSet& fresh() {
        m_fields = kStart;
        return m_fields;
    }

    inline static const calc::MemoryFieldSet kStart{};
    calc::MemoryFieldSet m_fields;
};

int runBatch() {
    BatchRunner runner;
    std::string pending;  // the start of a line whose end has not been read yet
    std::string out;
    std::vector<char> buf(1 << 16);
    unsigned long long lineNumber = 0;
    unsigned long long badLines = 0;

    const auto handle = [&](std::string_view line) {
        // Windows editors start a UTF-8 file with a byte-order mark; it is not part of
        // the first value.
        if (++lineNumber == 1 && line.starts_with(kByteOrderMark)) {
            line.remove_prefix(kByteOrderMark.size());
        }
        if (!runner.answer(line, out) && ++badLines <= kBadLinesShown) {
            std::fprintf(stderr,
                         _("manacalc-cli: line %llu: expected INT<TAB>MEDI<TAB>FOCUS or one "
                           "recovery value\n"),
                         lineNumber);
        }
        if (out.size() >= (1 << 16)) {
            writeOut(out);
            out.clear();
        }
    };

    // LF, CRLF and a lone CR each end a line. A CR ends its line at once; when it is
    // the last byte read, the LF of a CRLF is only in the next read and is skipped there.
    bool afterCr = false;
    std::size_t got = 0;
    while ((got = std::fread(buf.data(), 1, buf.size(), stdin)) > 0) {
        const char* const data = buf.data();
        std::size_t start = afterCr && data[0] == '\n' ? 1 : 0;
        afterCr = false;
        for (std::size_t i = start; i < got; ++i) {
            const char c = data[i];
            if (c != '\n' && c != '\r') continue;
            const std::string_view line(data + start, i - start);
            if (pending.empty()) {
                handle(line);
            } else {
                pending.append(line);
                handle(pending);
                pending.clear();
            }
            if (c == '\r') {
                if (i + 1 == got) {
                    afterCr = true;
                } else if (data[i + 1] == '\n') {
                    ++i;
                }
            }
            start = i + 1;
        }
        pending.append(data + start, got - start);
        // No one reads the answers any more: stop instead of computing the rest.
        if (outputError != 0) return kIoFailed;
    }
    if (std::ferror(stdin) != 0) {
        // Answering the part of a line read so far would answer a line that was never
        // given; the lines before it stand.
        const int readError = errno != 0 ? errno : EIO;
        writeOut(out);
        std::fprintf(stderr, _("manacalc-cli: cannot read standard input: %s\n"),
                     std::strerror(readError));
        return kIoFailed;
    }
    if (!pending.empty()) handle(pending);  // a last line without its newline
    writeOut(out);
    if (badLines > kBadLinesShown) {
        std::fprintf(stderr, _("manacalc-cli: %llu bad lines in all, only the first %llu shown\n"),
                     badLines, kBadLinesShown);
    }
    return badLines > 0 ? 1 : 0;
}

int run(int argc, char** argv) {
    cli::initMessages();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--help") {
        writeOut(_(kUsage.data()));
        writeOut(_(kHelp.data()));
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        writeOut("manacalc-cli " MANACALC_VERSION "\n" MANACALC_COPYRIGHT "\n");
        writeOut(
            _("License: MIT <https://opensource.org/licenses/MIT>.\n"
              "This is free software: you are free to change and redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n"));
        return 0;
    }
    if (args.size() == 1 && args[0] == "--batch") return runBatch();

    // Inputs may be negative ("-80"), so only texts starting with "--" are options.
    // --recovery comes first; its value follows, after a "--" too.
    std::vector<const char*> values;
    bool optionsEnded = false;
    bool recovery = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && a == "--recovery" && i == 1) {
            recovery = true;
        } else if (!optionsEnded && a.starts_with("--")) {
            return usageError(_("unknown or misplaced option: ") + std::string(a));
        } else {
            values.push_back(argv[i]);
        }
    }
    if (recovery) {
        if (values.empty()) return usageError(_("--recovery: the VALUE is missing"));
        if (values.size() != 1) return usageError(_("--recovery takes one VALUE"));
        return runRecovery(values[0]);
    }
    if (values.size() != 3) return usageError(_("expected three values: INT MEDI FOCUS"));
    return runInputs(values[0], values[1], values[2]);
}

}  // namespace

#ifdef _WIN32
// Windows hands main() its arguments in the ANSI code page: a Japanese one gives
// full-width digits other bytes than the UTF-8 that the number check reads, and a
// Latin one turns what it cannot hold into look-alikes ("₃" into "3") or "?". The
// wide arguments are what was typed.
int wmain(int argc, wchar_t** wideArgv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        const int size =
            WideCharToMultiByte(CP_UTF8, 0, wideArgv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wideArgv[i], -1, arg.data(), size, nullptr, nullptr);
        arg.pop_back();  // the terminating NUL, which std::string keeps on its own
        args.push_back(std::move(arg));
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    // In text mode a Ctrl-Z byte ends standard input and every LF goes out as CRLF;
    // the answers must be the same bytes on every system.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    return closeOut(run(argc, argv.data()));
}
#else
int main(int argc, char** argv) {
    return closeOut(run(argc, argv));
}
#endif
