#pragma once

#include "dictionary/Import.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QThread;

namespace vorbix {

class Platform;
class ProgressWindow;
class TimerEngine;

// Reads a list from another program off the interface thread, so that the
// program keeps answering while a large file is read. A read that ends
// within WaitMs is handed back at once, as if it had run in place; a longer
// one shows an application-modal progress window, whose Cancel drops the
// read and changes nothing.
class ImportRead : public QObject {
    Q_OBJECT
public:
    static constexpr int WaitMs = 100;

    struct Result {
        QByteArray bytes;
        dictionary::ImportPreview preview;
        bool unreadable = false; // the file could not be read (an I/O error)
    };
    using Work = std::function<Result(dictionary::ReadProgress*)>;

    // Runs work on another thread. Returns its result if it ends within
    // WaitMs; otherwise nothing, and later `done` gets the result, or
    // `cancelled` runs after the user's Cancel. Neither runs once `owner`
    // is gone; its destruction stops the read and waits for the thread.
    static std::optional<Result> run(QObject* owner, Platform& platform, const QString& text, Work work,
                                     std::function<void(const Result&)> done, std::function<void()> cancelled);

    ~ImportRead() override;

    // Reads whose thread has not ended yet, in the whole program.
    static int running() { return running_.load(); }

private:
    ImportRead(QObject* owner, Platform& platform);
    void tick();
    void finish();

    static inline std::atomic<int> running_{0};

    Platform& platform_;
    QThread* thread_ = nullptr;
    dictionary::ReadProgress progress_;
    Result result_; // written by the thread, read once it has ended
    std::function<void(const Result&)> done_;
    std::function<void()> cancelled_;
    std::unique_ptr<ProgressWindow> window_;
    std::unique_ptr<TimerEngine> tick_;
};

} // namespace vorbix
