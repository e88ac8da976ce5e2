#include "dictionary/DictionaryFile.h"
#include "support/Files.h"
#include "support/Harness.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"

#include "ui_Main.h"

#include <QFile>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <unistd.h>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const QString DesignedFilter = QStringLiteral("Quorvel's Files (*.dic) |*.dic|");
const QString SaveAsFilter = QStringLiteral("Quorvel Files (*.dic)|*.dic|");


void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QAction* toolbarButton(Main& m, const QString& key)
{
    for (QAction* a : m.ui->Toolbar1->actions())
        if (a->property("key").toString() == key)
            return a;
    return nullptr;
}

// Everything a failed command must leave as it was.
struct Snapshot {
    explicit Snapshot(Main& m, MOODUL1& s)
        : title(m.windowTitle()), file(s.CurrentFile), last(s.LastWordIndex), modified(s.WordsModified)
    {
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            words << s.KnownWords[i] << s.UnknownWords[i];
    }
    bool operator==(const Snapshot&) const = default;
    QString title;
    QString file;
    std::int16_t last;
    std::int16_t modified;
    QStringList words;
};

} // namespace

class DictionaryCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
        h_ = std::make_unique<Harness>();
        h_->platform.setCurrentDirectory(tmp_->path());
        main_ = &h_->program.form<Main>();
    }
    void cleanup()
    {
        h_.reset();
        Harness::flush();
    }

    void openFromMenuReplacesListAndTitle()
    {
        const QString path = file("words.dic");
        writeBytes(path, "x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\n");
        h_->setWords({{"old", "vana"}, {"two", "kaks"}, {"three", "kolm"}});
        state().WordsModified = 0;

        h_->platform.answerDialog(path);
        main_->ui->MFOpen->trigger();

        QCOMPARE(h_->platform.dialogs.size(), size_t(1));
        const FileDialogRequest& request = h_->platform.dialogs[0];
        QCOMPARE(request.mode, FileDialogRequest::Mode::Open);
        QCOMPARE(request.filter, DesignedFilter);
        QCOMPARE(request.defaultExt, QStringLiteral(".dic"));
        QCOMPARE(state().KnownWords[0], QStringLiteral("x-ray"));
        QCOMPARE(state().UnknownWords[0], QStringLiteral("röntgen"));
        QCOMPARE(state().UnknownWords[1], QStringLiteral("dog"));
        QVERIFY(state().KnownWords[2].isEmpty());
        QCOMPARE(state().LastWordIndex, std::int16_t(1));
        QCOMPARE(state().CurrentFile, path);
        QCOMPARE(main_->windowTitle(), QStringLiteral("English Quorvel - words.dic"));
        QVERIFY(h_->platform.messages.empty());
    }

    void openEmptyFileAndToolbar()
    {
        const QString path = file("empty.dic");
        writeBytes(path, "");
        h_->setWords({{"a", "b"}});
        h_->platform.answerDialog(path);
        QAction* open = toolbarButton(*main_, "Open");
        QVERIFY(open);
        open->trigger();
        QVERIFY(state().listIsEmpty());
        QCOMPARE(state().LastWordIndex, std::int16_t(-1));
        QCOMPARE(main_->windowTitle(), QStringLiteral("English Quorvel - empty.dic"));
    }

    void openWithChangedListAsksFirst()
    {
        h_->setWords({{"a", "b"}});
        state().WordsModified = 1;
        main_->MFOpen_Click();
        QCOMPARE(state().PendingAction, std::int16_t(PendingOpen));
        QVERIFY(h_->program.loaded<Kassav>());
        QVERIFY(h_->platform.dialogs.empty());
        QCOMPARE(state().KnownWords[0], QStringLiteral("a"));

        // An empty list is not worth asking about, changed or not.
        h_->program.unload<Kassav>();
        state().PendingAction = 0;
        h_->setWords({});
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(1));
        QCOMPARE(state().PendingAction, std::int16_t(0));
    }

    void cancelledOrEmptyOpenChangesNothing()
    {
        h_->setWords({{"a", "b"}});
        const Snapshot before(*main_, state());
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        h_->platform.answerDialog(QString());
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(2));
        QVERIFY(h_->platform.messages.empty());
        QVERIFY(Snapshot(*main_, state()) == before);
    }

    void failedOpenLeavesEverythingAndOffersDialogAgain_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // %1 stands for the path
        QTest::newRow("missing file") << "gone.dic" << QByteArray() << "ERROR 53: There is no such a file!%1";
        QTest::newRow("missing folder") << "nodir/gone.dic" << QByteArray() << "ERROR 76: That path doesn't exist.%1";
        QTest::newRow("folder picked") << "folder.dic" << QByteArray() << "ERROR 75 occurred.";
        QTest::newRow("odd lines") << "odd.dic" << QByteArray("a\r\nb\r\nc\r\n") << "ERROR 62 occurred.";
        QTest::newRow("line too long") << "long.dic" << QByteArray("a\r\n") + QByteArray(70000, 'z') + "\r\n"
                                       << "ERROR 59 occurred.";
    }
    void failedOpenLeavesEverythingAndOffersDialogAgain()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString good = file("good.dic");
        writeBytes(good, "hea\r\ngood\r\nhalb\r\nbad\r\n");
        h_->platform.answerDialog(good);
        main_->MFOpen_Click();
        QCOMPARE(state().LastWordIndex, std::int16_t(1));

        const QString bad = file(name);
        if (name == QLatin1String("folder.dic"))
            QVERIFY(QDir(tmp_->path()).mkdir(name));
        else if (!bytes.isEmpty())
            writeBytes(bad, bytes);
        const Snapshot before(*main_, state());

        h_->platform.answerDialog(bad);
        h_->platform.cancelDialog();
        main_->MFOpen_Click();

        QCOMPARE(h_->platform.dialogs.size(), size_t(3)); // offered again after the message
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QCOMPARE(h_->platform.messages[0].text, message.contains("%1") ? message.arg(bad) : message);
        QCOMPARE(h_->platform.messages[0].icon, MessageIcon::None);
        QVERIFY(Snapshot(*main_, state()) == before);

        // Save still goes to the file that did open.
        main_->MFSave_Click();
        QCOMPARE(readBytes(good), QByteArray("hea\r\ngood\r\nhalb\r\nbad\r\n"));
        QCOMPARE(main_->windowTitle(), QStringLiteral("Vorbix - ") + good);
        if (!bytes.isEmpty())
            QCOMPARE(readBytes(bad), bytes);
    }

    void openWithoutPermission()
    {
        QString path = file("locked.dic");
        writeBytes(path, "a\r\nb\r\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        if (geteuid() == 0) {
            path = QStringLiteral("/proc/sys/vm/compact_memory");
            if (!QFileInfo::exists(path) || QFileInfo(path).isReadable())
                QSKIP("running as root and no file here refuses root reading");
        }
        h_->setWords({{"keep", "me"}});
        const Snapshot before(*main_, state());
        h_->platform.answerDialog(path);
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QCOMPARE(h_->platform.messages[0].text, QStringLiteral("ERROR 70 occurred."));
        QVERIFY(Snapshot(*main_, state()) == before);
    }

    void openLoopsUntilAFileOpens()
    {
        const QString good = file("good.dic");
        writeBytes(good, "a\r\nb\r\n");
        h_->platform.answerDialog(file("one.dic"));
        h_->platform.answerDialog(file("two/three.dic"));
        h_->platform.answerDialog(good);
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(3));
        QCOMPARE(h_->platform.messages.size(), size_t(2));
        QVERIFY(h_->platform.messages[1].text.startsWith("ERROR 76"));
        QCOMPARE(state().KnownWords[0], QStringLiteral("a"));
        QCOMPARE(h_->platform.unexpectedDialogs, 0);
    }

    void openDriveThatIsNotThere()
    {
        if (QFileInfo::exists(QStringLiteral("Q:/")))
            QSKIP("a drive or folder Q: exists here");
        h_->platform.answerDialog(QStringLiteral("Q:\\lists\\a.dic"));
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.messages.at(0).text, QStringLiteral("ERROR 68: Drive Q: no available."));
    }

    void openTooManyPairsKeepsFirst1000AndSaysSo()
    {
        QByteArray bytes;
        for (int i = 0; i < 1001; ++i)
            bytes += "k" + QByteArray::number(i) + "\r\nu" + QByteArray::number(i) + "\r\n";
        const QString path = file("big.dic");
        writeBytes(path, bytes);
        h_->platform.answerDialog(path);
        main_->MFOpen_Click();
        QCOMPARE(state().LastWordIndex, std::int16_t(999));
        QCOMPARE(state().UnknownWords[999], QStringLiteral("u999"));
        QVERIFY(state().KnownWords[1000].isEmpty());
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QCOMPARE(h_->platform.messages[0].text, dictionary::truncatedText(path));
        QVERIFY(h_->platform.messages[0].text.contains("1000"));
        QCOMPARE(h_->platform.dialogs.size(), size_t(1)); // not offered again
        QCOMPARE(main_->windowTitle(), QStringLiteral("English Quorvel - big.dic"));
    }

    void newKeepsListAndTitleAndNextSaveAsks()
    {
        const QString path = file("words.dic");
        writeBytes(path, "a\r\nb\r\n");
        h_->platform.answerDialog(path);
        main_->MFOpen_Click();
        const Snapshot opened(*main_, state());

        toolbarButton(*main_, "New")->trigger();
        QCOMPARE(state().CurrentFile, main_->untitledPath());
        QVERIFY(main_->isUntitled());
        QCOMPARE(main_->windowTitle(), opened.title);
        QCOMPARE(state().KnownWords[0], QStringLiteral("a"));
        QCOMPARE(state().LastWordIndex, opened.last);

        h_->platform.cancelDialog();
        main_->MFSave_Click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(2));
        QCOMPARE(h_->platform.dialogs[1].mode, FileDialogRequest::Mode::Save);
        QCOMPARE(readBytes(path), QByteArray("a\r\nb\r\n"));
    }

    void saveWritesCurrentFileWithHyphenRule()
    {
        const QString path = file("list.dic");
        h_->setWords({{"a-b-c", "d"}, {"e}f", "g"}});
        state().CurrentFile = path;
        toolbarButton(*main_, "Save")->trigger();
        QVERIFY(h_->platform.dialogs.empty());
        QCOMPARE(readBytes(path), QByteArray("a}b-c\r\nd\r\ne}f\r\ng\r\n"));
        QCOMPARE(main_->windowTitle(), QStringLiteral("Vorbix - ") + path);
        QCOMPARE(state().KnownWords[0], QStringLiteral("a-b-c"));
        QCOMPARE(state().KnownWords[1], QStringLiteral("e-f"));
        QCOMPARE(state().WordsModified, std::int16_t(0));
        QCOMPARE(h_->platform.ended, 0);
    }

    void failedSaveIsReportedAndChangesNothing()
    {
        h_->setWords({{"a", "b"}});
        const QString path = file("gone/list.dic");
        state().CurrentFile = path;
        const Snapshot before(*main_, state());
        main_->MFSave_Click();
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY(h_->platform.messages[0].text.contains(path));
        QCOMPARE(h_->platform.messages[0].icon, MessageIcon::Critical);
        QVERIFY(Snapshot(*main_, state()) == before);
    }

    void lineBreakInAWordIsRefused()
    {
        const QString path = file("list.dic");
        writeBytes(path, "old\r\nfile\r\n");
        h_->setWords({{"a", "b"}, {"two\nlines", "c"}});
        state().CurrentFile = path;
        const Snapshot before(*main_, state());
        main_->MFSave_Click();
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY(h_->platform.messages[0].text.contains("line break"));
        QVERIFY(h_->platform.messages[0].text.contains(path));
        QCOMPARE(readBytes(path), QByteArray("old\r\nfile\r\n"));
        QVERIFY(Snapshot(*main_, state()) == before);
        QVERIFY(!Main::SavePlain(h_->program));
        QCOMPARE(readBytes(path), QByteArray("old\r\nfile\r\n"));
    }

    void saveAsFilterPresetAndTitle()
    {
        h_->setWords({{"x-ray", "röntgen"}});
        const QString untitled = state().CurrentFile;
        const QString path = file("chosen.dic");
        h_->platform.answerDialog(path);
        main_->MFSaveAs_Click();
        const FileDialogRequest& request = h_->platform.dialogs.at(0);
        QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
        QCOMPARE(request.filter, SaveAsFilter);
        QCOMPARE(request.defaultExt, QStringLiteral(".dic"));
        QCOMPARE(request.fileName, untitled);
        QCOMPARE(readBytes(path), QByteArray("x}ray\r\nr\xF6ntgen\r\n"));
        QCOMPARE(state().CurrentFile, path);
        QCOMPARE(main_->windowTitle(), QStringLiteral("Vorbix - ") + path);
        QCOMPARE(h_->platform.ended, 0);

        // Both the filter and the name stay on the dialog for Open.
        h_->platform.cancelDialog();
        main_->MFOpen_Click();
        QCOMPARE(h_->platform.dialogs.at(1).filter, SaveAsFilter);
        QCOMPARE(h_->platform.dialogs.at(1).fileName, path);
    }

    void failedSaveAsKeepsFileTitleAndProgram()
    {
        const QString old = file("old.dic");
        writeBytes(old, "a\r\nb\r\n");
        h_->platform.answerDialog(old);
        main_->MFOpen_Click();
        state().PendingAction = PendingExit;
        QVERIFY(QDir(tmp_->path()).mkdir("taken.dic"));
        const Snapshot before(*main_, state());

        h_->platform.answerDialog(file("taken.dic"));
        main_->MFSaveAs_Click();
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY(h_->platform.messages[0].text.contains(file("taken.dic")));
        QVERIFY(Snapshot(*main_, state()) == before);
        QCOMPARE(h_->platform.ended, 0);
        QVERIFY(!h_->program.ended());
    }

    void saveAsEndsProgramWhenAskedOnTheWayOut_data()
    {
        QTest::addColumn<int>("pending");
        QTest::addColumn<int>("closing");
        QTest::addColumn<bool>("ends");
        QTest::newRow("exit pending") << 2 << 0 << true;
        QTest::newRow("main window closing") << 0 << 1 << true;
        QTest::newRow("open pending") << 1 << 0 << false;
    }
    void saveAsEndsProgramWhenAskedOnTheWayOut()
    {
        QFETCH(int, pending);
        QFETCH(int, closing);
        QFETCH(bool, ends);
        h_->setWords({{"a", "b"}});
        state().PendingAction = static_cast<std::int16_t>(pending);
        state().MainWindowClosing = static_cast<std::int16_t>(closing);
        const QString path = file("out.dic");
        h_->platform.answerDialog(path);
        main_->MFSaveAs_Click();
        QCOMPARE(readBytes(path), QByteArray("a\r\nb\r\n"));
        QCOMPARE(h_->program.ended(), ends);
        QCOMPARE(h_->platform.ended, ends ? 1 : 0);
    }

    void cancelledSaveAsBringsMainWindowBack()
    {
        // From the menu: nothing new, the prompt closes if it was open.
        h_->setWords({{"a", "b"}});
        const Snapshot before(*main_, state());
        h_->program.show<Kassav>();
        state().MainWindowClosing = 1;
        h_->platform.cancelDialog();
        main_->MFSaveAs_Click();
        QCOMPARE(state().MainWindowClosing, std::int16_t(0));
        QVERIFY(!h_->program.loaded<Kassav>());
        QCOMPARE(h_->program.loaded<Main>(), main_);
        QVERIFY(main_->isVisible());
        QVERIFY(Snapshot(*main_, state()) == before);

        // After the main window was closed: a fresh one comes back and the
        // program runs on, though the prompt was the last window.
        main_->close();
        QVERIFY(!h_->program.loaded<Main>());
        QVERIFY(h_->program.loaded<Kassav>());
        QCOMPARE(state().MainWindowClosing, std::int16_t(1));
        h_->platform.cancelDialog();
        main_->MFSaveAs_Click();
        QCOMPARE(state().MainWindowClosing, std::int16_t(0));
        QVERIFY(!h_->program.loaded<Kassav>());
        Main* fresh = h_->program.loaded<Main>();
        QVERIFY(fresh && fresh != main_);
        QVERIFY(fresh->isVisible());
        QCOMPARE(fresh->windowTitle(), QStringLiteral("Vorbix - Untitled.dic"));
        QCOMPARE(state().KnownWords[0], QStringLiteral("a"));
        QCOMPARE(h_->platform.ended, 0);
        main_ = fresh;
    }

    void plainWriterKeepsHyphensAndTitle()
    {
        const QString path = file("plain.dic");
        h_->setWords({{"a-b", "c-d-e"}, {"", "stop"}, {"never", "written"}});
        state().CurrentFile = path;
        const QString title = main_->windowTitle();
        QVERIFY(Main::SavePlain(h_->program));
        QCOMPARE(readBytes(path), QByteArray("a-b\r\nc-d-e\r\n"));
        QCOMPARE(main_->windowTitle(), title);
        QVERIFY(h_->platform.messages.empty());

        state().CurrentFile = file("missing/plain.dic");
        QVERIFY(!Main::SavePlain(h_->program));
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY(h_->platform.messages[0].text.contains(state().CurrentFile));
        QCOMPARE(h_->platform.ended, 0);
    }

private:
    MOODUL1& state() { return h_->program.state(); }
    QString file(const QString& name) const { return tmp_->filePath(name); }

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<Harness> h_;
    Main* main_ = nullptr;
};

QTEST_MAIN(DictionaryCommandsTest)
#include "test_dictionary_commands.moc"
