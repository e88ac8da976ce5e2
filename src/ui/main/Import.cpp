#include "ui/main/Import.h"

#include "ui_Import.h"

#include "dictionary/ImportText.h"
#include "ui/main/ImportRead.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Program.h"

#include <QDir>
#include <QPushButton>

namespace vorbix {

using namespace dictionary;

namespace {

// The encodings offered besides the one guessed: ICU's names, and what they
// are for.
const std::pair<const char*, const char*> Encodings[] = {
    {"UTF-8", "Unicode"},
    {"UTF-16LE", "Unicode"},
    {"UTF-16BE", "Unicode"},
    {"windows-1252", "Western European"},
    {"ISO-8859-1", "Western European"},
    {"ISO-8859-15", "Western European"},
    {"windows-1257", "Baltic"},
    {"ISO-8859-13", "Baltic"},
    {"windows-1250", "Central European"},
    {"ISO-8859-2", "Central European"},
    {"windows-1251", "Cyrillic"},
    {"KOI8-R", "Cyrillic"},
    {"windows-1253", "Greek"},
    {"windows-1254", "Turkish"},
    {"Shift_JIS", "Japanese"},
    {"EUC-JP", "Japanese"},
    {"GB18030", "Chinese"},
    {"Big5", "Chinese"},
    {"EUC-KR", "Korean"},
};

const std::pair<char16_t, const char*> Separators[] = {
    {u'\t', "Tab"}, {u';', "Semicolon ;"}, {u',', "Comma ,"}, {u'|', "Pipe |"}, {u':', "Colon :"}, {u' ', "Space"},
};

QString separatorName(QChar c)
{
    for (const auto& [sep, name] : Separators)
        if (c == QChar(sep))
            return QLatin1String(name);
    return QStringLiteral("\u201C%1\u201D").arg(c);
}

// The formats offered; KVTML stands for both versions, the file tells which.
const ImportFormat Formats[] = {ImportFormat::Kvtml2, ImportFormat::Delimited, ImportFormat::AnkiExport,
                                ImportFormat::DicLines};

ImportFormat offered(ImportFormat f) { return isKvtmlFormat(f) ? ImportFormat::Kvtml2 : f; }

} // namespace

Import::Import(Program& program) : Form(program, Kind::Dialog), ui(std::make_unique<Ui::Import>())
{
    ui->setupUi(this);
    setTitleBar(false);
    // As the file dialog before it: nothing else may change the list while
    // the user looks at what would replace it.
    setWindowModality(Qt::ApplicationModal);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    ui->buttonBox->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    setDefaultButton(ui->buttonBox->button(QDialogButtonBox::Ok));
    setCancelButton(ui->buttonBox->button(QDialogButtonBox::Cancel));
    ui->pairTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->firstEntrySpin->setSingleStep(MaxPairs);
    for (const ImportFormat f : Formats)
        ui->formatBox->addItem(importFormatName(f), int(f));
    for (const auto& [sep, name] : Separators)
        ui->separatorBox->addItem(QLatin1String(name), QChar(sep));

    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &Import::buttonBox_Accepted);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &Import::buttonBox_Rejected);
    connect(ui->formatBox, &QComboBox::currentIndexChanged, this, &Import::formatBox_Change);
    connect(ui->encodingBox, &QComboBox::currentIndexChanged, this, &Import::encodingBox_Change);
    connect(ui->separatorBox, &QComboBox::currentIndexChanged, this, &Import::separatorBox_Change);
    connect(ui->headerCheck, &QCheckBox::toggled, this, &Import::headerCheck_Click);
    connect(ui->knownBox, &QComboBox::currentIndexChanged, this, &Import::knownBox_Change);
    connect(ui->unknownBox, &QComboBox::currentIndexChanged, this, &Import::unknownBox_Change);
    connect(ui->lessonList, &QListWidget::itemChanged, this, &Import::lessonList_Change);
    connect(ui->firstEntrySpin, &QSpinBox::valueChanged, this, &Import::firstEntrySpin_Change);
}

Import::~Import() = default;

void Import::begin(const QString& path, const QString& fileTitle, const QByteArray& bytes, const ImportPreview& preview)
{
    // A read of the file shown so far must not land on the new one.
    qDeleteAll(findChildren<ImportRead*>(Qt::FindDirectChildrenOnly));
    reading_ = false;
    path_ = path;
    fileTitle_ = fileTitle;
    bytes_ = bytes;
    choices_ = {};
    preview_ = preview;
    guessed_ = preview.format;
    shownChoices_ = {};
    ui->fileLabel->setText(QDir::toNativeSeparators(path));
    showPreview();
    // Over the main window, where the command came from.
    if (const Main* main = program().loaded<Main>(); main && !isVisible())
        setDesignPosition(main->geometry().center() - QPoint(width() / 2, height() / 2));
    // Each file starts at the first choice, so that Enter takes the guess.
    ui->formatBox->setFocus(Qt::OtherFocusReason);
}

void Import::buttonBox_Accepted()
{
    // Only what the window shows is taken, never a read still under way.
    if (!preview_.ok() || reading_)
        return;
    const ImportPreview taken = preview_;
    const QString path = path_, title = fileTitle_;
    // Gone first: a message after the list is replaced must not wait behind
    // this window.
    Hide();
    Unload();
    program().show<Main>().acceptImport(path, title, taken);
}

void Import::buttonBox_Rejected() { Unload(); }

// A new format starts from its own guesses: a separator, header row or
// column chosen for the old one would mean something else in the new. The
// encoding is the file's, whatever its format.
void Import::formatBox_Change()
{
    if (showing_)
        return;
    const auto chosen = ImportFormat(ui->formatBox->currentData().toInt());
    ImportChoices fresh;
    fresh.encoding = choices_.encoding;
    // The guess chosen again reads as when the window opened, reasons and all.
    if (chosen != offered(guessed_))
        fresh.format = chosen;
    choices_ = fresh;
    update();
}

void Import::encodingBox_Change()
{
    if (showing_)
        return;
    choices_.encoding = ui->encodingBox->currentData().toString();
    update();
}

void Import::separatorBox_Change()
{
    if (showing_)
        return;
    choices_.separator = ui->separatorBox->currentData().toChar();
    update();
}

void Import::headerCheck_Click()
{
    if (showing_)
        return;
    choices_.headerRow = ui->headerCheck->isChecked();
    update();
}

// Both columns as the boxes show them: the other one is now a choice too.
void Import::knownBox_Change()
{
    if (showing_)
        return;
    choices_.knownColumn = ui->knownBox->currentIndex();
    choices_.unknownColumn = ui->unknownBox->currentIndex();
    update();
}

void Import::unknownBox_Change() { knownBox_Change(); }

void Import::lessonList_Change()
{
    if (showing_)
        return;
    std::vector<int> chosen;
    for (int i = 0; i < ui->lessonList->count(); ++i)
        if (ui->lessonList->item(i)->checkState() == Qt::Checked)
            chosen.push_back(i);
    choices_.lessons = chosen;
    update();
}

void Import::firstEntrySpin_Change()
{
    if (showing_)
        return;
    choices_.firstEntry = ui->firstEntrySpin->value() - 1;
    update();
}

void Import::update()
{
    const ImportChoices asked = choices_;
    const auto work = [bytes = bytes_, path = path_, asked](ReadProgress* progress) {
        ImportRead::Result r;
        r.preview = previewImport(bytes, path, asked, progress);
        return r;
    };
    const auto shown = [this, asked](const ImportRead::Result& r) {
        reading_ = false;
        preview_ = r.preview;
        shownChoices_ = asked;
        showPreview();
    };
    // Cancel keeps the pairs shown, and the controls go back to match them.
    const auto cancelled = [this] {
        reading_ = false;
        choices_ = shownChoices_;
        showPreview();
    };
    reading_ = true;
    const std::optional<ImportRead::Result> now = ImportRead::run(
        this, program().platform(), QStringLiteral("Reading %1").arg(fileTitle_), work, shown, cancelled);
    if (now)
        shown(*now);
}

void Import::showPreview()
{
    showing_ = true;
    const bool ok = preview_.ok();
    // A refusal leaves the format chosen in the box, and says why beside it
    // when the reader got as far as the format.
    if (ok || !preview_.formatReason.isEmpty())
        ui->formatReason->setText(preview_.formatReason);
    if (ok) {
        const bool kvtml = isKvtmlFormat(preview_.format);
        // Which version, once the file is read as KVTML.
        ui->formatBox->setItemText(ui->formatBox->findData(int(ImportFormat::Kvtml2)),
                                   kvtml ? importFormatName(preview_.format)
                                         : QStringLiteral("KVTML (KWordQuiz, Parley, KVocTrain)"));
        ui->formatBox->setCurrentIndex(ui->formatBox->findData(int(offered(preview_.format))));
        ui->encodingBox->setEnabled(!kvtml);
        ui->choices->setRowVisible(3, !kvtml);
        ui->choices->setRowVisible(4, !kvtml);
        ui->choices->setRowVisible(7, !preview_.lessons.isEmpty());
        ui->choices->setRowVisible(8, preview_.entries > MaxPairs || preview_.firstEntry > 0);
        fillChoiceBoxes();
    }
    fillPairs();
    ui->summaryLabel->setText(importSummary(preview_));
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(ok);
    showing_ = false;
}

void Import::fillChoiceBoxes()
{
    QComboBox* enc = ui->encodingBox;
    enc->clear();
    int current = -1;
    for (const auto& [name, what] : Encodings) {
        enc->addItem(QStringLiteral("%1 (%2)").arg(QLatin1String(name), QLatin1String(what)), QLatin1String(name));
        if (preview_.encoding.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            current = enc->count() - 1;
    }
    if (current < 0 && !preview_.encoding.isEmpty()) {
        enc->insertItem(0, preview_.encoding, preview_.encoding);
        current = 0;
    }
    enc->setCurrentIndex(current);
    ui->encodingReason->setText(preview_.encodingReason);

    QComboBox* sep = ui->separatorBox;
    int at = sep->findData(QVariant::fromValue(preview_.separator));
    if (at < 0 && !preview_.separator.isNull()) {
        sep->addItem(separatorName(preview_.separator), QVariant::fromValue(preview_.separator));
        at = sep->count() - 1;
    }
    sep->setCurrentIndex(at);
    ui->separatorReason->setText(preview_.separatorReason);
    ui->headerCheck->setChecked(preview_.headerRow);
    ui->headerReason->setText(preview_.headerReason);

    const bool kvtml = isKvtmlFormat(preview_.format);
    for (QComboBox* box : {ui->knownBox, ui->unknownBox}) {
        box->clear();
        // Every column the choices name, titled or not, so that each box
        // shows the column that is read.
        const int count =
            std::max({int(preview_.columns.size()), preview_.knownColumn + 1, preview_.unknownColumn + 1});
        for (int i = 0; i < count; ++i) {
            const QString title = preview_.columns.value(i).simplified();
            const QString number = QStringLiteral("Column %1").arg(i + 1);
            box->addItem(kvtml ? title : title.isEmpty() || title == number ? number : number + ": " + title);
        }
    }
    ui->knownBox->setCurrentIndex(preview_.knownColumn);
    ui->unknownBox->setCurrentIndex(preview_.unknownColumn);
    const bool firstTwo = preview_.knownColumn == 0 && preview_.unknownColumn == 1;
    const bool chosen = choices_.knownColumn >= 0 || choices_.unknownColumn >= 0;
    ui->columnReason->setText(
        chosen ? QString()
            : firstTwo
            ? QString(kvtml ? "the file's first two languages" : "the first two columns")
            : QString(kvtml ? "the first two languages holding words" : "the first two columns holding words"));

    ui->lessonList->clear();
    for (int i = 0; i < preview_.lessons.size(); ++i) {
        auto* item = new QListWidgetItem(preview_.lessons[i], ui->lessonList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool on =
            std::find(preview_.chosenLessons.begin(), preview_.chosenLessons.end(), i) != preview_.chosenLessons.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }

    ui->firstEntrySpin->setRange(1, std::max(1, preview_.entries - MaxPairs + 1));
    ui->firstEntrySpin->setValue(preview_.firstEntry + 1);
    ui->firstEntryRange->setText(QStringLiteral("to %1 of %2 entries")
                                     .arg(preview_.firstEntry + int(preview_.pairs.size()))
                                     .arg(preview_.entries));
}

void Import::fillPairs()
{
    QTableWidget* table = ui->pairTable;
    table->clearContents();
    const WordPairs& pairs = preview_.ok() ? preview_.pairs : WordPairs{};
    table->setRowCount(int(pairs.size()));
    for (int r = 0; r < int(pairs.size()); ++r) {
        table->setItem(r, 0, new QTableWidgetItem(pairs[size_t(r)].known));
        table->setItem(r, 1, new QTableWidgetItem(pairs[size_t(r)].unknown));
    }
}

} // namespace vorbix
