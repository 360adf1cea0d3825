// Feeds arbitrary texts to both calculations. Fails on a crash, on undefined
// behaviour, on any exception other than the two calculation errors, and on a
// field left holding a text that the program itself would not read as a number.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "calc/field_set.h"
#include "calc/recalculation.h"
#include "runtime/errors.h"
#include "runtime/numeric.h"

namespace {

using calc::Field;

constexpr Field kWritten[] = {Field::Text10, Field::Text5, Field::Text6,
                              Field::Text4,  Field::Text7, Field::Text8};

void requireNumeric(const calc::FieldSet& fields, Field f) {
    const std::string text = fields.text(f);
    if (!runtime::isNumeric(text)) {
        std::fprintf(stderr, "%s holds a non-numeric text: \"%s\"\n",
                     std::string(calc::fieldName(f)).c_str(), text.c_str());
        std::abort();
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
    for (Field f : kWritten) requireNumeric(fields, f);

    // The typed recovery value lands on the results of the run above.
    fields.setText(Field::Text10, texts[3]);
    try {
        (void)calc::recoveryValueEntry(fields);
    } catch (const runtime::OverflowError&) {
    } catch (const runtime::FloatingPointError&) {
    }
    requireNumeric(fields, Field::Text5);
    return 0;
}
