#pragma once

#include <QObject>

#include <memory>

namespace vorbix {

class Platform;
class TimerEngine;

// A window timer: fires every Interval ms while Enabled. Interval 0 never
// fires. Setting the interval, or switching it on, starts a full interval.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(Platform& platform, QObject* parent, int intervalMs = 0, bool enabled = true);
    ~Timer() override;

    int interval() const { return interval_; }
    void setInterval(int intervalMs);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // Stops for good: the owning window is gone.
    void shutdown();

signals:
    void timeout();

private:
    void rearm();

    std::unique_ptr<TimerEngine> engine_;
    int interval_ = 0;
    bool enabled_ = true;
    bool dead_ = false;
};

} // namespace vorbix
