#include "ui_Editor.h"

#include "support/EditorDriver.h"

#include <QSignalSpy>

using namespace vorbix;
using namespace vorbix::testing;

namespace {
const std::vector<std::pair<QString, QString>> threePairs{{"koer", "dog"}, {"kass", "cat"}, {"hiir", "mouse"}};
}

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    void opensWithTheSharedList()
    {
        Harness h;
        h.setWords({{"a", "1"}, {"b", "2"}, {"", "3"}, {"d", "4"}});
        Editor* e = openEditor(h);
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), QString("Editor"));
        QCOMPARE(e->size(), QSize(494, 336));
        QCOMPARE(pairs(e), QString("a/1, b/2")); // up to the first empty known word
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  2"));
        QCOMPARE(focused(), e->ui->Text2);

        Harness empty; // as at start-up: LastWordIndex 0, no words
        QVERIFY((e = openEditor(empty)));
        QCOMPARE(pairs(e), QString());
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  0"));
    }

    // Unknown word, Enter, known word, Enter: the pair is in, the focus is
    // back in the first box, and no Enter reached a box.
    void typingPairsWithEnter()
    {
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        QSignalSpy text1Got(e->ui->Text1, &QLineEdit::returnPressed);
        QSignalSpy text2Got(e->ui->Text2, &QLineEdit::returnPressed);

        QTest::keyClicks(e->ui->Text2, " dog");
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        QCOMPARE(focused(), e->ui->Text1);
        QCOMPARE(h.program.state().WordsModified, std::int16_t(0));
        QTest::keyClicks(e->ui->Text1, "Koer ");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QCOMPARE(pairs(e), QString("Koer / dog"));
        QCOMPARE(boxes(e), QString("/"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count: 1"));
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(h.program.state().WordsModified, std::int16_t(1));

        // Enter in the first box adds too when both are filled; an equal
        // pair is simply a second row.
        typeInto(e->ui->Text1, "Koer ");
        typeInto(e->ui->Text2, " dog");
        QTest::keyClick(e->ui->Text2, Qt::Key_Enter);
        QCOMPARE(pairs(e), QString("Koer / dog, Koer / dog"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count: 2"));
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(text1Got.count() + text2Got.count(), 0);

        // Exactly as typed into the shared list as well.
        e->ui->Command4->click();
        QCOMPARE(h.program.state().KnownWords[1], QString("Koer "));
        QCOMPARE(h.program.state().UnknownWords[1], QString(" dog"));
    }

    void enterWithABoxEmpty_data()
    {
        QTest::addColumn<bool>("inKnownBox");
        QTest::addColumn<QString>("known");
        QTest::addColumn<QString>("unknown");
        QTest::addColumn<QString>("focusTo");
        QTest::addColumn<bool>("reachesBox");
        QTest::newRow("known box, both empty") << true << "" << "" << "Text2" << false;
        QTest::newRow("known box, known only") << true << "koer" << "" << "Text2" << false;
        QTest::newRow("known box, unknown only") << true << "" << "dog" << "Text2" << false;
        QTest::newRow("unknown box, both empty") << false << "" << "" << "Text1" << false;
        QTest::newRow("unknown box, unknown only") << false << "" << "dog" << "Text1" << false;
        QTest::newRow("unknown box, known only") << false << "koer" << "" << "Text2" << true;
    }
    void enterWithABoxEmpty()
    {
        QFETCH(bool, inKnownBox);
        QFETCH(QString, known);
        QFETCH(QString, unknown);
        QFETCH(QString, focusTo);
        QFETCH(bool, reachesBox);
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        setBoxes(e, known, unknown);
        QLineEdit* box = inKnownBox ? e->ui->Text1 : e->ui->Text2;
        QSignalSpy boxGot(box, &QLineEdit::returnPressed);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(focused()->objectName(), focusTo);
        QCOMPARE(boxGot.count(), reachesBox ? 1 : 0);
        QCOMPARE(pairs(e), QString());
        QCOMPARE(boxes(e), known + "/" + unknown);
    }

    void addButton()
    {
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        setBoxes(e, "", "dog");
        e->ui->Command1->click();
        QCOMPARE(focused(), e->ui->Text1);
        setBoxes(e, "koer", "");
        e->ui->Command1->click();
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(pairs(e), QString());

        setBoxes(e, "koer", "dog");
        e->ui->Text1->setFocus();
        e->ui->Command1->click();
        QCOMPARE(pairs(e), QString("koer/dog"));
        QCOMPARE(e->ui->Label1->text(), QString("Sõnu:  1"));
        QCOMPARE(focused(), e->ui->Text1);
        QCOMPARE(boxes(e), QString("/"));
    }

    void selectionIsMirrored()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        clickRow(e->ui->List1, 1);
        QCOMPARE(selectedRow(e->ui->List2), 1);
        QCOMPARE(boxes(e), QString("kass/cat"));
        clickRow(e->ui->List2, 2);
        QCOMPARE(selectedRow(e->ui->List1), 2);
        QCOMPARE(boxes(e), QString("hiir/mouse"));
        QTest::keyClick(e->ui->List2, Qt::Key_Up);
        QCOMPARE(selectedRow(e->ui->List1), 1);
        QCOMPARE(boxes(e), QString("kass/cat"));
        // A click on the selected row shows its pair again.
        e->ui->Text1->clear();
        clickRow(e->ui->List1, 1);
        QCOMPARE(boxes(e), QString("kass/cat"));

        // Tabbing into a list makes a row current but selects none: the
        // boxes stay and Delete finds nothing to delete.
        Harness h2;
        h2.setWords(threePairs);
        QVERIFY((e = openEditor(h2)));
        e->ui->Text1->setText("typed");
        e->ui->List1->setFocus(Qt::TabFocusReason);
        QCOMPARE(e->ui->Text1->text(), QString("typed"));
        QTest::keyClick(e->ui->List1, Qt::Key_Delete);
        QCOMPARE(pairs(e), QString("koer/dog, kass/cat, hiir/mouse"));
    }

    void deleting()
    {
        Harness h;
        h.setWords({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();

        // Nothing selected: nothing goes, the boxes show the last pair.
        e->ui->Command2->click();
        QCOMPARE(pairs(e), QString("a/1, b/2, c/3, d/4"));
        QCOMPARE(s.WordsModified, std::int16_t(0));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  4"));
        QCOMPARE(boxes(e), QString("d/4"));

        // Selected in the known words: the next pair moves up and is shown.
        clickRow(e->ui->List1, 1);
        e->ui->Command2->click();
        QCOMPARE(pairs(e), QString("a/1, c/3, d/4"));
        QCOMPARE(e->ui->Label1->text(), QString("Sõnu:  3"));
        QCOMPARE(boxes(e), QString("c/3"));
        QCOMPARE(s.WordsModified, std::int16_t(1));
        QCOMPARE(selectedRow(e->ui->List1) + selectedRow(e->ui->List2), -2);
        QCOMPARE(s.KnownWords[1], QString("b")); // until the write-back

        // The Delete key in the unknown words, on the last row.
        clickRow(e->ui->List2, 2);
        QTest::keyClick(e->ui->List2, Qt::Key_Delete);
        QCOMPARE(pairs(e), QString("a/1, c/3"));
        QCOMPARE(boxes(e), QString("c/3"));

        // Only Delete deletes, in the known words too.
        clickRow(e->ui->List1, 0);
        QTest::keyClick(e->ui->List1, Qt::Key_Backspace);
        QTest::keyClick(e->ui->List1, Qt::Key_Delete);
        QCOMPARE(pairs(e), QString("c/3"));

        clickRow(e->ui->List1, 0);
        e->ui->Command2->click();
        QCOMPARE(pairs(e), QString());
        QCOMPARE(boxes(e), QString("/"));
        QCOMPARE(e->ui->Label1->text(), QString("Sõnu:  0"));
    }

    void replacing()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();

        clickRow(e->ui->List1, 0);
        e->ui->Text1->clear();
        e->ui->Command3->click();
        QCOMPARE(focused(), e->ui->Text1);
        QCOMPARE(pairs(e), QString("koer/dog, kass/cat, hiir/mouse"));
        QCOMPARE(s.WordsModified, std::int16_t(0));

        // The typed words replace the selected pair, at the end.
        clickRow(e->ui->List2, 0);
        setBoxes(e, "Koer ", "hound");
        e->ui->Command3->click();
        QCOMPARE(pairs(e), QString("kass/cat, hiir/mouse, Koer /hound"));
        QCOMPARE(boxes(e), QString("/"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  3"));
        QCOMPARE(s.WordsModified, std::int16_t(1));

        // With nothing selected they are only appended.
        setBoxes(e, "lind", "bird");
        e->ui->Command3->click();
        QCOMPARE(pairs(e), QString("kass/cat, hiir/mouse, Koer /hound, lind/bird"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  3"));
    }

    void leavingWritesTheListBack()
    {
        Harness h;
        h.setWords({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}, {"e", "5"}});
        MOODUL1& s = h.program.state();
        s.KnownWords[999] = "stale";
        s.UnknownWords[1000] = "stale";
        Editor* e = openEditor(h);
        QVERIFY(e);
        clickRow(e->ui->List1, 0);
        e->ui->Command2->click();
        clickRow(e->ui->List1, 3);
        e->ui->Command2->click();
        s.WordsModified = 0;
        e->ui->Command4->click();

        QCOMPARE(s.LastWordIndex, std::int16_t(2));
        QCOMPARE(s.KnownWords[2] + s.UnknownWords[2], QString("d4"));
        for (int i = 3; i < MOODUL1::WordSlots; ++i)
            QVERIFY(s.KnownWords[i].isEmpty() && s.UnknownWords[i].isEmpty());
        QVERIFY(!h.program.loaded<Editor>());
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QCOMPARE(s.WordsModified, std::int16_t(0));
        Harness::flush();

        // A fresh window from the list written back; closing it by its
        // close box with every pair deleted leaves an empty list.
        QVERIFY((e = openEditor(h)));
        QCOMPARE(pairs(e), QString("b/2, c/3, d/4"));
        for (int i = 0; i < 3; ++i) {
            clickRow(e->ui->List1, 0);
            e->ui->Command2->click();
        }
        e->close();
        QVERIFY(!h.program.loaded<Editor>());
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QCOMPARE(h.platform.ended, 0);
        QCOMPARE(s.LastWordIndex, std::int16_t(-1));
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            QVERIFY(s.KnownWords[i].isEmpty() && s.UnknownWords[i].isEmpty());
    }

    void openingAgainOnlyBringsItForward()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        e->ui->Text2->setText("typed");
        h.setWords({{"other", "list"}});
        h.program.loaded<Main>()->Command1_Click();
        QCOMPARE(h.program.loaded<Editor>(), e);
        QCOMPARE(pairs(e), QString("koer/dog, kass/cat, hiir/mouse"));
        QCOMPARE(e->ui->Text2->text(), QString("typed"));
    }

    // The list never grows past what a file can hold.
    void fullListRefusesMore()
    {
        Harness h;
        std::vector<std::pair<QString, QString>> words;
        for (int i = 0; i < MOODUL1::FileCapacity; ++i)
            words.emplace_back(QString::number(i), QStringLiteral("u%1").arg(i));
        h.setWords(words);
        Editor* e = openEditor(h);
        QVERIFY(e);

        setBoxes(e, "one", "more");
        e->ui->Command1->click();
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(4));
        QVERIFY(h.platform.messages[0].text.contains("full"));
        QCOMPARE(e->ui->List1->count(), MOODUL1::FileCapacity);
        QCOMPARE(e->ui->List2->count(), MOODUL1::FileCapacity);
        QCOMPARE(boxes(e), QString("one/more"));
        QCOMPARE(h.program.state().WordsModified, std::int16_t(0));

        // Replacing a selected pair keeps the size, so it goes through.
        e->ui->List1->setCurrentRow(5);
        setBoxes(e, "one", "more");
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(4));
        QCOMPARE(e->ui->List1->count(), MOODUL1::FileCapacity);
        QCOMPARE(e->ui->List1->item(MOODUL1::FileCapacity - 1)->text(), QString("one"));
    }
};

QTEST_MAIN(EditorTest)
#include "test_editor.moc"
