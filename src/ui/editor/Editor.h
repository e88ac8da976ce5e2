#pragma once

#include "dictionary/DictionaryFile.h"
#include "ui/toolkit/Form.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QListWidget;
class QPushButton;
class QUndoStack;

namespace Ui {
class Editor;
}

namespace vorbix {

struct MOODUL1;

// Builds and changes the word list. The two list boxes are a working copy of
// the shared list (List1 known words, List2 unknown words, one pair per row);
// it is written back when the editor is left and before every sort.
class Editor : public Form {
    Q_OBJECT
public:
    explicit Editor(Program& program);
    ~Editor() override;

    // The key code List*_KeyDown sees for the Delete key.
    static constexpr int KeyDelete = 46;

    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click(); // Add
    void Command2_Click(); // Delete
    void Command3_Click(); // Replace
    void Command4_Click(); // Exit editor
    void Command5_Click(); // unknown words A-Z
    void Command6_Click(); // unknown words Z-A
    void Command7_Click(); // known words A-Z
    void Command8_Click(); // known words Z-A
    // Setting KeyAscii to 0 consumes the character; otherwise the box gets it.
    void Text1_KeyPress(int& KeyAscii);
    void Text2_KeyPress(int& KeyAscii);
    void List1_Click();
    void List2_Click();
    void List1_KeyDown(int& KeyCode, int Shift);
    void List2_KeyDown(int& KeyCode, int Shift);

    // Puts the working copy into the shared list, as leaving the editor
    // does; the window stays open.
    void writeBack();
    // Shows the shared list afresh, as a newly opened editor would: another
    // list has replaced the one it was editing.
    void reload();
    // Words in the entry boxes, not yet added.
    bool holdsTyping() const;

    std::unique_ptr<Ui::Editor> ui;
    // Add, delete, replace and sort, each one step, for as long as the
    // window lives (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y, outside the entry boxes).
    QUndoStack* undoStack() const { return undo_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class CountForm { WordCount, Sonu, WordCountPlain };
    using SortRoutine = void (*)(MOODUL1&);

    // Command5..Command8, in the order the active sort counts them.
    std::array<QPushButton*, 4> sortButtons() const;
    // The active sort, 0..3, read from the buttons' colour; -1 for none.
    int activeSort() const;
    void paintSortButtons(int active);

    void writeCount(CountForm form);
    bool bothBoxesHoldText() const;
    void focusEmptyBox();
    bool roomForOneMore();
    void addPair(CountForm form, bool focusToText2);
    int selectedPairRow() const;
    int removeSelectedPair();
    bool selectionInSight(QListWidget* list);
    void showSelection(QListWidget* from, QListWidget* to);
    void sortCommand(int button);
    void reapplySort();

    // What a step of the undo stack brings back: the rows, the pairs they
    // are, and the sort.
    struct Snapshot {
        dictionary::WordPairs rows;
        std::vector<std::uint32_t> ids;
        int activeSort = -1; // 0..3 for Command5..Command8
        bool operator==(const Snapshot&) const = default;
    };
    class Step;
    class UndoScope;
    friend class Step;
    friend class UndoScope;
    dictionary::WordPairs rows() const;
    std::vector<std::uint32_t> rowIds() const;
    void showRows(const QStringList& known, const QStringList& unknown, const std::vector<std::uint32_t>& ids);
    void appendRow(const QString& known, const QString& unknown, std::uint32_t id);
    void writeBack(const dictionary::WordPairs& shown, const std::vector<std::uint32_t>& ids);
    Snapshot capture() const;
    void restore(const Snapshot& snapshot, bool changesList, bool writesBack);
    void showTouchedRow(const dictionary::WordPairs& was);

    bool leaving_ = false;
    QUndoStack* undo_ = nullptr;
    // Set while a command runs, so that the sort an add re-applies is part
    // of the add's step.
    UndoScope* scope_ = nullptr;
};

} // namespace vorbix
