#include "qt/form1.h"

#include <memory>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "calc/field_set.h"
#include "qt/error_note.h"
#include "qt/window_icon.h"
#include "ui/layout_table.h"
#include "window_rows.h"

using calc::Field;

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

struct Inputs {
    QString intText, medi, focus;
};

// The core's answer for the same inputs, to compare the window against.
calc::MemoryFieldSet coreResult(const Inputs& in) {
    return window_rows::coreResult(in.intText.toStdString(), in.medi.toStdString(),
                                   in.focus.toStdString());
}

void addShortcut(QTestEventList& events, QKeySequence::StandardKey key) {
    const QKeyCombination first = QKeySequence(key)[0];
    events.addKeyClick(first.key(), first.keyboardModifiers());
}

}  // namespace

Q_DECLARE_METATYPE(Field)

class Form1Test : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<qt::Form1> m_form;

    qt::Form1& form() { return *m_form; }
    QLineEdit* box(Field f) { return form().textBox(f); }
    QWidget* focused() { return QApplication::focusWidget(); }
    QString text(Field f) { return box(f)->text(); }

    // Types into whatever has the focus, as a player would.
    void type(const QString& keys) { QTest::keyClicks(focused(), keys); }
    void enter() { QTest::keyClick(focused(), Qt::Key_Return); }

    // The player switches to another window (the game) and comes back; the
    // error note never shows while the window is not the active one.
    void awayAndBack() {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!form().errorNote()->isVisible());
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }

    void compareFields(const calc::FieldSet& expected) {
        for (std::size_t i = 0; i < calc::kFieldCount; ++i) {
            const auto f = static_cast<Field>(i);
            QCOMPARE(text(f), qs(expected.text(f)));
        }
    }

private slots:
    void init() {
        m_form = std::make_unique<qt::Form1>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    void window() {
        QCOMPARE(form().windowTitle(), QStringLiteral("マナ回復速度計算 Ver1.10(Korvale対応)"));
        QCOMPARE(form().size(), QSize(82, 306));
        QCOMPARE(form().minimumSize(), form().maximumSize());
        QVERIFY(!(form().windowFlags() & Qt::WindowMaximizeButtonHint));
        // The window's pixels follow the device pixel ratio: on a doubled
        // screen everything is drawn at twice the size.
        const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                : 1.0;
        QCOMPARE(form().devicePixelRatioF(), scale);
        const QPixmap shot = form().grab();
        QCOMPARE(shot.size(), QSize(qRound(82 * scale), qRound(306 * scale)));
    }

    // Built from pixels compiled in: the pictures of the PNGs, both sizes.
    void icon() {
        const QIcon icon = qt::windowIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
        for (int size : {16, 32}) {
            const QImage png(QStringLiteral(MANACALC_ICON_DIR "/manacalc-%1.png").arg(size));
            QCOMPARE(icon.pixmap(QSize(size, size), 1.0).toImage(),
                     QPixmap::fromImage(png).toImage());
        }
    }

    void layout_data() {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
            QTest::newRow(std::string(ui::kControls[i].name).c_str()) << static_cast<int>(i);
        }
    }

    void layout() {
        QFETCH(int, row);
        const ui::ControlRow& control = ui::kControls[static_cast<std::size_t>(row)];
        QWidget* w = form().control(static_cast<ui::Control>(row));
        QVERIFY(w != nullptr);
        QCOMPARE(w->parentWidget()->objectName(), qs(control.parent));
        const QRect expected(control.left / 15, control.top / 15, control.width / 15,
                             control.height / 15);
        QCOMPARE(w->geometry(), expected);
        // Drawn in device pixels: twice the size on a doubled screen.
        const qreal scale = form().devicePixelRatioF();
        QCOMPARE(w->grab().size(), expected.size() * scale);

        // "ＭＳ Ｐゴシック" and "MS PGothic" are missing here: the one face is
        // the next in line, the metrically same IPAPGothic, and it is found.
        const QFont font = w->font();
        QCOMPARE(font.families(), QStringList{QStringLiteral("IPAPGothic")});
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
        const bool bold = control.font == ui::FontRole::Bold;
        QCOMPARE(font.pointSizeF(), bold ? 11.25 : 9.0);
        QCOMPARE(font.weight(), bold ? QFont::Bold : QFont::Normal);

        switch (control.kind) {
            case ui::Kind::Frame:
                QVERIFY(qobject_cast<QFrame*>(w)->frameShape() != QFrame::NoFrame);
                break;
            case ui::Kind::Label: {
                auto* label = qobject_cast<QLabel*>(w);
                QCOMPARE(label->text(), qs(control.caption));
                QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
                QVERIFY(label->wordWrap());
                break;
            }
            case ui::Kind::Button:
                QCOMPARE(qobject_cast<QPushButton*>(w)->text(), qs(control.caption));
                QCOMPARE(w->focusPolicy(), Qt::NoFocus);
                break;
            case ui::Kind::TextBox: {
                auto* edit = qobject_cast<QLineEdit*>(w);
                // Text1 has the focus at start, so its focus handler emptied it.
                QCOMPARE(edit->text(), control.name == "Text1" ? QString() : qs(control.caption));
                QCOMPARE(edit->accessibleName(), qs(control.accessibleName));
                const bool input = control.typingLimit > 0;
                QCOMPARE(edit->isReadOnly(), !input);
                // A click's focus in a result selects for copying; Tab goes round the inputs.
                QCOMPARE(edit->focusPolicy(), input ? Qt::StrongFocus : Qt::ClickFocus);
                break;
            }
        }
    }

    // Labels lie beneath the other controls that overlap them: hiding the
    // label changes no pixel where a frame or text box covers it.
    void labelsBeneath_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QRect>("covered");  // in window coordinates
        QTest::newRow("Label11_under_Frame2") << "Label11" << QRect(8, 144, 65, 3);
        QTest::newRow("Label12_under_Text10") << "Label12" << QRect(48, 76, 1, 17);
    }

    void labelsBeneath() {
        QFETCH(QString, label);
        QFETCH(QRect, covered);
        QWidget* w = form().control(ui::controlIndex(label.toStdString()));
        QVERIFY(w->geometry()
                    .translated(w->parentWidget()->mapTo(&form(), QPoint()))
                    .intersects(covered));
        const QImage shown = form().grab(covered).toImage();
        w->hide();
        const QImage hidden = form().grab(covered).toImage();
        QCOMPARE(shown, hidden);
    }

    // "&&" in a caption draws as one "&", as the original's labels drew it,
    // and Label11 wraps as "int0&medi0" does. A plain label showing the drawn
    // text is the reference. Screen readers read the drawn text too.
    void captionsDrawAsLabelsDid_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("Label11_double_ampersand")
            << "Label11" << QStringLiteral("ﾏﾅ回復+1= Focus+20  瞑想不可= int0&medi0");
        QTest::newRow("Label5_plain_wrapped") << "Label5"
                                              << "Next FPoint";
    }

    void captionsDrawAsLabelsDid() {
        QFETCH(QString, label);
        QFETCH(QString, drawn);
        auto* caption =
            qobject_cast<QLabel*>(form().control(ui::controlIndex(label.toStdString())));
        QLabel reference(drawn, caption->parentWidget());
        reference.setGeometry(caption->geometry());
        reference.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        reference.setWordWrap(true);
        QCOMPARE(caption->grab().toImage(), reference.grab().toImage());
        QCOMPARE(QAccessible::queryAccessibleInterface(caption)->text(QAccessible::Name), drawn);
    }

    void focusCycle_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<Field>>("order");
        const QList<Field> forward = {Field::Text2, Field::Text3, Field::Text10, Field::Text1};
        QTest::newRow("tab") << int(Qt::Key_Tab) << forward;
        QTest::newRow("enter") << int(Qt::Key_Return) << forward;
        QTest::newRow("keypad_enter") << int(Qt::Key_Enter) << forward;
        QTest::newRow("backtab") << int(Qt::Key_Backtab)
                                 << QList<Field>{Field::Text10, Field::Text3, Field::Text2,
                                                 Field::Text1};
    }

    void focusCycle() {
        QFETCH(int, key);
        QFETCH(QList<Field>, order);
        QCOMPARE(focused(), box(Field::Text1));
        for (Field next : order) {
            QTest::keyClick(focused(), static_cast<Qt::Key>(key));
            QCOMPARE(focused(), box(next));
        }
    }

    void typingGivesTheCoreResults_data() {
        QTest::addColumn<QString>("intText");
        QTest::addColumn<QString>("medi");
        QTest::addColumn<QString>("focus");
        for (const window_rows::Typing& r : window_rows::kTyping) {
            QTest::newRow(r.name) << qs(r.intText) << qs(r.medi) << qs(r.focus);
        }
    }

    void typingGivesTheCoreResults() {
        QFETCH(QString, intText);
        QFETCH(QString, medi);
        QFETCH(QString, focus);
        type(intText);
        enter();
        QCOMPARE(focused(), box(Field::Text2));
        QCOMPARE(text(Field::Text2), QString());
        type(medi);
        enter();
        QCOMPARE(focused(), box(Field::Text3));
        type(focus);
        compareFields(coreResult({intText, medi, focus}));
        QVERIFY(!form().errorNote()->isVisible());
        // Long results show from their first digit, not scrolled to the end.
        for (Field f : {Field::Text4, Field::Text5, Field::Text6, Field::Text7, Field::Text8}) {
            QCOMPARE(box(f)->cursorPosition(), 0);
        }
    }

    void clickEmptiesInputAndKeepsResults() {
        type("100");
        const QString recovery = text(Field::Text10);
        QCOMPARE(recovery, QStringLiteral("4"));
        QTest::mouseClick(box(Field::Text2), Qt::LeftButton);
        QCOMPARE(focused(), box(Field::Text2));
        QCOMPARE(text(Field::Text2), QString());
        // Every release now stops at validation: Medi is empty.
        QTest::mouseClick(box(Field::Text1), Qt::LeftButton);
        type("7");
        QCOMPARE(text(Field::Text10), recovery);
        // Text10 does not empty on entry.
        QTest::mouseClick(box(Field::Text10), Qt::LeftButton);
        QCOMPARE(text(Field::Text10), recovery);
        // A result takes a click's focus, for copying; Tab goes on to the next input.
        QTest::mouseClick(box(Field::Text4), Qt::LeftButton);
        QCOMPARE(focused(), box(Field::Text4));
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), box(Field::Text10));
    }

    void returningFromAnotherWindowKeepsInput() {
        type("150");
        awayAndBack();
        if (QTest::currentTestFailed()) return;
        QCOMPARE(focused(), box(Field::Text1));
        QCOMPARE(text(Field::Text1), QStringLiteral("150"));
    }

    void recoveryEntry_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("seconds");  // empty: Text5 keeps its text
        for (const window_rows::RecoveryEntry& r : window_rows::kRecoveryEntry) {
            QTest::newRow(r.name) << qs(r.typed) << qs(r.seconds);
        }
    }

    void recoveryEntry() {
        QFETCH(QString, typed);
        QFETCH(QString, seconds);
        box(Field::Text5)->setText(QStringLiteral("old"));
        const QStringList untouched = {text(Field::Text4), text(Field::Text6), text(Field::Text7),
                                       text(Field::Text8)};
        QTest::mouseClick(box(Field::Text10), Qt::LeftButton);
        QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
        type(typed);
        QCOMPARE(text(Field::Text10), typed);
        QCOMPARE(text(Field::Text5), seconds.isEmpty() ? QStringLiteral("old") : seconds);
        QCOMPARE((QStringList{text(Field::Text4), text(Field::Text6), text(Field::Text7),
                              text(Field::Text8)}),
                 untouched);
    }

    void typingLimits_data() {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("pasted");
        for (const window_rows::TypingLimit& r : window_rows::kTypingLimits) {
            QTest::newRow(r.name) << r.field << qs(r.typed) << qs(r.kept) << r.pasted;
        }
    }

    void typingLimits() {
        QFETCH(Field, field);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(bool, pasted);
        QTest::mouseClick(box(field), Qt::LeftButton);
        QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
        if (pasted) {
            // Cut as it goes in, and undone as a paste is.
            QGuiApplication::clipboard()->setText(typed);
            QTest::keyClick(focused(), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(text(field), kept);
            QTest::keyClick(focused(), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(text(field), QString());
            return;
        }
        for (const QChar c : typed) {
            if (c.unicode() < 0x80) {
                type(c);
            } else {
                // Full-width digits come from the input method, one commit each.
                QInputMethodEvent commit;
                commit.setCommitString(c);
                QApplication::sendEvent(focused(), &commit);
            }
        }
        QCOMPARE(text(field), kept);
    }

    // Typing INT with Medi and Focus already in place; the last key raises.
    void errors_data() {
        QTest::addColumn<QString>("intText");
        QTest::addColumn<QString>("medi");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        for (const window_rows::Error& r : window_rows::kErrors) {
            QTest::newRow(r.name) << qs(r.intText) << qs(r.medi) << qs(r.focus) << qs(r.note);
        }
    }

    void errors() {
        QFETCH(QString, intText);
        QFETCH(QString, medi);
        QFETCH(QString, focus);
        QFETCH(QString, message);
        box(Field::Text2)->setText(medi);
        box(Field::Text3)->setText(focus);

        const calc::MemoryFieldSet expected = window_rows::coreAfterTypingInt(
            intText.toStdString(), medi.toStdString(), focus.toStdString());
        type(intText);
        compareFields(expected);
        const qt::ErrorNote* note = form().errorNote();
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), message);
        QVERIFY(!note->isActiveWindow());
        // It stays with this window: gone while the player is in another one,
        // back when the player returns and the error still stands.
        awayAndBack();
        if (QTest::currentTestFailed()) return;
        QVERIFY(note->isVisible());

        // The error ends the handler before its Enter test: no Tab.
        enter();
        QCOMPARE(focused(), box(Field::Text1));
        QVERIFY(form().isVisible());

        // Only a calculation that writes clears the note; one that stops at
        // an input that is not a number does not.
        QTest::mouseClick(box(Field::Text2), Qt::LeftButton);
        type("x");
        QVERIFY(note->isVisible());

        // Still usable: a correction computes and clears the note.
        QTest::keyClick(focused(), Qt::Key_Backspace);
        box(Field::Text1)->setText(QStringLiteral("10"));
        box(Field::Text3)->setText(QStringLiteral("1"));
        type("1");
        compareFields(coreResult({"10", "1", "1"}));
        QVERIFY(!note->isVisible());
        awayAndBack();
        if (QTest::currentTestFailed()) return;
        QVERIFY(!note->isVisible());
    }

    // A long program write must not open the box to longer typing.
    void typingLimitHoldsAfterLongWrite() {
        box(Field::Text1)->setText(QStringLiteral("999"));
        box(Field::Text2)->setText(QStringLiteral("20000"));
        box(Field::Text3)->setText(QStringLiteral("999"));
        QTest::mouseClick(form().control(ui::kCommand1), Qt::LeftButton, {}, QPoint(10, 0));
        QCOMPARE(text(Field::Text10), QStringLiteral("1728"));
        QTest::mouseClick(box(Field::Text10), Qt::LeftButton);
        QTest::keyClick(focused(), Qt::Key_End);
        type("5");
        QCOMPARE(text(Field::Text10), QStringLiteral("1728"));
        QTest::keyClick(focused(), Qt::Key_Backspace);
        QCOMPARE(text(Field::Text10), QStringLiteral("172"));
        type("3");
        QCOMPARE(text(Field::Text10), QStringLiteral("172"));
        QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
        type("12");
        QCOMPARE(text(Field::Text10), QStringLiteral("12"));
    }

    // The overflow writes 1679 into Text10; the player types 1 over it and
    // brings 1679 back with an undo. However more characters then come, the
    // two-character limit refuses them, and the undo itself is not cut.
    void typingLimitHoldsAfterUndo_data() {
        QTest::addColumn<bool>("undoFromMenu");  // before the keys
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("dropped");  // dropped on the box last
        QTest::addColumn<QString>("kept");

        QTestEventList typed;
        addShortcut(typed, QKeySequence::Undo);
        typed.addKeyClick(Qt::Key_End);
        typed.addKeyClicks(QStringLiteral("99999"));
        QTest::newRow("undo_type") << false << typed << QString() << "1679";

        QTestEventList typedAfterMenu;
        typedAfterMenu.addKeyClick(Qt::Key_End);
        typedAfterMenu.addKeyClicks(QStringLiteral("99999"));
        QTest::newRow("menu_undo_type") << true << typedAfterMenu << QString() << "1679";

        QTestEventList redone;
        addShortcut(redone, QKeySequence::Undo);
        addShortcut(redone, QKeySequence::Redo);
        addShortcut(redone, QKeySequence::Undo);
        redone.addKeyClick(Qt::Key_End);
        redone.addKeyClick(Qt::Key_9);
        QTest::newRow("undo_redo_undo_type") << false << redone << QString() << "1679";

        QTestEventList pasted;
        addShortcut(pasted, QKeySequence::Undo);
        pasted.addKeyClick(Qt::Key_End);
        addShortcut(pasted, QKeySequence::Paste);
        QTest::newRow("undo_paste") << false << pasted << QString() << "1679";

        QTestEventList undone;
        addShortcut(undone, QKeySequence::Undo);
        QTest::newRow("undo_drop") << false << undone << "99"
                                   << "1679";

        // Shortening still works, and the shorter text is still over the limit.
        QTestEventList shortened;
        addShortcut(shortened, QKeySequence::Undo);
        shortened.addKeyClick(Qt::Key_End);
        shortened.addKeyClick(Qt::Key_Backspace);
        shortened.addKeyClick(Qt::Key_5);
        QTest::newRow("undo_shorten_type") << false << shortened << QString() << "167";

        QTestEventList replaced;
        addShortcut(replaced, QKeySequence::Undo);
        addShortcut(replaced, QKeySequence::SelectAll);
        addShortcut(replaced, QKeySequence::Paste);
        QTest::newRow("undo_paste_over_all") << false << replaced << QString() << "99";
    }

    void typingLimitHoldsAfterUndo() {
        QFETCH(bool, undoFromMenu);
        QFETCH(QTestEventList, keys);
        QFETCH(QString, dropped);
        QFETCH(QString, kept);
        QGuiApplication::clipboard()->setText(QStringLiteral("99"));
        type("999");
        QTest::keyClick(focused(), Qt::Key_Tab);
        type("20000");
        QCOMPARE(text(Field::Text10), QStringLiteral("1679"));
        QTest::keyClick(focused(), Qt::Key_Tab);
        QTest::keyClick(focused(), Qt::Key_Tab);
        QLineEdit* recovery = box(Field::Text10);
        QCOMPARE(focused(), recovery);
        type("1");
        QCOMPARE(text(Field::Text10), QStringLiteral("1"));

        if (undoFromMenu) {
            QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                      recovery->mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(recovery, &request);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            QAction* undo = menu->actions().value(0);
            QVERIFY(undo != nullptr && undo->text().startsWith(QStringLiteral("&Undo")));
            undo->trigger();
            menu->close();
        }
        keys.simulate(recovery);
        if (!dropped.isEmpty()) {
            QMimeData data;
            data.setText(dropped);
            const QPoint at = recovery->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(recovery, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(recovery, &drop);
        }
        QCOMPARE(text(Field::Text10), kept);
    }

    // Full-width digits committed by an input method count like typed ones,
    // even when the input method keeps the key releases to itself.
    void inputMethodCommitRecalculates() {
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("１００"));
        QApplication::sendEvent(box(Field::Text1), &commit);
        // qWaitFor, not QTRY_COMPARE: Qt 6.8's QTRY_ macros narrow their timeout
        // to int in our code, which -Wconversion refuses.
        QVERIFY(QTest::qWaitFor([&] { return text(Field::Text10) == QStringLiteral("4"); }));
        compareFields(coreResult({"１００", "0", "0"}));
    }

    void autoRepeatReleasesAreIgnored() {
        box(Field::Text1)->setText(QStringLiteral("1"));
        QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"),
                           true);
        for (int i = 0; i < 5; ++i) QApplication::sendEvent(box(Field::Text1), &repeated);
        QCOMPARE(text(Field::Text10), QStringLiteral("0"));
        QKeyEvent last(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"), false);
        QApplication::sendEvent(box(Field::Text1), &last);
        QCOMPARE(text(Field::Text10), QStringLiteral("2"));
    }

    void clickOnCommand1Recalculates() {
        box(Field::Text1)->setText(QStringLiteral("100"));
        QWidget* button = form().control(ui::kCommand1);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 0));
        compareFields(coreResult({"100", "0", "0"}));
        QCOMPARE(focused(), box(Field::Text1));
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
