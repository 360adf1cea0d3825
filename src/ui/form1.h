#pragma once

#include <array>

#include <QString>
#include <QTimer>
#include <QWidget>

#include "calc/field_set.h"
#include "calc/handlers.h"
#include "calc/recalculation.h"
#include "layout/layout_table.h"
#include "runtime/errors.h"

class QLineEdit;

namespace ui {

class ErrorNote;
class TypingLimit;

// The calculator window. Its text boxes are the field set: the calculations
// read and write the controls themselves, so no copy of the state exists
// anywhere else. It binds the shared handlers to its events and gives them
// their Tab keystroke.
class Form1 final : public QWidget, public calc::FieldSet, private calc::FocusPort {
    Q_OBJECT

public:
    // Without a parent, a window of its own; with one, that window's content
    // (below a title strip of ours, where the compositor draws no title bar).
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    std::string text(calc::Field f) const override;
    void setText(calc::Field f, std::string_view text) override;

    // A control by its name in the layout table; nullptr for an unknown name.
    QWidget* control(std::string_view name) const;
    QLineEdit* textBox(calc::Field f) const { return m_fields[calc::index(f)]; }
    const ErrorNote* errorNote() const { return m_note; }

    // The click on the Calculate button.
    void Command1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    void sendTab() override;
    // recoveryOnly: a recovery value typed into Text10, which changes the
    // seconds per mana alone.
    void calculated(calc::Outcome outcome, bool recoveryOnly = false);
    void announceResults();
    // Runs a handler; a calculation error shows at the field instead of
    // ending the program.
    template <typename Handler>
    void run(QWidget* origin, Handler handler);
    void reportError(QWidget* origin, const runtime::RuntimeError& error);

    std::array<QWidget*, kControls.size()> m_controls{};
    std::array<QLineEdit*, calc::kFieldCount> m_fields{};
    std::array<TypingLimit*, calc::kFieldCount> m_limits{};  // inputs only
    ErrorNote* m_note = nullptr;
    calc::Handlers m_handlers{*this, *this};

    // The summary a screen reader is told once the player pauses.
    QTimer m_typingPause;
    bool m_recoveryOnly = false;
    QString m_spoken;  // the last summary told
    QWidget* m_announcer = nullptr;
};

// The note's text for an error, as the player reads it.
QString errorMessage(const runtime::RuntimeError& error);

}  // namespace ui
