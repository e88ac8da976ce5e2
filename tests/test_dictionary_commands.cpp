#include "support/Files.h"
#include "dictionary/DictionaryFile.h"
#include "support/EditorDriver.h"
#include "support/Harness.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui_Kassav.h"

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
        QTest::newRow("UTF-8 with a stray Latin-1 byte") << QByteArray("\xC5\xA1okk\r\ncaf\xE9\r\n") << "ERROR 54 occurred.";
        QTest::newRow("UTF-16 without its mark") << QByteArray("a\0\r\0\n\0b\0\r\0\n\0", 12) << "ERROR 54 occurred.";
        QTest::newRow("lone CR") << QByteArray("a\rb\r\nc\r\n") << "ERROR 63 occurred.";
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

    // A UTF-16 list stays UTF-16 through Open, Save, Save As and the save
    // prompt's writer; a failed Open keeps the format of the list in memory.
    void theFileFormatFollowsTheList()
    {
        const auto utf16 = [](const QString& text) {
            QByteArray out("\xFF\xFE");
            for (const QChar c : text)
                out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            return out;
        };
        const QString path = file("notepad.dic");
        writeBytes(path, utf16("x}ray\r\nрентген\r\n"));
        h_->platform.answerDialog(path);
        main_->MFOpen_Click();
        QCOMPARE(state().KnownWords[0], QStringLiteral("x-ray"));

        writeBytes(file("bad.dic"), "\xA1\r\nx\r\n");
        h_->platform.answerDialog(file("bad.dic"));
        h_->platform.cancelDialog();
        main_->MFOpen_Click();

        main_->MFSave_Click();
        QCOMPARE(readBytes(path), utf16("x}ray\r\nрентген\r\n"));
        h_->platform.answerDialog(file("copy.dic"));
        main_->MFSaveAs_Click();
        QCOMPARE(readBytes(file("copy.dic")), utf16("x}ray\r\nрентген\r\n"));

        state().WordsModified = 1;
        main_->MFExit_Click();
        h_->program.loaded<Kassav>()->ui->Command1->click();
        QVERIFY(h_->program.ended());
        QCOMPARE(readBytes(file("copy.dic")), utf16("x-ray\r\nрентген\r\n"));
        QCOMPARE(h_->platform.messages.size(), size_t(1)); // the bad file's
    }

    // A word the file cannot take is refused with the pair named, and the
    // file stays; a word as long as the editor's box takes is saved.
    void saveRefusesAWordOpenWouldRefuse()
    {
        const QString path = file("words.dic");
        writeBytes(path, "old\r\nvana\r\n");
        h_->platform.answerDialog(path);
        main_->MFOpen_Click();
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        const QString longest(dictionary::MaxWordLength, u'õ');
        setBoxes(e, longest + "more", "pikk");
        e->ui->Command1->click();
        e->ui->Command4->click();
        main_->MFSave_Click();
        QVERIFY2(h_->platform.messages.empty(), h_->platform.messages.empty() ? "" : qPrintable(h_->platform.messages[0].text));
        QCOMPARE(dictionary::readDictionaryFile(path).pairs, (dictionary::WordPairs{{"old", "vana"}, {longest, "pikk"}}));

        const QStringList before = snapshot();
        state().KnownWords[1] += "x";
        main_->MFSave_Click();
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY2(h_->platform.messages[0].text.contains("pair 2 (\"õõõ"), qPrintable(h_->platform.messages[0].text));
        QVERIFY(readBytes(path).endsWith("pikk\r\n"));
        QCOMPARE(snapshot().mid(0, 3), before.mid(0, 3));
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
        const auto& format = state().CurrentFileFormat;
        all << (format ? QString("%1/%2").arg(int(format->encoding)).arg(format->byteOrderMark) : "none");
        return all << QString::number(state().WordsModified);
    }
    QString file(const QString& name) const { return h_->file(name); }

    std::unique_ptr<FolderHarness> h_;
    Main* main_ = nullptr;
};

QTEST_MAIN(DictionaryCommandsTest)
#include "test_dictionary_commands.moc"
