#include "qt/title_strip.h"

#include <memory>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "calc/field_set.h"
#include "qt/error_note.h"
#include "qt/form1.h"
#include "qt/titled_window.h"

using calc::Field;

namespace {

const QString kFullTitle = QStringLiteral("マナ回復速度計算 Ver1.10(Korvale対応)");

enum class Press { Close, Minimise, DoubleClickTitle };

}  // namespace

Q_DECLARE_METATYPE(Press)

// The calculator inside a window with our title strip, as it opens on a
// compositor that draws no title bars.
class TitleStripTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<qt::TitledWindow> m_window;
    qt::Form1* m_form = nullptr;

    qt::TitleStrip& strip() { return *m_window->strip(); }
    QWidget* focused() { return QApplication::focusWidget(); }

private slots:
    void init() {
        m_window = std::make_unique<qt::TitledWindow>();
        m_form = new qt::Form1(m_window.get());
        m_window->setContent(m_form);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void controls_data() {
        QTest::addColumn<Press>("press");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<Qt::WindowStates>("state");
        QTest::newRow("close_button_closes") << Press::Close << false << Qt::WindowStates();
        QTest::newRow("minimise_button_minimises")
            << Press::Minimise << true << Qt::WindowStates(Qt::WindowMinimized);
        // No maximising a window of fixed size, by double click or otherwise.
        QTest::newRow("double_click_does_nothing")
            << Press::DoubleClickTitle << true << Qt::WindowStates();
    }

    void controls() {
        QFETCH(Press, press);
        QFETCH(bool, visible);
        QFETCH(Qt::WindowStates, state);
        const QSize size = m_window->size();
        switch (press) {
            case Press::Close:
                QTest::mouseClick(strip().closeButton(), Qt::LeftButton);
                break;
            case Press::Minimise:
                QTest::mouseClick(strip().minimiseButton(), Qt::LeftButton);
                break;
            case Press::DoubleClickTitle:
                QTest::mouseDClick(&strip(), Qt::LeftButton, {}, QPoint(10, 5));
                break;
        }
        QCOMPARE(m_window->isVisible(), visible);
        QCOMPARE(m_window->windowState(), state);
        QCOMPARE(m_window->size(), size);
    }

    // Two buttons and no maximise; the title as much as fits, whole in the
    // tooltip; the calculator at its own size and place below the strip, the
    // same in logical pixels on a doubled screen.
    void layout() {
        QStringList buttons;
        for (const QAbstractButton* b : strip().findChildren<QAbstractButton*>()) {
            buttons << b->accessibleName();
        }
        QCOMPARE(buttons, (QStringList{QStringLiteral("最小化"), QStringLiteral("閉じる")}));
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());

        QCOMPARE(m_window->windowTitle(), kFullTitle);
        QCOMPARE(strip().shownTitle(), QStringLiteral("マナ回…"));
        QCOMPARE(strip().toolTip(), kFullTitle);

        QCOMPARE(m_window->size(), QSize(82, 325));
        QCOMPARE(strip().geometry(), QRect(0, 0, 82, 19));
        QCOMPARE(m_form->geometry(), QRect(0, 19, 82, 306));
        QCOMPARE(m_form->textBox(calc::Field::Text1)->geometry(), QRect(40, 8, 33, 18));
        const qreal scale = m_window->devicePixelRatioF();
        QCOMPARE(m_window->grab().size(), QSize(82, 325) * scale);
    }

    // Screen readers meet the strip's window as the window, named by the
    // title, and the calculator as its client area, not a second window.
    void accessible() {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(m_window.get());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), kFullTitle);
        QAccessibleInterface* form = QAccessible::queryAccessibleInterface(m_form);
        QCOMPARE(form->role(), QAccessible::Client);
        QCOMPARE(form->parent()->object(), m_window.get());
    }

    void focusCycle_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("tab") << int(Qt::Key_Tab);
        QTest::newRow("enter") << int(Qt::Key_Return);
    }

    // The strip's buttons take no focus: it starts in Text1 (emptied) and
    // goes round the four inputs only.
    void focusCycle() {
        QFETCH(int, key);
        QCOMPARE(focused(), m_form->textBox(Field::Text1));
        QCOMPARE(m_form->textBox(Field::Text1)->text(), QString());
        for (Field next : {Field::Text2, Field::Text3, Field::Text10, Field::Text1}) {
            QTest::keyClick(focused(), static_cast<Qt::Key>(key));
            QCOMPARE(focused(), m_form->textBox(next));
        }
    }

    // The error note goes while the player is in another window and comes
    // back with the window, and moves with it; the strip shows which window
    // is the active one.
    void errorNoteFollowsWindow() {
        m_form->textBox(Field::Text2)->setText(QStringLiteral("0"));
        m_form->textBox(Field::Text3)->setText(QStringLiteral("0"));
        QTest::keyClicks(focused(), QStringLiteral("-80"));
        const qt::ErrorNote* note = m_form->errorNote();
        QVERIFY(note->isVisible());
        const QPoint below = note->pos();
        m_window->move(m_window->pos() + QPoint(30, 20));
        // qWaitFor, not QTRY_COMPARE: see form1_test.cpp.
        QVERIFY(QTest::qWaitFor([&] { return note->pos() == below + QPoint(30, 20); }));
        const QImage active = strip().grab().toImage();

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!note->isVisible());
        QVERIFY(strip().grab().toImage() != active);

        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QVERIFY(note->isVisible());
        QCOMPARE(strip().grab().toImage(), active);
        QCOMPARE(focused(), m_form->textBox(Field::Text1));
        QCOMPARE(m_form->textBox(Field::Text1)->text(), QStringLiteral("-80"));
    }
};

QTEST_MAIN(TitleStripTest)
#include "title_strip_test.moc"
