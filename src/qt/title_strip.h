#pragma once

#include <QString>
#include <QWidget>

class QAbstractButton;

namespace qt {

// A title bar of our own, for a compositor that draws none: the title,
// elided to the width, a minimise and a close button, and a surface that
// moves the window when dragged. It offers no maximise, as the window has a
// fixed size, and a double click does nothing for the same reason.
class TitleStrip final : public QWidget {
    Q_OBJECT

public:
    explicit TitleStrip(QWidget* parent);

    void setTitle(const QString& title);
    // The title as it fits beside the buttons.
    QString shownTitle() const;
    QAbstractButton* minimiseButton() const { return m_minimise; }
    QAbstractButton* closeButton() const { return m_close; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QRect titleRect() const;

    QString m_title;
    QAbstractButton* m_minimise;
    QAbstractButton* m_close;
};

}  // namespace qt
