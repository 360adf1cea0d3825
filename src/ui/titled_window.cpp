#include "ui/titled_window.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/title_strip.h"

namespace ui {
namespace {

// As for the calculator window on its own: a plain QWidget would be described
// as a client area, and screen readers would not announce its title as a
// window's.
QAccessibleInterface* accessibleWindow(const QString& className, QObject* object) {
    if (className != QLatin1String(TitledWindow::staticMetaObject.className())) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

// Frameless: the strip is this window's decoration, so a compositor that
// negotiates decorations is told the client draws its own.
TitledWindow::TitledWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      m_strip(new TitleStrip(this)) {
    QAccessible::installFactory(accessibleWindow);
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

}  // namespace ui
