#pragma once

#include <string_view>

#include <QString>

namespace qt {

// The core's, the layout table's and the notes' texts are UTF-8.
inline QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace qt
