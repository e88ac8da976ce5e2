#pragma once

#include "ui/toolkit/Platform.h"

#include <QStringList>

#include <deque>
#include <map>
#include <set>
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
    struct RegValue {
        std::uint32_t type = reg::REG_SZ;
        QByteArray bytes;
    };

    ScriptedPlatform();
    ~ScriptedPlatform() override;

    // --- script ---------------------------------------------------------
    // Queue the next file dialog's answer. An unscripted dialog is cancelled
    // and counted in unexpectedDialogs.
    // filterIndex: the filter entry the user picked, counted from 0.
    void answerDialog(const QString& path, int filterIndex = 0);
    void cancelDialog();
    // Drops answers that no dialog asked for.
    void clearDialogAnswers() { dialogAnswers_.clear(); }
    void queueRandom(std::initializer_list<double> values);
    void queueRandom(double value);
    int queuedRandoms() const { return static_cast<int>(randoms_.size()); }
    void setTimeOfDay(double seconds) { timeOfDay_ = seconds; }
    void setCurrentDirectory(const QString& dir) { currentDirectory_ = dir; }
    void setRegistryValue(const QString& key, const QString& name, const QString& text);
    void setRegistryValue(const QString& key, const QString& name, RegValue value);
    void addExistingFile(const QString& path) { existingFiles_.insert(path); }
    void setStartSucceeds(bool ok) { startSucceeds_ = ok; }

    // Moves the virtual clock, firing due timers in order.
    void advance(int ms);
    std::int64_t now() const { return now_; }
    int activeTimers() const;

    // --- record ---------------------------------------------------------
    std::vector<FileDialogRequest> dialogs;
    int unexpectedDialogs = 0;
    std::vector<Message> messages;
    int beeps = 0;
    QString clipboard;
    int clipboardClears = 0;
    QStringList started;
    QStringList openedKeys;
    int openKeyCount = 0; // keys open right now
    std::vector<double> seeds;
    int unscriptedRandoms = 0; // rnd() calls past the queued numbers
    int ended = 0;

    // --- Platform -------------------------------------------------------
    FileDialogResult fileDialog(const FileDialogRequest& request) override;
    void messageBox(const QString& text, MessageIcon icon) override;
    void beep() override { ++beeps; }
    void clipboardClear() override;
    void clipboardSetText(const QString& text) override { clipboard = text; }
    bool startProgram(const QString& path) override;
    bool fileExists(const QString& path) override { return existingFiles_.count(path) > 0; }
    long regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t options,
                      std::uint32_t access, reg::Handle* key) override;
    long regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type,
                         QByteArray* data, std::uint32_t* size) override;
    long regCloseKey(reg::Handle key) override;
    void randomize(double seed) override { seeds.push_back(seed); }
    double rnd() override;
    double timeOfDay() override { return timeOfDay_; }
    QString currentDirectory() override { return currentDirectory_; }
    std::unique_ptr<TimerEngine> createTimer(std::function<void()> onTimeout) override;
    void endProgram() override { ++ended; }

    struct VirtualTimer;

private:
    friend struct VirtualTimer;
    std::deque<FileDialogResult> dialogAnswers_;
    std::deque<double> randoms_;
    std::uint32_t lcg_ = 12345;
    double timeOfDay_ = 36000.0;
    QString currentDirectory_;
    std::map<QString, std::map<QString, RegValue>> registry_;
    std::map<reg::Handle, QString> keys_;
    reg::Handle nextKey_ = 100;
    std::set<QString> existingFiles_;
    bool startSucceeds_ = true;
    std::int64_t now_ = 0;
    std::uint64_t sequence_ = 0;
    std::set<VirtualTimer*> timers_;
};

} // namespace vorbix::testing
