#pragma once

#include "dictionary/Import.h"
#include "ui/toolkit/Form.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace Ui {
class Import;
}

namespace vorbix {

// Shows what a file from another program would give before it replaces the
// list: the guesses, each with its reason and each changeable, and the pairs
// as they would be read. OK hands them to the main window; Cancel, Esc and
// the close box change nothing. Blocks the other windows while open, as the
// file dialog before it does, so the list cannot change under it.
class Import : public Form {
    Q_OBJECT
public:
    explicit Import(Program& program);
    ~Import() override;

    // Starts over with this file and the preview of its guesses.
    void begin(const QString& path, const QString& fileTitle, const QByteArray& bytes,
               const dictionary::ImportPreview& preview);

    void buttonBox_Accepted();
    void buttonBox_Rejected();
    void formatBox_Change();
    void encodingBox_Change();
    void separatorBox_Change();
    void headerCheck_Click();
    void knownBox_Change();
    void unknownBox_Change();
    void lessonList_Change();
    void firstEntrySpin_Change();

    const dictionary::ImportPreview& preview() const { return preview_; }
    const dictionary::ImportChoices& choices() const { return choices_; }
    QString path() const { return path_; }

    std::unique_ptr<Ui::Import> ui;

private:
    // Reads the file again with the choices made so far.
    void update();
    // Puts the preview on screen, the controls too, without their handlers.
    void showPreview();
    void fillChoiceBoxes();
    void fillPairs();

    QString path_, fileTitle_;
    QByteArray bytes_;
    dictionary::ImportFormat guessed_ = dictionary::ImportFormat::Delimited; // what the content tells
    dictionary::ImportChoices choices_;
    dictionary::ImportChoices shownChoices_; // those the preview shown was read with
    dictionary::ImportPreview preview_;
    bool reading_ = false; // a long read is under way behind its progress window
    bool showing_ = false; // filling the controls: their handlers stay out
};

} // namespace vorbix
