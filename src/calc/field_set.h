#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace calc {

// The ten text fields that hold the whole state of the calculator. Numbers
// live in them as texts between steps, and the calculations read back texts
// they have just written, so the text stored is what the next step sees.
enum class Field { Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10 };

inline constexpr std::size_t kFieldCount = 10;

constexpr std::size_t index(Field f) {
    return static_cast<std::size_t>(f);
}

// "Text1" .. "Text10".
inline constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text10"};

constexpr std::optional<Field> fieldByName(std::string_view name) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (kFieldNames[i] == name) return static_cast<Field>(i);
    }
    return std::nullopt;
}

// The text a field holds when the window opens: "0", except "20" for Text9.
std::string_view startingText(Field f);

// Read and replace the texts. The window implements this over its own text
// boxes, so that the boxes stay the only copy of the state.
class FieldSet {
public:
    virtual ~FieldSet() = default;
    virtual std::string text(Field f) const = 0;
    virtual void setText(Field f, std::string_view text) = 0;

protected:
    FieldSet() = default;
    FieldSet(const FieldSet&) = default;
    FieldSet& operator=(const FieldSet&) = default;
};

// The field set as ten strings, for running the calculations without a window.
class MemoryFieldSet final : public FieldSet {
public:
    MemoryFieldSet();
    std::string text(Field f) const override;
    void setText(Field f, std::string_view text) override;
    // The stored text itself, for callers that only look at it.
    const std::string& view(Field f) const { return m_texts[index(f)]; }

private:
    std::array<std::string, kFieldCount> m_texts;
};

}  // namespace calc
