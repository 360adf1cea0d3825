#include "ui/typing_limit.h"

#include <algorithm>

namespace ui {

Edit limitEdit(int limit, std::u16string_view before, std::u16string_view after,
               std::size_t cursor) {
    const Edit unchanged{std::u16string(after), cursor};
    const std::u16string_view tail = after.substr(std::min(cursor, after.size()));
    if (cursor > after.size() || !before.ends_with(tail)) {
        // Not an insertion at the cursor: let it shorten a text, never lengthen one over the limit.
        const bool over =
            after.size() > static_cast<std::size_t>(limit) && after.size() >= before.size();
        return over ? Edit{std::u16string(before), std::min(cursor, before.size())} : unchanged;
    }
    // The edit replaced before[start, end) with after[start, cursor).
    const std::size_t end = before.size() - tail.size();
    const std::size_t common = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first -
        before.begin());
    const std::size_t start = std::min({common, cursor, end});
    const std::u16string_view inserted = after.substr(start, cursor - start);
    const std::size_t kept = fitting(inserted, roomLeft(limit, before.size(), end - start));
    if (kept == inserted.size()) return unchanged;
    std::u16string text(before.substr(0, start));
    text += inserted.substr(0, kept);
    text += tail;
    return {std::move(text), start + kept};
}

}  // namespace ui
