#pragma once

#include "dictionary/FileFormat.h"
#include "dictionary/FileKind.h"
#include "state/Drill.h"
#include "state/TestOptions.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorbix {

// The state every window shares. One instance lives as long as the program
// object; windows read and write its fields directly.
struct MOODUL1 {
    // Slots in the word arrays (indices 0..1000). A file carries at most
    // FileCapacity pairs; the editor refuses to grow past it as well.
    static constexpr int WordSlots = 1001;
    static constexpr int FileCapacity = 1000;

    std::array<QString, WordSlots> KnownWords{};
    std::array<QString, WordSlots> UnknownWords{};
    std::int16_t LastWordIndex = 0;

    QString CurrentFile;
    // Whether Save may write the current file back in its own form.
    dictionary::FileKind CurrentFileKind = dictionary::FileKind::Dictionary;
    // How the list's file is written: set by Open, then what each save
    // wrote. None for a list that was never read or saved.
    std::optional<dictionary::FileFormat> CurrentFileFormat;
    std::int16_t WordsModified = 0;
    std::int16_t PendingAction = 0; // 0 none, 1 open, 2 exit
    // The file dropped on the main window that a pending open is for; empty
    // for File > Open, which asks for its file.
    QString PendingOpenPath;
    std::int16_t MainWindowClosing = 0;

    std::int16_t CurrentQuestion = 0;
    std::int16_t AnsweredCount = 0;
    std::int16_t WrongCount = 0;
    std::array<std::int16_t, WordSlots> AskedFlags{};
    // Which pair each slot holds (0: none). The editor sorts, drops and
    // brings back pairs during a test; a pair's mark goes with it.
    std::array<std::uint32_t, WordSlots> PairIds{};
    std::uint32_t LastPairId = 0;
    // Pairs asked in this round that the list does not hold now: an undo in
    // the editor may bring them back, asked.
    std::vector<std::uint32_t> AskedAway;
    std::int16_t ElapsedSeconds = 0;
    bool WrongAnswerAcknowledged = false;

    // The options the main window had when it last closed: what the test
    // goes on with while no main window is loaded.
    TestOptions ClosedMainOptions;

    Drill MistakesDrill;
    TestMistakes LastTestMistakes;

    // The list is empty exactly when the first known word is.
    bool listIsEmpty() const { return KnownWords[0].isEmpty(); }
};

// The last slot LastWordIndex names, kept inside the arrays; -1 for none.
int lastListIndex(const MOODUL1& s);

// The pairs run from slot 0 up to the first empty known word; no more than
// `limit` are counted.
int pairCount(const MOODUL1& s, int limit);

// Leaving or replacing the list would lose changes the user made to it.
bool needsSavePrompt(const MOODUL1& s);

enum PendingActionValue : std::int16_t { PendingNone = 0, PendingOpen = 1, PendingExit = 2 };

// Adds one unless that would overflow; a refused step leaves the value as it
// was and returns false.
inline bool checkedIncrement(std::int16_t& value)
{
    if (value == INT16_MAX)
        return false;
    ++value;
    return true;
}

} // namespace vorbix
