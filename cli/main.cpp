// manacalc-cli: the calculator's numbers without the window, for scripts and
// for checking a character build from a terminal.

#include <cstdio>
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
#include "cli/batch.h"
#include "cli/output.h"
#include "messages/messages.h"
#include "runtime/errors.h"
#include "runtime/numeric.h"
#include "ui/fields.h"
#include "ui/layout_table.h"

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
constexpr std::string_view kHelp = N_(
    // TRANSLATORS: INT, MEDI, FOCUS, the captions and the --batch columns and
    // statuses stay as they are: the window shows them so, and scripts read them.
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

// The results, each with the caption a screen reader names its box by: the
// recovery value and the seconds per mana first, the two a player reads
// first, then the rest in the window's order, top to bottom.
constexpr Field kResults[] = {Field::Text10, Field::Text5, Field::Text4, Field::Text6,
                              Field::Text7,  Field::Text8, Field::Text9};

// The error a calculation stopped at, in the error's own words.
std::string errorText(calc::Status status) {
    if (status == calc::Status::Overflow) return runtime::OverflowError().what();
    return runtime::FloatingPointError().what();
}

// Writes a calculation's fields, then the error that stopped it, if one did.
int writeResults(std::string_view out, calc::Status status) {
    cli::writeOut(out);
    if (status == calc::Status::Written || status == calc::Status::Skipped) return 0;
    // The results first, so that on a terminal the error reads after them; if they
    // could not be written, that failure is the one to report.
    if (!cli::flushOut()) return cli::kIoFailed;
    std::fprintf(stderr, "manacalc-cli: %s\n", _(errorText(status).c_str()));
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
    // The fields show how far a calculation that raised got.
    const calc::Status status = calc::run([&] { return calc::Command1_Click(fields); });
    std::string out;
    for (const Field f : kResults) {
        out += ui::kControls[ui::controlOf(f)].accessibleName;
        out += '\t';
        out += fields.view(f);
        out += '\n';
    }
    return writeResults(out, status);
}

int runRecovery(const char* value) {
    if (!runtime::isNumeric(value)) {
        std::fprintf(stderr, _("manacalc-cli: recovery value is not a number: \"%s\"\n"), value);
        return 2;
    }
    calc::MemoryFieldSet fields;
    fields.setText(Field::Text10, value);
    // 1mana sec as an error left it, as with three inputs.
    const calc::Status status = calc::run([&] { return calc::recoveryValueEntry(fields); });
    if (status == calc::Status::Skipped) {
        std::fprintf(stderr, _("manacalc-cli: a recovery value of \"%s\" rounds to 0\n"), value);
        return 2;
    }
    std::string out(fields.view(Field::Text5));
    out += '\n';
    return writeResults(out, status);
}

int run(int argc, char** argv) {
    messages::init();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--help") {
        cli::writeOut(_(kUsage.data()));
        cli::writeOut(_(kHelp.data()));
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        cli::writeOut(messages::versionText("manacalc-cli"));
        return 0;
    }
    if (args.size() == 1 && args[0] == "--batch") return cli::runBatch();

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
    return cli::closeOut(run(argc, argv.data()));
}
#else
int main(int argc, char** argv) {
    return cli::closeOut(run(argc, argv));
}
#endif
