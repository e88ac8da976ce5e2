#include "ui/progress/Progress.h"

#include "ui_Progress.h"

#include "state/SpellingDifference.h"
#include "ui/main/Main.h"
#include "ui/progress/PairTable.h"
#include "ui/progress/Record.h"
#include "ui/toolkit/DifferenceText.h"
#include "ui/toolkit/Program.h"

#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QSortFilterProxyModel>

#include <algorithm>

namespace vorbix {

Progress::Progress(Program& program) : Form(program), ui(std::make_unique<Ui::Progress>())
{
    ui->setupUi(this);
    setTitleBar(true);
    model_ = new PairTableModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    ui->PairTable->setModel(sorted_);
    ui->PairTable->setItemDelegateForColumn(PairTableModel::LastAnswer, new DifferenceDelegate(this));
    ui->PairTable->verticalHeader()->hide();
    ui->PairTable->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the first rows: measuring a thousand cost more
    // than the rest of the opening.
    ui->PairTable->horizontalHeader()->setResizeContentsPrecision(100);
    ui->PairTable->sortByColumn(PairTableModel::Right, Qt::AscendingOrder);
    ui->Label2->setText(differenceLegend());

    setCancelButton(ui->Command2);
    connect(ui->Command1, &QPushButton::clicked, this, &Progress::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Progress::Command2_Click);
}

Progress::~Progress() = default;

void Progress::Form_Load() { refresh(); }

void Progress::changeEvent(QEvent* event)
{
    Form::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && listWords(program()) != shownWords_)
        refresh();
}

void Progress::refresh()
{
    MOODUL1& s = state();
    const auto words = listWords(program());
    shownWords_ = words;
    const auto records = recordedPairs(program());

    std::vector<PairRow> rows;
    rows.reserve(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        PairRow row;
        row.known = words[i].first;
        row.unknown = words[i].second;
        if (i < records.size() && records[i].known == row.known && records[i].unknown == row.unknown) {
            const history::PairRecord& r = records[i];
            row.asked = r.asked;
            row.right = r.right;
            row.lastAsked = r.lastAsked;
            if (r.lastAnswer) {
                const history::Answer& a = *r.lastAnswer;
                row.answered = true;
                row.timedOut = a.outcome == history::Outcome::TimedOut;
                row.given = a.given;
                row.difference =
                    spellingDifference(a.given, a.side == history::AskedSide::UnknownWord ? row.unknown : row.known);
            }
        }
        rows.push_back(std::move(row));
    }
    model_->setRows(std::move(rows));
    ui->PairTable->resizeColumnsToContents();

    std::vector<ProgressPlot::Point> points;
    int answers = 0;
    for (const history::TestPoint& t : recordedTests(program())) {
        points.push_back({t.when, t.answered, t.right});
        answers += t.answered;
    }
    ui->Plot->setPoints(std::move(points));

    ui->MistakeList->clear();
    const auto mistakes = lastTestMistakes(program());
    for (const Mistake& m : mistakes) {
        const QString given = m.given.trimmed().isEmpty() ? QStringLiteral("nothing") : m.given;
        auto* item = new QListWidgetItem(
            QStringLiteral("%1 – %2: you gave “%3”").arg(m.pair.known, m.pair.unknown, given), ui->MistakeList);
        item->setData(Qt::AccessibleDescriptionRole, describeDifference(spellingDifference(m.given, m.expected)));
    }
    if (mistakes.empty())
        new QListWidgetItem(QStringLiteral("None"), ui->MistakeList);
    ui->Command1->setEnabled(!mistakes.empty());

    const QString name = QFileInfo(s.CurrentFile).fileName();
    QString heading = QStringLiteral("%1: %2 words, %3 answers recorded in %4 tests.")
                          .arg(name)
                          .arg(words.size())
                          .arg(answers)
                          .arg(ui->Plot->points().size());
    if (!keepingRecord(program()))
        heading += QStringLiteral(" Answers are not being recorded.");
    ui->Label1->setText(heading);
}

void Progress::Command1_Click() { Main::testMistakes(program()); }

void Progress::Command2_Click() { Unload(); }

} // namespace vorbix
