#include "calc/field_set.h"

namespace calc {

std::string_view startingText(Field f) {
    // Next Focus is always 20: twenty Focus points always add one recovery point.
    return f == Field::Text9 ? "20" : "0";
}

MemoryFieldSet::MemoryFieldSet() {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        m_texts[i] = startingText(static_cast<Field>(i));
    }
}

std::string MemoryFieldSet::text(Field f) const {
    return m_texts[index(f)];
}

void MemoryFieldSet::setText(Field f, std::string_view text) {
    m_texts[index(f)].assign(text);
}

}  // namespace calc
