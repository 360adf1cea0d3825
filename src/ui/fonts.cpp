#include "ui/fonts.h"

#include <QStringList>

namespace ui {
namespace {

// fontconfig does not alias the original's face (it answers DejaVu Sans, which
// has no kana), so the fallback order is ours: the face itself where
// installed, IPAPGothic next (metrically the same), then other Japanese
// proportional Gothics.
QStringList gothicFamilies() {
    return {QStringLiteral("ＭＳ Ｐゴシック"),  QStringLiteral("MS PGothic"),
            QStringLiteral("IPAPGothic"),       QStringLiteral("IPAexGothic"),
            QStringLiteral("VL PGothic"),       QStringLiteral("TakaoPGothic"),
            QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"),
            QStringLiteral("IPAGothic")};
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
    return gothic(9.0, QFont::Normal);
}

QFont boldFont() {
    return gothic(11.25, 700);
}

}  // namespace ui
