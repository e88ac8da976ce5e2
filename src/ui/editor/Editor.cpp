#include "ui/editor/Editor.h"

#include "ui_Editor.h"

#include "dictionary/DictionaryFile.h"
#include "ui/toolkit/Contrast.h"
#include "state/NumberForm.h"
#include "state/Sorting.h"
#include "state/TestRound.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QUndoStack>

#include <QHash>

#include <algorithm>
#include <utility>

namespace vorbix {

namespace {

QString rowText(const QListWidget* list, int row)
{
    const QListWidgetItem* item = list->item(row);
    return item ? item->text() : QString();
}

// Which pair a row of List1 holds, so that the pair keeps its asked mark
// wherever sorts and undo move it.
constexpr int PairIdRole = Qt::UserRole;

std::uint32_t rowId(const QListWidget* list, int row)
{
    const QListWidgetItem* item = list->item(row);
    return item ? item->data(PairIdRole).toUInt() : 0;
}

// A sort or an undo often gives the same number of rows: the
// items keep their places and take the new texts, with one change signal for
// the lot instead of two thousand rows taken out and put in again.
void setRows(QListWidget* list, const QStringList& texts, const std::vector<std::uint32_t>& ids = {})
{
    const auto setId = [&](int r) {
        if (size_t(r) < ids.size())
            list->item(r)->setData(PairIdRole, ids[size_t(r)]);
    };
    if (list->count() != texts.size()) {
        list->clear();
        list->addItems(texts);
        for (int r = 0; r < texts.size(); ++r)
            setId(r);
        return;
    }
    if (texts.isEmpty())
        return;
    QAbstractItemModel* model = list->model();
    {
        const QSignalBlocker quiet(model);
        for (int r = 0; r < texts.size(); ++r) {
            list->item(r)->setText(texts[r]);
            setId(r);
        }
    }
    emit model->dataChanged(model->index(0, 0), model->index(texts.size() - 1, 0), {Qt::DisplayRole});
    // As a refilled list: nothing selected, nothing current, at the top.
    list->selectionModel()->reset();
    list->scrollToTop();
}

int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

// The sort buttons keep the active sort in their colour. The palette holds
// it; the style sheet shows it plainly, as the style's own bevel lightens a
// light button colour until white and button face look alike. The caption
// is made readable on that colour: the active one in the highlight colour,
// the others in the button text colour.
void paintSortButton(QPushButton* button, SystemColour colour)
{
    const QColor c = systemColour(colour);
    const QColor text =
        withContrast(colour == SystemColour::HighlightText ? systemColour(SystemColour::Highlight)
                                                           : QApplication::palette().color(QPalette::ButtonText),
                     c);
    QPalette p = button->palette();
    // A style sheet is parsed again on every set: leave a button as it is.
    if (p.color(QPalette::Button) == c && p.color(QPalette::ButtonText) == text && !button->styleSheet().isEmpty())
        return;
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::ButtonText, text);
    button->setPalette(p);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2;"
                                         " border: 1px solid palette(dark); border-radius: 2px; }"
                                         " QPushButton:focus { border: 2px solid palette(highlight); }"
                                         " QPushButton:pressed { background-color: palette(mid); }")
                              .arg(c.name(), text.name()));
}

bool paintedIn(const QPushButton* button, SystemColour colour)
{
    return button->palette().color(QPalette::Button) == systemColour(colour);
}

const QList<QKeySequence> UndoKeys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> RedoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};

enum class UndoKey { None, Undo, Redo };

UndoKey undoKey(const QKeyEvent* key)
{
    const QKeySequence pressed(key->keyCombination());
    if (UndoKeys.contains(pressed))
        return UndoKey::Undo;
    return RedoKeys.contains(pressed) ? UndoKey::Redo : UndoKey::None;
}

// Where the rows of `now` differ from those of `was` for the eye: the first
// pair that came in, else the place of the first pair that went; -1 when
// only the order changed.
struct Touched {
    int row = -1;
    bool cameIn = false;
};

Touched touchedRow(const dictionary::WordPairs& was, const dictionary::WordPairs& now)
{
    QHash<QString, int> left;
    const auto key = [](const dictionary::WordPair& p) { return p.known + QChar(0) + p.unknown; };
    for (const dictionary::WordPair& p : was)
        ++left[key(p)];
    for (size_t r = 0; r < now.size(); ++r) {
        int& n = left[key(now[r])];
        if (n-- == 0)
            return {int(r), true};
    }
    if (now.empty() || now.size() >= was.size())
        return {};
    size_t r = 0;
    while (r < now.size() && now[r] == was[r])
        ++r;
    return {int(std::min(r, now.size() - 1)), false};
}

} // namespace

// One command as the rows and the sort before and after it.
class Editor::Step : public QUndoCommand {
public:
    Step(Editor* editor, const QString& text, Snapshot before, Snapshot after, bool changesList, bool writesBack)
        : QUndoCommand(text), editor_(editor), before_(std::move(before)), after_(std::move(after)),
          changesList_(changesList), writesBack_(writesBack)
    {}
    void undo() override { editor_->restore(before_, changesList_, writesBack_); }
    void redo() override
    {
        // Pushed after the command has run: the first redo is the command.
        if (std::exchange(done_, false))
            return;
        editor_->restore(after_, changesList_, writesBack_);
    }

private:
    Editor* editor_;
    Snapshot before_, after_;
    bool changesList_, writesBack_;
    bool done_ = true;
};

// Makes the outermost command running one step of the undo stack, when it
// changed anything.
class Editor::UndoScope {
public:
    // The text names the command in the Undo and Redo menu items.
    UndoScope(Editor* editor, const QString& text, bool changesList)
        : editor_(editor), outer_(editor->scope_ == nullptr), text_(text)
    {
        if (!outer_)
            return;
        editor_->scope_ = this;
        changesList_ = changesList;
        before_ = editor_->capture();
    }
    ~UndoScope()
    {
        if (!outer_)
            return;
        editor_->scope_ = nullptr;
        Snapshot after = editor_->capture();
        if (after != before_)
            editor_->undo_->push(
                new Step(editor_, text_, std::move(before_), std::move(after), changesList_, wroteBack));
    }
    // The rows as the command found them, read once.
    Snapshot before() const { return outer_ ? before_ : editor_->capture(); }
    UndoScope(const UndoScope&) = delete;
    UndoScope& operator=(const UndoScope&) = delete;

    bool wroteBack = false;

private:
    Editor* editor_;
    bool outer_;
    QString text_;
    bool changesList_ = false;
    Snapshot before_;
};

Editor::Editor(Program& program) : Form(program), ui(std::make_unique<Ui::Editor>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    setTitleBar(true);
    setFixedSize(size());

    QPalette background = palette();
    background.setColor(QPalette::Window, systemColour(SystemColour::MenuBar));
    setPalette(background);
    setAutoFillBackground(true);
    // The left list is white by design, so its words are black whatever
    // the colour scheme.
    QPalette white = ui->List2->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    ui->List2->setPalette(white);

    ui->Label2->adjustSize();
    for (QPushButton* b : sortButtons())
        b->setFont(b->font()); // a style sheet would fall back to the plain font
    paintSortButtons(-1);
    ui->Text2->setFocus();
    for (QLineEdit* box : {ui->Text1, ui->Text2})
        box->setMaxLength(dictionary::MaxWordLength);

    // The list's undo is the editor's: its keys anywhere but in an entry box
    // (which undoes its typing with them), and a right click on the window or
    // a list, which shows what would be undone.
    undo_ = new QUndoStack(this);
    QAction* undo = undo_->createUndoAction(this, QStringLiteral("Undo"));
    undo->setShortcuts(UndoKeys);
    QAction* redo = undo_->createRedoAction(this, QStringLiteral("Redo"));
    redo->setShortcuts(RedoKeys);
    for (QWidget* w :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(ui->List1), static_cast<QWidget*>(ui->List2)}) {
        w->addActions({undo, redo});
        w->setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    ui->Text1->installEventFilter(this);
    ui->Text2->installEventFilter(this);
    ui->List1->installEventFilter(this);
    ui->List2->installEventFilter(this);
    ui->List1->viewport()->installEventFilter(this);
    ui->List2->viewport()->installEventFilter(this);
    connect(ui->Command1, &QPushButton::clicked, this, &Editor::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Editor::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Editor::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Editor::Command4_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &Editor::Command5_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &Editor::Command6_Click);
    connect(ui->Command7, &QPushButton::clicked, this, &Editor::Command7_Click);
    connect(ui->Command8, &QPushButton::clicked, this, &Editor::Command8_Click);
    // A click on the row already selected shows its pair again as well.
    connect(ui->List1, &QListWidget::itemSelectionChanged, this, &Editor::List1_Click);
    connect(ui->List2, &QListWidget::itemSelectionChanged, this, &Editor::List2_Click);
    connect(ui->List1, &QListWidget::itemClicked, this, &Editor::List1_Click);
    connect(ui->List2, &QListWidget::itemClicked, this, &Editor::List2_Click);
}

Editor::~Editor() = default;

bool Editor::eventFilter(QObject* watched, QEvent* event)
{
    // In an entry box the undo keys undo the typing, whatever key scheme the
    // desktop has, and never reach the list's undo.
    if (auto* box = qobject_cast<QLineEdit*>(watched);
        box && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        const UndoKey k = undoKey(static_cast<QKeyEvent*>(event));
        if (k != UndoKey::None) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                k == UndoKey::Undo ? box->undo() : box->redo();
            return true;
        }
    }
    // A right click opens the undo menu without selecting a row, which would
    // put its pair over the boxes' typing.
    if ((watched == ui->List1->viewport() || watched == ui->List2->viewport())
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    if (event->type() != QEvent::KeyPress)
        return Form::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);

    if (watched == ui->Text1 || watched == ui->Text2) {
        int keyAscii = Form::keyAscii(key);
        if (keyAscii == 0)
            return false;
        if (watched == ui->Text1)
            Text1_KeyPress(keyAscii);
        else
            Text2_KeyPress(keyAscii);
        return keyAscii == 0;
    }

    if (watched == ui->List1 || watched == ui->List2) {
        int keyCode = key->key() == Qt::Key_Delete ? KeyDelete : key->key();
        int shift = 0;
        if (key->modifiers() & Qt::ShiftModifier)
            shift |= 1;
        if (key->modifiers() & Qt::ControlModifier)
            shift |= 2;
        if (key->modifiers() & Qt::AltModifier)
            shift |= 4;
        if (watched == ui->List1)
            List1_KeyDown(keyCode, shift);
        else
            List2_KeyDown(keyCode, shift);
        return false;
    }
    return Form::eventFilter(watched, event);
}

void Editor::writeCount(CountForm form)
{
    const int n = ui->List1->count();
    switch (form) {
    case CountForm::WordCount:
        ui->Label1->setText(QStringLiteral("Word count: ") + signedNumber(n));
        break;
    case CountForm::Sonu:
        ui->Label1->setText(QStringLiteral("Sõnu: ") + signedNumber(n));
        break;
    case CountForm::WordCountPlain:
        ui->Label1->setText(QStringLiteral("Word count: ") + QString::number(n));
        break;
    }
}

void Editor::Form_Load()
{
    QStringList known, unknown;
    std::vector<std::uint32_t> ids;
    const MOODUL1& s = state();
    const int n = pairCount(s, lastListIndex(s) + 1);
    for (int i = 0; i < n; ++i) {
        known << s.KnownWords[i];
        unknown << s.UnknownWords[i];
        ids.push_back(s.PairIds[i]);
    }
    showRows(known, unknown, ids);
    writeCount(CountForm::WordCount);
}

void Editor::showRows(const QStringList& known, const QStringList& unknown, const std::vector<std::uint32_t>& ids)
{
    setRows(ui->List1, known, ids);
    setRows(ui->List2, unknown);
}

void Editor::appendRow(const QString& known, const QString& unknown, std::uint32_t id)
{
    ui->List1->addItem(known);
    ui->List1->item(ui->List1->count() - 1)->setData(PairIdRole, id);
    ui->List2->addItem(unknown);
}

bool Editor::holdsTyping() const { return !ui->Text1->text().isEmpty() || !ui->Text2->text().isEmpty(); }

bool Editor::bothBoxesHoldText() const { return !ui->Text1->text().isEmpty() && !ui->Text2->text().isEmpty(); }

void Editor::focusEmptyBox()
{
    const bool known = !ui->Text1->text().isEmpty();
    const bool unknown = !ui->Text2->text().isEmpty();
    if (!known && unknown)
        ui->Text1->setFocus();
    else if (known && !unknown)
        ui->Text2->setFocus();
}

// A file carries at most FileCapacity pairs, so the list may not grow past
// that or the next save would lose pairs.
bool Editor::roomForOneMore()
{
    if (ui->List1->count() < MOODUL1::FileCapacity)
        return true;
    platform().messageBox(
        QStringLiteral("The word list is full: it holds at most %1 pairs.").arg(MOODUL1::FileCapacity),
        MessageIcon::Critical);
    return false;
}

void Editor::addPair(CountForm form, bool focusToText2)
{
    if (!roomForOneMore())
        return;
    const UndoScope step(this, QStringLiteral("add"), true);
    state().WordsModified = 1;
    appendRow(ui->Text1->text(), ui->Text2->text(), newPairId(state()));
    ui->Text1->clear();
    ui->Text2->clear();
    writeCount(form);
    if (focusToText2)
        ui->Text2->setFocus();
    reapplySort();
}

void Editor::Command1_Click()
{
    if (bothBoxesHoldText())
        addPair(CountForm::Sonu, false);
    else
        focusEmptyBox();
}

void Editor::Text1_KeyPress(int& KeyAscii)
{
    if (KeyAscii != KeyAsciiEnter)
        return;
    KeyAscii = 0;
    if (bothBoxesHoldText())
        addPair(CountForm::WordCountPlain, true);
    else
        ui->Text2->setFocus();
}

void Editor::Text2_KeyPress(int& KeyAscii)
{
    if (KeyAscii != KeyAsciiEnter)
        return;
    if (bothBoxesHoldText()) {
        KeyAscii = 0;
        addPair(CountForm::WordCountPlain, true);
    } else if (ui->Text1->text().isEmpty()) {
        KeyAscii = 0;
        ui->Text1->setFocus();
    }
}

void Editor::showSelection(QListWidget* from, QListWidget* to)
{
    const int r = selectedRow(from);
    if (r < 0)
        return;
    if (r < to->count() && selectedRow(to) != r)
        to->setCurrentRow(r);
    ui->Text1->setText(rowText(ui->List1, r));
    ui->Text2->setText(rowText(ui->List2, r));
}

void Editor::List1_Click() { showSelection(ui->List1, ui->List2); }

void Editor::List2_Click() { showSelection(ui->List2, ui->List1); }

int Editor::selectedPairRow() const
{
    const int r = selectedRow(ui->List1);
    return r >= 0 ? r : selectedRow(ui->List2);
}

// Removes the pair selected in List1, else the one selected in List2, and
// returns its row; -1 when neither list has a selection.
int Editor::removeSelectedPair()
{
    const int r = selectedPairRow();
    if (r < 0)
        return -1;
    state().WordsModified = 1;
    // The lists would mirror every intermediate selection into the boxes.
    const QSignalBlocker block1(ui->List1);
    const QSignalBlocker block2(ui->List2);
    delete ui->List1->takeItem(r);
    delete ui->List2->takeItem(r);
    ui->List1->clearSelection();
    ui->List2->clearSelection();
    return r;
}

void Editor::Command2_Click()
{
    const UndoScope step(this, QStringLiteral("delete"), true);
    const int removed = removeSelectedPair();
    if (removed >= 0)
        writeCount(CountForm::Sonu);

    // The boxes show the pair that moved up into the deleted row, or the
    // last one when there is none.
    const int n = ui->List1->count();
    if (n == 0) {
        ui->Text1->clear();
        ui->Text2->clear();
        return;
    }
    const int shown = removed >= 0 ? std::min(removed, n - 1) : n - 1;
    ui->Text1->setText(rowText(ui->List1, shown));
    ui->Text2->setText(rowText(ui->List2, shown));
}

// The Delete key takes only a pair the user can see: a selected row
// scrolled out of the list is brought into view by the first press, and
// the next press deletes it.
bool Editor::selectionInSight(QListWidget* list)
{
    const int r = selectedRow(list);
    if (r < 0 || list->viewport()->rect().contains(list->visualItemRect(list->item(r))))
        return true;
    list->scrollToItem(list->item(r));
    return false;
}

void Editor::List1_KeyDown(int& KeyCode, int /*Shift*/)
{
    if (KeyCode == KeyDelete && selectionInSight(ui->List1))
        Command2_Click();
}

void Editor::List2_KeyDown(int& KeyCode, int /*Shift*/)
{
    if (KeyCode == KeyDelete && selectionInSight(ui->List2))
        Command2_Click();
}

void Editor::Command3_Click()
{
    if (!bothBoxesHoldText()) {
        focusEmptyBox();
        return;
    }
    const QString known = ui->Text1->text();
    const QString unknown = ui->Text2->text();
    const int replaced = selectedPairRow();
    if (replaced < 0 && !roomForOneMore())
        return;
    // Other words make another pair, not yet asked; the same words stay the
    // pair they were.
    const bool same = replaced >= 0 && rowText(ui->List1, replaced) == known && rowText(ui->List2, replaced) == unknown;
    const std::uint32_t id = same ? rowId(ui->List1, replaced) : newPairId(state());

    const UndoScope step(this, QStringLiteral("replace"), true);
    state().WordsModified = 1;
    removeSelectedPair();
    appendRow(known, unknown, id);
    ui->Text1->clear();
    ui->Text2->clear();
    reapplySort();
}

dictionary::WordPairs Editor::rows() const
{
    dictionary::WordPairs pairs;
    pairs.reserve(ui->List1->count());
    for (int r = 0; r < ui->List1->count(); ++r)
        pairs.push_back({rowText(ui->List1, r), rowText(ui->List2, r)});
    return pairs;
}

std::vector<std::uint32_t> Editor::rowIds() const
{
    std::vector<std::uint32_t> ids;
    ids.reserve(size_t(ui->List1->count()));
    for (int r = 0; r < ui->List1->count(); ++r)
        ids.push_back(rowId(ui->List1, r));
    return ids;
}

void Editor::writeBack() { writeBack(rows(), rowIds()); }

// A test may be running: each pair keeps its asked mark.
void Editor::writeBack(const dictionary::WordPairs& shown, const std::vector<std::uint32_t>& ids)
{
    dictionary::storeListedPairs(state(), shown, ids);
}

void Editor::reload()
{
    paintSortButtons(-1);
    ui->Text1->clear();
    ui->Text2->clear();
    Form_Load();
    // The steps belong to the list that is gone.
    undo_->clear();
}

void Editor::Command4_Click()
{
    // Reached twice on one closing: the button unloads, and unloading runs
    // this again through Form_Unload.
    if (leaving_)
        return;
    leaving_ = true;
    writeBack();
    // Main first: were the editor the last window, closing it would end the
    // program before the main window could come back.
    program().show<Main>();
    Unload();
}

void Editor::Form_Unload() { Command4_Click(); }

std::array<QPushButton*, 4> Editor::sortButtons() const
{
    return {ui->Command5, ui->Command6, ui->Command7, ui->Command8};
}

// The button painted in the highlight text colour is the active sort.
int Editor::activeSort() const
{
    const auto buttons = sortButtons();
    for (int i = 0; i < int(buttons.size()); ++i)
        if (paintedIn(buttons[size_t(i)], SystemColour::HighlightText))
            return i;
    return -1;
}

void Editor::paintSortButtons(int active)
{
    const auto buttons = sortButtons();
    for (int i = 0; i < int(buttons.size()); ++i)
        paintSortButton(buttons[size_t(i)], i == active ? SystemColour::HighlightText : SystemColour::ButtonFace);
}

void Editor::sortCommand(int button)
{
    static constexpr SortRoutine routines[] = {SortUnknownAZ, SortUnknownZA, SortKnownAZ, SortKnownZA};
    UndoScope step(this, QStringLiteral("sort"), false);
    scope_->wroteBack = true;
    const Snapshot shown = step.before();
    writeBack(shown.rows, shown.ids);
    paintSortButtons(button);
    routines[button](state());
    Form_Load();
}

Editor::Snapshot Editor::capture() const { return {rows(), rowIds(), activeSort()}; }

void Editor::restore(const Snapshot& snapshot, bool changesList, bool writesBack)
{
    const dictionary::WordPairs was = rows();
    {
        const QSignalBlocker block1(ui->List1);
        const QSignalBlocker block2(ui->List2);
        QStringList known, unknown;
        for (const dictionary::WordPair& row : snapshot.rows) {
            known << row.known;
            unknown << row.unknown;
        }
        showRows(known, unknown, snapshot.ids);
    }
    paintSortButtons(snapshot.activeSort);
    writeCount(CountForm::WordCount);
    // Undoing is a change too; what was saved may differ from it now.
    if (changesList)
        state().WordsModified = 1;
    // A sort had put its rows into the shared list; so does its undo.
    if (writesBack)
        writeBack();
    showTouchedRow(was);
}

// An undo or redo far down the list would change it out of sight: the row
// it brought back is selected, or the place of the one it took is shown.
// Unless they hold the user's typing, the boxes show the pair of that row,
// as a click or a deletion would.
void Editor::showTouchedRow(const dictionary::WordPairs& was)
{
    const Touched touched = touchedRow(was, rows());
    // Only the order changed: shown as a sort shows it.
    if (touched.row < 0 && ui->List1->count() > 0)
        return;
    for (QListWidget* list : {ui->List1, ui->List2}) {
        const QSignalBlocker quiet(list);
        const QModelIndex at = list->model()->index(touched.row, 0);
        list->selectionModel()->setCurrentIndex(
            at, touched.cameIn ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Clear);
        list->scrollTo(at);
    }
    const auto typing = [](const QLineEdit* box) { return box->isModified() && !box->text().isEmpty(); };
    if (typing(ui->Text1) || typing(ui->Text2))
        return;
    ui->Text1->setText(rowText(ui->List1, touched.row));
    ui->Text2->setText(rowText(ui->List2, touched.row));
}

void Editor::Command5_Click() { sortCommand(0); }
void Editor::Command6_Click() { sortCommand(1); }
void Editor::Command7_Click() { sortCommand(2); }
void Editor::Command8_Click() { sortCommand(3); }

void Editor::reapplySort()
{
    if (const int active = activeSort(); active >= 0)
        sortCommand(active);
}

} // namespace vorbix
