#include "qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include "qt/utf8.h"
#include "ui/layout_table.h"

namespace qt {
namespace {

// The window's one face, chosen once. A list of faces would make fontconfig
// look for a substitute of each missing one at the first use of every font
// (it aliases the original's face to DejaVu Sans, which has no kana).
const QString& family() {
    static const QString chosen = [] {
        const QStringList installed = QFontDatabase::families();
        return fromUtf8(ui::chooseFamily(
            [&installed](std::string_view f) { return installed.contains(fromUtf8(f)); }));
    }();
    return chosen;
}

QFont gothic(qreal pointSize, int weight) {
    QFont font;
    if (!family().isEmpty()) font.setFamily(family());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

}  // namespace

QFont defaultFont() {
    return gothic(ui::kDefaultPointSize, QFont::Normal);
}

QFont boldFont() {
    return gothic(ui::kBoldPointSize, 700);
}

}  // namespace qt
