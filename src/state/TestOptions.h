#pragma once

namespace vorbix {

// The test options as the main window's controls hold them. The test windows
// read them through one accessor, so that reading never loads a window.
struct TestOptions {
    bool askUnknownWords = true; // else the known words are asked
    bool normalMode = true; // typed answers; else five choices
    bool timeLimitOn = false;
    int timeLimitSeconds = 0;
    bool showWrongAnswer = false; // the wrong-answer window shows what was given

    bool operator==(const TestOptions&) const = default;
};

} // namespace vorbix
