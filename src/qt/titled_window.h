#pragma once

#include <QWidget>

namespace qt {

class TitleStrip;

// A window with a title strip of ours above its content, for a Wayland
// compositor that draws no title bars. Screen readers meet it as the window,
// named by its title; the content is a child, at its own fixed size.
class TitledWindow final : public QWidget {
    Q_OBJECT

public:
    TitledWindow();

    // content, a child of this window, goes below the strip; the window takes
    // its title, its width, and its height plus the strip's.
    void setContent(QWidget* content);
    TitleStrip* strip() const { return m_strip; }

private:
    TitleStrip* m_strip;
};

}  // namespace qt
