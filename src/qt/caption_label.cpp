#include "qt/caption_label.h"

#include <QPainter>
#include <QStyle>

#include "ui/layout_table.h"

namespace qt {
CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    // Left-aligned from the top left corner, wrapped onto further lines within
    // the label's box.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setAccessibleName(QString::fromStdString(ui::drawnCaption(caption.toStdString())));
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

}  // namespace qt
