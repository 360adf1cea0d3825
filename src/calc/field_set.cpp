#include "calc/field_set.h"

namespace calc {
namespace {

constexpr std::array<std::string_view, kFieldCount> kNames = {
    "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text10"};

}  // namespace

std::string_view fieldName(Field f) {
    return kNames[index(f)];
}

std::optional<Field> fieldByName(std::string_view name) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (kNames[i] == name) return static_cast<Field>(i);
    }
    return std::nullopt;
}

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
