// Start-up to the splash being on screen, against a bare window of the same
// size shown the same way as the floor, both inside one running application.
#include "startup/FirstPaint.h"

#include "ui/main/Algus.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>

#include <unistd.h>
#include <memory>

using namespace vorbix;
using vorbix::bench::FirstPaint;

namespace {

FirstPaint* gWatch = nullptr;

struct SplashGeometry {
    QRect rect;
    Qt::WindowFlags flags;
};

// Where and how the splash opens, so the bare window can match it.
SplashGeometry splashGeometry()
{
    static const SplashGeometry g = [] {
        QtPlatform platform;
        Program program(platform);
        const Algus& splash = program.form<Algus>();
        return SplashGeometry{splash.geometry(), splash.windowFlags()};
    }();
    return g;
}

using Clock = std::chrono::steady_clock;

void splashShown(benchmark::State& st)
{
    for (auto _ : st) {
        gWatch->reset();
        const auto start = Clock::now();
        bool shown = false;
        {
            QtPlatform platform;
            Program program(platform);
            Algus& splash = program.show<Algus>();
            shown = gWatch->waitFor(splash);
            st.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        }
        bench::settle();
        if (!shown) {
            st.SkipWithError("the splash never painted");
            break;
        }
    }
}

void bareWindowShown(benchmark::State& st)
{
    const SplashGeometry g = splashGeometry();
    for (auto _ : st) {
        gWatch->reset();
        const auto start = Clock::now();
        bool shown = false;
        {
            QWidget window(nullptr, g.flags);
            window.setGeometry(g.rect);
            window.show();
            shown = gWatch->waitFor(window);
            st.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        }
        bench::settle();
        if (!shown) {
            st.SkipWithError("the bare window never painted");
            break;
        }
    }
}

// The console report, plus the ratio of the two medians (or plain times
// without repetitions) at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (median || r.run_type == Run::RT_Iteration)
                times_[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto splash = times_.find("splashShown");
        const auto bare = times_.find("bareWindowShown");
        if (splash == times_.end() || bare == times_.end() || bare->second <= 0)
            return;
        std::printf("splash / bare window: %.2f (%s platform)\n", splash->second / bare->second,
                    qPrintable(QGuiApplication::platformName()));
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

BENCHMARK(splashShown)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(bareWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // What the benchmark library leaves over is Qt's (-platform and so on).
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    FirstPaint watch;
    gWatch = &watch;
    benchmark::AddCustomContext("qpa_platform", QGuiApplication::platformName().toStdString());

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
