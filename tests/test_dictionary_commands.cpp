#include "dictionary/Import.h"
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "support/Harness.h"
#include "ui/main/Import.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"

#include "ui_Import.h"
#include "ui_Kassav.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStringEncoder>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

// Open, Save, Save As and the save prompt on .dic files and other
// programs' lists, through the main window, and files dropped on it.
class DictionaryCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        h_ = std::make_unique<FolderHarness>();
        QVERIFY(h_->folder.isValid());
        main_ = &h_->program.show<Main>();
    }
    void cleanup()
    {
        h_.reset();
        Harness::flush();
    }

    // A file that does not open, by Open or dropped, leaves everything as it
    // was (the format of the list in memory too) and offers the dialog
    // again. A dropped file opens as Open opens it; a changed list raises
    // the prompt first (its answers: droppedFileGoesThroughThePrompt). A
    // list from another program is refused in the words of the import
    // preview.
    void openOrDropChangesNothingUnlessItOpens_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty: no such file
        QTest::addColumn<int>("how"); // 0 Open, 1 dropped, 2 dropped on a changed list
        QTest::addColumn<QString>("message"); // empty: opens; "preview": the import preview's
        QTest::newRow("missing file") << "bad.dic" << QByteArray() << 0 << "ERROR 53: There is no such a file!";
        QTest::newRow("odd lines") << "bad.dic" << QByteArray("a\r\nb\r\nc\r\n") << 0 << "ERROR 62 occurred.";
        QTest::newRow("line too long") << "bad.dic"
                                       << "a\r\n" + QByteArray(70000, 'z') + "\r\n"
                                       << 0 << "ERROR 59 occurred.";
        QTest::newRow("stray Latin-1 byte")
            << "bad.dic" << QByteArray("\xC5\xA1okk\r\ncaf\xE9\r\n") << 0 << "ERROR 54 occurred.";
        QTest::newRow("lone CR") << "bad.dic" << QByteArray("a\rb\r\nc\r\n") << 0 << "ERROR 63 occurred.";
        QTest::newRow("csv without a usable pair") << "bad.csv" << QByteArray("only;\n;words\n") << 0 << "preview";
        QTest::newRow("dropped, broken: message, then the dialog")
            << "dropped.csv" << QByteArray("a,\"b\nc,d\n") << 1 << "preview";
        QTest::newRow("dropped, opens") << "dropped.csv" << QByteArray("koer;dog\n") << 1 << "";
        QTest::newRow("dropped on a changed list: prompt") << "dropped.csv" << QByteArray("koer;dog\n") << 2 << "";
    }
    void openOrDropChangesNothingUnlessItOpens()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, how);
        QFETCH(QString, message);
        const QString good = file("good.dic"), bad = file(name);
        writeBytes(good, "\xEF\xBB\xBFhea\r\ngood\r\nhalb\r\nbad\r\n");
        h_->platform.answerDialog(good);
        main_->MFOpen_Click();
        if (!bytes.isEmpty())
            writeBytes(bad, bytes);
        state().WordsModified = how == 2;
        const QStringList before = snapshot();
        if (how == 0)
            h_->platform.answerDialog(bad);
        h_->platform.cancelDialog();
        if (how == 0) {
            main_->MFOpen_Click();
        } else {
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(bad)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(main_, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(main_, &drop);
            QCoreApplication::processEvents();
        }
        if (Import* w = h_->program.loaded<Import>())
            w->ui->buttonBox->button(QDialogButtonBox::Ok)->click();
        if (message == "preview")
            message = previewImport(bytes, bad).errorText;
        QCOMPARE(bool(h_->program.loaded<Kassav>()), how == 2);
        QCOMPARE(state().PendingAction, std::int16_t(how == 2 ? PendingOpen : 0));
        QCOMPARE(h_->platform.dialogs.size(), size_t(message.isEmpty() ? 1 : how ? 2 : 3));
        QCOMPARE(h_->platform.messages.size(), size_t(!message.isEmpty()));
        if (!message.isEmpty())
            QCOMPARE(h_->platform.messages[0].text, message + (bytes.isEmpty() ? bad : QString()));
        if (how == 1 && message.isEmpty())
            QCOMPARE(snapshot().mid(0, 5), (QStringList{"English Quorvel - dropped.csv", bad, "0", "koer", "dog"}));
        else
            QCOMPARE(snapshot(), before);
    }

    // A file dropped on a changed list goes through the prompt with its
    // path: Yes saves, then opens it; No opens it unsaved; Cancel, a
    // cancelled or failed save, and closing the main window open nothing.
    void droppedFileGoesThroughThePrompt_data()
    {
        QTest::addColumn<QString>("list"); // named, untitled (and the Save As answered or cancelled) or unwritable
        QTest::addColumn<QString>("answer"); // the prompt's button, clicked
        QTest::addColumn<QString>("outcome"); // the editor's rows, list.dic, dialogs, the current file, changed
        const char* rows[][4] = {
            {"Yes", "named", "Command1", "koer/dog, list.dic: old/vana/typed/word, 0 dialogs, dropped.dic, changed 0"},
            {"Yes, untitled: Save As, then the drop", "untitled", "Command1",
             "koer/dog, list.dic: old/vana/typed/word, 1 dialogs, dropped.dic, changed 0"},
            {"Yes, Save As cancelled", "untitled cancelled", "Command1",
             "old/vana, typed/word, list.dic: missing, 1 dialogs, Untitled.dic, changed 0"},
            {"Yes, the save fails", "unwritable", "Command1",
             "old/vana, typed/word, list.dic: missing, 0 dialogs, list.dic, changed 1, message"},
            {"No", "named", "Command2", "koer/dog, list.dic: old/vana, 0 dialogs, dropped.dic, changed 0"},
            {"Cancel", "named", "Command3", "old/vana, typed/word, list.dic: old/vana, 0 dialogs, list.dic, changed 1"},
            // Not on the way out; the editor keeps the program running.
            {"Yes after the main window closed", "named, main closed", "Command1",
             "old/vana, typed/word, list.dic: old/vana/typed/word, 0 dialogs, list.dic, changed 0"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]);
    }
    void droppedFileGoesThroughThePrompt()
    {
        QFETCH(QString, list);
        QFETCH(QString, answer);
        const QString listFile = file("list.dic"), dropped = file("dropped.dic");
        writeBytes(dropped, "koer\r\ndog\r\n");
        h_->setWords({{"old", "vana"}});
        if (list.startsWith("named"))
            writeBytes(listFile, "old\r\nvana\r\n");
        if (list != "untitled" && list != "untitled cancelled")
            state().CurrentFile = list == "unwritable" ? file("no folder/list.dic") : listFile;
        list == "untitled" ? h_->platform.answerDialog(listFile) : h_->platform.cancelDialog();
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        QTest::keyClicks(e->ui->Text2, "word");
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        QTest::keyClicks(e->ui->Text1, "typed");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(dropped)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main_, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main_, &drop);
        QCoreApplication::processEvents();
        Kassav* prompt = h_->program.loaded<Kassav>();
        QVERIFY(prompt && prompt->isVisible());
        if (list.endsWith("main closed"))
            main_->windowHandle()->close();
        QTest::mouseClick(prompt->findChild<QPushButton*>(answer), Qt::LeftButton);
        Harness::flush();

        const QByteArray onDisk = readBytes(listFile);
        QStringList outcome{
            pairs(h_->program.loaded<Editor>()),
            "list.dic: " + (onDisk == "<missing>" ? "missing" : QString(onDisk).replace("\r\n", "/").chopped(1)),
            QString("%1 dialogs").arg(h_->platform.dialogs.size()), QFileInfo(state().CurrentFile).fileName(),
            QString("changed %1").arg(state().WordsModified)};
        if (!h_->platform.messages.empty())
            outcome << "message";
        QTEST(outcome.join(", "), "outcome");
        QVERIFY(!h_->program.loaded<Kassav>() && state().PendingAction == PendingNone);
    }

    // A word as long as the editor's box takes is saved; one more letter is
    // refused with the pair named, and the file stays. New then forgets only
    // the file name.
    void saveRefusesAWordOpenWouldRefuse()
    {
        const QString path = file("words.dic");
        writeBytes(path, "old\r\nvana\r\n");
        h_->platform.answerDialog(path);
        main_->MFOpen_Click();
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        const QString longest(MaxWordLength, u'õ');
        setBoxes(e, longest + "more", "pikk");
        e->ui->Command1->click();
        e->ui->Command4->click();
        main_->MFSave_Click();
        QVERIFY(h_->platform.messages.empty());
        QCOMPARE(readDictionaryFile(path).pairs, (WordPairs{{"old", "vana"}, {longest, "pikk"}}));

        const QStringList before = snapshot();
        state().KnownWords[1] += "x";
        main_->MFSave_Click();
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY2(h_->platform.messages[0].text.contains("pair 2 (\"õõõ"), qPrintable(h_->platform.messages[0].text));
        QVERIFY(readBytes(path).endsWith("pikk\r\n"));
        QCOMPARE(snapshot().mid(0, 3), before.mid(0, 3));
        QStringList opened = snapshot();
        main_->MFNew_Click();
        QVERIFY(main_->isUntitled());
        opened[1] = state().CurrentFile;
        QCOMPARE(snapshot(), opened);
    }

    // A .dic keeps its format through Save and the prompt's writer; a list
    // from KVTML, CSV or text with more columns is never written over: Save,
    // and the prompt's Yes, go to Save As with the .dic name, after which
    // Save writes the .dic without asking.
    void saveWritesWhereTheListMayGo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("viaPrompt");
        QTest::addColumn<QByteArray>("written");
        const QByteArray kvtml =
            "<kvtml version=\"2.0\"><entries><entry id=\"0\"><translation id=\"0\"><text>koer</text>"
            "</translation><translation id=\"1\"><text>dog</text></translation></entry>"
            "<entry id=\"1\"><translation id=\"0\"><text>kass</text></translation></entry>"
            "</entries></kvtml>";
        const QByteArray one = "koer\r\ndog\r\n", utf16 = utf16Text("koer\r\ndog\r\nx}ray\r\nрентген\r\n");
        QTest::newRow("UTF-16 dic, Save") << "notepad.dic" << utf16 << false << utf16;
        QTest::newRow("UTF-16 dic, prompt")
            << "notepad.dic" << utf16 << true << utf16Text("koer\r\ndog\r\nx-ray\r\nрентген\r\n");
        QTest::newRow("kvtml, Save") << "words.kvtml" << kvtml << false << one;
        QTest::newRow("three columns, prompt") << "words.txt" << QByteArray("koer\tdog\tHund\n") << true << one;
        // Tab-separated text is written back in UTF-8 only.
        QTest::newRow("tsv in Windows-1257, Save") << "words.tsv" << QByteArray("koer\tdog\n\xF5un\tapple\n") << false
                                                   << QByteArray("koer\r\ndog\r\n\xF5un\r\napple\r\n");
        QTest::newRow("tsv with a mark, Save") << "words.tsv" << QByteArray("\xEF\xBB\xBFkoer\tdog\n") << false
                                               << QByteArray("\xEF\xBB\xBFkoer\r\ndog\r\n");
    }
    void saveWritesWhereTheListMayGo()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, viaPrompt);
        QFETCH(QByteArray, written);
        const QString source = file(name), dic = file(QFileInfo(name).completeBaseName() + ".dic");
        const bool imported = source != dic;
        writeBytes(source, bytes);
        h_->setWords({{"old", "vana"}, {"two", "kaks"}, {"three", "kolm"}});
        h_->platform.answerDialog(source);
        main_->MFOpen_Click();
        QCOMPARE(bool(h_->program.loaded<Import>()), imported);
        if (imported)
            h_->program.loaded<Import>()->ui->buttonBox->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(h_->platform.dialogs.at(0).filter, "Quorvel's Files (*.dic) |*.dic|" + otherLists);
        const QStringList opened = snapshot();
        QCOMPARE(opened.mid(0, 2), (QStringList{"English Quorvel - " + name, source}));
        QCOMPARE(opened.mid(3, 2) + opened.mid(7, 2), (QStringList{"koer", "dog", "", ""}));
        QCOMPARE(state().CurrentFileKind, imported ? FileKind::Imported : FileKind::Dictionary);
        const bool skipped = name.endsWith("kvtml");
        QCOMPARE(h_->platform.messages.size(), size_t(skipped));
        if (skipped)
            QCOMPARE(h_->platform.messages[0].text,
                     "1 word pair was read from " + name + "; 1 entry was skipped: 1 "
                         + skipReasonText(SkipReason::MissingWord) + ".");
        if (imported)
            h_->platform.answerDialog(dic);
        state().WordsModified = viaPrompt;
        if (viaPrompt) {
            main_->MFExit_Click();
            h_->program.loaded<Kassav>()->ui->Command1->click();
            QVERIFY(h_->program.ended());
        } else {
            main_->MFSave_Click();
        }
        QCOMPARE(h_->platform.dialogs.size(), size_t(1 + imported));
        QCOMPARE(readBytes(dic), written);
        if (imported) {
            QCOMPARE(h_->platform.dialogs[1].mode, FileDialogRequest::Mode::Save);
            QCOMPARE(h_->platform.dialogs[1].fileName, dic);
            QCOMPARE(readBytes(source), bytes);
        }
        if (viaPrompt)
            return;
        QCOMPARE(state().CurrentFile, dic);
        QCOMPARE(state().CurrentFileKind, FileKind::Dictionary);
        state().KnownWords[0] = "hunt";
        main_->MFSave_Click();
        QByteArray hunt = QByteArray(written).replace("koer", "hunt");
        QCOMPARE(readBytes(dic), hunt.replace(QByteArray("k\0o\0e\0r", 7), QByteArray("h\0u\0n\0t", 7)));
        // Save As keeps the format too; the dialogs' filters follow the last one used.
        const QString copy = file("copy.dic");
        h_->platform.answerDialog(copy);
        main_->MFSaveAs_Click();
        QCOMPARE(h_->platform.dialogs.back().filter, saveAsFilters);
        QCOMPARE(readBytes(copy), readBytes(dic));
        QCOMPARE(main_->windowTitle(), "Vorbix - " + copy);
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.back().filter, "Quorvel Files (*.dic)|*.dic|" + otherLists);
        QCOMPARE(h_->platform.dialogs.back().fileName, copy);
        QCOMPARE(h_->platform.messages.size(), size_t(skipped));
    }

    // The form Save As writes, by name and filter, which Save and the
    // prompt then keep; a list tab-separated text cannot give back is
    // refused with the pair named, and nothing changes. Save As ends the
    // program only when it was asked on the way out and the write worked.
    void saveAs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("unknown");
        QTest::addColumn<int>("way"); // 1 main window closing, 2 Open pending, 3 Exit pending
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray dic = "a}b\r\nc\r\ntab\tin\r\n\"q\"\r\n", tsv = "a-b\tc\r\n\"tab\tin\"\t\"\"\"q\"\"\"\r\n",
                         csv = "\xEF\xBB\xBF"
                               "a-b,c\r\n\"tab\tin\",\"\"\"q\"\"\"\r\n";
        QTest::newRow("dic") << "a.dic" << 0 << "c" << 0 << dic;
        QTest::newRow("tsv by name") << "a.TSV" << 0 << "c" << 0 << tsv;
        QTest::newRow("tsv by filter") << "a" << 1 << "c" << 0 << tsv;
        QTest::newRow(".dic wins over the filter") << "a.dic" << 1 << "c" << 0 << dic;
        QTest::newRow("other names are tab-separated") << "a.txt" << 0 << "c" << 0 << tsv;
        QTest::newRow("csv by name") << "a.csv" << 1 << "c" << 0 << csv;
        QTest::newRow("an empty word is refused") << "a.tsv" << 0 << "" << 0 << QByteArray("<missing>");
        QTest::newRow("main window closing: ends") << "a.dic" << 0 << "c" << 1 << dic;
        QTest::newRow("open pending: goes on") << "a.dic" << 0 << "c" << 2 << dic;
        QTest::newRow("write fails on exit: goes on") << "taken.dic" << 0 << "c" << 3 << QByteArray("<missing>");
    }
    void saveAs()
    {
        QFETCH(QString, name);
        QFETCH(int, filter);
        QFETCH(QString, unknown);
        QFETCH(int, way);
        QFETCH(QByteArray, bytes);
        h_->setWords({{"a-b", unknown}, {"tab\tin", "\"q\""}});
        QVERIFY(QDir(h_->folder.path()).mkdir("taken.dic"));
        state().PendingAction = std::int16_t(way == 2 ? PendingOpen : way == 3 ? PendingExit : 0);
        state().MainWindowClosing = way == 1;
        const QStringList before = snapshot();
        const QString path = file(name);
        h_->platform.answerDialog(path, filter);
        main_->MFSaveAs_Click();
        const bool fails = bytes == "<missing>";
        QCOMPARE(readBytes(path), bytes);
        QCOMPARE(main_->lastSaveAsFailed(), fails);
        QCOMPARE(h_->program.ended(), way == 1);
        QCOMPARE(h_->platform.ended, way == 1 ? 1 : 0);
        QCOMPARE(h_->platform.messages.size(), size_t(fails));
        if (unknown.isEmpty())
            QVERIFY2(h_->platform.messages[0].text.contains("pair 1 (\"a-b\", \"\")"),
                     qPrintable(h_->platform.messages[0].text));
        if (fails)
            QCOMPARE(snapshot(), before);
        if (fails || way)
            return;
        QCOMPARE(snapshot().mid(0, 2), (QStringList{"Vorbix - " + path, path}));
        const FileKind kind = bytes.startsWith("a-b\t") ? FileKind::TabSeparated
            : bytes.contains("a-b,")                    ? FileKind::CommaSeparated
                                                        : FileKind::Dictionary;
        QCOMPARE(state().CurrentFileKind, kind);
        state().UnknownWords[0] = "d";
        main_->MFSave_Click();
        const QByteArray saved =
            QByteArray(bytes).replace("\nc\r", "\nd\r").replace("\tc\r", "\td\r").replace(",c\r", ",d\r");
        QCOMPARE(readBytes(path), saved);
        // The prompt's writer keeps the hyphen.
        state().WordsModified = 1;
        main_->MFExit_Click();
        h_->program.loaded<Kassav>()->ui->Command1->click();
        QVERIFY(h_->program.ended());
        QCOMPARE(readBytes(path), QByteArray(saved).replace('}', '-'));
        QCOMPARE(h_->platform.dialogs.size(), size_t(1));
    }

private:
    const QString otherLists = "All word lists (*.dic *.kvtml *.csv *.tsv *.txt)|*.dic;*.kvtml;*.csv;*.tsv;*.txt|"
                               "KVTML (*.kvtml)|*.kvtml|Text lists (*.csv *.tsv *.txt)|*.csv;*.tsv;*.txt|";
    const QString saveAsFilters = "Quorvel Files (*.dic)|*.dic|Tab-separated text (*.tsv)|*.tsv|"
                                  "Comma-separated text (*.csv)|*.csv|KVTML (*.kvtml)|*.kvtml|";
    static QByteArray utf16Text(const QString& text)
    {
        return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(text);
    }
    MOODUL1& state() { return h_->program.state(); }
    QString file(const QString& name) const { return h_->file(name); }
    // Everything a failed command must leave as it was.
    QStringList snapshot()
    {
        QStringList all{main_->windowTitle(), state().CurrentFile, QString::number(state().LastWordIndex)};
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            all << state().KnownWords[i] << state().UnknownWords[i];
        const auto& format = state().CurrentFileFormat;
        all << (format ? QString("%1/%2").arg(int(format->encoding)).arg(format->byteOrderMark) : "none");
        return all << QString::number(state().WordsModified) << QString::number(int(state().CurrentFileKind));
    }

    std::unique_ptr<FolderHarness> h_;
    Main* main_ = nullptr;
};

QTEST_MAIN(DictionaryCommandsTest)
#include "test_dictionary_commands.moc"
