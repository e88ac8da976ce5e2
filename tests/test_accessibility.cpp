#include "support/Windows.h"
#include "ui/main/Algus.h"
#include "ui/toolkit/Contrast.h"
#include "ui_About.h"
#include "ui_Main.h"

#include <QAccessible>
#include <QHash>
#include <QListWidget>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const QString InfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Fallback = QStringLiteral("C:\\Tools\\MSInfo\\MSINFO32.EXE");
const int CloseBox = 0;
const int DoubleClick = -1;

// Gives the control the focus and presses the key there, as the user does.
void pressOn(QWidget* control, QKeyCombination key)
{
    control->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), control);
    QTest::keyClick(control, key.key(), key.keyboardModifiers());
    Harness::flush();
}

// The windows on screen, then whether the program ended, a dialog or a
// message came, or the contact address was copied.
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
        + (p.messages.empty() ? "" : " message") + (p.clipboard == About::contactAddress() ? " copied" : "");
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

// The colour scheme "darker" of qt6ct, as users of a dark desktop have it.
QPalette darkPalette()
{
    QPalette p;
    const std::pair<QPalette::ColorRole, const char*> roles[] = {
        {QPalette::WindowText, "#ffffff"},    {QPalette::Button, "#424245"},
        {QPalette::Light, "#979797"},         {QPalette::Midlight, "#5e5c5b"},
        {QPalette::Dark, "#302f2e"},          {QPalette::Mid, "#4a4947"},
        {QPalette::Text, "#ffffff"},          {QPalette::BrightText, "#ffffff"},
        {QPalette::ButtonText, "#ffffff"},    {QPalette::Base, "#3d3d3d"},
        {QPalette::Window, "#222020"},        {QPalette::Shadow, "#e7e4e0"},
        {QPalette::Highlight, "#12608a"},     {QPalette::HighlightedText, "#f9f9f9"},
        {QPalette::Link, "#0986d3"},          {QPalette::LinkVisited, "#a70b06"},
        {QPalette::AlternateBase, "#5c5b5a"}, {QPalette::ToolTipBase, "#3f3f36"},
        {QPalette::ToolTipText, "#ffffff"}};
    for (const auto& [role, colour] : roles)
        p.setColor(role, QColor(colour));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor("#808080"));
    return p;
}

struct Painted {
    QColor background; // the commonest colour
    QColor text; // the colour furthest from it that is more than a speck
    double contrast = 1;
    QString show() const { return QString("%1 on %2: %3").arg(text.name(), background.name()).arg(contrast); }
};

// A control's text as the user sees it, inside a border of inset pixels.
Painted paint(QWidget* w, int inset = 0)
{
    const QImage image = w->grab(w->rect().adjusted(inset, inset, -inset, -inset)).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    Painted p;
    p.background = QColor(std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
                              return a.second < b.second;
                          })->first);
    p.text = p.background;
    for (auto [rgb, n] : counts.asKeyValueRange()) {
        if (n >= 3 && contrastRatio(QColor(rgb), p.background) > p.contrast) {
            p.contrast = contrastRatio(QColor(rgb), p.background);
            p.text = QColor(rgb);
        }
    }
    return p;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
    QPalette light_ = QApplication::palette();

private slots:
    void cleanup()
    {
        Harness::flush();
        QApplication::setPalette(light_);
    }

    // Enter presses the focused button; elsewhere Enter and Esc go to the
    // window's default and cancel buttons, where it has them. Space, Ctrl+C
    // or a double click on About's contact line copies the address.
    void keysInEveryWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        const int enter = Qt::Key_Return, esc = Qt::Key_Escape;
        QTest::newRow("Main: Enter on Editor") << "Main"
                                               << "Command1" << enter << "Editor Main";
        QTest::newRow("Main: Esc does nothing") << "Main"
                                                << "Command1" << esc << "Main";
        QTest::newRow("Test: Enter on back") << "Test"
                                             << "Command2" << enter << "Main";
        QTest::newRow("wrong answer: Esc") << "AkenVale"
                                           << "Command1" << esc << "Main Test";
        QTest::newRow("results: Esc does nothing") << "Tulemus"
                                                   << "Command1" << esc << "Main Tulemus";
        QTest::newRow("prompt: Esc on Yes cancels") << "Kassav"
                                                    << "Command1" << esc << "Main";
        QTest::newRow("About: Enter on System Info, not OK") << "About"
                                                             << "cmdSysInfo" << enter << "About message";
        QTest::newRow("progress: Esc closes") << "Progress"
                                              << "PairTable" << esc << "Main";
        QTest::newRow("About: Esc is OK") << "About"
                                          << "cmdSysInfo" << esc << "Main";
        QTest::newRow("About: Enter on the contact line is OK") << "About"
                                                                << "Label1" << enter << "Main";
        QTest::newRow("Import: Enter on a choice is OK") << "Import"
                                                         << "separatorBox" << enter << "Main dialog";
        QTest::newRow("Import: Esc in the pairs cancels") << "Import"
                                                          << "pairTable" << esc << "Main dialog";
        QTest::newRow("About: the close box") << "About"
                                              << "" << CloseBox << "Main";
        QTest::newRow("About: Space copies") << "About"
                                             << "Label1" << int(Qt::Key_Space) << "About copied";
        QTest::newRow("About: Ctrl+C copies")
            << "About"
            << "Label1" << (Qt::ControlModifier | Qt::Key_C).toCombined() << "About copied";
        QTest::newRow("About: a double click copies") << "About"
                                                      << "Label1" << DoubleClick << "About copied";
    }
    void keysInEveryWindow()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(QString, after);
        WordTestDrive d(threePairs());
        Form* w = openWindow(d, window);
        if (key == CloseBox)
            w->close();
        else if (key == DoubleClick)
            QTest::mouseDClick(w->findChild<QWidget*>(control), Qt::LeftButton);
        else
            d.h.waitForKeys(), pressOn(w->findChild<QWidget*>(control), QKeyCombination::fromCombined(key));
        QCOMPARE(onScreen(d), after);
    }

    // The first key's value is started as it is; without it the second key
    // names a folder that must hold MSINFO32.EXE; else a message. Every key
    // opened is closed again.
    void systemInfoLookups()
    {
        const QString named = "C:\\Program Files\\msinfo32.exe", full = "C:\\" + QString(1020, 'a');
        // The first key's value (null: none), whether the second key's folder
        // holds MSINFO32.EXE, the keys opened and what is started.
        const std::tuple<const char*, QString, bool, QStringList, QString> rows[] = {
            {"first value", named, true, {InfoKey}, named},
            {"value filling the buffer", full, false, {InfoKey}, full},
            {"second, file there", {}, true, {InfoKey, LocationKey}, Fallback},
            {"second, file missing", {}, false, {InfoKey, LocationKey}, {}},
            {"first value too long", full + "a", true, {InfoKey, LocationKey}, Fallback},
        };
        for (const auto& [name, first, fallbackFile, keys, started] : rows) {
            WordTestDrive d(threePairs());
            ScriptedPlatform& p = d.h.platform;
            if (!first.isNull())
                p.setRegistryValue(InfoKey, "PATH", first);
            p.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            if (fallbackFile)
                p.addExistingFile(Fallback);
            static_cast<About*>(openWindow(d, "About"))->ui->cmdSysInfo->click();
            const QString message = p.messages.empty() ? QString() : p.messages[0].text;
            QVERIFY2(p.openedKeys == keys && p.openKeyCount == 0, name);
            QVERIFY2(p.started == (started.isEmpty() ? QStringList() : QStringList{started}), name);
            const QString expected = started.isEmpty() ? "System Information Is Unavailable At This Time" : "";
            QVERIFY2(message == expected, qPrintable(QString(name) + ": " + message));
        }
        // The address the contact line copies.
        QVERIFY(About::contactAddress().contains('@') && !About::contactAddress().contains(' '));
    }

    // The arrows move within an option group, never across; a turn of the
    // spinner's wheel away from the user is a click on its up arrow.
    void mainArrowsAndWheel()
    {
        WordTestDrive d(threePairs());
        Ui::Main& m = *d.main->ui;
        openWindow(d, "Main");
        // Shift+Tab enters an option group at its far end.
        m.Check1->setChecked(true);
        QCOMPARE(tabCycle(m.Command1, Qt::Key_Backtab),
                 (QStringList{"Command1", "Option4", "Option2", "VScroll1", "Check1", "Command2", "nupptest"}));
        pressOn(m.Option1, Qt::Key_Down);
        pressOn(m.Option2, Qt::Key_Down);
        QVERIFY(m.Option2->isChecked() && m.Option3->isChecked() && QApplication::focusWidget() == m.Option2);
        m.VScroll1->setValue(10);
        QTest::mouseClick(m.VScroll1, Qt::LeftButton, {}, QPoint(m.VScroll1->width() / 2, 2));
        QCOMPARE(m.VScroll1->value(), 11);
        // Turns and where they leave it; a fine wheel's halves add up to a step.
        const std::pair<int, int> turns[] = {{120, 12}, {-360, 9}, {60, 9}, {60, 10}};
        for (const auto& [angle, value] : turns) {
            wheel(m.VScroll1, angle);
            const int now = m.VScroll1->value();
            QVERIFY2(now == value, qPrintable(QString("a turn of %1: at %2").arg(angle).arg(now)));
        }
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
        const QMap<QString, QObject*> twins{{"New", m.MFNew},     {"Open", m.MFOpen},      {"Save", m.MFSave},
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
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QStringList>("tabOrder");
        // Main by the design's tab indices; Tab enters an option group at its
        // selected button.
        const QMap<QString, QStringList> tabOrders{
            {"Main", {"Command1", "nupptest", "Command2", "Check1", "VScroll1", "Option1", "Option3"}},
            {"Editor",
             {"Text2", "Text1", "Command1", "Command2", "Command3", "Command4", "List2", "List1", "Command5",
              "Command6", "Command7", "Command8"}},
            {"Test", {"Text1", "Command1", "Command2", "Command3"}},
            {"Tulemus", {"Command1", "Command2"}},
            {"Kassav", {"Command1", "Command2", "Command3"}},
            {"About", {"cmdOK", "cmdSysInfo", "Label1"}},
            {"Progress", {"PairTable", "Plot", "MistakeList", "Command2"}},
            {"Import",
             {"formatBox", "encodingBox", "separatorBox", "headerCheck", "knownBox", "unknownBox", "pairTable",
              "okButton", "cancelButton"}}};
        for (bool dark : {false, true}) {
            for (const QString& w : windowNames() + QStringList{"Algus"})
                QTest::addRow("%s, %s", dark ? "dark" : "light", qPrintable(w)) << w << dark << tabOrders.value(w);
        }
    }
    // Every window in the light and in a dark scheme: Tab visits its controls
    // in the design's order; every label and button text is readable as
    // painted (the editor with a sort active and its left list); a screen
    // reader finds a frame or a dialog, and in it every control that takes
    // input (toolbar buttons too) with a name of its own; every one but the
    // toolbar's takes the focus, and menus have access keys.
    void everyWindow()
    {
        QFETCH(QString, window);
        QFETCH(bool, dark);
        QFETCH(QStringList, tabOrder);
        if (dark)
            QApplication::setPalette(darkPalette());
        WordTestDrive d(threePairs());
        QWidget* w = window == "Algus" ? &d.h.program.show<Algus>() : openWindow(d, window);
        if (window == "Main")
            d.main->ui->Check1->setChecked(true); // the spinner takes part only then
        QList<QWidget*> texts;
        if (window == "Editor") {
            w->findChild<QPushButton*>("Command7")->click(); // a sort active
            QCoreApplication::processEvents(); // the lists laid out again
            texts << w->findChild<QListWidget*>("List2")->viewport(); // the white left list
        }
        QStringList problems;
        QMap<QString, QString> owner; // who has a name
        for (QWidget* c : w->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(c);
            auto* button = qobject_cast<QAbstractButton*>(c);
            auto* tool = qobject_cast<QToolButton*>(c); // the toolbar shows pictures, not texts
            const QString text = label ? label->text() : button ? button->text() : QString();
            if (!text.trimmed().isEmpty() && c->isVisible() && c->isEnabled()
                && !(tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly))
                texts << c;
            const bool takesInput = button || qobject_cast<QLineEdit*>(c) || qobject_cast<QListWidget*>(c)
                || qobject_cast<QScrollBar*>(c) || qobject_cast<ClickLabel*>(c);
            // The splash takes no input; the test's choices are looked after
            // with its answers.
            if (!takesInput || !c->isVisible() || window == "Algus" || c->objectName().startsWith("Kyssa"))
                continue;
            const QString name = QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).trimmed();
            const bool onToolbar = qobject_cast<QToolBar*>(c->parentWidget());
            const QString key = name.toCaseFolded();
            const bool focus = c->focusPolicy() & Qt::TabFocus;
            if (name.isEmpty() || (!onToolbar && (owner.contains(key) || !focus)))
                problems << c->objectName() + " \"" + name + "\" " + owner.value(key);
            if (!onToolbar)
                owner.insert(key, c->objectName());
        }
        for (QWidget* c : texts) {
            const Painted p = paint(c, qobject_cast<QPushButton*>(c) ? 4 : 0); // inside a button's bevel
            if (p.contrast < ReadableContrast)
                problems << c->objectName() + " " + p.show();
        }
        for (QMenuBar* bar : w->findChildren<QMenuBar*>()) {
            for (QAction* menu : bar->actions())
                if (!menu->text().contains('&'))
                    problems << "menu " + menu->text();
        }
        QVERIFY(texts.size() > 1);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
        const bool frame = QStringList{"Main", "Editor", "Test", "Progress"}.contains(window);
        if (window != "Algus")
            QCOMPARE(QAccessible::queryAccessibleInterface(w)->role(),
                     frame ? QAccessible::Window : QAccessible::Dialog);
        if (!tabOrder.isEmpty())
            QCOMPARE(tabCycle(w->findChild<QWidget*>(tabOrder.first()), Qt::Key_Tab), tabOrder);
        // "Wrong:" stands out from the answers beside it.
        if (window == "Tulemus") {
            const Painted wrong = paint(w->findChild<QLabel*>("Label3"));
            const Painted right = paint(w->findChild<QLabel*>("Label1"));
            QVERIFY2(wrong.background != right.background || contrastRatio(wrong.text, right.text) >= 3,
                     qPrintable(wrong.show() + " beside " + right.show()));
        }
    }

    // The ratio either way round; a colour short of 4.5:1 changed just as
    // far as needed, darker (-1) or lighter (+1), one that reaches it kept (0).
    void ratioAndLeastChange()
    {
        const std::tuple<const char*, QColor, QColor, double, int> rows[] = {
            {"black on white", Qt::black, Qt::white, 21.0, 0},
            {"#767676 on white, just enough", QColor("#767676"), Qt::white, 4.54, 0},
            {"#777777 on white, just short", QColor("#777777"), Qt::white, 4.48, -1},
            {"light highlight under white", QColor("#308cc6"), Qt::white, 3.69, -1},
            {"dark grey on black", QColor("#303030"), Qt::black, 1.59, +1},
            {"mid grey on mid grey", QColor("#808080"), QColor("#7a7a7a"), 1.09, -1}};
        for (const auto& [name, colour, against, ratio, change] : rows) {
            const double before = contrastRatio(colour, against);
            const QColor made = withContrast(colour, against);
            const double reached = contrastRatio(made, against);
            const double lighter = relativeLuminance(made) - relativeLuminance(colour);
            const bool least = change == 0 ? made == colour : lighter * change > 0 && reached < ReadableContrast + 0.3;
            QVERIFY2(std::round(before * 100) / 100 == ratio && reached >= ReadableContrast && least,
                     qPrintable(QString("%1: %2, made %3").arg(name).arg(before).arg(made.name())));
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
