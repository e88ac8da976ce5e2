#include "support/EditorDriver.h"

using namespace vorbix;
using namespace vorbix::testing;

class EditorSortTest : public QObject {
    Q_OBJECT
private slots:
    void sortingAndAddingUnderASort()
    {
        Harness h;
        h.setWords({{"koer", "dog"}, {"Kass", "cat"}, {"hobune", "horse"}, {"lehm", "cow"}});
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();
        e->ui->Command7->click();
        QCOMPARE(pairs(e), QString("hobune/horse, Kass/cat, koer/dog, lehm/cow"));
        QCOMPARE(s.KnownWords[0] + s.UnknownWords[0], QString("hobunehorse")); // written back at once
        e->ui->Command5->click();
        QCOMPARE(pairs(e), QString("Kass/cat, lehm/cow, koer/dog, hobune/horse"));
        e->ui->Command8->click();
        QCOMPARE(pairs(e), QString("lehm/cow, koer/dog, Kass/cat, hobune/horse"));
        QCOMPARE(s.WordsModified, std::int16_t(0));

        // A new pair falls into place under the active sort, by Enter, Add and Replace.
        setBoxes(e, "Lammas", "sheep");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QCOMPARE(pairs(e), QString("lehm/cow, Lammas/sheep, koer/dog, Kass/cat, hobune/horse"));
        QCOMPARE(s.WordsModified, std::int16_t(1));
        QCOMPARE(s.KnownWords[1], QString("Lammas"));
        setBoxes(e, "Zebra", "zebra");
        e->ui->Command1->click();
        QCOMPARE(e->ui->List1->item(0)->text(), QString("Zebra"));
        clickRow(e->ui->List1, 0);
        setBoxes(e, "ahv", "monkey");
        e->ui->Command3->click();
        QCOMPARE(pairs(e), QString("lehm/cow, Lammas/sheep, koer/dog, Kass/cat, hobune/horse, ahv/monkey"));
    }
};

QTEST_MAIN(EditorSortTest)
#include "test_editor_sort.moc"
