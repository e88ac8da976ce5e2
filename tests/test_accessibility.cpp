#include "support/Windows.h"
#include "ui_About.h"
#include "ui_Main.h"

#include <QAccessible>
#include <QListWidget>
#include <QMenuBar>
#include <QToolBar>
#include <QWheelEvent>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const QString InfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Fallback = QStringLiteral("C:\\Tools\\MSInfo\\MSINFO32.EXE");

// Gives the control the focus and presses the key there, as the user does.
void pressOn(QWidget* control, int key, Qt::KeyboardModifiers modifiers = {})
{
    control->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), control);
    QTest::keyClick(control, Qt::Key(key), modifiers);
    Harness::flush();
}

// The windows on screen, then whether the program ended or a dialog or a
// message came.
QString onScreen(WordTestDrive& d)
{
    QStringList shown;
    for (Form* f : d.h.program.loadedForms()) {
        if (f->isVisible())
            shown << f->objectName();
    }
    shown.sort();
    const ScriptedPlatform& p = d.h.platform;
    return shown.join(' ') + (p.ended ? " ended" : "") + (p.dialogs.empty() ? "" : " dialog")
        + (p.messages.empty() ? "" : " message");
}

// The controls Tab (or Shift+Tab) visits from the first until it comes round.
QStringList tabCycle(QWidget* first, Qt::Key key)
{
    first->setFocus(Qt::TabFocusReason);
    QStringList names;
    for (QWidget* at = first; at && names.size() < 30 && (names.isEmpty() || at != first);) {
        names << at->objectName();
        QTest::keyClick(at, key);
        at = QApplication::focusWidget();
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

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    // Enter presses the focused button; elsewhere Enter and Esc go to the
    // window's default and cancel buttons, where it has them.
    void keysInEveryWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key"); // 0: the close box
        QTest::addColumn<QString>("after");
        const int enter = Qt::Key_Return, esc = Qt::Key_Escape;
        QTest::newRow("Main: Enter on Editor") << "Main" << "Command1" << enter << "Editor Main";
        QTest::newRow("Main: Esc does nothing") << "Main" << "Command1" << esc << "Main";
        QTest::newRow("Test: Enter on back") << "Test" << "Command2" << enter << "Main";
        QTest::newRow("wrong answer: Esc") << "AkenVale" << "Command1" << esc << "Main Test";
        QTest::newRow("results: Esc does nothing") << "Tulemus" << "Command1" << esc << "Main Tulemus";
        QTest::newRow("prompt: Esc on Yes cancels") << "Kassav" << "Command1" << esc << "Main";
        QTest::newRow("About: Enter on System Info, not OK")
            << "About" << "cmdSysInfo" << enter << "About message";
        QTest::newRow("About: Esc is OK") << "About" << "cmdSysInfo" << esc << "Main";
        QTest::newRow("About: Enter on the contact line is OK") << "About" << "Label1" << enter << "Main";
        QTest::newRow("About: the close box") << "About" << "" << 0 << "Main";
    }
    void keysInEveryWindow()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(QString, after);
        WordTestDrive d(threePairs());
        Form* w = openWindow(d, window);
        if (key == 0)
            w->close();
        else
            pressOn(w->findChild<QWidget*>(control), key);
        QCOMPARE(onScreen(d), after);
    }

    // Space, Ctrl+C or a double click on the contact line copies the address.
    void contactLineCopiesTheAddress()
    {
        const std::pair<const char*, int> ways[] = {{"double click", 0}, {"Space", Qt::Key_Space}, {"Ctrl+C", Qt::Key_C}};
        for (const auto& [way, key] : ways) {
            WordTestDrive d(threePairs());
            QWidget* line = static_cast<About*>(openWindow(d, "About"))->ui->Label1;
            d.h.platform.clipboard = "before";
            if (key == 0)
                QTest::mouseDClick(line, Qt::LeftButton);
            else
                pressOn(line, key, key == Qt::Key_C ? Qt::ControlModifier : Qt::NoModifier);
            QVERIFY2(d.h.platform.clipboard == About::contactAddress() && d.h.program.loaded<About>(),
                     qPrintable(QString(way) + ": " + d.h.platform.clipboard));
        }
        QVERIFY(About::contactAddress().contains('@') && !About::contactAddress().contains(' '));
    }

    // The first key's value is started as it is; without it the second key
    // names a folder that must hold MSINFO32.EXE; else a message. Every key
    // opened is closed again.
    void systemInfoLookups()
    {
        struct Row {
            const char* name;
            QString first;
            bool fallbackFile;
            QStringList keys;
            QString started;
        };
        const QString named = "C:\\Program Files\\msinfo32.exe", full = "C:\\" + QString(1020, 'a');
        const Row rows[] = {
            {"first value", named, true, {InfoKey}, named},
            {"value filling the buffer", full, false, {InfoKey}, full},
            {"second, file there", {}, true, {InfoKey, LocationKey}, Fallback},
            {"second, file missing", {}, false, {InfoKey, LocationKey}, {}},
            {"first value too long", full + "a", true, {InfoKey, LocationKey}, Fallback},
        };
        for (const Row& r : rows) {
            WordTestDrive d(threePairs());
            ScriptedPlatform& p = d.h.platform;
            if (!r.first.isNull())
                p.setRegistryValue(InfoKey, "PATH", r.first);
            p.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            if (r.fallbackFile)
                p.addExistingFile(Fallback);
            static_cast<About*>(openWindow(d, "About"))->ui->cmdSysInfo->click();
            const QString message = p.messages.empty() ? QString() : p.messages[0].text;
            QVERIFY2(p.openedKeys == r.keys && p.openKeyCount == 0, r.name);
            QVERIFY2(p.started == (r.started.isEmpty() ? QStringList() : QStringList{r.started}), r.name);
            const QString expected = r.started.isEmpty() ? "System Information Is Unavailable At This Time" : "";
            QVERIFY2(message == expected, qPrintable(QString(r.name) + ": " + message));
        }
    }

    void tabOrderFollowsTheDesign_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("order");
        // Main by the design's tab indices. Tab enters an option group at its
        // selected button, Shift+Tab at its far end.
        const int tab = Qt::Key_Tab;
        QTest::newRow("Main") << "Main" << tab
                              << QStringList{"Command1", "nupptest", "Command2", "Check1", "VScroll1", "Option1",
                                             "Option3"};
        QTest::newRow("Main backwards") << "Main" << int(Qt::Key_Backtab)
                                        << QStringList{"Command1", "Option4", "Option2", "VScroll1", "Check1",
                                                       "Command2", "nupptest"};
        QTest::newRow("Editor") << "Editor" << tab
                                << QStringList{"Text2", "Text1", "Command1", "Command2", "Command3", "Command4",
                                               "List2", "List1", "Command5", "Command6", "Command7", "Command8"};
        QTest::newRow("Test") << "Test" << tab << QStringList{"Text1", "Command1", "Command2", "Command3"};
        QTest::newRow("Tulemus") << "Tulemus" << tab << QStringList{"Command1", "Command2"};
        QTest::newRow("Kassav") << "Kassav" << tab << QStringList{"Command1", "Command2", "Command3"};
        QTest::newRow("About") << "About" << tab << QStringList{"cmdOK", "cmdSysInfo", "Label1"};
    }
    void tabOrderFollowsTheDesign()
    {
        QFETCH(QString, window);
        QFETCH(int, key);
        QFETCH(QStringList, order);
        WordTestDrive d(threePairs());
        Form* w = openWindow(d, window);
        if (window == "Main")
            d.main->ui->Check1->setChecked(true); // the spinner takes part only then
        QCOMPARE(tabCycle(w->findChild<QWidget*>(order.first()), Qt::Key(key)), order);
    }

    // The arrows move within an option group, never across; a turn of the
    // spinner's wheel away from the user is a click on its up arrow.
    void mainArrowsAndWheel()
    {
        WordTestDrive d(threePairs());
        Ui::Main& m = *d.main->ui;
        openWindow(d, "Main");
        pressOn(m.Option1, Qt::Key_Down);
        pressOn(m.Option2, Qt::Key_Down);
        QVERIFY(m.Option2->isChecked() && m.Option3->isChecked() && QApplication::focusWidget() == m.Option2);
        m.Check1->setChecked(true);
        m.VScroll1->setValue(10);
        QTest::mouseClick(m.VScroll1, Qt::LeftButton, {}, QPoint(m.VScroll1->width() / 2, 2));
        QCOMPARE(m.VScroll1->value(), 11);
        wheel(m.VScroll1, 120);
        QCOMPARE(m.VScroll1->value(), 12);
        wheel(m.VScroll1, -360);
        QCOMPARE(m.VScroll1->value(), 9);
        wheel(m.VScroll1, 60); // a fine wheel's halves add up to a step
        QCOMPARE(m.VScroll1->value(), 9);
        wheel(m.VScroll1, 60);
        QCOMPARE(m.Label2->text(), QString("  0 minutes and  10 seconds"));
        m.VScroll1->setValue(300);
        wheel(m.VScroll1, 120);
        QCOMPARE(m.VScroll1->value(), 300);
    }

    // The toolbar stays out of the Tab chain: each of its commands is also a
    // File menu item with an access key, or a button in the window.
    void toolbarCommandsHaveKeyboardTwins()
    {
        WordTestDrive d(threePairs());
        Ui::Main& m = *d.main->ui;
        const QMap<QString, QObject*> twins{{"New", m.MFNew}, {"Open", m.MFOpen}, {"Save", m.MFSave},
                                            {"Edit", m.Command1}, {"Testime", m.nupptest}, {"Exit", m.MFExit}};
        QStringList keys;
        for (QAction* a : m.Toolbar1->actions()) {
            const QString key = a->property("key").toString();
            auto* item = qobject_cast<QAction*>(twins.value(key));
            auto* button = qobject_cast<QWidget*>(twins.value(key));
            QVERIFY2(a->isSeparator() || (item && item->text().contains('&') && m.MFile->actions().contains(item))
                         || (button && button->focusPolicy() & Qt::TabFocus),
                     qPrintable(key));
            if (!a->isSeparator())
                keys << key;
        }
        QCOMPARE(keys.size(), 6);
    }

    void everyWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("role");
        for (const QString& w : windowNames())
            QTest::newRow(qPrintable(w)) << w
                                         << int(QStringList{"Main", "Editor", "Test"}.contains(w) ? QAccessible::Window
                                                                                                  : QAccessible::Dialog);
    }
    // A screen reader finds a frame or a dialog, and in it every control
    // that takes input (toolbar buttons too) with a name of its own; every
    // one but the toolbar's takes the focus, and menus have access keys.
    void everyWindow()
    {
        QFETCH(QString, window);
        QFETCH(int, role);
        WordTestDrive d(threePairs());
        Form* w = openWindow(d, window);
        QCOMPARE(int(QAccessible::queryAccessibleInterface(w)->role()), role);
        QStringList problems;
        QMap<QString, QString> owner;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            const bool takesInput = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c)
                || qobject_cast<QListWidget*>(c) || qobject_cast<QScrollBar*>(c) || qobject_cast<ClickLabel*>(c);
            if (!takesInput || !c->isVisible() || c->objectName().startsWith("Kyssa"))
                continue; // the choices are looked after with the test's answers
            const QString name = QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).trimmed();
            // The toolbar is out of the Tab chain; its buttons are twins of the menu's.
            const bool onToolbar = qobject_cast<QToolBar*>(c->parentWidget());
            const QString key = name.toCaseFolded();
            const bool focus = c->focusPolicy() & Qt::TabFocus;
            if (name.isEmpty() || (!onToolbar && (owner.contains(key) || !focus)))
                problems << c->objectName() + " \"" + name + "\" " + owner.value(key);
            if (!onToolbar)
                owner.insert(key, c->objectName());
        }
        for (QMenuBar* bar : w->findChildren<QMenuBar*>()) {
            for (QAction* menu : bar->actions())
                if (!menu->text().contains('&'))
                    problems << "menu " + menu->text();
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
