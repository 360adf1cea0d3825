#include "ui/form1.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "calc/recalculation.h"
#include "ui/caption_label.h"
#include "ui/error_note.h"
#include "ui/fonts.h"
#include "ui/key_codes.h"
#include "ui/notification.h"
#include "ui/utf8.h"
#include "ui/window_role.h"

namespace ui {

using calc::Field;

namespace {

// Entering an input by Tab, Enter or a click empties it. Coming back from
// another window, or from the box's own context menu, does not: emptying the
// player's input on every switch to the game would lose it.
bool emptiesOnEntry(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// What a key press would put into a text box: printable characters, unless
// Control or Meta makes the key a shortcut.
QString typedText(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return {};
    const QString text = key.text();
    const bool printable =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
    return printable ? text : QString();
}

}  // namespace

// Limits what the player types, pastes or drops, never what the program
// writes: QLineEdit::setMaxLength would also cut setText, and a recovery value
// of 1728 must show in full in a box that takes two typed characters. An edit
// that leaves the text over the limit is refused unless it shortens it, as
// the original's boxes refused typing into a longer text.
//
// QLineEdit refuses an edit only while it judges its current text valid, so a
// long text it could not refuse must never be judged invalid, or every later
// keystroke would go through: a program write, and an undo, which brings back
// a text the box held (a long written one too). An undo leaves a step to redo;
// an edit drops the steps to redo before it is judged. A redo replays an edit
// that was judged from the very same text, so it passes as it did then.
class TypingLimit final : public QValidator {
public:
    TypingLimit(int limit, QLineEdit* box)
        : QValidator(box), m_box(box), m_limit(limit), m_current(box->text().size()) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_current = text.size(); });
    }

    State validate(QString& input, int& /*pos*/) const override {
        if (m_writing || !overLimit(input)) return Acceptable;
        return m_box->isRedoAvailable() ? Acceptable : Invalid;
    }

    // Whether typed text, put in at the cursor, would be refused. Asked before
    // the box takes a key: a box that takes a character and then takes it back
    // has already told a screen reader that it went in. Typing drops the steps
    // to redo, so a redo that is possible now does not count.
    bool refuses(const QString& typed) const {
        QString after = m_box->text();
        int at = m_box->cursorPosition();
        if (m_box->hasSelectedText()) {
            at = m_box->selectionStart();
            after.remove(at, m_box->selectedText().size());
        }
        return overLimit(after.insert(at, typed));
    }

    void write(const QString& text) {
        m_writing = true;
        m_box->setText(text);
        m_writing = false;
    }

private:
    bool overLimit(const QString& text) const {
        return text.size() > m_limit && text.size() >= m_current;
    }

    QLineEdit* m_box;
    int m_limit;
    qsizetype m_current;
    bool m_writing = false;
};

Form1::Form1(QWidget* parent)
    : QWidget(parent, parent != nullptr
                          ? Qt::Widget
                          : Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    describeOurWindowsAsWindows();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromUtf8(kTitle));
    setFixedSize(toPixels(kClientWidthTwips), toPixels(kClientHeightTwips));
    setFont(defaultFont());  // the controls inherit it
    build();
    m_note = new ErrorNote(this);
    m_announcer = new QWidget(this);
    m_announcer->hide();
    describeAsNotification(m_announcer);
    m_typingPause.setSingleShot(true);
    m_typingPause.setInterval(kSummaryPauseMs);
    connect(&m_typingPause, &QTimer::timeout, this, &Form1::announceResults);
    // Inside a window of ours, that window is activated and moved, not this:
    // Qt tells neither to a child.
    if (!isWindow()) window()->installEventFilter(this);

    // At start the first input has the focus, and its focus handler runs.
    textBox(Field::Text1)->setFocus(Qt::OtherFocusReason);
    m_handlers.Text1_GotFocus();
}

Form1::~Form1() = default;

void Form1::build() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        QWidget* parent = row.parent == "Form1" ? this : control(row.parent);
        const QString caption = fromUtf8(row.caption);
        QWidget* widget = nullptr;
        switch (row.kind) {
            case Kind::Frame: {
                auto* frame = new QFrame(parent);
                frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
                // Opaque, so that a label lowered beneath it is hidden there.
                frame->setAutoFillBackground(true);
                widget = frame;
                break;
            }
            case Kind::Label:
                widget = new CaptionLabel(caption, parent);
                break;
            case Kind::TextBox: {
                auto* box = new QLineEdit(caption, parent);
                box->setAccessibleName(fromUtf8(row.accessibleName));
                // The four inputs carry a typing limit; the results are
                // read-only, take no focus, and stay selectable for copying.
                const std::size_t field = calc::index(*calc::fieldByName(row.name));
                if (row.typingLimit > 0) {
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
            case Kind::Button: {
                auto* button = new QPushButton(caption, parent);
                // Only a one-pixel sliver shows; a focus there would be invisible
                // and would swallow the player's typing.
                button->setFocusPolicy(Qt::NoFocus);
                connect(button, &QPushButton::clicked, this,
                        [this, button] { run(button, [this] { Command1_Click(); }); });
                widget = button;
                break;
            }
        }
        widget->setObjectName(fromUtf8(row.name));
        widget->setGeometry(toPixels(row.left), toPixels(row.top), toPixels(row.width),
                            toPixels(row.height));
        if (row.font == FontRole::Bold) widget->setFont(boldFont());
        m_controls[i] = widget;
    }

    // Labels lie beneath frames, text boxes and the button, which hide them
    // where they overlap (Label11 under Frame2, Label12 under Text10).
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].kind == Kind::Label) m_controls[i]->lower();
    }

    // Tab moves through the focusable controls by tab index, wrapping around.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (m_controls[i]->focusPolicy() & Qt::TabFocus) order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
        return kControls[a].tabIndex < kControls[b].tabIndex;
    });
    for (std::size_t k = 1; k < order.size(); ++k) {
        QWidget::setTabOrder(m_controls[order[k - 1]], m_controls[order[k]]);
    }
}

QWidget* Form1::control(std::string_view name) const {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].name == name) return m_controls[i];
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
    calculated(m_handlers.Command1_Click());
}

// A calculation that wrote its results clears the note of an earlier error.
// A screen reader hears the results once the player pauses: every key
// release calculates, and a summary for each key would talk over the typing.
void Form1::calculated(calc::Outcome outcome, bool recoveryOnly) {
    if (outcome != calc::Outcome::Written) return;
    m_note->dismiss();
    // A full calculation still waiting to be told keeps its recovery value.
    m_recoveryOnly = recoveryOnly && (m_recoveryOnly || !m_typingPause.isActive());
    m_typingPause.start();
}

// Told by a notification that is never drawn: a screen reader speaks no
// change of the result boxes, which never have its focus.
void Form1::announceResults() {
    const std::string seconds = text(Field::Text5);
    const QString summary = fromUtf8(m_recoveryOnly ? secondsSummary(seconds)
                                                    : resultSummary(text(Field::Text10), seconds));
    // Enter, Tab and the arrows calculate too, and write what was just told.
    if (summary == m_spoken) return;
    m_spoken = summary;
    notifyShown(m_announcer, summary);
}

// One Tab keystroke, handled before this returns: the focus moves to the next
// control and its focus handler runs nested inside the sending handler.
void Form1::sendTab() {
    QWidget* target = focusWidget();
    if (target == nullptr) return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && watched != this) {
        if (event->type() == QEvent::ActivationChange) {
            m_note->ownerActivated(isActiveWindow());
        } else if (event->type() == QEvent::Move) {
            m_note->follow();
        }
        return QWidget::eventFilter(watched, event);
    }
    for (const calc::FieldHandlers& b : calc::kFieldHandlers) {
        QLineEdit* box = textBox(b.field);
        if (watched != box) continue;
        TypingLimit* limit = m_limits[calc::index(b.field)];
        if (event->type() == QEvent::FocusIn && b.gotFocus != nullptr &&
            emptiesOnEntry(static_cast<QFocusEvent*>(event)->reason())) {
            (m_handlers.*b.gotFocus)();
        } else if (event->type() == QEvent::KeyPress) {
            // Its release still recalculates, as every key release does.
            const QString typed = typedText(*static_cast<QKeyEvent*>(event));
            if (!typed.isEmpty() && limit->refuses(typed)) return true;
        } else if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // A held key repeats its press and release; the original saw one
            // release when the key came up.
            if (!key->isAutoRepeat()) {
                const int code = virtualKeyCode(*key);
                const int shift = shiftState(*key);
                run(box, [this, &b, code, shift] {
                    calculated((m_handlers.*b.keyUp)(code, shift), b.field == Field::Text10);
                });
            }
        } else if (event->type() == QEvent::InputMethod &&
                   !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty()) {
            auto* commit = static_cast<QInputMethodEvent*>(event);
            // An input method may keep the key releases of what it composed to
            // itself, and then full-width digits would never count. Its commit
            // stands for them, with the code the original platform reports for
            // keys an input method processed (229). Queued, so that the box
            // holds the committed text by then.
            QMetaObject::invokeMethod(
                this,
                [this, box, &b] {
                    run(box, [this, &b] {
                        calculated((m_handlers.*b.keyUp)(calc::kInputMethodKeyCode, 0),
                                   b.field == Field::Text10);
                    });
                },
                Qt::QueuedConnection);
            // A refused commit still ends the composition, with nothing put in.
            if (commit->replacementLength() == 0 && limit->refuses(commit->commitString())) {
                commit->setCommitString(QString());
            }
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}

template <typename Handler>
void Form1::run(QWidget* origin, Handler handler) {
    try {
        handler();
    } catch (const runtime::RuntimeError& error) {
        reportError(origin, error);
    }
}

void Form1::reportError(QWidget* origin, const runtime::RuntimeError& error) {
    // The results told before no longer stand beside the error, and once it
    // is corrected they are told again, even if they come out the same.
    m_typingPause.stop();
    m_spoken.clear();
    m_note->showAt(origin, errorMessage(error));
    std::fprintf(stderr, "manacalc: %s (%s)\n", error.what(),
                 origin->objectName().toUtf8().constData());
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) m_note->ownerActivated(isActiveWindow());
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

QString errorMessage(const runtime::RuntimeError& error) {
    return fromUtf8(noteText(error));
}

}  // namespace ui
