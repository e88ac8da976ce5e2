#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <set>

namespace vorbix::bench {

// Watches the whole application for paint events, so that a window counts as
// on screen only once it is visible, exposed and has painted itself.
class FirstPaint : public QObject {
public:
    FirstPaint() { QCoreApplication::instance()->installEventFilter(this); }
    ~FirstPaint() override { QCoreApplication::instance()->removeEventFilter(this); }

    // Forget earlier windows: a new one may be given the address of one gone.
    void reset() { painted_.clear(); }

    bool onScreen(const QWidget& w) const
    {
        return w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed() && painted_.count(&w) != 0;
    }

    // Runs the event loop flat out (no sleeping between rounds, which would
    // swamp what is measured) until the window is on screen.
    bool waitFor(const QWidget& w, int timeoutMs = 10000) const
    {
        QElapsedTimer clock;
        clock.start();
        while (!onScreen(w)) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        return true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
            painted_.insert(watched);
        return false;
    }

private:
    std::set<const QObject*> painted_;
};

// For startup_compare: the moment the window was on screen, on the clock
// it started the process by.
inline int reportShown(bool shown)
{
    if (!shown)
        return 1;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    return 0;
}

// Lets windows that were closed really go before the next round starts.
inline void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace vorbix::bench
