#pragma once

#include "ui/toolkit/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <deque>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace vorbix::testing {

// A platform for tests: dialogs answer from a script, nothing blocks, and
// timers run on a virtual clock that only advance() moves.
class ScriptedPlatform : public Platform {
    struct VirtualTimer;
    // Shared with the timers, which may outlive the platform.
    struct Clock {
        std::int64_t now = 0;
        std::uint64_t armings = 0;
        // Running timers by when they are due, then by when they were armed.
        std::map<std::pair<std::int64_t, std::uint64_t>, VirtualTimer*> due;
    };
    struct VirtualTimer : TimerEngine {
        VirtualTimer(std::shared_ptr<Clock> c, std::function<void()> f) : clock(std::move(c)), fire(std::move(f)) {}
        ~VirtualTimer() override { stop(); }
        void start(int ms) override
        {
            stop();
            interval = ms;
            at = {clock->now + ms, clock->armings++};
            clock->due[at] = this;
        }
        void stop() override { clock->due.erase(at); }

        std::shared_ptr<Clock> clock;
        std::function<void()> fire;
        int interval = 0;
        std::pair<std::int64_t, std::uint64_t> at{-1, 0}; // its key in clock->due
    };

    // Shared with the progress windows, which may outlive the platform.
    struct ProgressLog {
        QStringList texts; // one per window shown
        std::vector<int> values;
        int open = 0;
        bool cancel = false; // the user presses Cancel in the window now up or next
    };
    struct ScriptedProgress : ProgressWindow {
        explicit ScriptedProgress(std::shared_ptr<ProgressLog> l) : log(std::move(l)) { ++log->open; }
        ~ScriptedProgress() override { --log->open; }
        void setValue(int permille) override { log->values.push_back(permille); }
        bool cancelled() override { return std::exchange(log->cancel, false); }
        std::shared_ptr<ProgressLog> log;
    };

public:
    struct Message {
        QString text;
        MessageIcon icon;
    };

    // --- script ---------------------------------------------------------
    // Queue the next file dialog's answer. An unscripted dialog is cancelled
    // and counted in unexpectedDialogs.
    // filterIndex: the filter entry the user picked, counted from 0.
    void answerDialog(const QString& path, int filterIndex = 0)
    {
        dialogAnswers_.push_back({true, path, QFileInfo(path).fileName(), filterIndex});
    }
    void cancelDialog() { dialogAnswers_.push_back({}); }
    // Drops answers that no dialog asked for.
    void clearDialogAnswers() { dialogAnswers_.clear(); }
    // Queue the next Yes/No question's answer; an unscripted one is No.
    void answerYesNo(bool yes) { yesNoAnswers_.push_back(yes); }
    void queueRandom(double value) { randoms_.push_back(value); }
    int queuedRandoms() const { return static_cast<int>(randoms_.size()); }
    void setCurrentDirectory(const QString& dir) { currentDirectory_ = dir; }
    // A string value (REG_SZ) under HKEY_LOCAL_MACHINE.
    void setRegistryValue(const QString& key, const QString& name, const QString& text)
    {
        registry_[key][name] = text.toLocal8Bit() + '\0';
    }
    void addExistingFile(const QString& path) { existingFiles_ << path; }
    // The user's Cancel, seen at the progress window's next look.
    void cancelProgress() { progress_->cancel = true; }

    // Moves the virtual clock, firing due timers in order.
    void advance(int ms)
    {
        const std::int64_t target = clock_->now + ms;
        while (!clock_->due.empty() && clock_->due.begin()->first.first <= target) {
            VirtualTimer* next = clock_->due.begin()->second;
            clock_->now = next->at.first;
            next->start(next->interval); // the next round, armed before the handler runs
            auto fire = next->fire; // the handler may destroy the timer
            fire();
        }
        clock_->now = target;
    }
    std::int64_t now() const { return clock_->now; }

    // --- record ---------------------------------------------------------
    std::vector<FileDialogRequest> dialogs;
    int unexpectedDialogs = 0;
    std::vector<Message> messages;
    int beeps = 0;
    QStringList questions;
    QString clipboard;
    QStringList started;
    QStringList openedKeys;
    int openKeyCount = 0; // keys open right now
    int unscriptedRandoms = 0; // rnd() calls past the queued numbers
    std::vector<double> seeds; // one per Randomize, i.e. per question set up
    int ended = 0;
    const ProgressLog& progress() const { return *progress_; }

    // --- Platform -------------------------------------------------------
    FileDialogResult fileDialog(const FileDialogRequest& request) override
    {
        dialogs.push_back(request);
        if (dialogAnswers_.empty()) {
            ++unexpectedDialogs;
            return {};
        }
        const FileDialogResult r = dialogAnswers_.front();
        dialogAnswers_.pop_front();
        return r;
    }
    void messageBox(const QString& text, MessageIcon icon) override { messages.push_back({text, icon}); }
    void beep() override { ++beeps; }
    bool askYesNo(const QString& text) override
    {
        questions << text;
        if (yesNoAnswers_.empty())
            return false;
        const bool yes = yesNoAnswers_.front();
        yesNoAnswers_.pop_front();
        return yes;
    }
    void clipboardClear() override { clipboard.clear(); }
    void clipboardSetText(const QString& text) override { clipboard = text; }
    bool startProgram(const QString& path) override
    {
        started << path;
        return true;
    }
    bool fileExists(const QString& path) override { return existingFiles_.contains(path); }
    // A key's handle is its place in openedKeys, counted from 1.
    long regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t, std::uint32_t,
                      reg::Handle* key) override
    {
        openedKeys << subKey;
        *key = 0;
        if (root != reg::HKEY_LOCAL_MACHINE || !registry_.count(subKey))
            return reg::ERROR_FILE_NOT_FOUND;
        *key = static_cast<reg::Handle>(openedKeys.size());
        ++openKeyCount;
        return reg::ERROR_SUCCESS;
    }
    long regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type, QByteArray* data,
                         std::uint32_t* size) override
    {
        if (key == 0 || key > static_cast<reg::Handle>(openedKeys.size()))
            return 6; // invalid handle
        const auto& values = registry_[openedKeys[static_cast<int>(key) - 1]];
        const auto v = values.find(valueName);
        if (v == values.end())
            return reg::ERROR_FILE_NOT_FOUND;
        return reg::giveValue(reg::REG_SZ, v->second, type, data, size);
    }
    long regCloseKey(reg::Handle key) override
    {
        if (key != 0)
            --openKeyCount;
        return reg::ERROR_SUCCESS;
    }
    void randomize(double seed) override { seeds.push_back(seed); }
    double rnd() override
    {
        if (randoms_.empty()) {
            ++unscriptedRandoms;
            lcg_ = lcg_ * 1103515245u + 12345u;
            return static_cast<double>((lcg_ >> 8) & 0xFFFFFF) / 16777216.0;
        }
        const double r = randoms_.front();
        randoms_.pop_front();
        return r;
    }
    double timeOfDay() override { return 36000.0; }
    std::int64_t monotonicMs() override { return clock_->now; }
    QString currentDirectory() override { return currentDirectory_; }
    std::unique_ptr<TimerEngine> createTimer(std::function<void()> onTimeout) override
    {
        return std::make_unique<VirtualTimer>(clock_, std::move(onTimeout));
    }
    std::unique_ptr<ProgressWindow> showProgress(const QString& text) override
    {
        progress_->texts << text;
        return std::make_unique<ScriptedProgress>(progress_);
    }
    void endProgram() override { ++ended; }

private:
    std::shared_ptr<Clock> clock_ = std::make_shared<Clock>();
    std::shared_ptr<ProgressLog> progress_ = std::make_shared<ProgressLog>();
    std::deque<FileDialogResult> dialogAnswers_;
    std::deque<double> randoms_;
    std::deque<bool> yesNoAnswers_;
    std::uint32_t lcg_ = 12345;
    QString currentDirectory_ = QDir::toNativeSeparators(QDir::currentPath());
    std::map<QString, std::map<QString, QByteArray>> registry_;
    QStringList existingFiles_;
};

} // namespace vorbix::testing
