#include "qt/typing_limit.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/typing_limit.h"

namespace qt {
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

TypingLimit::TypingLimit(int limit, QLineEdit* box)
    : QValidator(box), m_box(box), m_limit(limit), m_before(box->text()) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text; });
    box->setValidator(this);
}

// An undo brings back a text the box held, a long one the program wrote too;
// it leaves a step to redo, while an edit drops the steps to redo before it is
// judged, and a redo replays an edit that was judged from the same text.
QValidator::State TypingLimit::validate(QString& input, int& pos) const {
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

// Cut before the box takes it, as the system's edit control cuts it: a box
// that takes a character and then takes it back has already told a screen
// reader that it went in, and what the limit cuts later cannot be undone.
bool TypingLimit::cutKey(const QKeyEvent& key) {
    const QString inserted =
        key.matches(QKeySequence::Paste) ? QGuiApplication::clipboard()->text() : typedText(key);
    const QString fits = fitted(inserted);
    if (fits.size() == inserted.size()) return false;
    if (!fits.isEmpty() || m_box->hasSelectedText()) m_box->insert(fits);
    return true;
}

// Cut here rather than by validate(), which would make Qt forget the box's
// undo steps; a commit cut to nothing still ends the composition.
void TypingLimit::cutCommit(QInputMethodEvent& commit) const {
    if (commit.replacementLength() == 0) commit.setCommitString(fitted(commit.commitString()));
}

void TypingLimit::write(const QString& text) {
    m_writing = true;
    m_box->setText(text);
    m_writing = false;
}

QString TypingLimit::fitted(const QString& text) const {
    const std::size_t room = ui::roomLeft(m_limit, static_cast<std::size_t>(m_box->text().size()),
                                          static_cast<std::size_t>(m_box->selectedText().size()));
    return text.left(static_cast<qsizetype>(ui::fitting(utf16(text), room)));
}

}  // namespace qt
