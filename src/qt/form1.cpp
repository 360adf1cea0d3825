#include "qt/form1.h"

#include <algorithm>

#include <QFocusEvent>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "qt/caption_label.h"
#include "qt/error_note.h"
#include "qt/fonts.h"
#include "qt/key_codes.h"
#include "qt/notification.h"
#include "qt/typing_limit.h"
#include "qt/utf8.h"
#include "qt/window_role.h"

namespace qt {

using calc::Field;

Form1::Form1(QWidget* parent)
    : QWidget(parent, parent != nullptr
                          ? Qt::Widget
                          : Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    describeOurWindowsAsWindows();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromUtf8(ui::kTitle));
    setFixedSize(ui::toPixels(ui::kClientWidthTwips), ui::toPixels(ui::kClientHeightTwips));
    setFont(defaultFont());  // the controls inherit it
    build();
    m_note = new ErrorNote(this);
    m_announcer = new QWidget(this);
    m_announcer->hide();
    describeAsNotification(m_announcer);
    m_typingPause.setSingleShot(true);
    connect(&m_typingPause, &QTimer::timeout, this, [this] { m_rules.pauseEnded(); });
    // Inside a window of ours, that window is activated and moved, not this:
    // Qt tells neither to a child.
    if (!isWindow()) window()->installEventFilter(this);
}

Form1::~Form1() = default;

// A new widget lies above its siblings made before it.
void Form1::build() {
    for (const ui::Control i : ui::kMadeAbove) {
        const ui::ControlRow& row = ui::kControls[i];
        QWidget* parent = ui::kParents[i] == ui::kForm1 ? this : m_controls[ui::kParents[i]];
        const QString caption = fromUtf8(row.caption);
        QWidget* widget = nullptr;
        switch (row.kind) {
            case ui::Kind::Frame: {
                auto* frame = new QFrame(parent);
                frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
                // Opaque, so that a label beneath it is hidden there.
                frame->setAutoFillBackground(true);
                widget = frame;
                break;
            }
            case ui::Kind::Label:
                widget = new CaptionLabel(caption, parent);
                break;
            case ui::Kind::TextBox: {
                auto* box = new QLineEdit(caption, parent);
                box->setAccessibleName(fromUtf8(row.accessibleName));
                // From its first digit, as every write leaves it.
                box->setCursorPosition(0);
                // The four inputs carry a typing limit; the results are
                // read-only, take no focus, and stay selectable for copying.
                const std::size_t field = calc::index(*ui::fieldAt(i));
                if (ui::isInput(row)) {
                    m_limits[field] = new TypingLimit(row.typingLimit, box);
                    box->installEventFilter(this);
                } else {
                    box->setReadOnly(true);
                    box->setFocusPolicy(Qt::NoFocus);
                }
                m_fields[field] = box;
                widget = box;
                break;
            }
            case ui::Kind::Button: {
                auto* button = new QPushButton(caption, parent);
                // Only a one-pixel sliver shows; a focus there would be invisible
                // and would swallow the player's typing.
                button->setFocusPolicy(Qt::NoFocus);
                connect(button, &QPushButton::clicked, this, [this] { Command1_Click(); });
                widget = button;
                break;
            }
        }
        widget->setObjectName(fromUtf8(row.name));
        widget->setGeometry(ui::toPixels(row.left), ui::toPixels(row.top), ui::toPixels(row.width),
                            ui::toPixels(row.height));
        if (row.font == ui::FontRole::Bold) widget->setFont(boldFont());
        m_controls[i] = widget;
    }
}

std::string Form1::text(Field f) const {
    return m_fields[calc::index(f)]->text().toStdString();
}

void Form1::setText(Field f, std::string_view text) {
    QLineEdit* box = m_fields[calc::index(f)];
    if (TypingLimit* limit = m_limits[calc::index(f)]) {
        limit->write(fromUtf8(text));
    } else {
        box->setText(fromUtf8(text));
    }
    // Show a written number from its first digit, as the original's boxes did:
    // "219.17" in a narrow box, not ".175".
    box->setCursorPosition(0);
}

void Form1::Command1_Click() {
    m_rules.click();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && watched != this) {
        if (event->type() == QEvent::ActivationChange) {
            m_rules.activated(isActiveWindow());
        } else if (event->type() == QEvent::Move) {
            m_note->follow();
        }
        return QWidget::eventFilter(watched, event);
    }
    const auto at = std::find(m_fields.begin(), m_fields.end(), watched);
    if (at == m_fields.end()) return QWidget::eventFilter(watched, event);
    const auto field = static_cast<Field>(at - m_fields.begin());
    TypingLimit* limit = m_limits[calc::index(field)];
    switch (event->type()) {
        // Qt tells assistive technology of a focus only once FocusIn is
        // handled, so the arrival counts after that. A click gives the focus
        // before the press reaches the box (or, into an inactive window, as
        // the window becomes active), and the press counts it before any key
        // typed after it; any other arrival counts once Qt is done. The moves
        // the rules make count at once, and these reports of them come to
        // nothing.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_rules.focusArrived(field);
            break;
        case QEvent::FocusIn:
            QMetaObject::invokeMethod(
                this, [this, field] { m_rules.focusArrived(field); }, Qt::QueuedConnection);
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                m_rules.tab(key->key() == Qt::Key_Backtab ||
                            (key->modifiers() & Qt::ShiftModifier) != 0);
                return true;
            }
            if (limit->cutKey(*key)) return true;
            break;
        }
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            // A held key repeats its press and release; the original saw one
            // release when the key came up.
            if (!key->isAutoRepeat()) {
                m_rules.keyReleased(field, virtualKeyCode(*key), shiftState(*key));
            }
            break;
        }
        case QEvent::InputMethod: {
            auto* commit = static_cast<QInputMethodEvent*>(event);
            if (commit->commitString().isEmpty()) break;
            // Queued, so that the box holds the committed text by then.
            QMetaObject::invokeMethod(
                this, [this, field] { m_rules.committed(field); }, Qt::QueuedConnection);
            limit->cutCommit(*commit);
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// The focus as a Tab moves it: the box it reaches has its text selected.
void Form1::moveFocus(Field input) {
    QLineEdit* box = textBox(input);
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
}

void Form1::returnFocus(Field box) {
    textBox(box)->setFocus(Qt::ActiveWindowFocusReason);
}

void Form1::showNote(ui::Control at, std::string_view text) {
    m_note->showAt(m_controls[at], fromUtf8(text));
}

void Form1::hideNote() {
    m_note->hide();
}

void Form1::describe(ui::Control at, std::string_view text) {
    m_controls[at]->setAccessibleDescription(fromUtf8(text));
}

// Told by notifications: Qt tells screen readers nothing when a tooltip
// window shows, nor when a box the focus is not in changes.
void Form1::announceNote(std::string_view text) {
    notifyShown(m_note, fromUtf8(text));
}

void Form1::announceResults(std::string_view text) {
    notifyShown(m_announcer, fromUtf8(text));
}

void Form1::startPause(int milliseconds) {
    m_typingPause.start(milliseconds);
}

void Form1::stopPause() {
    m_typingPause.stop();
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) m_rules.activated(isActiveWindow());
    QWidget::changeEvent(event);
}

void Form1::moveEvent(QMoveEvent* event) {
    m_note->follow();
    QWidget::moveEvent(event);
}

void Form1::hideEvent(QHideEvent* event) {
    m_note->hide();
    QWidget::hideEvent(event);
}

}  // namespace qt
