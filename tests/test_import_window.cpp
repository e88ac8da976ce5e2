#include "dictionary/Import.h"
#include "dictionary/ImportText.h"
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "support/Harness.h"
#include "ui/main/Algus.h"
#include "ui/main/Import.h"
#include "ui/main/ImportRead.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/test/Test.h"

#include "ui_Import.h"
#include "ui_Kassav.h"
#include "ui_Main.h"

#include <QDropEvent>
#include <QMimeData>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

// Lists from other programs through the import window, on the real windows:
// each way a file arrives, OK by Enter, a changed choice, everything that
// leaves the list as it was, and Save As under every name Open lists.
class ImportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { start(true); }
    void start(bool showMain)
    {
        h_ = std::make_unique<FolderHarness>();
        QVERIFY(h_->folder.isValid());
        main_ = showMain ? &h_->program.show<Main>() : nullptr;
        writeBytes(file("list.csv"), "koer;dog\r\nkass;cat\r\nhiir;mouse\r\n");
        h_->setWords({{"vana", "old"}, {"uus", "new"}});
    }
    void cleanup()
    {
        h_.reset();
        Harness::flush();
    }

    // However the file comes, the window shows it before anything changes,
    // with the pairs as they will be read; Enter on the first control takes
    // them as an opened file, editor included.
    void eachWayInThenEnter_data()
    {
        QTest::addColumn<QString>("way");
        for (const char* way : {"File > Open", "dropped", "command line", "prompt's No", "toolbar, editor open"})
            QTest::newRow(way) << QString(way);
    }
    void eachWayInThenEnter()
    {
        QFETCH(QString, way);
        if (way == "command line") // a program just started, with the file named
            start(false);
        const QString path = file("list.csv");
        const WordPairs expected = previewImport(readBytes(path), path).pairs;
        QVERIFY(expected.size() >= 2);
        Editor* editor = way.contains("editor") ? openEditor(*h_) : nullptr;
        const QStringList before = snapshot();
        if (way == "File > Open" || way.startsWith("toolbar")) {
            h_->platform.answerDialog(path);
            way == "File > Open" ? main_->ui->MFOpen->trigger() : main_->Toolbar1_ButtonClick("Open");
        } else if (way == "dropped") {
            drop(path);
        } else if (way == "command line") {
            h_->program.setStartupFile(path);
            h_->program.show<Algus>().Form_Click();
            main_ = h_->program.loaded<Main>();
        } else {
            state().WordsModified = 1;
            main_->MFOpen_Click();
            QVERIFY(h_->program.loaded<Kassav>());
            h_->platform.answerDialog(path);
            h_->program.loaded<Kassav>()->ui->Command2->click();
        }
        Import* w = window();
        QVERIFY2(w && w->isVisible(), qPrintable(way));
        QCOMPARE(w->ui->fileLabel->text(), QDir::toNativeSeparators(path));
        QCOMPARE(tablePairs(w), expected);
        if (way != "command line")
            QCOMPARE(snapshot().mid(1), before.mid(1));
        pressOn(w, Qt::Key_Return);
        QVERIFY(!window());
        QCOMPARE(listed(), expected);
        QCOMPARE(main_->windowTitle(), "English Quorvel - list.csv");
        QCOMPARE(state().CurrentFile, path);
        QCOMPARE(state().CurrentFileKind, FileKind::Imported);
        QCOMPARE(state().WordsModified, std::int16_t(0));
        if (editor)
            QCOMPARE(pairs(editor), "koer/dog, kass/cat, hiir/mouse");
        QVERIFY(h_->platform.messages.empty());
    }

    // Every choice can change, and the pairs follow at once; OK takes what
    // the window shows. The keys a user presses, nothing else.
    void changedChoiceByKeyboard_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("tabs"); // from the first control
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown"); // the first row
        QTest::newRow("known word from the second column") << "knownBox" << 4 << int(Qt::Key_Down) << "dog/dog";
        QTest::newRow("unknown word from the first column") << "unknownBox" << 5 << int(Qt::Key_Up) << "koer/koer";
        QTest::newRow("first row a header") << "headerCheck" << 3 << int(Qt::Key_Space) << "kass/cat";
        QTest::newRow("comma: no pair, OK off") << "separatorBox" << 2 << int(Qt::Key_Down) << "";
    }
    void changedChoiceByKeyboard()
    {
        QFETCH(QString, control);
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(QString, shown);
        const QStringList before = snapshot();
        Import* w = openThroughDialog("list.csv");
        QVERIFY(w);
        QWidget* at = QApplication::focusWidget();
        QCOMPARE(at, w->ui->formatBox);
        for (int i = 0; i < tabs; ++i) {
            QTest::keyClick(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
        }
        QCOMPARE(at->objectName(), control);
        h_->waitForKeys();
        QTest::keyClick(at, Qt::Key(key));
        const WordPairs table = tablePairs(w);
        QCOMPARE(table.empty() ? QString() : table[0].known + "/" + table[0].unknown, shown);
        QCOMPARE(table, w->preview().pairs);
        QCOMPARE(w->ui->buttonBox->button(QDialogButtonBox::Ok)->isEnabled(), !shown.isEmpty());
        QCOMPARE(snapshot(), before);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (shown.isEmpty()) {
            QVERIFY2(w->ui->summaryLabel->text().startsWith("Nothing can be read"),
                     qPrintable(w->ui->summaryLabel->text()));
            QCOMPARE(window(), w);
            QCOMPARE(snapshot(), before);
            return;
        }
        QVERIFY(!window());
        QCOMPARE(listed(), table);
    }

    // The format is a choice too, reached by Alt+M from anywhere: the pairs
    // follow it, what was chosen for the old format gives way to the new
    // one's guesses, and OK takes what is shown as a list from elsewhere.
    void changedFormatByKeyboard_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("headerFirst"); // the first row made a header before
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<FileKind>("kind");
        const QByteArray list = "koer;dog\r\nkass;cat\r\nhiir;mouse\r\n";
        QTest::newRow("Anki export read as delimited text")
            << "anki.txt" << QByteArray("#separator:tab\n#html:true\nkoer\t<b>dog</b>\nkass\tcat\n") << false
            << int(Qt::Key_Up) << "koer/<b>dog</b>, kass/cat" << FileKind::Imported;
        QTest::newRow("delimited text read as an Anki export")
            << "sound.tsv" << QByteArray("koer [sound:koer.mp3]\tdog\nkass\tcat\n") << false << int(Qt::Key_Down)
            << "koer/dog, kass/cat" << FileKind::Imported;
        QTest::newRow("two columns read as a word per line")
            << "pairs.csv" << QByteArray("koer;dog\r\nkass;cat\r\n") << false << int(Qt::Key_End) << "koer;dog/kass;cat"
            << FileKind::Dictionary;
        QTest::newRow("a header row chosen before is guessed again")
            << "list.csv" << list << true << int(Qt::Key_Down) << "koer/dog, kass/cat, hiir/mouse"
            << FileKind::Imported;
    }
    void changedFormatByKeyboard()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, headerFirst);
        QFETCH(int, key);
        QFETCH(QString, shown);
        QFETCH(FileKind, kind);
        writeBytes(file(name), bytes);
        const QStringList before = snapshot();
        Import* w = openThroughDialog(name);
        QVERIFY(w);
        h_->waitForKeys();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->ui->headerCheck);
        if (headerFirst) {
            QTest::keyClick(w->ui->headerCheck, Qt::Key_Space);
            QCOMPARE(int(w->preview().pairs.size()), 2);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), w->ui->formatBox);
        QTest::keyClick(w->ui->formatBox, Qt::Key(key));
        const WordPairs table = tablePairs(w);
        QStringList rows;
        for (const WordPair& p : table)
            rows << p.known + "/" + p.unknown;
        QCOMPARE(rows.join(", "), shown);
        QCOMPARE(table, w->preview().pairs);
        QVERIFY(!w->ui->headerCheck->isChecked());
        QCOMPARE(snapshot(), before);
        QTest::keyClick(w->ui->formatBox, Qt::Key_Return);
        QVERIFY(!window());
        QCOMPARE(listed(), table);
        QCOMPARE(state().CurrentFileKind, kind);
    }

    // A format the file is not in is refused in words with OK off, never
    // read into other pairs; the guess chosen again reads as at first.
    void wrongFormatRefusedThenChosenBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("back");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("text read as KVTML") << "list.csv" << QByteArray() << int(Qt::Key_Home) << int(Qt::Key_Down)
                                            << "The file is not KVTML: its first element is not <kvtml>.";
        QTest::newRow("KVTML read as a word per line")
            << "list.kvtml"
            << QByteArray("<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/>"
                          "<identifier id=\"1\"/></identifiers><entries>\n<entry id=\"0\"><translation id=\"0\">"
                          "<text>koer</text></translation><translation id=\"1\"><text>dog</text></translation>"
                          "</entry>\n</entries></kvtml>\n")
            << int(Qt::Key_End) << int(Qt::Key_Home) << "The file is KVTML (its first element is <kvtml>), not text.";
    }
    void wrongFormatRefusedThenChosenBack()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, wrong);
        QFETCH(int, back);
        QFETCH(QString, refusal);
        if (!bytes.isEmpty())
            writeBytes(file(name), bytes);
        const QStringList before = snapshot();
        Import* w = openThroughDialog(name);
        QVERIFY(w);
        const WordPairs guessed = tablePairs(w);
        const QString reason = w->ui->formatReason->text();
        QVERIFY(!guessed.empty());
        QPushButton* ok = w->ui->buttonBox->button(QDialogButtonBox::Ok);
        h_->waitForKeys();
        QTest::keyClick(w->ui->formatBox, Qt::Key(wrong));
        QCOMPARE(w->ui->summaryLabel->text(), "Nothing can be read with these choices: " + refusal);
        QVERIFY(tablePairs(w).empty());
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(w->ui->formatBox, Qt::Key_Return);
        QCOMPARE(window(), w);
        QCOMPARE(snapshot(), before);
        QTest::keyClick(w->ui->formatBox, Qt::Key(back));
        QCOMPARE(tablePairs(w), guessed);
        QCOMPARE(w->ui->formatReason->text(), reason);
        QVERIFY(ok->isEnabled());
        QTest::keyClick(w->ui->formatBox, Qt::Key_Return);
        QVERIFY(!window());
        QCOMPARE(listed(), guessed);
    }

    // Cancel, Esc, the close box, and the main window closed under it leave
    // the list, the title, the current file and the editor as they were; the
    // file is not touched. A refused file says why and the dialog comes back.
    void nothingChangesUnlessAccepted_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how :
             {"Esc", "Cancel", "Cancel after a new format", "close box", "main window closed", "refused file"})
            QTest::newRow(how) << QString(how);
    }
    void nothingChangesUnlessAccepted()
    {
        QFETCH(QString, how);
        Editor* editor = openEditor(*h_);
        QVERIFY(editor);
        const QString rows = pairs(editor);
        const QStringList before = snapshot();
        const QByteArray bytes = readBytes(file("list.csv"));
        if (how == "refused file") {
            writeBytes(file("bad.csv"), "only;\r\n;words\r\n");
            const ImportPreview refused = previewImport(readBytes(file("bad.csv")), file("bad.csv"));
            QVERIFY(!refused.ok() && !refused.errorText.isEmpty());
            h_->platform.answerDialog(file("bad.csv"));
            h_->platform.cancelDialog();
            main_->MFOpen_Click();
            QVERIFY(!window());
            QCOMPARE(h_->platform.dialogs.size(), size_t(2));
            QCOMPARE(h_->platform.messages.size(), size_t(1));
            QCOMPARE(h_->platform.messages[0].text, refused.errorText);
        } else {
            Import* w = openThroughDialog("list.csv");
            QVERIFY(w);
            if (how == "Esc")
                h_->waitForKeys(), QTest::keyClick(w->ui->pairTable, Qt::Key_Escape);
            else if (how.startsWith("Cancel")) {
                if (how != "Cancel") {
                    h_->waitForKeys();
                    QTest::keyClick(w->ui->formatBox, Qt::Key_Down);
                    QCOMPARE(w->preview().format, ImportFormat::AnkiExport);
                }
                w->ui->buttonBox->button(QDialogButtonBox::Cancel)->click();
            } else if (how == "close box")
                w->close();
            else
                main_->close();
            QVERIFY(!window());
            main_ = h_->program.loaded<Main>();
        }
        Harness::flush();
        QCOMPARE(bool(h_->program.loaded<Kassav>()), how == "main window closed");
        QCOMPARE(snapshot().mid(main_ ? 0 : 1), before.mid(main_ ? 0 : 1));
        QCOMPARE(pairs(editor), rows);
        QCOMPARE(readBytes(file("list.csv")), bytes);
        QCOMPARE(h_->program.ended(), false);
    }

    // Open again while the window is open shows the new file; a test running
    // keeps going on the new list from a new round; words typed into the
    // editor behind it are asked about before they could go.
    void flowsAroundTheWindow()
    {
        writeBytes(file("other.tsv"), "maja\thouse\r\n");
        Import* w = openThroughDialog("list.csv");
        QVERIFY(w);
        QVERIFY(main_->openPath(file("other.tsv")));
        QCOMPARE(window(), w);
        QCOMPARE(w->ui->fileLabel->text(), QDir::toNativeSeparators(file("other.tsv")));
        QCOMPARE(tablePairs(w), (WordPairs{{"maja", "house"}}));

        w->ui->buttonBox->button(QDialogButtonBox::Cancel)->click();
        main_->nupptest_Click();
        QVERIFY(h_->program.loaded<Test>());
        w = openThroughDialog("other.tsv");
        const auto asked = [this] { return std::count(state().AskedFlags.begin(), state().AskedFlags.end(), 1); };
        QCOMPARE(asked(), 1);
        w->ui->buttonBox->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(listed(), (WordPairs{{"maja", "house"}}));
        QCOMPARE(asked(), 0);
        QVERIFY(h_->program.loaded<Test>());

        // Typed while the window was up (it blocks the user; a script need not).
        w = openThroughDialog("list.csv");
        QVERIFY(w);
        Editor* e = openEditor(*h_);
        setBoxes(e, "uus", "new");
        e->ui->Command1->click();
        w->ui->buttonBox->button(QDialogButtonBox::Ok)->click();
        QVERIFY(h_->program.loaded<Kassav>());
        QCOMPARE(state().PendingAction, std::int16_t(PendingOpen));
        QCOMPARE(listed(), (WordPairs{{"maja", "house"}, {"uus", "new"}}));
    }

    // Save As under every name the Open dialog lists (and none) writes what
    // Open, with the import window's first guesses, reads back as the same
    // pairs; Save then keeps that form.
    void saveAsReadsBackUnderEveryName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<FileKind>("kind");
        QTest::newRow(".dic") << "a.dic" << FileKind::Dictionary;
        QTest::newRow(".kvtml") << "a.kvtml" << FileKind::Kvtml;
        QTest::newRow(".csv") << "a.csv" << FileKind::CommaSeparated;
        QTest::newRow(".CSV") << "a.CSV" << FileKind::CommaSeparated;
        QTest::newRow(".tsv") << "a.tsv" << FileKind::TabSeparated;
        QTest::newRow(".txt") << "a.txt" << FileKind::TabSeparated;
        QTest::newRow("no extension") << "a" << FileKind::TabSeparated;
    }
    void saveAsReadsBackUnderEveryName()
    {
        QFETCH(QString, name);
        QFETCH(FileKind, kind);
        const WordPairs words{{"Word", "Translation"}, // titles, yet the first pair
                              {"go, went", "minema; läks"},     {"\"quoted\"", "a|b:c"},
                              {"#not a header", "x-ray"},       {"  lead", "tail  "},
                              {"tab\tin", "<b>not markup</b>"}, {"õun", "собака"}};
        const QString path = file(name);
        storePairs(state(), words);
        h_->platform.answerDialog(path);
        main_->MFSaveAs_Click();
        QVERIFY(h_->platform.messages.empty());
        QCOMPARE(state().CurrentFileKind, kind);
        storePairs(state(), {{"vana", "old"}});
        h_->platform.answerDialog(path);
        main_->MFOpen_Click();
        QCOMPARE(bool(window()), kind != FileKind::Dictionary);
        if (Import* w = window())
            w->ui->buttonBox->button(QDialogButtonBox::Ok)->click();
        QVERIFY(h_->platform.messages.empty());
        QCOMPARE(listed(), words);
        // Save writes the same form again, over a file it wrote itself.
        const QByteArray saved = readBytes(path);
        state().CurrentFileKind = kind;
        main_->MFSave_Click();
        QCOMPARE(readBytes(path), saved);
        QCOMPARE(h_->platform.dialogs.size(), size_t(2));
    }

    // A read longer than a moment runs behind a progress window and the
    // program goes on: Cancel changes nothing, a refusal comes as after a
    // quick read, and the import window's pairs are always those read with
    // the choices it shows.
    void longReads_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"taken", "cancelled", "refused at the end", "program ends", "choice read again",
                                "choice cancelled", "another file meanwhile"})
            QTest::newRow(how) << QString(how);
    }
    void longReads()
    {
        QFETCH(QString, how);
        constexpr int Lines = 400000;
        QByteArray big;
        big.reserve(Lines * 24);
        for (int i = 0; i < Lines; ++i)
            big += "sona" + QByteArray::number(i) + ";word" + QByteArray::number(i) + "\r\n";
        if (how == "refused at the end")
            big += "\"never closed;x\r\n";
        writeBytes(file("big.csv"), big);
        const QStringList before = snapshot();
        const auto& progress = h_->platform.progress();
        h_->platform.answerDialog(file("big.csv"));
        h_->platform.cancelDialog(); // the dialog offered again after a refusal
        main_->MFOpen_Click();
        QVERIFY2(progress.open == 1, "the read ended within a moment: make the file larger");
        QCOMPARE(progress.texts.value(0), "Reading big.csv");
        QVERIFY(!window());
        QCOMPARE(snapshot(), before);
        if (how == "program ends") {
            // A thread still reading when the program goes would abort it.
            h_.reset();
            QCOMPARE(ImportRead::running(), 0);
            return;
        }
        if (how == "cancelled") {
            h_->platform.cancelProgress();
            h_->platform.advance(50);
            QCOMPARE(progress.open, 0);
            QTRY_COMPARE_WITH_TIMEOUT(ImportRead::running(), 0, 60000);
            QCoreApplication::processEvents();
            QVERIFY(!window());
            QCOMPARE(snapshot(), before);
            QVERIFY(h_->platform.messages.empty());
            QCOMPARE(h_->platform.dialogs.size(), size_t(1));
            return;
        }
        waitForRead();
        const auto& values = progress.values;
        QVERIFY(std::is_sorted(values.begin(), values.end()));
        QVERIFY(values.empty() || (values.front() >= 0 && values.back() <= 1000));
        if (how == "refused at the end") {
            QCOMPARE(h_->platform.messages.size(), size_t(1));
            QVERIFY2(h_->platform.messages[0].text.contains("never closed"), qPrintable(h_->platform.messages[0].text));
            QCOMPARE(h_->platform.dialogs.size(), size_t(2));
            QVERIFY(!window());
            QCOMPARE(snapshot(), before);
            return;
        }
        Import* w = window();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->preview().entries, Lines);
        QCOMPARE(tablePairs(w).front(), (WordPair{"sona0", "word0"}));
        QCOMPARE(snapshot(), before);
        QAbstractButton* ok = w->ui->buttonBox->button(QDialogButtonBox::Ok);
        if (how != "taken") {
            w->ui->headerCheck->click();
            QVERIFY2(progress.open == 1, "the read ended within a moment: make the file larger");
            QCOMPARE(progress.texts.size(), 2);
            // The pairs on screen are not yet those of the choice made.
            ok->click();
            QCOMPARE(window(), w);
            QCOMPARE(snapshot(), before);
            if (how == "another file meanwhile") {
                // The window blocks the user; a script need not wait.
                QVERIFY(main_->openPath(file("list.csv")));
                QCOMPARE(progress.open, 0);
                QTRY_COMPARE_WITH_TIMEOUT(ImportRead::running(), 0, 60000);
                QCoreApplication::processEvents();
                QCOMPARE(w->path(), file("list.csv"));
                QCOMPARE(tablePairs(w).front(), (WordPair{"koer", "dog"}));
                QVERIFY(!w->ui->headerCheck->isChecked());
                const WordPairs small = tablePairs(w);
                ok->click();
                QCOMPARE(listed(), small);
                QCOMPARE(state().CurrentFile, file("list.csv"));
                return;
            }
            if (how == "choice cancelled") {
                h_->platform.cancelProgress();
                h_->platform.advance(50);
                QCOMPARE(progress.open, 0);
                QVERIFY(!w->ui->headerCheck->isChecked());
            } else {
                waitForRead();
                QVERIFY(w->ui->headerCheck->isChecked());
            }
        }
        const WordPairs shown = tablePairs(w);
        QCOMPARE(shown.front().known, how == "choice read again" ? "sona1" : "sona0");
        const QStringList told = importMessages(file("big.csv"), w->preview());
        ok->click();
        QVERIFY(!window());
        QCOMPARE(listed(), shown);
        QCOMPARE(state().CurrentFile, file("big.csv"));
        QStringList messages;
        for (const auto& m : h_->platform.messages)
            messages << m.text;
        QCOMPARE(messages, told);
    }

private:
    // Until the progress window is gone, the clock moving as it would.
    void waitForRead()
    {
        QElapsedTimer waited;
        waited.start();
        while (h_->platform.progress().open > 0 && waited.elapsed() < 120000) {
            h_->platform.advance(50);
            QTest::qWait(20);
        }
        QCOMPARE(h_->platform.progress().open, 0);
    }
    MOODUL1& state() { return h_->program.state(); }
    QString file(const QString& name) const { return h_->file(name); }
    Import* window() { return h_->program.loaded<Import>(); }

    Import* openThroughDialog(const QString& name)
    {
        h_->platform.answerDialog(file(name));
        main_->MFOpen_Click();
        Import* w = window();
        if (!w)
            return nullptr;
        QApplication::setActiveWindow(w);
        return QTest::qWaitForWindowActive(w) ? w : nullptr;
    }
    // A key where the focus is, as the user presses it.
    void pressOn(Import* w, Qt::Key key)
    {
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), w->ui->formatBox);
        h_->waitForKeys(); // a window just shown lets a held key pass
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    void drop(const QString& path)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main_, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main_, &event);
        QCoreApplication::processEvents();
    }
    static WordPairs tablePairs(const Import* w)
    {
        WordPairs shown;
        const QTableWidget* t = w->ui->pairTable;
        for (int r = 0; r < t->rowCount(); ++r)
            shown.push_back({t->item(r, 0)->text(), t->item(r, 1)->text()});
        return shown;
    }
    WordPairs listed() { return savedPairs(state()); }
    // Everything a window that changes nothing must leave as it was.
    QStringList snapshot()
    {
        QStringList all{main_ ? main_->windowTitle() : QString(), state().CurrentFile,
                        QString::number(state().LastWordIndex)};
        for (const WordPair& p : listed())
            all << p.known << p.unknown;
        return all << QString::number(state().WordsModified) << QString::number(int(state().CurrentFileKind));
    }

    std::unique_ptr<FolderHarness> h_;
    Main* main_ = nullptr;
};

QTEST_MAIN(ImportWindowTest)
#include "test_import_window.moc"
