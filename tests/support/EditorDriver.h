#pragma once

#include "support/Harness.h"
#include "ui/editor/Editor.h"
#include "ui/main/Main.h"
#include "ui_Editor.h"
#include <QApplication>
#include <QtTest>

namespace vorbix::testing {

// Opens the editor from Main and makes it active, so focus and keys work,
// and lets the moment pass in which a new window ignores Enter.
inline Editor* openEditor(Harness& h)
{
    h.program.form<Main>().Command1_Click();
    Editor* e = h.program.loaded<Editor>();
    if (e)
        QApplication::setActiveWindow(e);
    h.waitForKeys();
    return e && QTest::qWaitForWindowActive(e) ? e : nullptr;
}

// Both lists as "known/unknown" rows: one comparison shows they pair up.
inline QString pairs(const Editor* e)
{
    const QListWidget *k = e->ui->List1, *u = e->ui->List2;
    QStringList rows;
    for (int i = 0; i < std::max(k->count(), u->count()); ++i)
        rows << (k->item(i) ? k->item(i)->text() : "?") + "/" + (u->item(i) ? u->item(i)->text() : "?");
    return rows.join(", ");
}

inline int selectedRow(const QListWidget* list)
{
    return list->selectedItems().isEmpty() ? -1 : list->row(list->selectedItems().first());
}
inline void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}
inline QString boxes(const Editor* e) { return e->ui->Text1->text() + "/" + e->ui->Text2->text(); }
inline void setBoxes(Editor* e, const QString& known, const QString& unknown)
{
    e->ui->Text1->setText(known);
    e->ui->Text2->setText(unknown);
}

} // namespace vorbix::testing
