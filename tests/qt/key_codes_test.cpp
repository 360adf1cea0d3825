#include "qt/key_codes.h"

#include <QKeyEvent>
#include <QTest>

class KeyCodesTest : public QObject {
    Q_OBJECT

private slots:
    void virtualKeyCode_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("code");
        const int none = Qt::NoModifier;
        const int keypad = Qt::KeypadModifier;
        QTest::newRow("return") << int(Qt::Key_Return) << none << 13;
        QTest::newRow("keypad_enter") << int(Qt::Key_Enter) << keypad << 13;
        QTest::newRow("tab") << int(Qt::Key_Tab) << none << 9;
        QTest::newRow("backtab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 9;
        QTest::newRow("digit_0") << int(Qt::Key_0) << none << 48;
        QTest::newRow("digit_5") << int(Qt::Key_5) << none << 53;
        QTest::newRow("digit_9") << int(Qt::Key_9) << none << 57;
        QTest::newRow("keypad_5") << int(Qt::Key_5) << keypad << 101;
        QTest::newRow("letter_a") << int(Qt::Key_A) << none << 65;
        QTest::newRow("letter_z") << int(Qt::Key_Z) << none << 90;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << 8;
        QTest::newRow("delete") << int(Qt::Key_Delete) << none << 46;
        QTest::newRow("left") << int(Qt::Key_Left) << none << 37;
        QTest::newRow("up") << int(Qt::Key_Up) << none << 38;
        QTest::newRow("right") << int(Qt::Key_Right) << none << 39;
        QTest::newRow("down") << int(Qt::Key_Down) << none << 40;
        QTest::newRow("shift") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << 16;
        QTest::newRow("period") << int(Qt::Key_Period) << none << 190;
        QTest::newRow("keypad_period") << int(Qt::Key_Period) << keypad << 110;
        QTest::newRow("minus") << int(Qt::Key_Minus) << none << 189;
        QTest::newRow("keypad_minus") << int(Qt::Key_Minus) << keypad << 109;
        QTest::newRow("f1") << int(Qt::Key_F1) << none << 112;
        QTest::newRow("unknown") << int(Qt::Key_Launch0) << none << 0;
    }

    void virtualKeyCode() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyRelease, key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(qt::virtualKeyCode(event), code);
    }

    void shiftState() {
        const QKeyEvent plain(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
        const QKeyEvent all(QEvent::KeyRelease, Qt::Key_A,
                            Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        const QKeyEvent ctrl(QEvent::KeyRelease, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(qt::shiftState(plain), 0);
        QCOMPARE(qt::shiftState(ctrl), 2);
        QCOMPARE(qt::shiftState(all), 7);
    }
};

QTEST_GUILESS_MAIN(KeyCodesTest)
#include "key_codes_test.moc"
