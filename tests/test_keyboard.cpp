#include "support/EditorDriver.h"
#include "support/Windows.h"
#include "ui_About.h"
#include "ui_Editor.h"
#include "ui_Kassav.h"
#include "ui_Main.h"

#include <QWheelEvent>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

// Gives the control the focus and presses the key there, as the user does.
void pressOn(QWidget* control, int key, Qt::KeyboardModifiers modifiers = {})
{
    control->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), control);
    QTest::keyClick(control, Qt::Key(key), modifiers);
    Harness::flush();
}

QPushButton* button(Form* w, const char* name) { return WordTestDrive::child<QPushButton>(w, name); }

// The controls Tab visits from the first one until it comes round again.
QStringList tabCycle(QWidget* first)
{
    first->setFocus(Qt::TabFocusReason);
    QStringList names;
    for (QWidget* at = first; names.size() < 30;) {
        names << at->objectName();
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        if (!at || at == first)
            break;
    }
    return names;
}

void wheel(QWidget* w, int angle)
{
    QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, angle), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    // Enter on a focused button presses it, in every window.
    void enterPressesTheFocusedButton()
    {
        struct Row {
            const char* window;
            const char* button;
            std::function<bool(WordTestDrive&)> done;
        };
        const Row rows[] = {
            {"Main", "Command1", [](WordTestDrive& d) { return d.h.program.loaded<Editor>() != nullptr; }},
            {"Main", "nupptest", [](WordTestDrive& d) { return d.test() && d.test()->isVisible(); }},
            {"Main", "Command2", [](WordTestDrive& d) { return d.h.platform.ended == 1; }},
            {"Editor", "Command5", [](WordTestDrive& d) { // A-Z by the unknown words
                 return pairs(d.h.program.loaded<Editor>()) == "kass/cat, koer/dog, maja/house"; }},
            {"Editor", "Command4", [](WordTestDrive& d) { return !d.h.program.loaded<Editor>(); }},
            {"Test", "Command2", [](WordTestDrive& d) { return !d.test() && d.main->isVisible(); }},
            {"AkenVale", "Command1", [](WordTestDrive& d) {
                 return !d.wrong() && d.test()->isVisible() && d.state().WrongAnswerAcknowledged; }},
            {"Tulemus", "Command1", [](WordTestDrive& d) { return !d.results() && d.test() && d.test()->isVisible(); }},
            {"Tulemus", "Command2", [](WordTestDrive& d) { return !d.results() && !d.test(); }},
            {"Kassav", "Command2", [](WordTestDrive& d) { return d.h.platform.ended == 1; }}, // No: leave unsaved
            {"Kassav", "Command3", [](WordTestDrive& d) {
                 return !d.h.program.loaded<Kassav>() && d.h.platform.ended == 0 && d.state().WordsModified == 1; }},
            {"About", "cmdOK", [](WordTestDrive& d) { return !d.h.program.loaded<About>() && d.main->isVisible(); }},
            // Not OK, though OK is the default: the focused button wins.
            {"About", "cmdSysInfo", [](WordTestDrive& d) {
                 return d.h.program.loaded<About>() && d.h.platform.messages.size() == 1; }},
        };
        for (const Row& r : rows) {
            const QByteArray what = QByteArray(r.window) + "." + r.button;
            WordTestDrive d(threePairs());
            Form* w = openWindow(d, r.window);
            pressOn(button(w, r.button), Qt::Key_Return);
            QVERIFY2(r.done(d), what.constData());
            Harness::flush();
        }
    }

    // Where a window has a default or a cancel button, Enter and Esc go to
    // it from anywhere in the window; elsewhere Esc does nothing.
    void enterAndEscapeFollowDefaultAndCancel()
    {
        struct Row {
            const char* window;
            const char* focus; // a control that is not the button meant
            int key;
            std::function<bool(WordTestDrive&)> done;
        };
        const auto aboutClosed = [](WordTestDrive& d) { return !d.h.program.loaded<About>() && d.main->isVisible(); };
        const auto continued = [](WordTestDrive& d) {
            return !d.wrong() && d.test()->isVisible() && d.state().WrongAnswerAcknowledged;
        };
        const Row rows[] = {
            {"About", "cmdSysInfo", Qt::Key_Escape, aboutClosed},
            {"About", "cmdOK", Qt::Key_Escape, aboutClosed},
            {"About", "Label1", Qt::Key_Return, aboutClosed},
            {"AkenVale", "Command1", Qt::Key_Escape, continued},
            {"Kassav", "Command1", Qt::Key_Escape, [](WordTestDrive& d) {
                 return !d.h.program.loaded<Kassav>() && d.h.platform.ended == 0 && d.state().PendingAction == 0
                     && d.state().WordsModified == 1 && d.h.platform.dialogs.empty(); }},
            {"Kassav", "Command2", Qt::Key_Escape, [](WordTestDrive& d) {
                 return !d.h.program.loaded<Kassav>() && d.h.platform.ended == 0; }},
            // No cancel: the window stays.
            {"Tulemus", "Command1", Qt::Key_Escape, [](WordTestDrive& d) { return d.results() && !d.test(); }},
            {"Editor", "Text2", Qt::Key_Escape, [](WordTestDrive& d) { return d.h.program.loaded<Editor>() != nullptr; }},
            {"Main", "Command1", Qt::Key_Escape, [](WordTestDrive& d) {
                 return d.main->isVisible() && d.h.program.loadedCount() == 1 && d.h.platform.ended == 0; }},
        };
        for (const Row& r : rows) {
            const QByteArray what = QByteArray(r.window) + " " + r.focus + " " + QByteArray::number(r.key, 16);
            WordTestDrive d(threePairs());
            Form* w = openWindow(d, r.window);
            pressOn(WordTestDrive::child<QWidget>(w, r.focus), r.key);
            QVERIFY2(r.done(d), what.constData());
            Harness::flush();
        }
    }

    // Space or Ctrl+C on the focused contact line copies it, as its double
    // click does.
    void contactLineCopiesFromTheKeyboard()
    {
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Space), QKeySequence(QKeySequence::Copy)}) {
            WordTestDrive d(threePairs());
            auto* about = static_cast<About*>(openWindow(d, "About"));
            d.h.platform.clipboard = "before";
            const QKeyCombination k = keys[0];
            pressOn(about->ui->Label1, k.key(), k.keyboardModifiers());
            QCOMPARE(d.h.platform.clipboard, About::contactAddress());
            QVERIFY(d.h.program.loaded<About>());
        }
    }

    void tabOrderFollowsTheDesign_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        // Main by the design's tab indices: the buttons, the time limit,
        // then "What to ask?" before "Testi type". Tab enters an option
        // group at its selected button; the arrows move inside it.
        QTest::newRow("Main") << "Main"
                              << QStringList{"Command1", "nupptest", "Command2", "Check1", "VScroll1", "Option1", "Option3"};
        QTest::newRow("Editor") << "Editor"
                                << QStringList{"Text2", "Text1", "Command1", "Command2", "Command3", "Command4",
                                               "List2", "List1", "Command5", "Command6", "Command7", "Command8"};
        QTest::newRow("Test") << "Test" << QStringList{"Text1", "Command1", "Command2", "Command3"};
        QTest::newRow("Tulemus") << "Tulemus" << QStringList{"Command1", "Command2"};
        QTest::newRow("Kassav") << "Kassav" << QStringList{"Command1", "Command2", "Command3"};
        QTest::newRow("About") << "About" << QStringList{"cmdOK", "cmdSysInfo", "Label1"};
    }
    void tabOrderFollowsTheDesign()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        WordTestDrive d(threePairs());
        Form* w = openWindow(d, window);
        if (window == "Main")
            d.main->ui->Check1->setChecked(true); // the spinner takes part only then
        QCOMPARE(tabCycle(WordTestDrive::child<QWidget>(w, qPrintable(order.first()))), order);
    }

    // Shift+Tab goes the same way back (entering a group at its far end, as
    // Qt does); the arrows move within an option group, never across.
    void mainBackTabAndArrows()
    {
        WordTestDrive d(threePairs());
        Main& m = *d.main;
        openWindow(d, "Main");
        m.ui->Check1->setChecked(true);
        m.ui->Command1->setFocus(Qt::TabFocusReason);
        QStringList back;
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            back << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(back, (QStringList{"Option4", "Option2", "VScroll1", "Check1", "Command2", "nupptest", "Command1"}));

        pressOn(m.ui->Option1, Qt::Key_Down);
        QVERIFY(m.ui->Option2->isChecked() && m.ui->Option3->isChecked());
        pressOn(m.ui->Option2, Qt::Key_Down);
        QVERIFY(m.ui->Option2->isChecked() && m.ui->Option3->isChecked());
        QCOMPARE(QApplication::focusWidget(), m.ui->Option2);
    }

    // A turn of the wheel away from the user is a click on the up arrow.
    void spinnerWheelGoesAsItsArrows()
    {
        WordTestDrive d(threePairs());
        openWindow(d, "Main");
        QScrollBar* bar = d.main->ui->VScroll1;
        d.main->ui->Check1->setChecked(true);
        bar->setValue(10);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 2)); // up arrow
        QCOMPARE(bar->value(), 11);
        wheel(bar, 120);
        QCOMPARE(bar->value(), 12);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3)); // down arrow
        QCOMPARE(bar->value(), 11);
        wheel(bar, -120);
        QCOMPARE(bar->value(), 10);
        wheel(bar, -360);
        QCOMPARE(bar->value(), 7);
        // A fine wheel's halves add up to a step.
        wheel(bar, 60);
        QCOMPARE(bar->value(), 7);
        wheel(bar, 60);
        QCOMPARE(bar->value(), 8);
        QCOMPARE(d.main->ui->Label2->text(), QString("  0 minutes and  8 seconds"));
        bar->setValue(300);
        wheel(bar, 120);
        QCOMPARE(bar->value(), 300);
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
