#include "ui/main/Main.h"

#include "ui_Main.h"

#include "history/Recorder.h"
#include "ui/progress/Progress.h"
#include "ui/progress/Record.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

#include <QFileInfo>

namespace vorbix {

void Main::MPShow_Click() { program().show<Progress>(); }

void Main::MPMistakes_Click() { testMistakes(program()); }

void Main::testMistakes(Program& program)
{
    std::vector<PairKey> wanted;
    for (const Mistake& m : lastTestMistakes(program))
        wanted.push_back(m.pair);
    drill(program, wanted, QStringLiteral("The last test of this list had no mistakes to test."));
}

void Main::MPWeakest_Click()
{
    std::vector<PairScore> scores;
    for (const history::PairRecord& r : recordedPairs(program()))
        scores.push_back({{r.known, r.unknown}, r.asked, r.right});
    drill(program(), weakestPairs(std::move(scores), WeakestCount),
          QStringLiteral("No word of this list has been answered wrong yet."));
}

void Main::drill(Program& program, const std::vector<PairKey>& wanted, const QString& nothing)
{
    // A test under way is the user's: it is finished or closed, not dropped.
    if (Test* running = program.loaded<Test>()) {
        program.platform().messageBox(QStringLiteral("Finish or close the test that is running first."),
                                      MessageIcon::None);
        if (AkenVale* wrong = program.loaded<AkenVale>())
            wrong->Show();
        else
            running->Show();
        return;
    }
    // The words the user sees in the editor are the list.
    syncEditor(program);
    const auto pairs = pairsInList(program.state(), wanted);
    if (pairs.empty()) {
        program.platform().messageBox(nothing, MessageIcon::None);
        return;
    }
    // Results of the test before are done with, as after "End Test".
    program.unload<Tulemus>();
    startDrill(program.state(), pairs);
    program.show<Test>();
}

// Off, nothing more is recorded until it is on again; what is kept stays.
void Main::MPRecord_Click() { program().history().setRecording(ui->MPRecord->isChecked()); }

void Main::MPClearList_Click() { clearRecord(false); }

void Main::MPClearAll_Click() { clearRecord(true); }

void Main::clearRecord(bool wholeRecord)
{
    const QString question = wholeRecord
        ? QStringLiteral("Clear the record of every answer in every list? This cannot be undone.")
        : QStringLiteral("Clear the record of every answer given in %1? This cannot be undone.")
              .arg(QFileInfo(state().CurrentFile).fileName());
    if (!platform().askYesNo(question))
        return;
    const QString problem = vorbix::clearRecord(program(), wholeRecord);
    if (!problem.isEmpty())
        platform().messageBox(QStringLiteral("The record could not be cleared. ") + problem, MessageIcon::Critical);
    if (Progress* progress = program().loaded<Progress>())
        progress->refresh();
}

} // namespace vorbix
