#pragma once

#include <array>

#include <QString>
#include <QTimer>
#include <QWidget>

#include "calc/field_set.h"
#include "ui/layout_table.h"
#include "ui/rules.h"

class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

namespace qt {

class ErrorNote;
class TypingLimit;

// The calculator window. Its text boxes are the field set: the calculations
// read and write the controls themselves, so no copy of the state exists
// anywhere else. It hands its events to the window's rules and does what they
// ask of it in Qt's terms.
class Form1 final : public QWidget, public calc::FieldSet, private ui::Port {
    Q_OBJECT

public:
    // Without a parent, a window of its own; with one, that window's content
    // (below a title strip of ours, where the compositor draws no title bar).
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    std::string text(calc::Field f) const override;
    void setText(calc::Field f, std::string_view text) override;

    QWidget* control(ui::Control c) const { return m_controls[c]; }
    QLineEdit* textBox(calc::Field f) const { return m_fields[calc::index(f)]; }
    const ErrorNote* errorNote() const { return m_note; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();

    void onHostEvent(const QEvent& event);
    bool onBoxEvent(calc::Field box, QEvent& event);
    bool onBoxPress(calc::Field box);
    bool onBoxFocusIn(calc::Field box);
    bool onBoxKeyPress(calc::Field box, const QKeyEvent& key);
    bool onBoxKeyRelease(calc::Field box, const QKeyEvent& key);
    bool onBoxInputMethod(calc::Field box, QInputMethodEvent& commit);

    void moveFocus(calc::Field input) override;
    void returnFocus(calc::Field box) override;
    void showNote(ui::Control at, std::string_view text) override;
    void hideNote() override;
    void describe(ui::Control at, std::string_view text) override;
    void announceNote(std::string_view text) override;
    void announceResults(std::string_view text) override;
    void startPause(int milliseconds) override;
    void stopPause() override;

    std::array<QWidget*, ui::kControls.size()> m_controls{};
    std::array<QLineEdit*, calc::kFieldCount> m_fields{};
    std::array<TypingLimit*, calc::kFieldCount> m_limits{};  // inputs only
    ErrorNote* m_note = nullptr;
    // A notification never drawn: a screen reader speaks no change of the
    // result boxes, which never have its focus.
    QWidget* m_announcer = nullptr;
    QTimer m_typingPause;
    ui::Rules m_rules{*this, *this};
};

}  // namespace qt
