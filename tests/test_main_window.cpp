#include "support/Harness.h"
#include "ui/editor/Editor.h"
#include "ui/main/Main.h"
#include "ui/test/Test.h"
#include "ui_Main.h"

#include <QDir>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void loadSetsDefaults()
    {
        Harness h;
        h.platform.setCurrentDirectory("/home/user/words");
        h.program.state().WrongAnswerAcknowledged = true;
        h.setWords({{"koer", "dog"}});
        Main& m = h.program.show<Main>();

        QCOMPARE(m.windowTitle(), QString("Vorbix - Untitled.dic"));
        QCOMPARE(h.program.state().CurrentFile,
                 QString("/home/user/words") + QDir::separator() + "Untitled.dic");
        QVERIFY(m.isUntitled());
        QVERIFY(!h.program.state().WrongAnswerAcknowledged);
        // The list survives a (re)load of the main window.
        QCOMPARE(h.program.state().KnownWords[0], QString("koer"));
        QCOMPARE(h.program.state().LastWordIndex, std::int16_t(0));

        QVERIFY(m.ui->Option1->isChecked());
        QVERIFY(!m.ui->Option2->isChecked());
        QVERIFY(m.ui->Option3->isChecked());
        QVERIFY(!m.ui->Option4->isChecked());
        QVERIFY(!m.ui->Check1->isChecked());
        QVERIFY(!m.ui->VScroll1->isEnabled());
        QCOMPARE(m.ui->VScroll1->value(), 0);
        QCOMPARE(m.ui->Label2->text(), QString());

        // The untitled test follows the working directory of the moment.
        h.platform.setCurrentDirectory("/elsewhere");
        QVERIFY(!m.isUntitled());
    }

    void timeLimitTexts()
    {
        Harness h;
        Main& m = h.program.show<Main>();
        auto* check = m.ui->Check1;
        auto* spin = m.ui->VScroll1;
        check->click();
        QVERIFY(spin->isEnabled());
        QCOMPARE(m.ui->Label2->text(), QString("  0 minutit ja  0 sekundit."));

        // One click on the up arrow.
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 2));
        QCOMPARE(spin->value(), 1);
        QCOMPARE(m.ui->Label2->text(), QString("  0 minutes and  1 seconds"));
        QTest::keyClick(spin, Qt::Key_Up);
        QCOMPARE(spin->value(), 2);
        QTest::keyClick(spin, Qt::Key_PageUp);
        QCOMPARE(spin->value(), 3); // the large step is one second too
        QTest::keyClick(spin, Qt::Key_Down);
        QCOMPARE(spin->value(), 2);

        spin->setValue(90);
        QCOMPARE(m.ui->Label2->text(), QString("  1 minutes and  30 seconds"));
        spin->setValue(400);
        QCOMPARE(spin->value(), 300);
        QCOMPARE(m.ui->Label2->text(), QString("  5 minutes and  0 seconds"));

        check->click();
        QVERIFY(!spin->isEnabled());
        QCOMPARE(m.ui->Label2->text(), QString());
        QCOMPARE(spin->value(), 300);
        spin->setValue(90);
        check->click();
        QCOMPARE(m.ui->Label2->text(), QString("  1 minutit ja  30 sekundit."));
    }

    void testOnEmptyListShowsMessage()
    {
        Harness h;
        Main& m = h.program.show<Main>();
        // A stale LastWordIndex does not make a list non-empty.
        h.program.state().LastWordIndex = 3;
        m.ui->nupptest->click();
        QCOMPARE(h.platform.messages.size(), size_t(1));
        QCOMPARE(h.platform.messages[0].text,
                 QString("There is nothing to test (no words). Please use the Editor and add some "
                         "words or open already existing file with words!"));
        QVERIFY(h.platform.messages[0].icon == MessageIcon::Critical);
        QVERIFY(!h.program.loaded<Test>());
    }

    void toolbarDispatchesByKey()
    {
        Harness h;
        Main& m = h.program.show<Main>();
        auto button = [&](const QString& key) -> QAction* {
            for (QAction* a : m.ui->Toolbar1->actions())
                if (a->property("key").toString() == key)
                    return a;
            return nullptr;
        };
        h.program.state().CurrentFile = "/x/y.dic";
        button("New")->trigger();
        QVERIFY(m.isUntitled());

        button("Testime")->trigger();
        QCOMPARE(h.platform.messages.size(), size_t(1));

        button("Edit")->trigger();
        QVERIFY(h.program.loaded<Editor>());

        // Unknown keys and separators do nothing.
        m.Toolbar1_ButtonClick("edit");
        m.Toolbar1_ButtonClick("");
        for (QAction* a : m.ui->Toolbar1->actions())
            if (a->isSeparator())
                a->trigger();
        QCOMPARE(h.platform.messages.size(), size_t(1));
        QCOMPARE(h.platform.ended, 0);
        QCOMPARE(h.platform.dialogs.size(), size_t(0));

        button("Exit")->trigger(); // empty list: ends at once
        QCOMPARE(h.platform.ended, 1);
    }

};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
