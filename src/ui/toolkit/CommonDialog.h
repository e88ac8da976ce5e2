#pragma once

#include <QString>

namespace vorbix {

class Platform;

// The file dialog object of a window. Filter, default extension and file name
// stay on the object between showings, as the dialog keeps them.
class CommonDialog {
public:
    explicit CommonDialog(Platform& platform) : platform_(platform) {}

    QString Filter;
    QString DefaultExt;
    QString FileName; // preset before showing; the full path chosen after
    QString FileTitle; // bare name of the chosen file
    int FilterIndex = 0; // the filter entry chosen, counted from 0

    // True when a file was chosen, false on cancel.
    bool showOpen();
    bool showSave();

private:
    bool run(bool save);
    Platform& platform_;
};

} // namespace vorbix
