#pragma once

#include <QLabel>
#include <QPointer>

namespace qt {

// A tooltip-like note that shows a calculation error beside a field. It never
// takes the focus and needs no click to close: a modal box would swallow the
// player's typing, and the Enter released to close it would land in the field
// and raise the same error again.
class ErrorNote final : public QLabel {
    Q_OBJECT

public:
    explicit ErrorNote(QWidget* owner);

    // Shows message just below the field.
    void showAt(QWidget* field, const QString& message);
    // Moves a visible note back under its field after the window moved.
    void follow();

private:
    void place();

    QPointer<QWidget> m_field;
};

}  // namespace qt
