#include "qt/title_strip.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "qt/fonts.h"

namespace qt {
namespace {

// Room around the title text, in logical pixels like everything here, so
// that a doubled screen gets the same strip at twice the pixels.
constexpr int kPadding = 3;

QPalette::ColorGroup group(const QWidget* w) {
    return w->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

// The strip's text colour on its background, active or not.
QColor foreground(const QWidget* w) {
    return w->palette().color(
        group(w), w->isActiveWindow() ? QPalette::HighlightedText : QPalette::WindowText);
}

// A button drawn with lines, not an icon picture, so that it stays sharp at
// any scale.
class GlyphButton final : public QAbstractButton {
public:
    enum class Glyph { Minimise, Close };

    GlyphButton(Glyph glyph, const QString& name, QWidget* parent)
        : QAbstractButton(parent), m_glyph(glyph) {
        setFocusPolicy(Qt::NoFocus);  // Tab stays among the calculator's boxes
        setToolTip(name);
        setAccessibleName(name);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter p(this);
        const QColor ink = foreground(this);
        if (underMouse() || isDown()) {
            // A veil of the glyph's own colour: it keeps the glyph readable on
            // the strip, active or not, where the style's button face would not.
            QColor veil = ink;
            veil.setAlphaF(isDown() ? 0.35F : 0.2F);
            p.fillRect(rect(), veil);
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        // A square glyph in the middle, on pixel centres.
        const qreal side = qMin(width(), height()) * 0.5;
        const QRectF box(QPointF(width() - side, height() - side) / 2, QSizeF(side, side));
        if (m_glyph == Glyph::Minimise) {
            p.drawLine(box.bottomLeft(), box.bottomRight());
        } else {
            p.drawLine(box.topLeft(), box.bottomRight());
            p.drawLine(box.bottomLeft(), box.topRight());
        }
    }

private:
    Glyph m_glyph;
};

}  // namespace

TitleStrip::TitleStrip(QWidget* parent)
    : QWidget(parent),
      m_minimise(new GlyphButton(GlyphButton::Glyph::Minimise, QStringLiteral("最小化"), this)),
      m_close(new GlyphButton(GlyphButton::Glyph::Close, QStringLiteral("閉じる"), this)) {
    setObjectName(QStringLiteral("TitleStrip"));
    setFont(defaultFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_minimise, &QAbstractButton::clicked, this, [this] { window()->showMinimized(); });
    connect(m_close, &QAbstractButton::clicked, this, [this] { window()->close(); });
}

void TitleStrip::setTitle(const QString& title) {
    m_title = title;
    setToolTip(title);  // the whole of it, which the strip has no room for
    update();
}

QSize TitleStrip::sizeHint() const {
    const int height = fontMetrics().height() + 2 * kPadding;
    return {2 * (height * 3 / 4) + 2 * kPadding, height};
}

QRect TitleStrip::titleRect() const {
    return QRect(kPadding, 0, m_minimise->x() - kPadding - 1, height());
}

QString TitleStrip::shownTitle() const {
    return fontMetrics().elidedText(m_title, Qt::ElideRight, titleRect().width());
}

bool TitleStrip::event(QEvent* event) {
    // Qt repaints a child on activation only when its palette's groups differ;
    // the strip changes colour roles instead.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        update();
        m_minimise->update();
        m_close->update();
    }
    return QWidget::event(event);
}

void TitleStrip::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const bool active = isActiveWindow();
    p.fillRect(rect(), palette().color(group(this), active ? QPalette::Highlight : QPalette::Mid));
    p.setPen(foreground(this));
    p.drawText(titleRect(), Qt::AlignLeft | Qt::AlignVCenter, shownTitle());
}

void TitleStrip::resizeEvent(QResizeEvent* event) {
    // At the right end, close outermost; narrower than high, to leave the
    // title what room there is.
    const int side = height() * 3 / 4;
    m_close->setGeometry(width() - side, 0, side, height());
    m_minimise->setGeometry(width() - 2 * side, 0, side, height());
    QWidget::resizeEvent(event);
}

void TitleStrip::mousePressEvent(QMouseEvent* event) {
    // The compositor moves the window (xdg_toplevel.move): a Wayland client
    // cannot place its own window.
    if (event->button() == Qt::LeftButton) {
        if (QWindow* handle = window()->windowHandle()) handle->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

// Maximising and rolling up have no place in a window of fixed size. Qt would
// otherwise take the second click for another press and start another move.
void TitleStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace qt
