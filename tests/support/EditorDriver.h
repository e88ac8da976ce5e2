#pragma once

#include "support/Harness.h"
#include "ui/editor/Editor.h"
#include "ui/main/Main.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

namespace vorbix::testing {

// Opens the editor as the main window's Editor button does, and makes it the
// active window so that focus and keys behave as on a desktop.
inline Editor* openEditor(Harness& h)
{
    Main& main = h.program.form<Main>();
    main.Command1_Click();
    Editor* e = h.program.loaded<Editor>();
    if (!e)
        return nullptr;
    QApplication::setActiveWindow(e);
    if (!QTest::qWaitForWindowActive(e))
        return nullptr;
    return e;
}

inline QStringList rows(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

inline int selectedRow(const QListWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

inline void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Types into a box the way the user does: focus it, then the keys.
inline void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
}

inline QWidget* focused() { return QApplication::focusWidget(); }

} // namespace vorbix::testing
