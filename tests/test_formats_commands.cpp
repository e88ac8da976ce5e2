#include "dictionary/WordListFile.h"
#include "support/Files.h"
#include "support/Harness.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"

#include "ui_Kassav.h"

#include <QDropEvent>
#include <QMimeData>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

// Open, Save, Save As and the save prompt with lists from other programs,
// and files dropped on the main window.
class FormatsCommandsTest : public QObject {
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

    // A list from KVTML, CSV or text with more columns is never written
    // over: Save, and the prompt's Yes, go to Save As with the .dic name.
    void foreignListsAreSavedAsDic_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<bool>("viaPrompt");
        QTest::addColumn<QByteArray>("dicBytes");
        const QByteArray kvtml = "<kvtml version=\"2.0\"><entries>"
                                 "<entry id=\"0\"><translation id=\"0\"><text>koer</text></translation>"
                                 "<translation id=\"1\"><text>dog</text></translation></entry>"
                                 "<entry id=\"1\"><translation id=\"0\"><text>kass</text></translation></entry>"
                                 "</entries></kvtml>";
        const QByteArray one = "koer\r\ndog\r\n";
        QTest::newRow("kvtml, Save") << "words.kvtml" << kvtml << 1 << false << one;
        QTest::newRow("kvtml, prompt") << "words.kvtml" << kvtml << 1 << true << one;
        QTest::newRow("csv, Save") << "words.csv" << QByteArray("koer,dog\n") << 0 << false << one;
        QTest::newRow("three columns, prompt") << "words.txt" << QByteArray("koer\tdog\tHund\n") << 0 << true << one;
        // Tab-separated text is written back in UTF-8 only.
        QTest::newRow("tsv in Windows-1257, Save") << "words.tsv" << QByteArray("koer\tdog\n\xF5un\tapple\n") << 0
                                                   << false << QByteArray("koer\r\ndog\r\n\xF5un\r\napple\r\n");
        QTest::newRow("tsv with a mark, Save") << "words.tsv" << QByteArray("\xEF\xBB\xBFkoer\tdog\n") << 0 << false
                                               << QByteArray("\xEF\xBB\xBFkoer\r\ndog\r\n");
    }
    void foreignListsAreSavedAsDic()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, skipped);
        QFETCH(bool, viaPrompt);
        QFETCH(QByteArray, dicBytes);
        const QString source = file(name);
        writeBytes(source, bytes);
        h_->platform.answerDialog(source);
        main_->MFOpen_Click();
        QCOMPARE(state().KnownWords[0] + "/" + state().UnknownWords[0], QString("koer/dog"));
        QCOMPARE(main_->windowTitle(), "English Quorvel - " + name);
        QCOMPARE(state().CurrentFileKind, FileKind::Imported);
        QCOMPARE(h_->platform.messages.size(), size_t(skipped));
        if (skipped)
            QCOMPARE(h_->platform.messages[0].text,
                     "1 word pair was read from " + name + "; 1 entry was skipped: 1 without both words.");

        const QString dic = dictionaryNameFor(source);
        h_->platform.answerDialog(dic);
        if (viaPrompt) {
            state().WordsModified = 1;
            main_->MFExit_Click();
            QVERIFY(h_->program.loaded<Kassav>());
            h_->program.loaded<Kassav>()->ui->Command1->click();
            QVERIFY(h_->program.ended());
        } else {
            main_->MFSave_Click();
        }
        QCOMPARE(h_->platform.dialogs.size(), size_t(2));
        QCOMPARE(h_->platform.dialogs[1].mode, FileDialogRequest::Mode::Save);
        QCOMPARE(h_->platform.dialogs[1].fileName, dic);
        QCOMPARE(readBytes(source), bytes);
        QCOMPARE(readBytes(dic), dicBytes);
        if (!viaPrompt) {
            QCOMPARE(state().CurrentFile, dic);
            QCOMPARE(state().CurrentFileKind, FileKind::Dictionary);
            // From now on Save writes the .dic without asking.
            state().KnownWords[0] = "hunt";
            main_->MFSave_Click();
            QCOMPARE(h_->platform.dialogs.size(), size_t(2));
            QCOMPARE(readBytes(dic), QByteArray(dicBytes).replace("koer", "hunt"));
        }
    }

    // Save As writes tab-separated text for a .tsv name or its filter; Save
    // and the prompt then keep that form.
    void tabSeparatedExport()
    {
        h_->setWords({{"x-ray", "röntgen"}, {"tab\tin", "\"q\""}});
        const QString tsv = file("list.tsv");
        h_->platform.answerDialog(tsv);
        main_->MFSaveAs_Click();
        QCOMPARE(h_->platform.dialogs[0].filter,
                 QString("Quorvel Files (*.dic)|*.dic|Tab-separated text (*.tsv)|*.tsv|"));
        const QByteArray written("x-ray\tr\xC3\xB6ntgen\r\n\"tab\tin\"\t\"\"\"q\"\"\"\r\n");
        QCOMPARE(readBytes(tsv), written);
        QCOMPARE(state().CurrentFile, tsv);
        QCOMPARE(state().CurrentFileKind, FileKind::TabSeparated);
        QCOMPARE(main_->windowTitle(), "Vorbix - " + tsv);

        state().UnknownWords[0] = "x}ray";
        main_->MFSave_Click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(1));
        QCOMPARE(readBytes(tsv), QByteArray(written).replace("r\xC3\xB6ntgen", "x}ray"));
        state().WordsModified = 1;
        main_->MFExit_Click();
        h_->program.loaded<Kassav>()->ui->Command1->click();
        QVERIFY(h_->program.ended());
        QCOMPARE(readBytes(tsv).left(12), QByteArray("x-ray\tx}ray\r"));

        // Opened again it is Vorbix's own: Save writes it back in place.
        FolderHarness h2;
        h2.platform.answerDialog(tsv);
        Main& main2 = h2.program.form<Main>();
        main2.MFOpen_Click();
        QCOMPARE(h2.program.state().CurrentFileKind, FileKind::TabSeparated);
        QCOMPARE(h2.program.state().KnownWords[1], QString("tab\tin"));
        main2.MFSave_Click();
        QCOMPARE(h2.platform.dialogs.size(), size_t(1));
    }

    void saveAsFormatByNameOrFilter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("dic") << "a.dic" << 0 << QByteArray("a}b\r\nc\r\n");
        QTest::newRow("tsv by name") << "a.TSV" << 0 << QByteArray("a-b\tc\r\n");
        QTest::newRow("tsv by filter") << "a" << 1 << QByteArray("a-b\tc\r\n");
        QTest::newRow(".dic wins over the filter") << "a.dic" << 1 << QByteArray("a}b\r\nc\r\n");
        QTest::newRow("other names are .dic") << "a.txt" << 0 << QByteArray("a}b\r\nc\r\n");
    }
    void saveAsFormatByNameOrFilter()
    {
        QFETCH(QString, name);
        QFETCH(int, filter);
        QFETCH(QByteArray, bytes);
        h_->setWords({{"a-b", "c"}});
        h_->platform.answerDialog(file(name), filter);
        main_->MFSaveAs_Click();
        QCOMPARE(readBytes(file(name)), bytes);
    }

    // A list that a tab-separated file cannot give back is refused with the
    // pair named; nothing changes.
    void refusedExportChangesNothing()
    {
        h_->setWords({{"koer", "dog"}, {"kass", ""}});
        const QString before = state().CurrentFile;
        h_->platform.answerDialog(file("out.tsv"));
        main_->MFSaveAs_Click();
        QVERIFY(main_->lastSaveAsFailed());
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY2(h_->platform.messages[0].text.contains("pair 2 (\"kass\", \"\")"),
                 qPrintable(h_->platform.messages[0].text));
        QCOMPARE(readBytes(file("out.tsv")), QByteArray("<missing>"));
        QCOMPARE(state().CurrentFile, before);
    }

    // A file with nothing usable is refused like any broken file: the
    // message, nothing changed, the dialog again.
    void noUsablePairIsRefused()
    {
        h_->setWords({{"vana", "old"}});
        state().WordsModified = 0;
        const QString bad = file("empty.csv");
        writeBytes(bad, "only;\n;words\n");
        const QStringList before = snapshot();
        h_->platform.answerDialog(bad);
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(2));
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QCOMPARE(h_->platform.messages[0].text, QString("ERROR 64 occurred."));
        QCOMPARE(snapshot(), before);
    }

    // A dropped file opens as Open opens it; a changed list raises the
    // prompt instead, and the drop is not carried out.
    void droppedFiles_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("broken");
        QTest::newRow("opens") << false << false;
        QTest::newRow("changed list: prompt") << true << false;
        QTest::newRow("broken: message, then the dialog") << false << true;
    }
    void droppedFiles()
    {
        QFETCH(bool, changed);
        QFETCH(bool, broken);
        h_->setWords({{"vana", "old"}});
        state().WordsModified = changed ? 1 : 0;
        const QString path = file("dropped.csv");
        writeBytes(path, broken ? "a,\"b\nc\",d\n" : "koer;dog\n");
        const QStringList before = snapshot();
        h_->platform.cancelDialog();

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main_, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main_, &drop);
        QCoreApplication::processEvents();

        if (changed) {
            QVERIFY(h_->program.loaded<Kassav>());
            QCOMPARE(state().PendingAction, std::int16_t(PendingOpen));
            QCOMPARE(snapshot(), before);
        } else if (broken) {
            QCOMPARE(h_->platform.messages.size(), size_t(1));
            QCOMPARE(h_->platform.messages[0].text, QString("ERROR 63 occurred."));
            QCOMPARE(h_->platform.dialogs.size(), size_t(1));
            QCOMPARE(snapshot(), before);
        } else {
            QCOMPARE(state().KnownWords[0] + "/" + state().UnknownWords[0], QString("koer/dog"));
            QCOMPARE(state().CurrentFile, path);
            QCOMPARE(main_->windowTitle(), QString("English Quorvel - dropped.csv"));
            QCOMPARE(h_->platform.dialogs.size(), size_t(0));
        }
    }

private:
    MOODUL1& state() { return h_->program.state(); }
    QString file(const QString& name) const { return h_->file(name); }
    QStringList snapshot()
    {
        QStringList all{main_->windowTitle(), state().CurrentFile, QString::number(state().LastWordIndex)};
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            all << state().KnownWords[i] << state().UnknownWords[i];
        return all << QString::number(state().WordsModified);
    }

    std::unique_ptr<FolderHarness> h_;
    Main* main_ = nullptr;
};

QTEST_MAIN(FormatsCommandsTest)
#include "test_formats_commands.moc"
