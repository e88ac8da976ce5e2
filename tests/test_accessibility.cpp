#include "support/Windows.h"
#include "ui_Main.h"

#include <QAccessible>
#include <QToolBar>
#include <QToolButton>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

bool takesInput(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::ScrollBar:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

struct Control {
    QAccessibleInterface* iface;
    QString name;
    QWidget* widget; // null for a menu item
};

// What a screen reader finds in the window: the controls that take input
// (labels that run a command count), the menu bar's items and the
// toolbar's buttons. Hidden ones are not there for the user.
void collect(QAccessibleInterface* parent, QList<Control>& controls, QList<Control>& menuItems,
             QList<Control>& toolButtons)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* c = parent->child(i);
        if (!c || c->state().invisible)
            continue;
        auto* widget = qobject_cast<QWidget*>(c->object());
        const Control control{c, c->text(QAccessible::Name).trimmed(), widget};
        if (c->role() == QAccessible::MenuItem) {
            menuItems << control;
        } else if (qobject_cast<QToolButton*>(widget) && qobject_cast<QToolBar*>(widget->parentWidget())) {
            toolButtons << control;
        } else if (takesInput(c->role()) || qobject_cast<ClickLabel*>(widget)) {
            controls << control;
        } else {
            collect(c, controls, menuItems, toolButtons);
        }
    }
}

QString describe(const Control& c)
{
    return QStringLiteral("%1 \"%2\"").arg(c.iface->object()->objectName(), c.name);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    void everyWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("role");
        const QAccessible::Role frame = QAccessible::Window, dialog = QAccessible::Dialog;
        const std::pair<const char*, QAccessible::Role> rows[] = {
            {"Main", frame}, {"Editor", frame}, {"Test", frame}, {"AkenVale", dialog},
            {"Tulemus", dialog}, {"Kassav", dialog}, {"About", dialog}};
        for (const auto& [name, role] : rows)
            QTest::newRow(name) << QString(name) << int(role);
    }

    // The window is a frame or a dialog; every control in it has a name of
    // its own and takes the focus.
    void everyWindow()
    {
        QFETCH(QString, window);
        QFETCH(int, role);
        WordTestDrive d(threePairs());
        Form* w = openWindow(d, window);
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(w);
        QVERIFY(root);
        QCOMPARE(int(root->role()), role);

        QList<Control> controls, menuItems, toolButtons;
        collect(root, controls, menuItems, toolButtons);
        QVERIFY(!controls.isEmpty());
        QStringList problems;
        QMap<QString, QString> owner;
        for (const Control& c : controls) {
            if (c.iface->object()->objectName().startsWith("Kyssa"))
                continue; // the choices are looked after with the test's answers
            if (c.name.isEmpty())
                problems << describe(c) + " has no name";
            if (!c.widget || !(c.widget->focusPolicy() & Qt::TabFocus))
                problems << describe(c) + " cannot take the focus";
            const QString key = c.name.toCaseFolded();
            if (owner.contains(key))
                problems << describe(c) + " has the name of " + owner[key];
            owner.insert(key, c.iface->object()->objectName());
        }
        // Menu items are reached with Alt and their letter.
        for (const Control& m : menuItems) {
            auto* action = qobject_cast<QAction*>(m.iface->object());
            if (m.name.isEmpty() || !action || !action->text().contains('&'))
                problems << "menu item " + describe(m) + " has no name or access key";
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
        QVERIFY(toolButtons.isEmpty() || window == "Main");
    }

    // The toolbar stays out of the Tab chain, as toolbars do: each of its
    // buttons has a name and runs a command the keyboard reaches otherwise.
    void toolbarCommandsHaveKeyboardTwins()
    {
        WordTestDrive d(threePairs());
        Main& m = *d.main;
        const std::pair<const char*, QObject*> twins[] = {
            {"New", m.ui->MFNew}, {"Open", m.ui->MFOpen}, {"Save", m.ui->MFSave},
            {"Edit", m.ui->Command1}, {"Testime", m.ui->nupptest}, {"Exit", m.ui->MFExit}};
        int buttons = 0;
        for (QAction* a : m.ui->Toolbar1->actions()) {
            if (a->isSeparator())
                continue;
            ++buttons;
            auto* button = qobject_cast<QToolButton*>(m.ui->Toolbar1->widgetForAction(a));
            QVERIFY(button);
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
            QVERIFY(!iface->text(QAccessible::Name).isEmpty());
            const QString key = a->property("key").toString();
            QObject* twin = nullptr;
            for (const auto& [k, t] : twins)
                if (key == k)
                    twin = t;
            QVERIFY2(twin, qPrintable(key));
            // A menu item: its access key in the File menu, whatever its shortcut.
            if (auto* action = qobject_cast<QAction*>(twin))
                QVERIFY2(action->text().contains('&') && m.ui->MFile->actions().contains(action), qPrintable(key));
            else
                QVERIFY2(static_cast<QWidget*>(twin)->focusPolicy() & Qt::TabFocus, qPrintable(key));
        }
        QCOMPARE(buttons, 6);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
