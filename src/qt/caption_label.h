#pragma once

#include <QLabel>
#include <QString>

namespace qt {

// A caption drawn the way the original's labels drew theirs: "&&" shows as
// one "&", and a single "&" underlines the character after it. QLabel does
// that only for a label with a buddy, and these label nothing. text() keeps
// the caption as stored; screen readers get the drawn text.
class CaptionLabel final : public QLabel {
    Q_OBJECT

public:
    CaptionLabel(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qt
