#include "qt/titled_window.h"

#include "qt/title_strip.h"
#include "qt/window_role.h"

namespace qt {
// Frameless: the strip is this window's decoration, so a compositor that
// negotiates decorations is told the client draws its own.
TitledWindow::TitledWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      m_strip(new TitleStrip(this)) {
    describeAsWindow(this);
}

void TitledWindow::setContent(QWidget* content) {
    content->setParent(this);
    setWindowTitle(content->windowTitle());
    m_strip->setTitle(content->windowTitle());
    const int stripHeight = m_strip->sizeHint().height();
    m_strip->setGeometry(0, 0, content->width(), stripHeight);
    content->move(0, stripHeight);
    setFixedSize(content->width(), stripHeight + content->height());
}

}  // namespace qt
