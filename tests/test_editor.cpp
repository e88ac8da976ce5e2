#include "support/EditorDriver.h"
#include "ui_Editor.h"

#include "ui/toolkit/Design.h"

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const std::vector<std::pair<QString, QString>> threePairs{{"koer", "dog"}, {"kass", "cat"}, {"hiir", "mouse"}};

} // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    void opensWithTheSharedList()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), QString("Editor"));
        QCOMPARE(e->size(), QSize(494, 336));
        QCOMPARE(rows(e->ui->List1), (QStringList{"koer", "kass", "hiir"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"dog", "cat", "mouse"}));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  3"));
        QCOMPARE(selectedRow(e->ui->List1), -1);
        QCOMPARE(focused(), e->ui->Text2);
        QVERIFY(e->isVisible());
    }

    void loadingStopsAtAnEmptyKnownWord()
    {
        Harness h;
        h.setWords({{"a", "1"}, {"b", "2"}, {"", "3"}, {"d", "4"}});
        Editor* e = openEditor(h);
        QVERIFY(e);
        QCOMPARE(rows(e->ui->List1), (QStringList{"a", "b"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"1", "2"}));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  2"));
    }

    void emptyListAtStartUp()
    {
        Harness h; // LastWordIndex 0, no words
        Editor* e = openEditor(h);
        QVERIFY(e);
        QCOMPARE(e->ui->List1->count(), 0);
        QCOMPARE(e->ui->List2->count(), 0);
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  0"));
    }

    // Unknown word, Enter, known word, Enter: the pair is in and the focus
    // is back in the unknown word's box; neither Enter reaches a box.
    void typingPairsWithEnter()
    {
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        QSignalSpy text1Got(e->ui->Text1, &QLineEdit::returnPressed);
        QSignalSpy text2Got(e->ui->Text2, &QLineEdit::returnPressed);

        QTest::keyClicks(e->ui->Text2, "dog");
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        QCOMPARE(focused(), e->ui->Text1);
        QCOMPARE(e->ui->List1->count(), 0);
        QCOMPARE(h.program.state().WordsModified, std::int16_t(0));

        QTest::keyClicks(e->ui->Text1, "koer");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QCOMPARE(rows(e->ui->List1), QStringList{"koer"});
        QCOMPARE(rows(e->ui->List2), QStringList{"dog"});
        QCOMPARE(e->ui->Text1->text(), QString());
        QCOMPARE(e->ui->Text2->text(), QString());
        QCOMPARE(e->ui->Label1->text(), QString("Word count: 1"));
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(h.program.state().WordsModified, std::int16_t(1));

        // Enter in the unknown word's box adds as well, when both are filled.
        typeInto(e->ui->Text1, "kass");
        typeInto(e->ui->Text2, "cat");
        QTest::keyClick(e->ui->Text2, Qt::Key_Enter);
        QCOMPARE(rows(e->ui->List1), (QStringList{"koer", "kass"}));
        QCOMPARE(e->ui->Label1->text(), QString("Word count: 2"));
        QCOMPARE(focused(), e->ui->Text2);

        QCOMPARE(text1Got.count(), 0);
        QCOMPARE(text2Got.count(), 0);
    }

    void enterWithABoxEmpty()
    {
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        QSignalSpy text1Got(e->ui->Text1, &QLineEdit::returnPressed);
        QSignalSpy text2Got(e->ui->Text2, &QLineEdit::returnPressed);

        // Known word's box: always consumed, focus to the other box.
        for (const QString& known : {QString(), QString("koer")}) {
            e->ui->Text1->setText(known);
            e->ui->Text2->clear();
            e->ui->Text1->setFocus();
            QTest::keyClick(e->ui->Text1, Qt::Key_Return);
            QCOMPARE(focused(), e->ui->Text2);
        }
        e->ui->Text1->clear();
        e->ui->Text2->setText("dog");
        e->ui->Text1->setFocus();
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(text1Got.count(), 0);

        // Unknown word's box, both empty: consumed, focus to the known word.
        e->ui->Text1->clear();
        e->ui->Text2->clear();
        e->ui->Text2->setFocus();
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        QCOMPARE(focused(), e->ui->Text1);
        QCOMPARE(text2Got.count(), 0);

        // Unknown word's box empty, known word typed: the box gets the key.
        e->ui->Text1->setText("koer");
        e->ui->Text2->setFocus();
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(text2Got.count(), 1);

        QCOMPARE(e->ui->List1->count(), 0);
        QCOMPARE(e->ui->Text1->text(), QString("koer"));
        QCOMPARE(h.program.state().WordsModified, std::int16_t(0));
    }

    void addButton()
    {
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        e->ui->Text2->setText("dog");
        e->ui->Text1->setFocus();
        e->ui->Command1->click();
        QCOMPARE(focused(), e->ui->Text1);
        e->ui->Text2->clear();
        e->ui->Text1->setText("koer");
        e->ui->Command1->click();
        QCOMPARE(focused(), e->ui->Text2);
        e->ui->Text1->clear();
        e->ui->Command1->click();
        QCOMPARE(focused(), e->ui->Text2);
        QCOMPARE(e->ui->List1->count(), 0);
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  0"));

        e->ui->Text1->setText("koer");
        e->ui->Text2->setText("dog");
        e->ui->Text1->setFocus();
        e->ui->Command1->click();
        QCOMPARE(rows(e->ui->List1), QStringList{"koer"});
        QCOMPARE(rows(e->ui->List2), QStringList{"dog"});
        QCOMPARE(e->ui->Label1->text(), QString("Sõnu:  1"));
        QCOMPARE(focused(), e->ui->Text1);
        QCOMPARE(e->ui->Text1->text(), QString());
        QCOMPARE(h.program.state().WordsModified, std::int16_t(1));
    }

    void wordsAreKeptAsTyped()
    {
        Harness h;
        Editor* e = openEditor(h);
        QVERIFY(e);
        const QStringList known{"  Tere ", "HOUSE", "HOUSE", " "};
        const QStringList unknown{" hello", "maja  ", "maja  ", "blank"};
        for (int i = 0; i < known.size(); ++i) {
            typeInto(e->ui->Text2, unknown[i]);
            QTest::keyClick(e->ui->Text2, Qt::Key_Return);
            QTest::keyClicks(e->ui->Text1, known[i]);
            QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        }
        QCOMPARE(rows(e->ui->List1), known);
        QCOMPARE(rows(e->ui->List2), unknown);
        e->ui->Command4->click();
        const MOODUL1& s = h.program.state();
        QCOMPARE(s.LastWordIndex, std::int16_t(3));
        for (int i = 0; i < known.size(); ++i) {
            QCOMPARE(s.KnownWords[i], known[i]);
            QCOMPARE(s.UnknownWords[i], unknown[i]);
        }
    }

    void selectionIsMirrored()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        clickRow(e->ui->List1, 1);
        QCOMPARE(selectedRow(e->ui->List2), 1);
        QCOMPARE(e->ui->Text1->text(), QString("kass"));
        QCOMPARE(e->ui->Text2->text(), QString("cat"));

        clickRow(e->ui->List2, 2);
        QCOMPARE(selectedRow(e->ui->List1), 2);
        QCOMPARE(e->ui->Text1->text(), QString("hiir"));
        QCOMPARE(e->ui->Text2->text(), QString("mouse"));

        QTest::keyClick(e->ui->List2, Qt::Key_Up);
        QCOMPARE(selectedRow(e->ui->List2), 1);
        QCOMPARE(selectedRow(e->ui->List1), 1);
        QCOMPARE(e->ui->Text1->text(), QString("kass"));
        QCOMPARE(e->ui->Text2->text(), QString("cat"));
    }

    // Tabbing into a list makes a row current without selecting it: the
    // boxes stay, and Delete has nothing to delete.
    void focusAloneSelectsNothing()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        e->ui->Text1->setText("typed");
        e->ui->List1->setFocus(Qt::TabFocusReason);
        QCOMPARE(selectedRow(e->ui->List1), -1);
        QCOMPARE(e->ui->Text1->text(), QString("typed"));
        QTest::keyClick(e->ui->List1, Qt::Key_Delete);
        QCOMPARE(e->ui->List1->count(), 3);
        QCOMPARE(h.program.state().WordsModified, std::int16_t(0));
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
        QCOMPARE(e->ui->List1->count(), 4);
        QCOMPARE(s.WordsModified, std::int16_t(0));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  4"));
        QCOMPARE(e->ui->Text1->text(), QString("d"));
        QCOMPARE(e->ui->Text2->text(), QString("4"));

        // Selected in the known words: the next pair moves up and is shown.
        clickRow(e->ui->List1, 1);
        e->ui->Command2->click();
        QCOMPARE(rows(e->ui->List1), (QStringList{"a", "c", "d"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"1", "3", "4"}));
        QCOMPARE(e->ui->Label1->text(), QString("Sõnu:  3"));
        QCOMPARE(e->ui->Text1->text(), QString("c"));
        QCOMPARE(e->ui->Text2->text(), QString("3"));
        QCOMPARE(s.WordsModified, std::int16_t(1));
        QCOMPARE(selectedRow(e->ui->List1), -1);
        QCOMPARE(selectedRow(e->ui->List2), -1);
        // The shared list waits for the write-back.
        QCOMPARE(s.KnownWords[1], QString("b"));

        // The Delete key in the unknown words, on the last row.
        clickRow(e->ui->List2, 2);
        QTest::keyClick(e->ui->List2, Qt::Key_Delete);
        QCOMPARE(rows(e->ui->List1), (QStringList{"a", "c"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"1", "3"}));
        QCOMPARE(e->ui->Text1->text(), QString("c"));
        QCOMPARE(e->ui->Text2->text(), QString("3"));

        // Other keys do not delete; Delete in the known words does.
        clickRow(e->ui->List1, 0);
        QTest::keyClick(e->ui->List1, Qt::Key_Backspace);
        QCOMPARE(e->ui->List1->count(), 2);
        QTest::keyClick(e->ui->List1, Qt::Key_Delete);
        QCOMPARE(rows(e->ui->List1), QStringList{"c"});
        QCOMPARE(rows(e->ui->List2), QStringList{"3"});

        clickRow(e->ui->List1, 0);
        e->ui->Command2->click();
        QCOMPARE(e->ui->List1->count(), 0);
        QCOMPARE(e->ui->List2->count(), 0);
        QCOMPARE(e->ui->Text1->text(), QString());
        QCOMPARE(e->ui->Text2->text(), QString());
        QCOMPARE(e->ui->Label1->text(), QString("Sõnu:  0"));

        e->ui->Text1->setText("x");
        e->ui->Command2->click();
        QCOMPARE(e->ui->Text1->text(), QString());
    }

    void replacing()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();

        // A box empty: focus to it, nothing else.
        clickRow(e->ui->List1, 0);
        e->ui->Text1->clear();
        e->ui->Text2->setFocus();
        e->ui->Command3->click();
        QCOMPARE(focused(), e->ui->Text1);
        QCOMPARE(e->ui->List1->count(), 3);
        QCOMPARE(s.WordsModified, std::int16_t(0));

        // The typed words replace the selected pair and go to the end.
        clickRow(e->ui->List2, 0);
        QCOMPARE(e->ui->Text1->text(), QString("koer"));
        e->ui->Text1->setText("Koer ");
        e->ui->Text2->setText("hound");
        e->ui->Command3->click();
        QCOMPARE(rows(e->ui->List1), (QStringList{"kass", "hiir", "Koer "}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"cat", "mouse", "hound"}));
        QCOMPARE(e->ui->Text1->text(), QString());
        QCOMPARE(e->ui->Text2->text(), QString());
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  3"));
        QCOMPARE(s.WordsModified, std::int16_t(1));

        // With nothing selected the pair is only appended.
        s.WordsModified = 0;
        e->ui->Text1->setText("lind");
        e->ui->Text2->setText("bird");
        e->ui->Command3->click();
        QCOMPARE(rows(e->ui->List1), (QStringList{"kass", "hiir", "Koer ", "lind"}));
        QCOMPARE(rows(e->ui->List2), (QStringList{"cat", "mouse", "hound", "bird"}));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  3"));
        QCOMPARE(s.WordsModified, std::int16_t(1));
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
        e->ui->Command4->click();

        QCOMPARE(s.LastWordIndex, std::int16_t(2));
        QCOMPARE((QStringList{s.KnownWords[0], s.KnownWords[1], s.KnownWords[2]}),
                 (QStringList{"b", "c", "d"}));
        QCOMPARE((QStringList{s.UnknownWords[0], s.UnknownWords[1], s.UnknownWords[2]}),
                 (QStringList{"2", "3", "4"}));
        for (int i = 3; i < MOODUL1::WordSlots; ++i) {
            QVERIFY(s.KnownWords[i].isEmpty());
            QVERIFY(s.UnknownWords[i].isEmpty());
        }
        QVERIFY(!h.program.loaded<Editor>());
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QCOMPARE(h.platform.ended, 0);
        QCOMPARE(s.WordsModified, std::int16_t(1));
        Harness::flush();

        // Reopening starts afresh from the shared list.
        e = openEditor(h);
        QVERIFY(e);
        QCOMPARE(rows(e->ui->List1), (QStringList{"b", "c", "d"}));
    }

    void closeBoxLeavesLikeExit()
    {
        Harness h;
        h.setWords(threePairs);
        Editor* e = openEditor(h);
        QVERIFY(e);
        h.program.state().WordsModified = 0;
        for (int i = 0; i < 3; ++i) {
            clickRow(e->ui->List1, 0);
            e->ui->Command2->click();
        }
        h.program.state().WordsModified = 0;
        e->close();
        const MOODUL1& s = h.program.state();
        QVERIFY(!h.program.loaded<Editor>());
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QCOMPARE(s.LastWordIndex, std::int16_t(-1));
        QVERIFY(s.listIsEmpty());
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            QVERIFY(s.KnownWords[i].isEmpty() && s.UnknownWords[i].isEmpty());
        QCOMPARE(s.WordsModified, std::int16_t(0));
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
        QCOMPARE(rows(e->ui->List1), (QStringList{"koer", "kass", "hiir"}));
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
        MOODUL1& s = h.program.state();

        e->ui->Text1->setText("one");
        e->ui->Text2->setText("more");
        e->ui->Command1->click();
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(4));
        QVERIFY(h.platform.messages[0].text.contains("full"));
        QCOMPARE(e->ui->List1->count(), MOODUL1::FileCapacity);
        QCOMPARE(e->ui->List2->count(), MOODUL1::FileCapacity);
        QCOMPARE(e->ui->Text1->text(), QString("one"));
        QCOMPARE(e->ui->Text2->text(), QString("more"));
        QCOMPARE(s.WordsModified, std::int16_t(0));

        // Replacing a selected pair keeps the size, so it is allowed.
        e->ui->List1->setCurrentRow(5);
        e->ui->Text1->setText("one");
        e->ui->Text2->setText("more");
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(4));
        QCOMPARE(e->ui->List1->count(), MOODUL1::FileCapacity);
        QCOMPARE(e->ui->List1->item(MOODUL1::FileCapacity - 1)->text(), QString("one"));

        e->ui->List1->setCurrentRow(0);
        e->ui->Command2->click();
        e->ui->Text1->setText("last");
        e->ui->Text2->setText("one");
        e->ui->Command1->click();
        QCOMPARE(e->ui->List1->count(), MOODUL1::FileCapacity);
        QCOMPARE(h.platform.messages.size(), size_t(4));
        e->ui->Command4->click();
        QCOMPARE(s.LastWordIndex, std::int16_t(MOODUL1::FileCapacity - 1));
        QCOMPARE(s.KnownWords[MOODUL1::FileCapacity - 1], QString("last"));
        QVERIFY(s.KnownWords[MOODUL1::FileCapacity].isEmpty());
    }
};

QTEST_MAIN(EditorTest)
#include "test_editor.moc"
