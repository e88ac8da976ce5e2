#include "ui_Editor.h"

#include "support/EditorDriver.h"
#include "ui/toolkit/Design.h"

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const std::vector<std::pair<QString, QString>> animals{
    {"koer", "dog"}, {"Kass", "cat"}, {"hobune", "horse"}, {"lehm", "cow"}};

// Names of the sort buttons in the active colour, checked both in the
// palette that records it and on screen, inside the border.
QStringList activeSorts(Editor* e)
{
    QStringList result;
    for (QPushButton* b : {e->ui->Command5, e->ui->Command6, e->ui->Command7, e->ui->Command8}) {
        const QImage image = b->grab().toImage();
        const QColor onScreen = image.pixelColor(3, image.height() / 2);
        const QColor recorded = b->palette().color(QPalette::Button);
        if (onScreen != recorded)
            result << b->objectName() + " shows another colour";
        if (recorded == systemColour(SystemColour::HighlightText))
            result << b->objectName();
        else if (recorded != systemColour(SystemColour::ButtonFace))
            result << b->objectName() + " in neither colour";
    }
    return result;
}

} // namespace

class EditorSortTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    void sortCommands()
    {
        Harness h;
        h.setWords(animals);
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();
        QCOMPARE(activeSorts(e), QStringList());
        clickRow(e->ui->List1, 1);
        e->ui->Text1->setText("typed");

        e->ui->Command7->click();
        QCOMPARE(pairs(e), QString("hobune/horse, Kass/cat, koer/dog, lehm/cow"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  4"));
        QCOMPARE(selectedRow(e->ui->List1) + selectedRow(e->ui->List2), -2);
        QCOMPARE(boxes(e), QString("typed/cat"));
        QCOMPARE(activeSorts(e), QStringList{"Command7"});
        // The shared list is written back and sorted at once.
        QCOMPARE(s.KnownWords[0] + s.UnknownWords[0], QString("hobunehorse"));
        QCOMPARE(s.LastWordIndex, std::int16_t(3));

        e->ui->Command8->click();
        QCOMPARE(pairs(e), QString("lehm/cow, koer/dog, Kass/cat, hobune/horse"));
        e->ui->Command5->click();
        QCOMPARE(pairs(e), QString("Kass/cat, lehm/cow, koer/dog, hobune/horse"));
        e->ui->Command6->click();
        QCOMPARE(pairs(e), QString("hobune/horse, koer/dog, lehm/cow, Kass/cat"));
        QCOMPARE(activeSorts(e), QStringList{"Command6"});
        QVERIFY(e->ui->Command6->font().bold());
        QCOMPARE(s.WordsModified, std::int16_t(0));

        // The next window starts with no sort.
        e->ui->Command4->click();
        Harness::flush();
        QVERIFY((e = openEditor(h)));
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

        // The re-sort writes the count over the plain form of Enter.
        typeInto(e->ui->Text2, "sheep");
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        QTest::keyClicks(e->ui->Text1, "Lammas");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QCOMPARE(pairs(e), QString("lehm/cow, Lammas/sheep, koer/dog, Kass/cat, hobune/horse"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  5"));
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(s.WordsModified, std::int16_t(1));
        QCOMPARE(s.KnownWords[1], QString("Lammas"));

        setBoxes(e, "Zebra", "zebra");
        e->ui->Command1->click();
        QCOMPARE(e->ui->List1->item(0)->text(), QString("Zebra"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  6"));

        clickRow(e->ui->List1, 0);
        setBoxes(e, "ahv", "monkey");
        e->ui->Command3->click();
        QCOMPARE(pairs(e), QString("lehm/cow, Lammas/sheep, koer/dog, Kass/cat, hobune/horse, ahv/monkey"));
        QCOMPARE(activeSorts(e), QStringList{"Command8"});
    }

    void sortTakesExactlyTheRowsShown()
    {
        Harness h;
        h.setWords(animals);
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();
        setBoxes(e, "ahv", "monkey");
        e->ui->Command1->click();
        clickRow(e->ui->List2, 0);
        e->ui->Command2->click();
        s.WordsModified = 0;

        e->ui->Command5->click();
        QCOMPARE(pairs(e), QString("Kass/cat, lehm/cow, hobune/horse, ahv/monkey"));
        QCOMPARE(s.LastWordIndex, std::int16_t(3));
        QCOMPARE(s.KnownWords[3], QString("ahv"));
        QVERIFY(s.KnownWords[4].isEmpty() && s.UnknownWords[4].isEmpty());
        QCOMPARE(s.WordsModified, std::int16_t(0));

        // An empty list stays empty.
        for (int i = 0; i < 4; ++i) {
            clickRow(e->ui->List1, 0);
            e->ui->Command2->click();
        }
        e->ui->Command7->click();
        QCOMPARE(pairs(e), QString());
        QCOMPARE(s.LastWordIndex, std::int16_t(-1));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  0"));
        QCOMPARE(activeSorts(e), QStringList{"Command7"});
    }
};

QTEST_MAIN(EditorSortTest)
#include "test_editor_sort.moc"
