#include "ui/caption_label.h"

#include <QPainter>
#include <QStyle>

namespace ui {
namespace {

// The text a caption draws: its "&" markers taken out.
QString drawnCaption(const QString& caption) {
    QString drawn;
    drawn.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // A marker stands for the character after it: "&&" for "&".
        if (caption[i] == u'&' && ++i == caption.size()) break;
        drawn += caption[i];
    }
    return drawn;
}

}  // namespace

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    // Left-aligned from the top left corner, wrapped onto further lines within
    // the label's box.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setAccessibleName(drawnCaption(caption));
}

// As QLabel draws plain text (these labels have no margin or indent), with the
// markers always in effect.
void CaptionLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFrame(&painter);
    int flags = int(QStyle::visualAlignment(layoutDirection(), alignment())) | Qt::TextShowMnemonic;
    if (wordWrap()) flags |= Qt::TextWordWrap;
    style()->drawItemText(&painter, contentsRect(), flags, palette(), isEnabled(), text(),
                          foregroundRole());
}

}  // namespace ui
