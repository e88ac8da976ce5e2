#include "ui/toolkit/Timer.h"

#include "ui/toolkit/Platform.h"

namespace vorbix {

Timer::Timer(Platform& platform, QObject* parent, int intervalMs, bool enabled)
    : QObject(parent), interval_(intervalMs < 0 ? 0 : intervalMs), enabled_(enabled)
{
    engine_ = platform.createTimer([this] {
        if (!dead_ && enabled_ && interval_ > 0)
            emit timeout();
    });
    rearm();
}

Timer::~Timer() = default;

void Timer::setInterval(int intervalMs)
{
    interval_ = intervalMs < 0 ? 0 : intervalMs;
    rearm();
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    rearm();
}

void Timer::shutdown()
{
    dead_ = true;
    engine_->stop();
}

void Timer::rearm()
{
    if (dead_)
        return;
    // A Qt timer with interval 0 would fire continuously; here 0 means idle.
    if (enabled_ && interval_ > 0)
        engine_->start(interval_);
    else
        engine_->stop();
}

} // namespace vorbix
