// Feeds arbitrary texts to both calculations. Fails on a crash, on undefined
// behaviour, on any exception other than the two calculation errors, on a
// text read differently from the plain reference reader, and on a field left
// holding a text other than the plain reference's written form of its value.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "calc/recalculation.h"
#include "reference/number_reference.h"
#include "runtime/errors.h"
#include "runtime/numeric.h"

namespace {

using calc::Field;
using reference::Reading;

constexpr Field kWritten[] = {Field::Text10, Field::Text5, Field::Text6,
                              Field::Text4,  Field::Text7, Field::Text8};

[[noreturn]] void fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

// The program reads a text exactly as the reference does: the same verdict on
// whether it is a number, the same double to the bit, the same overflow.
void requireReadAsReference(std::string_view text) {
    const Reading want = reference::read(text);
    if (runtime::isNumeric(text) != (want.kind != Reading::Kind::NotNumeric)) {
        fail("numeric test differs from the reference", text);
    }
    if (want.kind == Reading::Kind::NotNumeric) return;
    try {
        const double got = runtime::toDouble(text);
        if (want.kind != Reading::Kind::Value ||
            std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(want.value)) {
            fail("value differs from the reference", text);
        }
    } catch (const runtime::OverflowError&) {
        if (want.kind != Reading::Kind::Overflow) fail("overflow the reference does not see", text);
    }
}

// A written field holds the reference's written form of its own value.
void requireWrittenForm(const calc::FieldSet& fields, Field f) {
    const std::string text = fields.text(f);
    if (!reference::canonicalShape(text)) fail("not a written form", text);
    const Reading r = reference::read(text);
    if (r.kind != Reading::Kind::Value || reference::writtenForm(r.value) != text) {
        fail("differs from the reference's written form", text);
    }
    // The other source of digits must agree too, as on a build that lacks
    // to_chars for doubles.
    if (runtime::detail::formatDouble(r.value, runtime::detail::DigitSource::Printf) != text) {
        fail("printf's digits give another text", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // INT, Medi, Focus and a recovery value, separated by newlines.
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string_view texts[4];
    for (auto& t : texts) {
        const std::size_t nl = rest.find('\n');
        t = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        requireReadAsReference(t);
    }

    calc::MemoryFieldSet fields;
    fields.setText(Field::Text1, texts[0]);
    fields.setText(Field::Text2, texts[1]);
    fields.setText(Field::Text3, texts[2]);
    try {
        (void)calc::Command1_Click(fields);
    } catch (const runtime::OverflowError&) {
    } catch (const runtime::FloatingPointError&) {
    }
    for (Field f : kWritten) requireWrittenForm(fields, f);

    // The typed recovery value lands on the results of the run above.
    fields.setText(Field::Text10, texts[3]);
    try {
        (void)calc::recoveryValueEntry(fields);
    } catch (const runtime::OverflowError&) {
    } catch (const runtime::FloatingPointError&) {
    }
    requireWrittenForm(fields, Field::Text5);
    return 0;
}
