#include "ui/fonts.h"

#include <QStringList>

#include "layout/layout_table.h"

namespace ui {
namespace {

// fontconfig does not alias the original's face (it answers DejaVu Sans, which
// has no kana), so the fallback order is the window's own.
QStringList gothicFamilies() {
    QStringList families;
    for (std::string_view family : kGothicFamilies) {
        families << QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
    }
    return families;
}

QFont gothic(qreal pointSize, int weight) {
    QFont font;
    font.setFamilies(gothicFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

}  // namespace

QFont defaultFont() {
    return gothic(kDefaultPointSize, QFont::Normal);
}

QFont boldFont() {
    return gothic(kBoldPointSize, 700);
}

}  // namespace ui
