#include "support/EditorDriver.h"
#include "ui_Editor.h"

#include "ui/toolkit/Design.h"

#include <QPushButton>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const std::vector<std::pair<QString, QString>> animals{
    {"koer", "dog"}, {"Kass", "cat"}, {"hobune", "horse"}, {"lehm", "cow"}};

QList<QPushButton*> sortButtons(Editor* e)
{
    return {e->ui->Command5, e->ui->Command6, e->ui->Command7, e->ui->Command8};
}

// The colour the button shows on screen, inside its border.
QColor shownColour(QPushButton* b)
{
    const QImage image = b->grab().toImage();
    return image.pixelColor(3, image.height() / 2);
}

QStringList activeSorts(Editor* e)
{
    QStringList result;
    for (QPushButton* b : sortButtons(e)) {
        const QColor c = b->palette().color(QPalette::Button);
        if (c == systemColour(SystemColour::HighlightText))
            result << b->objectName();
        else if (c != systemColour(SystemColour::ButtonFace))
            result << b->objectName() + " in another colour";
    }
    return result;
}

} // namespace

class EditorSortTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    void sortCommandsOrderTheListAndWriteItBack()
    {
        Harness h;
        h.setWords(animals);
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();
        clickRow(e->ui->List1, 1);
        e->ui->Text1->setText("typed");

        e->ui->Command7->click();
        QCOMPARE(rows(e->ui->List1), (QStringList{"hobune", "Kass", "koer", "lehm"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"horse", "cat", "dog", "cow"}));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  4"));
        QCOMPARE(selectedRow(e->ui->List1), -1);
        QCOMPARE(selectedRow(e->ui->List2), -1);
        QCOMPARE(e->ui->Text1->text(), QString("typed"));
        QCOMPARE(e->ui->Text2->text(), QString("cat"));
        // The shared list is sorted at once.
        QCOMPARE(s.KnownWords[0], QString("hobune"));
        QCOMPARE(s.UnknownWords[0], QString("horse"));
        QCOMPARE(s.LastWordIndex, std::int16_t(3));

        e->ui->Command8->click();
        QCOMPARE(rows(e->ui->List1), (QStringList{"lehm", "koer", "Kass", "hobune"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"cow", "dog", "cat", "horse"}));
        e->ui->Command5->click();
        QCOMPARE(rows(e->ui->List2), (QStringList{"cat", "cow", "dog", "horse"}));
        QCOMPARE(rows(e->ui->List1), (QStringList{"Kass", "lehm", "koer", "hobune"}));
        e->ui->Command6->click();
        QCOMPARE(rows(e->ui->List2), (QStringList{"horse", "dog", "cow", "cat"}));
        QCOMPARE(rows(e->ui->List1), (QStringList{"hobune", "koer", "lehm", "Kass"}));

        QCOMPARE(s.WordsModified, std::int16_t(0));
    }

    void theActiveSortIsItsButtonsColour()
    {
        Harness h;
        h.setWords(animals);
        Editor* e = openEditor(h);
        QVERIFY(e);
        QVERIFY(systemColour(SystemColour::HighlightText) != systemColour(SystemColour::ButtonFace));
        QCOMPARE(activeSorts(e), QStringList());
        for (QPushButton* b : sortButtons(e))
            QCOMPARE(shownColour(b), systemColour(SystemColour::ButtonFace));

        e->ui->Command5->click();
        QCOMPARE(activeSorts(e), QStringList{"Command5"});
        e->ui->Command6->click();
        QCOMPARE(activeSorts(e), QStringList{"Command6"});
        QCOMPARE(shownColour(e->ui->Command6), systemColour(SystemColour::HighlightText));
        for (QPushButton* b : {e->ui->Command5, e->ui->Command7, e->ui->Command8})
            QCOMPARE(shownColour(b), systemColour(SystemColour::ButtonFace));
        // The buttons keep the window's bold font.
        QVERIFY(e->ui->Command6->font().bold());

        // A new window starts with no sort.
        e->ui->Command4->click();
        Harness::flush();
        e = openEditor(h);
        QVERIFY(e);
        QCOMPARE(activeSorts(e), QStringList());
    }

    void newPairsFallIntoPlace()
    {
        Harness h;
        h.setWords(animals);
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();
        e->ui->Command8->click();
        QCOMPARE(s.WordsModified, std::int16_t(0));

        // Enter: the label shows the sort's count form, not the plain one.
        typeInto(e->ui->Text2, "sheep");
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        QTest::keyClicks(e->ui->Text1, "Lammas");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QCOMPARE(rows(e->ui->List1), (QStringList{"lehm", "Lammas", "koer", "Kass", "hobune"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"cow", "sheep", "dog", "cat", "horse"}));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  5"));
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(s.WordsModified, std::int16_t(1));
        QCOMPARE(s.KnownWords[1], QString("Lammas"));

        e->ui->Text1->setText("Zebra");
        e->ui->Text2->setText("zebra");
        e->ui->Command1->click();
        QCOMPARE(rows(e->ui->List1).first(), QString("Zebra"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  6"));

        // A replaced pair goes to its sorted place too.
        clickRow(e->ui->List1, 0);
        e->ui->Text1->setText("ahv");
        e->ui->Text2->setText("monkey");
        e->ui->Command3->click();
        QCOMPARE(rows(e->ui->List1), (QStringList{"lehm", "Lammas", "koer", "Kass", "hobune", "ahv"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"cow", "sheep", "dog", "cat", "horse", "monkey"}));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  6"));
        QCOMPARE(activeSorts(e), QStringList{"Command8"});
    }

    void sortTakesExactlyTheRowsShown()
    {
        Harness h;
        h.setWords(animals);
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();
        e->ui->Text1->setText("ahv");
        e->ui->Text2->setText("monkey");
        e->ui->Command1->click();
        clickRow(e->ui->List2, 0); // koer / dog
        e->ui->Command2->click();
        s.WordsModified = 0;

        e->ui->Command5->click();
        QCOMPARE(rows(e->ui->List2), (QStringList{"cat", "cow", "horse", "monkey"}));
        QCOMPARE(rows(e->ui->List1), (QStringList{"Kass", "lehm", "hobune", "ahv"}));
        QCOMPARE(s.LastWordIndex, std::int16_t(3));
        QCOMPARE(s.KnownWords[3], QString("ahv"));
        QVERIFY(s.KnownWords[4].isEmpty());
        QVERIFY(s.UnknownWords[4].isEmpty());
        QCOMPARE(s.WordsModified, std::int16_t(0));
    }

    void sortingAnEmptyList()
    {
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        e->ui->Command7->click();
        QCOMPARE(e->ui->List1->count(), 0);
        QCOMPARE(e->ui->List2->count(), 0);
        QCOMPARE(h.program.state().LastWordIndex, std::int16_t(-1));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  0"));
        QCOMPARE(activeSorts(e), QStringList{"Command7"});
    }
};

QTEST_MAIN(EditorSortTest)
#include "test_editor_sort.moc"
