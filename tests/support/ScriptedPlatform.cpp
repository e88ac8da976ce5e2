#include "support/ScriptedPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <limits>

namespace vorbix::testing {

struct ScriptedPlatform::VirtualTimer : TimerEngine {
    VirtualTimer(ScriptedPlatform& p, std::function<void()> f) : platform(&p), fire(std::move(f))
    {
        platform->timers_.insert(this);
    }
    ~VirtualTimer() override
    {
        if (platform)
            platform->timers_.erase(this);
    }
    void start(int ms) override
    {
        interval = ms;
        due = platform ? platform->now_ + ms : 0;
        running = true;
        order = platform ? platform->sequence_++ : 0;
    }
    void stop() override { running = false; }

    ScriptedPlatform* platform;
    std::function<void()> fire;
    int interval = 0;
    std::int64_t due = 0;
    std::uint64_t order = 0;
    bool running = false;
};

ScriptedPlatform::ScriptedPlatform() : currentDirectory_(QDir::toNativeSeparators(QDir::currentPath())) {}

ScriptedPlatform::~ScriptedPlatform()
{
    for (VirtualTimer* t : timers_)
        t->platform = nullptr;
}

void ScriptedPlatform::answerDialog(const QString& path, int filterIndex)
{
    dialogAnswers_.push_back({true, path, QFileInfo(path).fileName(), filterIndex});
}

void ScriptedPlatform::cancelDialog() { dialogAnswers_.push_back({}); }

void ScriptedPlatform::queueRandom(std::initializer_list<double> values)
{
    for (double v : values)
        randoms_.push_back(v);
}

void ScriptedPlatform::queueRandom(double value) { randoms_.push_back(value); }

void ScriptedPlatform::setRegistryValue(const QString& key, const QString& name, const QString& text)
{
    QByteArray bytes = text.toLocal8Bit();
    bytes.append('\0');
    registry_[key][name] = {reg::REG_SZ, bytes};
}

void ScriptedPlatform::setRegistryValue(const QString& key, const QString& name, RegValue value)
{
    registry_[key][name] = std::move(value);
}

int ScriptedPlatform::activeTimers() const
{
    int n = 0;
    for (const VirtualTimer* t : timers_)
        n += t->running ? 1 : 0;
    return n;
}

void ScriptedPlatform::advance(int ms)
{
    const std::int64_t target = now_ + ms;
    for (;;) {
        VirtualTimer* next = nullptr;
        for (VirtualTimer* t : timers_) {
            if (!t->running || t->due > target)
                continue;
            if (!next || t->due < next->due || (t->due == next->due && t->order < next->order))
                next = t;
        }
        if (!next)
            break;
        now_ = next->due;
        next->due += next->interval;
        next->order = sequence_++;
        auto fire = next->fire; // the handler may destroy the timer
        fire();
    }
    now_ = target;
}

FileDialogResult ScriptedPlatform::fileDialog(const FileDialogRequest& request)
{
    dialogs.push_back(request);
    if (dialogAnswers_.empty()) {
        ++unexpectedDialogs;
        return {};
    }
    FileDialogResult r = dialogAnswers_.front();
    dialogAnswers_.pop_front();
    return r;
}

void ScriptedPlatform::messageBox(const QString& text, MessageIcon icon)
{
    messages.push_back({text, icon});
}

void ScriptedPlatform::clipboardClear()
{
    ++clipboardClears;
    clipboard.clear();
}

bool ScriptedPlatform::startProgram(const QString& path)
{
    if (!startSucceeds_)
        return false;
    started << path;
    return true;
}

long ScriptedPlatform::regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t,
                                    std::uint32_t, reg::Handle* key)
{
    openedKeys << subKey;
    *key = 0;
    if (root != reg::HKEY_LOCAL_MACHINE || !registry_.count(subKey))
        return reg::ERROR_FILE_NOT_FOUND;
    *key = nextKey_++;
    keys_[*key] = subKey;
    ++openKeyCount;
    return reg::ERROR_SUCCESS;
}

long ScriptedPlatform::regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type,
                                       QByteArray* data, std::uint32_t* size)
{
    const auto k = keys_.find(key);
    if (k == keys_.end())
        return 6; // invalid handle
    const auto& values = registry_[k->second];
    const auto v = values.find(valueName);
    if (v == values.end())
        return reg::ERROR_FILE_NOT_FOUND;
    const QByteArray& bytes = v->second.bytes;
    if (static_cast<std::uint32_t>(bytes.size()) > *size) {
        *size = static_cast<std::uint32_t>(bytes.size());
        return reg::ERROR_MORE_DATA;
    }
    *type = v->second.type;
    *size = static_cast<std::uint32_t>(bytes.size());
    data->replace(0, bytes.size(), bytes);
    return reg::ERROR_SUCCESS;
}

long ScriptedPlatform::regCloseKey(reg::Handle key)
{
    if (keys_.erase(key))
        --openKeyCount;
    return reg::ERROR_SUCCESS;
}

double ScriptedPlatform::rnd()
{
    if (!randoms_.empty()) {
        const double r = randoms_.front();
        randoms_.pop_front();
        return r;
    }
    ++unscriptedRandoms;
    lcg_ = lcg_ * 1103515245u + 12345u;
    return static_cast<double>((lcg_ >> 8) & 0xFFFFFF) / 16777216.0;
}

std::unique_ptr<TimerEngine> ScriptedPlatform::createTimer(std::function<void()> onTimeout)
{
    return std::make_unique<VirtualTimer>(*this, std::move(onTimeout));
}

} // namespace vorbix::testing
