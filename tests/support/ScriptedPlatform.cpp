#include "support/ScriptedPlatform.h"

#include <QDir>
#include <QFileInfo>

namespace vorbix::testing {

struct ScriptedPlatform::VirtualTimer : TimerEngine {
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

ScriptedPlatform::ScriptedPlatform() : currentDirectory_(QDir::toNativeSeparators(QDir::currentPath())) {}

void ScriptedPlatform::answerDialog(const QString& path, int filterIndex)
{
    dialogAnswers_.push_back({true, path, QFileInfo(path).fileName(), filterIndex});
}

void ScriptedPlatform::advance(int ms)
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

FileDialogResult ScriptedPlatform::fileDialog(const FileDialogRequest& request)
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

bool ScriptedPlatform::startProgram(const QString& path)
{
    started << path;
    return true;
}

// A key's handle is its place in openedKeys, counted from 1.
long ScriptedPlatform::regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t,
                                    std::uint32_t, reg::Handle* key)
{
    openedKeys << subKey;
    *key = 0;
    if (root != reg::HKEY_LOCAL_MACHINE || !registry_.count(subKey))
        return reg::ERROR_FILE_NOT_FOUND;
    *key = static_cast<reg::Handle>(openedKeys.size());
    ++openKeyCount;
    return reg::ERROR_SUCCESS;
}

long ScriptedPlatform::regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type,
                                       QByteArray* data, std::uint32_t* size)
{
    if (key == 0 || key > static_cast<reg::Handle>(openedKeys.size()))
        return 6; // invalid handle
    const auto& values = registry_[openedKeys[static_cast<int>(key) - 1]];
    const auto v = values.find(valueName);
    if (v == values.end())
        return reg::ERROR_FILE_NOT_FOUND;
    return reg::giveValue(reg::REG_SZ, v->second, type, data, size);
}

long ScriptedPlatform::regCloseKey(reg::Handle key)
{
    if (key != 0)
        --openKeyCount;
    return reg::ERROR_SUCCESS;
}

double ScriptedPlatform::rnd()
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

std::unique_ptr<TimerEngine> ScriptedPlatform::createTimer(std::function<void()> onTimeout)
{
    return std::make_unique<VirtualTimer>(clock_, std::move(onTimeout));
}

} // namespace vorbix::testing
