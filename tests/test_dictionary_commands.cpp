#include "support/Files.h"
#include "support/Harness.h"
#include "ui/main/Main.h"

#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

class DictionaryCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        h_ = std::make_unique<FolderHarness>();
        QVERIFY(h_->folder.isValid());
        main_ = &h_->program.form<Main>();
    }
    void cleanup()
    {
        h_.reset();
        Harness::flush();
    }

    void openNewThenSaveAsSwitchesTheFilter()
    {
        const QString path = file("words.dic");
        writeBytes(path, "x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\n");
        h_->setWords({{"old", "vana"}, {"two", "kaks"}, {"three", "kolm"}});
        h_->platform.answerDialog(path);
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.at(0).filter, QStringLiteral("Quorvel's Files (*.dic) |*.dic|") + otherLists);
        QCOMPARE(state().KnownWords[0], QStringLiteral("x-ray"));
        QVERIFY(state().KnownWords[2].isEmpty());
        QCOMPARE(state().LastWordIndex, std::int16_t(1));
        QCOMPARE(state().CurrentFile, path);
        QCOMPARE(main_->windowTitle(), QStringLiteral("English Quorvel - words.dic"));
        // New forgets only the file name.
        QStringList opened = snapshot();
        main_->MFNew_Click();
        QVERIFY(main_->isUntitled());
        opened[1] = state().CurrentFile;
        QCOMPARE(snapshot(), opened);

        const QString saveAsFilter = QStringLiteral("Quorvel Files (*.dic)|*.dic|");
        const QString tsvFilter = QStringLiteral("Tab-separated text (*.tsv)|*.tsv|");
        const QString chosen = file("chosen.dic");
        h_->platform.answerDialog(chosen);
        main_->MFSaveAs_Click();
        QCOMPARE(h_->platform.dialogs.at(1).filter, saveAsFilter + tsvFilter);
        QCOMPARE(readBytes(chosen), QByteArray("x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\n"));
        QCOMPARE(state().CurrentFile, chosen);
        QCOMPARE(main_->windowTitle(), QStringLiteral("Vorbix - ") + chosen);
        // Open now shows the Save As filter first, and its name.
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.at(2).filter, saveAsFilter + otherLists);
        QCOMPARE(h_->platform.dialogs[2].fileName, chosen);
        QVERIFY(h_->platform.messages.empty());
    }

    void failedOpenChangesNothingAndOffersDialogAgain_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no such file
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QByteArray() << "ERROR 53: There is no such a file!";
        QTest::newRow("odd lines") << QByteArray("a\r\nb\r\nc\r\n") << "ERROR 62 occurred.";
        QTest::newRow("line too long") << "a\r\n" + QByteArray(70000, 'z') + "\r\n" << "ERROR 59 occurred.";
    }
    void failedOpenChangesNothingAndOffersDialogAgain()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString good = file("good.dic");
        writeBytes(good, "hea\r\ngood\r\nhalb\r\nbad\r\n");
        h_->platform.answerDialog(good);
        main_->MFOpen_Click();
        const QString bad = file("bad.dic");
        if (!bytes.isEmpty())
            writeBytes(bad, bytes);
        const QStringList before = snapshot();

        h_->platform.answerDialog(bad);
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(3));
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QCOMPARE(h_->platform.messages[0].text, message + (bytes.isEmpty() ? bad : QString()));
        QCOMPARE(snapshot(), before);
    }

    void saveAsEndsProgramOnlyOnTheWayOut_data()
    {
        QTest::addColumn<int>("pending");
        QTest::addColumn<int>("closing");
        QTest::addColumn<QString>("target"); // empty: the dialog is cancelled
        QTest::addColumn<bool>("ends");
        QTest::newRow("exit pending") << int(PendingExit) << 0 << "out.dic" << true;
        QTest::newRow("main window closing") << 0 << 1 << "out.dic" << true;
        QTest::newRow("open pending") << int(PendingOpen) << 0 << "out.dic" << false;
        QTest::newRow("write fails on exit") << int(PendingExit) << 0 << "taken.dic" << false;
        QTest::newRow("cancelled on close") << 0 << 1 << "" << false;
    }
    void saveAsEndsProgramOnlyOnTheWayOut()
    {
        QFETCH(int, pending);
        QFETCH(int, closing);
        QFETCH(QString, target);
        QFETCH(bool, ends);
        h_->setWords({{"a", "b"}});
        QVERIFY(QDir(h_->folder.path()).mkdir("taken.dic"));
        state().PendingAction = static_cast<std::int16_t>(pending);
        state().MainWindowClosing = static_cast<std::int16_t>(closing);
        const QStringList before = snapshot();
        target.isEmpty() ? h_->platform.cancelDialog() : h_->platform.answerDialog(file(target));
        main_->MFSaveAs_Click();
        QCOMPARE(h_->program.ended(), ends);
        QCOMPARE(h_->platform.ended, ends ? 1 : 0);
        QCOMPARE(h_->platform.messages.size(), size_t(target == "taken.dic"));
        if (target == "out.dic")
            QCOMPARE(readBytes(file(target)), QByteArray("a\r\nb\r\n"));
        else
            QCOMPARE(snapshot(), before);
    }

private:
    const QString otherLists = QStringLiteral(
        "All word lists (*.dic *.kvtml *.csv *.tsv *.txt)|*.dic;*.kvtml;*.csv;*.tsv;*.txt|"
        "KVTML (*.kvtml)|*.kvtml|Text lists (*.csv *.tsv *.txt)|*.csv;*.tsv;*.txt|");
    MOODUL1& state() { return h_->program.state(); }
    // Everything a failed command must leave as it was.
    QStringList snapshot()
    {
        QStringList all{main_->windowTitle(), state().CurrentFile, QString::number(state().LastWordIndex)};
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            all << state().KnownWords[i] << state().UnknownWords[i];
        return all << QString::number(state().WordsModified);
    }
    QString file(const QString& name) const { return h_->file(name); }

    std::unique_ptr<FolderHarness> h_;
    Main* main_ = nullptr;
};

QTEST_MAIN(DictionaryCommandsTest)
#include "test_dictionary_commands.moc"
