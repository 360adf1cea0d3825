#pragma once

#include <QString>
#include <QValidator>

class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

namespace qt {

// Limits what the player types, pastes or drops into a box, never what the
// program writes: QLineEdit::setMaxLength would also cut setText, and a
// recovery value of 1728 must show in full in a box that takes two typed
// characters. What an edit inserts is cut to the room the limit leaves, as
// the system's edit control cuts a paste.
class TypingLimit final : public QValidator {
public:
    // Installs itself as the box's validator.
    TypingLimit(int limit, QLineEdit* box);

    State validate(QString& input, int& pos) const override;

    // A key press whose text does not fit: what fits goes in, and the key is
    // taken (true) before the box sees it. Its release still recalculates.
    bool cutKey(const QKeyEvent& key);
    // An input method's commit, cut to what fits before the box takes it.
    void cutCommit(QInputMethodEvent& commit) const;

    // The program's write, never cut.
    void write(const QString& text);

private:
    // What of a text put in at the cursor, over the selection, goes in.
    QString fitted(const QString& text) const;

    QLineEdit* m_box;
    int m_limit;
    QString m_before;
    bool m_writing = false;
};

}  // namespace qt
