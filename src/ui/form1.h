#pragma once

#include <array>

#include <QString>
#include <QWidget>

#include "calc/field_set.h"
#include "calc/recalculation.h"
#include "runtime/errors.h"
#include "ui/layout_table.h"

class QLineEdit;

namespace ui {

class ErrorNote;
class TypingLimit;

// The calculator window. Its text boxes are the field set: the calculations
// read and write the controls themselves, so no copy of the state exists
// anywhere else.
class Form1 final : public QWidget, public calc::FieldSet {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    std::string text(calc::Field f) const override;
    void setText(calc::Field f, std::string_view text) override;

    // A control by its name in the layout table; nullptr for an unknown name.
    QWidget* control(std::string_view name) const;
    QLineEdit* textBox(calc::Field f) const { return m_fields[calc::index(f)]; }
    const ErrorNote* errorNote() const { return m_note; }

    // The handlers. Calculation errors leave them as exceptions; the event
    // plumbing reports them.
    void Command1_Click();
    void Text1_GotFocus();
    void Text2_GotFocus();
    void Text3_GotFocus();
    void Text1_KeyUp(int KeyCode, int Shift);
    void Text2_KeyUp(int KeyCode, int Shift);
    void Text3_KeyUp(int KeyCode, int Shift);
    void Text10_KeyUp(int KeyCode, int Shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Binding {
        calc::Field field;
        void (Form1::*gotFocus)();
        void (Form1::*keyUp)(int, int);
    };

    void build();
    void sendTab();
    void calculated(calc::Outcome outcome);
    // Runs a handler; a calculation error shows at the field instead of
    // ending the program.
    template <typename Handler>
    void run(const QWidget* origin, Handler handler);
    void reportError(const QWidget* origin, const runtime::RuntimeError& error);

    std::array<QWidget*, kControls.size()> m_controls{};
    std::array<QLineEdit*, calc::kFieldCount> m_fields{};
    std::array<TypingLimit*, calc::kFieldCount> m_limits{};  // inputs only
    ErrorNote* m_note = nullptr;
};

// The note's text for an error, as the player reads it.
QString errorMessage(const runtime::RuntimeError& error);

}  // namespace ui
