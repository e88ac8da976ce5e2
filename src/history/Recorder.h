#pragma once

#include "history/History.h"

#include <functional>
#include <memory>

namespace vorbix::history {

// The program's one learning record: opened when first needed (or when the
// main window is up), fed every judged answer, and silent once it has said
// why it cannot record. Without a path, as in tests, it keeps nothing.
class Recorder {
public:
    // Shows one message to the user; called at most once per run.
    using Tell = std::function<void(const QString&)>;

    explicit Recorder(Tell tell = {});
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Where the record is kept; empty keeps none. Closes a record open elsewhere.
    void setPath(const QString& path);
    QString path() const { return path_; }

    // Off: nothing is recorded (--no-history, the "record nothing" option),
    // and no record file is made; one that exists can still be read and cleared.
    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }

    // Opens the record now, if there is one to open.
    void open();
    // The record, opened if need be; null when there is none to read.
    Store* store();

    // Stores one judged answer under the current test, or under a new one
    // when `firstOfTest` or the list changed. Never fails loudly.
    void record(Answer answer, bool firstOfTest);
    // The next answer begins a new test.
    void endTest() { testId_ = 0; }
    qint64 currentTest() const { return testId_; }
    // Whether answers are being kept right now.
    bool keeping() const;

    // The history command: all of it, or one list's. False when there was
    // a record and it could not be cleared; no record is nothing to clear.
    bool clearAll();
    bool clearList(const QString& listPath);

private:
    void tellOnce(const QString& text);
    QString unrecorded() const;

    Tell tell_;
    QString path_;
    bool recording_ = true;
    bool tried_ = false;
    bool failed_ = false;
    bool told_ = false;
    std::unique_ptr<Store> store_;
    qint64 testId_ = 0;
    QString testList_;
};

} // namespace vorbix::history
