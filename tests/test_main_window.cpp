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
        h.program.state().CurrentFile = "/somewhere/else.dic";
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

    void designControlsAndMenu()
    {
        Harness h;
        Main& m = h.program.form<Main>();
        QCOMPARE(m.ui->client->size(), QSize(436, 290));
        QCOMPARE(m.ui->Command1->text(), QString("Editor"));
        QCOMPARE(m.ui->nupptest->text(), QString("Test"));
        QCOMPARE(m.ui->Command2->text(), QString("Exit"));
        QCOMPARE(m.ui->Label1->text(), QString("What to ask?"));
        QCOMPARE(m.ui->Label3->text(), QString("Testi type"));
        QCOMPARE(m.ui->Check1->text(), QString("Timelimit per one asnwer"));
        QCOMPARE(m.ui->Command1->geometry(), QRect(16, 48, 97, 41));
        QCOMPARE(m.ui->Option1->parentWidget(), m.ui->Picture2);
        QCOMPARE(m.ui->Option3->parentWidget(), m.ui->Picture1);
        QVERIFY(m.ui->Command1->font().bold());
        QCOMPARE(m.ui->Command1->font().pointSizeF(), 13.5);
        QCOMPARE(m.font().pointSizeF(), 8.25);
        QVERIFY(!(m.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(m.windowFlags() & Qt::WindowCloseButtonHint);

        QStringList items;
        for (QAction* a : m.ui->MFile->actions())
            items << (a->isSeparator() ? "-" + a->objectName() : a->text());
        QCOMPARE(items, (QStringList{"&New", "-Separaator", "&Open...", "-joon2", "&Save", "Save &As...",
                                     "-joon3", "&Exit"}));
        QStringList top;
        for (QAction* a : m.ui->menuBar->actions())
            top << a->text();
        QCOMPARE(top, (QStringList{"&File", "&About!"}));
        QVERIFY(!m.ui->MAbout->menu());
        QCOMPARE(m.ui->MFOpen->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(m.ui->MFSaveAs->shortcut(), QKeySequence("Ctrl+Shift+S"));

        QStringList buttons;
        for (QAction* a : m.ui->Toolbar1->actions()) {
            if (a->isSeparator()) {
                buttons << "|";
                continue;
            }
            buttons << a->property("key").toString();
            QCOMPARE(a->toolTip(), a->property("key").toString());
            QVERIFY(!a->icon().isNull());
        }
        QCOMPARE(buttons, (QStringList{"New", "Open", "Save", "|", "Edit", "Testime", "|", "Exit"}));
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

    void spinnerArrowsPointTheRightWay()
    {
        Harness h;
        Main& m = h.program.show<Main>();
        m.ui->Check1->click();
        auto* spin = m.ui->VScroll1;
        spin->setValue(10);
        // The upper end of the bar raises the value, the lower end lowers it.
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 2));
        QCOMPARE(spin->value(), 11);
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() - 3));
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() - 3));
        QCOMPARE(spin->value(), 9);
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

    void testAndEditorOnlyComeForward()
    {
        Harness h;
        h.setWords({{"a", "b"}});
        Main& m = h.program.show<Main>();
        m.ui->Command1->click();
        Editor* e = h.program.loaded<Editor>();
        QVERIFY(e);
        m.ui->Command1->click();
        QCOMPARE(h.program.loaded<Editor>(), e);
        m.ui->nupptest->click();
        Test* t = h.program.loaded<Test>();
        QVERIFY(t);
        m.ui->nupptest->click();
        QCOMPARE(h.program.loaded<Test>(), t);
        QVERIFY(h.platform.messages.empty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
