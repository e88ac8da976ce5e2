// A Vorbix of its own for the record's process tests: answers COUNT questions
// through the real test window, recording into RECORD, and says "judged N
// GIVEN" as each answer is judged. With --hold it then waits, a question on
// screen, to be killed; otherwise it prints any message shown and ends.
//   history_child RECORD FOLDER COUNT [--hold]
#include "history/Recorder.h"
#include "support/Harness.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"

#include "ui_AkenVale.h"
#include "ui_Main.h"
#include "ui_Test.h"
#include "ui_Tulemus.h"

#include <QApplication>

#include <cstdio>
#include <map>

using namespace vorbix;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4)
        return 2;
    testing::Harness h;
    h.platform.setCurrentDirectory(args[2]);
    h.program.history().setPath(args[1]);
    std::vector<std::pair<QString, QString>> words;
    std::map<QString, QString> answers;
    for (int i = 0; i < 40; ++i) {
        words.emplace_back(QString("known %1").arg(i), QString("unknown %1").arg(i));
        answers[words.back().first] = words.back().second;
    }
    h.setWords(words);
    Main& main = h.program.show<Main>();
    main.ui->nupptest->click();
    const int count = args[3].toInt();
    for (int n = 1; n <= count; ++n) {
        Test* test = h.program.loaded<Test>();
        if (!test) { // the test ended: the results window starts the next
            h.program.loaded<Tulemus>()->ui->Command1->click();
            test = h.program.loaded<Test>();
        }
        const QString given = n % 3 == 0 ? QString("wrong %1").arg(n) : answers[test->ui->Label1->text()];
        test->ui->Text1->setText(given);
        test->ui->Command1->click();
        std::printf("judged %d %s\n", n, qPrintable(given));
        std::fflush(stdout);
        if (AkenVale* wrong = h.program.loaded<AkenVale>())
            wrong->ui->Command1->click();
        testing::Harness::flush();
    }
    QCoreApplication::processEvents();
    if (args.contains("--hold")) {
        std::puts("holding");
        std::fflush(stdout);
        std::getchar();
    }
    for (const auto& m : h.platform.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
    return 0;
}
