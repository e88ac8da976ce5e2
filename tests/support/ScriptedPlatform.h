#pragma once

#include "ui/toolkit/Platform.h"

#include <QStringList>

#include <deque>
#include <map>
#include <vector>

namespace vorbix::testing {

// A platform for tests: dialogs answer from a script, nothing blocks, and
// timers run on a virtual clock that only advance() moves.
class ScriptedPlatform : public Platform {
public:
    struct Message {
        QString text;
        MessageIcon icon;
    };

    ScriptedPlatform();

    // --- script ---------------------------------------------------------
    // Queue the next file dialog's answer. An unscripted dialog is cancelled
    // and counted in unexpectedDialogs.
    // filterIndex: the filter entry the user picked, counted from 0.
    void answerDialog(const QString& path, int filterIndex = 0);
    void cancelDialog() { dialogAnswers_.push_back({}); }
    // Drops answers that no dialog asked for.
    void clearDialogAnswers() { dialogAnswers_.clear(); }
    void queueRandom(std::initializer_list<double> values) { randoms_.insert(randoms_.end(), values); }
    void queueRandom(double value) { randoms_.push_back(value); }
    int queuedRandoms() const { return static_cast<int>(randoms_.size()); }
    void setCurrentDirectory(const QString& dir) { currentDirectory_ = dir; }
    // A string value (REG_SZ) under HKEY_LOCAL_MACHINE.
    void setRegistryValue(const QString& key, const QString& name, const QString& text)
    {
        registry_[key][name] = text.toLocal8Bit() + '\0';
    }
    void addExistingFile(const QString& path) { existingFiles_ << path; }

    // Moves the virtual clock, firing due timers in order.
    void advance(int ms);
    std::int64_t now() const { return clock_->now; }
    int activeTimers() const { return static_cast<int>(clock_->due.size()); }

    // --- record ---------------------------------------------------------
    std::vector<FileDialogRequest> dialogs;
    int unexpectedDialogs = 0;
    std::vector<Message> messages;
    int beeps = 0;
    QString clipboard;
    QStringList started;
    QStringList openedKeys;
    int openKeyCount = 0; // keys open right now
    int unscriptedRandoms = 0; // rnd() calls past the queued numbers
    std::vector<double> seeds; // one per Randomize, i.e. per question set up
    int ended = 0;

    // --- Platform -------------------------------------------------------
    FileDialogResult fileDialog(const FileDialogRequest& request) override;
    void messageBox(const QString& text, MessageIcon icon) override { messages.push_back({text, icon}); }
    void beep() override { ++beeps; }
    void clipboardClear() override { clipboard.clear(); }
    void clipboardSetText(const QString& text) override { clipboard = text; }
    bool startProgram(const QString& path) override;
    bool fileExists(const QString& path) override { return existingFiles_.contains(path); }
    long regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t options,
                      std::uint32_t access, reg::Handle* key) override;
    long regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type,
                         QByteArray* data, std::uint32_t* size) override;
    long regCloseKey(reg::Handle key) override;
    void randomize(double seed) override { seeds.push_back(seed); }
    double rnd() override;
    double timeOfDay() override { return 36000.0; }
    QString currentDirectory() override { return currentDirectory_; }
    std::unique_ptr<TimerEngine> createTimer(std::function<void()> onTimeout) override;
    void endProgram() override { ++ended; }

private:
    struct VirtualTimer;
    // Shared with the timers, which may outlive the platform.
    struct Clock {
        std::int64_t now = 0;
        std::uint64_t armings = 0;
        // Running timers by when they are due, then by when they were armed.
        std::map<std::pair<std::int64_t, std::uint64_t>, VirtualTimer*> due;
    };
    std::shared_ptr<Clock> clock_ = std::make_shared<Clock>();
    std::deque<FileDialogResult> dialogAnswers_;
    std::deque<double> randoms_;
    std::uint32_t lcg_ = 12345;
    QString currentDirectory_;
    std::map<QString, std::map<QString, QByteArray>> registry_;
    QStringList existingFiles_;
};

} // namespace vorbix::testing
