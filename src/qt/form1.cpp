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
    describeAsWindow(this);
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
                // read-only, and a click's focus there selects for copying:
                // Tab and Enter go round the inputs alone.
                const std::size_t field = calc::index(*ui::fieldAt(i));
                if (ui::isInput(row)) {
                    m_limits[field] = new TypingLimit(row.typingLimit, box);
                } else {
                    box->setReadOnly(true);
                    box->setFocusPolicy(Qt::ClickFocus);
                }
                box->installEventFilter(this);
                m_fields[field] = box;
                widget = box;
                break;
            }
            case ui::Kind::Button: {
                auto* button = new QPushButton(caption, parent);
                connect(button, &QPushButton::clicked, this, [this] { m_rules.click(); });
                widget = button;
                break;
            }
        }
        if (!ui::takesFocus(row)) widget->setFocusPolicy(Qt::NoFocus);
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

// Watched: the window of ours around this one, where there is one (it is
// activated and moved in this one's place), and the text boxes.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && watched != this) {
        onHostEvent(*event);
    } else if (const auto at = std::find(m_fields.begin(), m_fields.end(), watched);
               at != m_fields.end()) {
        if (onBoxEvent(static_cast<Field>(at - m_fields.begin()), *event)) return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::onHostEvent(const QEvent& event) {
    if (event.type() == QEvent::ActivationChange) {
        m_rules.activated(isActiveWindow());
    } else if (event.type() == QEvent::Move) {
        m_note->follow();
    }
}

// A text box's events; true: handled here, and no further.
bool Form1::onBoxEvent(Field box, QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return onBoxPress(box);
        case QEvent::FocusIn:
            return onBoxFocusIn(box);
        case QEvent::KeyPress:
            return onBoxKeyPress(box, static_cast<QKeyEvent&>(event));
        case QEvent::KeyRelease:
            return onBoxKeyRelease(box, static_cast<QKeyEvent&>(event));
        case QEvent::InputMethod:
            return onBoxInputMethod(box, static_cast<QInputMethodEvent&>(event));
        default:
            return false;
    }
}

// Qt tells assistive technology of a focus only once FocusIn is handled, so
// the arrival counts after that. A click gives the focus before the press
// reaches the box (or, into an inactive window, as the window becomes
// active), and the press counts it before any key typed after it; any other
// arrival counts once Qt is done. The moves the rules make count at once, and
// these reports of them come to nothing.
bool Form1::onBoxPress(Field box) {
    m_rules.focusArrived(box);
    return false;
}

bool Form1::onBoxFocusIn(Field box) {
    QMetaObject::invokeMethod(
        this, [this, box] { m_rules.focusArrived(box); }, Qt::QueuedConnection);
    return false;
}

bool Form1::onBoxKeyPress(Field box, const QKeyEvent& key) {
    TypingLimit* limit = m_limits[calc::index(box)];
    return m_rules.keyPressed(virtualKeyCode(key), shiftState(key)) ||
           (limit != nullptr && limit->cutKey(key));
}

// A held key repeats its press and release; the original saw one release
// when the key came up.
bool Form1::onBoxKeyRelease(Field box, const QKeyEvent& key) {
    if (!key.isAutoRepeat()) m_rules.keyReleased(box, virtualKeyCode(key), shiftState(key));
    return false;
}

// Queued, so that the box holds the committed text by then.
bool Form1::onBoxInputMethod(Field box, QInputMethodEvent& commit) {
    if (commit.commitString().isEmpty()) return false;
    QMetaObject::invokeMethod(
        this, [this, box] { m_rules.committed(box); }, Qt::QueuedConnection);
    if (TypingLimit* limit = m_limits[calc::index(box)]) limit->cutCommit(commit);
    return false;
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
