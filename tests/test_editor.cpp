#include "support/EditorDriver.h"
#include <QSignalSpy>

using namespace vorbix;
using namespace vorbix::testing;

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    // Enter in either box, or Add: a pair goes in only with both boxes
    // filled, exactly as typed; otherwise the focus moves to a box to fill.
    void enterAndAddFocusRules()
    {
        struct Row { const char* via; const char* known; const char* unknown; const char* focus; bool added, reachesBox; };
        const Row rows[] = {{"Text1", "koer", "", "Text2", false, false}, {"Text1", "", "dog", "Text2", false, false},
                            {"Text2", "", "", "Text1", false, false}, {"Text2", "", "dog", "Text1", false, false},
                            {"Text2", "koer", "", "Text2", false, true}, {"Text1", "Koer ", " dog", "Text2", true, false},
                            {"Text2", "Koer ", " dog", "Text2", true, false}, {"Command1", "", "dog", "Text1", false, false},
                            {"Command1", "koer", "", "Text2", false, false}, {"Command1", "Koer ", " dog", "Text1", true, false}};
        for (const Row& r : rows) {
            const QByteArray row = QStringLiteral("%1 %2/%3").arg(r.via, r.known, r.unknown).toUtf8();
            Harness h;
            Editor* e = openEditor(h);
            QVERIFY(e);
            setBoxes(e, r.known, r.unknown);
            QSignalSpy reached1(e->ui->Text1, &QLineEdit::returnPressed), reached2(e->ui->Text2, &QLineEdit::returnPressed);
            if (auto* box = e->findChild<QLineEdit*>(r.via)) {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                e->ui->Text1->setFocus();
                e->ui->Command1->click();
            }
            QVERIFY2(QApplication::focusWidget()->objectName() == r.focus, row);
            QVERIFY2(reached1.count() + reached2.count() == (r.reachesBox ? 1 : 0), row);
            QVERIFY2(pairs(e) == (r.added ? "Koer / dog" : ""), row);
            QVERIFY2(boxes(e) == (r.added ? "/" : QString(r.known) + "/" + r.unknown), row);
            MOODUL1& s = h.program.state();
            QVERIFY2(s.WordsModified == r.added, row);
            e->ui->Command4->click();
            QVERIFY2(s.KnownWords[0] + "|" + s.UnknownWords[0] == (r.added ? "Koer | dog" : "|"), row);
            Harness::flush();
        }
    }

    void selectingDeletingReplacing()
    {
        Harness h;
        h.setWords({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();

        // Nothing selected: nothing goes, the boxes show the last pair.
        e->ui->Command2->click();
        QCOMPARE(pairs(e), QString("a/1, b/2, c/3, d/4"));
        QCOMPARE(boxes(e), QString("d/4"));
        QCOMPARE(s.WordsModified, std::int16_t(0));
        // A selection shows in both lists and the boxes; deleting it (by
        // button or Delete key) moves the next pair up and shows it.
        clickRow(e->ui->List1, 1);
        QCOMPARE(selectedRow(e->ui->List2), 1);
        QCOMPARE(boxes(e), QString("b/2"));
        e->ui->Command2->click();
        QCOMPARE(pairs(e), QString("a/1, c/3, d/4"));
        QCOMPARE(boxes(e), QString("c/3"));
        QCOMPARE(s.WordsModified, std::int16_t(1));
        clickRow(e->ui->List2, 0);
        QCOMPARE(selectedRow(e->ui->List1), 0);
        QTest::keyClick(e->ui->List2, Qt::Key_Delete);
        QCOMPARE(pairs(e), QString("c/3, d/4"));

        // Replace with a box empty does nothing; with a pair selected the
        // typed words replace it at the end; with none they are appended.
        s.WordsModified = 0;
        clickRow(e->ui->List1, 0);
        e->ui->Text1->clear();
        e->ui->Command3->click();
        QCOMPARE(QApplication::focusWidget(), e->ui->Text1);
        QCOMPARE(pairs(e), QString("c/3, d/4"));
        QCOMPARE(s.WordsModified, std::int16_t(0));
        clickRow(e->ui->List2, 0);
        setBoxes(e, "Koer ", "hound");
        e->ui->Command3->click();
        QCOMPARE(pairs(e), QString("d/4, Koer /hound"));
        QCOMPARE(s.WordsModified, std::int16_t(1));
        setBoxes(e, "lind", "bird");
        e->ui->Command3->click();
        QCOMPARE(pairs(e), QString("d/4, Koer /hound, lind/bird"));
    }

    void leavingWritesTheListBack()
    {
        Harness h;
        h.setWords({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
        MOODUL1& s = h.program.state();
        s.KnownWords[999] = "stale";
        Editor* e = openEditor(h);
        QVERIFY(e);
        clickRow(e->ui->List1, 0);
        e->ui->Command2->click();
        e->ui->Command4->click();
        QCOMPARE(s.LastWordIndex, std::int16_t(2));
        QCOMPARE(s.KnownWords[2] + s.UnknownWords[2], QString("d4"));
        for (int i = 3; i < MOODUL1::WordSlots; ++i)
            QVERIFY(s.KnownWords[i].isEmpty() && s.UnknownWords[i].isEmpty());
        Harness::flush();

        // Every pair deleted and the close box: an empty list.
        QVERIFY((e = openEditor(h)));
        for (int i = 0; i < 3; ++i) {
            clickRow(e->ui->List1, 0);
            e->ui->Command2->click();
        }
        e->close();
        QCOMPARE(s.LastWordIndex, std::int16_t(-1));
        QVERIFY(s.KnownWords[0].isEmpty() && s.UnknownWords[0].isEmpty());
    }

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
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(3));
        QVERIFY(h.platform.messages[0].text.contains("full"));
        QCOMPARE(e->ui->List2->count(), MOODUL1::FileCapacity);
        QCOMPARE(h.program.state().WordsModified, std::int16_t(0));

        // Replacing a selected pair keeps the size, so it goes through.
        e->ui->List1->setCurrentRow(5);
        setBoxes(e, "one", "more");
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(3));
        QCOMPARE(e->ui->List1->item(MOODUL1::FileCapacity - 1)->text(), QString("one"));
    }
};

QTEST_MAIN(EditorTest)
#include "test_editor.moc"
