#include "qt/form1.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "qt/caption_label.h"
#include "qt/error_note.h"
#include "qt/fonts.h"
#include "qt/key_codes.h"
#include "qt/notification.h"
#include "qt/utf8.h"
#include "qt/window_role.h"

namespace qt {

using calc::Field;

namespace {

// What a key press would put into a text box: printable characters, unless
// Control or Meta makes the key a shortcut.
QString typedText(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return {};
    const QString text = key.text();
    const bool printable =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
    return printable ? text : QString();
}

std::u16string_view utf16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace

// Limits what the player types, pastes or drops, never what the program
// writes: QLineEdit::setMaxLength would also cut setText, and a recovery value
// of 1728 must show in full in a box that takes two typed characters. What an
// edit inserts is cut to the room the limit leaves, as the system's edit
// control cuts a paste.
//
// An undo brings back a text the box held, a long one the program wrote too;
// it leaves a step to redo, while an edit drops the steps to redo before it is
// judged, and a redo replays an edit that was judged from the same text.
class TypingLimit final : public QValidator {
public:
    TypingLimit(int limit, QLineEdit* box)
        : QValidator(box), m_box(box), m_limit(limit), m_before(box->text()) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_before = text; });
    }

    State validate(QString& input, int& pos) const override {
        if (m_writing || m_box->isRedoAvailable()) return Acceptable;
        const ui::Edit edit =
            ui::limitEdit(m_limit, utf16(m_before), utf16(input), static_cast<std::size_t>(pos));
        if (edit.text == utf16(input)) return Acceptable;
        // Refused whole, the box keeps its undo steps; cut, Qt forgets them.
        if (edit.text == utf16(m_before)) return Invalid;
        input = QString::fromUtf16(edit.text.data(), static_cast<qsizetype>(edit.text.size()));
        pos = static_cast<int>(edit.cursor);
        return Acceptable;
    }

    // What of a text put in at the cursor, over the selection, goes in.
    QString fitted(const QString& text) const {
        const std::size_t room =
            ui::roomLeft(m_limit, static_cast<std::size_t>(m_box->text().size()),
                         static_cast<std::size_t>(m_box->selectedText().size()));
        return text.left(static_cast<qsizetype>(ui::fitting(utf16(text), room)));
    }

    void write(const QString& text) {
        m_writing = true;
        m_box->setText(text);
        m_writing = false;
    }

private:
    QLineEdit* m_box;
    int m_limit;
    QString m_before;
    bool m_writing = false;
};

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
    m_rules.start();
}

Form1::~Form1() = default;

void Form1::build() {
    for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
        const ui::ControlRow& row = ui::kControls[i];
        QWidget* parent = row.parent == "Form1" ? this : control(row.parent);
        const QString caption = fromUtf8(row.caption);
        QWidget* widget = nullptr;
        switch (row.kind) {
            case ui::Kind::Frame: {
                auto* frame = new QFrame(parent);
                frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
                // Opaque, so that a label lowered beneath it is hidden there.
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
                // The four inputs carry a typing limit; the results are
                // read-only, take no focus, and stay selectable for copying.
                const std::size_t field = calc::index(*calc::fieldByName(row.name));
                if (ui::isInput(row)) {
                    m_limits[field] = new TypingLimit(row.typingLimit, box);
                    box->setValidator(m_limits[field]);
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

    // Labels lie beneath frames, text boxes and the button, which hide them
    // where they overlap (Label11 under Frame2, Label12 under Text10).
    for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
        if (ui::kControls[i].kind == ui::Kind::Label) m_controls[i]->lower();
    }
}

QWidget* Form1::control(std::string_view name) const {
    for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
        if (ui::kControls[i].name == name) return m_controls[i];
    }
    return nullptr;
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
        case QEvent::FocusIn:
            m_rules.focusArrived(field);
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                m_rules.tab(key->key() == Qt::Key_Backtab ||
                            (key->modifiers() & Qt::ShiftModifier) != 0);
                return true;
            }
            // What does not fit is cut before the box takes it, as the system's
            // edit control cuts it: a box that takes a character and then takes
            // it back has already told a screen reader that it went in, and
            // what the limit cuts later cannot be undone. Its release still
            // recalculates, as every key release does.
            const QString inserted = key->matches(QKeySequence::Paste)
                                         ? QGuiApplication::clipboard()->text()
                                         : typedText(*key);
            const QString fitted = limit->fitted(inserted);
            if (fitted.size() == inserted.size()) break;
            if (!fitted.isEmpty() || (*at)->hasSelectedText()) (*at)->insert(fitted);
            return true;
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
            // Cut here rather than by the limit, which would make Qt forget
            // the box's undo steps; a commit cut to nothing still ends the
            // composition.
            if (commit->replacementLength() == 0) {
                commit->setCommitString(limit->fitted(commit->commitString()));
            }
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

void Form1::showNote(ui::Control at, std::string_view text) {
    m_note->showAt(m_controls[at], fromUtf8(text));
}

void Form1::hideNote() {
    m_note->hide();
}

void Form1::dismissNote() {
    m_note->dismiss();
}

// Told by a notification: Qt tells screen readers nothing when a tooltip
// window shows, nor when a box the focus is not in changes.
void Form1::announce(std::string_view text, ui::Voice voice) {
    notifyShown(voice == ui::Voice::Note ? static_cast<QWidget*>(m_note) : m_announcer,
                fromUtf8(text));
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
