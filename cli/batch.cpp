#include "cli/batch.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "calc/field_set.h"
#include "calc/recalculation.h"
#include "calc/status.h"
#include "cli/output.h"
#include "messages/messages.h"

namespace cli {
namespace {

using calc::Field;

// The batch contract: the order in which a three-input line is answered.
constexpr Field kBatchFields[] = {Field::Text10, Field::Text5, Field::Text6,
                                  Field::Text4,  Field::Text7, Field::Text8};

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

}  // namespace

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
        if (outputFailed()) return kIoFailed;
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

}  // namespace cli
