#pragma once

#include "support/Harness.h"
#include "ui/editor/Editor.h"
#include "ui/main/Main.h"

// Test files include it as well, which has it generated for them.
#include "ui_Editor.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace vorbix::testing {

// Opens the editor as the main window's Editor button does, and makes it the
// active window so that focus and keys behave as on a desktop.
inline Editor* openEditor(Harness& h)
{
    h.program.form<Main>().Command1_Click();
    Editor* e = h.program.loaded<Editor>();
    if (!e)
        return nullptr;
    QApplication::setActiveWindow(e);
    return QTest::qWaitForWindowActive(e) ? e : nullptr;
}

// Both lists row by row as "known/unknown", so one comparison also shows
// that the rows still pair up.
inline QString shown(const QListWidget* known, const QListWidget* unknown)
{
    QStringList rows;
    for (int i = 0; i < std::max(known->count(), unknown->count()); ++i)
        rows << (known->item(i) ? known->item(i)->text() : "?") + "/"
                    + (unknown->item(i) ? unknown->item(i)->text() : "?");
    return rows.join(", ");
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

inline void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
}

inline QWidget* focused() { return QApplication::focusWidget(); }

inline QString pairs(const Editor* e) { return shown(e->ui->List1, e->ui->List2); }
inline QString boxes(const Editor* e) { return e->ui->Text1->text() + "/" + e->ui->Text2->text(); }
inline void setBoxes(Editor* e, const QString& known, const QString& unknown)
{
    e->ui->Text1->setText(known);
    e->ui->Text2->setText(unknown);
}

} // namespace vorbix::testing
