#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks (Release) and runs every one
# of them; then times whole start-up processes. Not part of CI.
# Window benchmarks use the display when there is one, Qt's offscreen
# platform otherwise; under xvfb-run -a -s "-screen 0 1280x1024x24" they get a
# real X server.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev

BUILD="$ROOT/build-bench"
configure_and_build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVORBIX_BENCH=ON -DVORBIX_TESTS=OFF

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    export QT_QPA_PLATFORM=offscreen
fi
echo "==> Qt platform: ${QT_QPA_PLATFORM:-from the display}"

status=0
for b in "$BUILD"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "==> $(basename "$b")"
    "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || status=1
done

# From exec to the splash on screen, against processes that show only a bare
# window of the same size: empty, and with one label (which pays for Qt's
# font set-up as the splash must). Run in turn, round after round, so that
# whatever else the machine does slows them alike; medians of time to the
# window on screen, processor time and peak memory.
echo "==> start-up, whole processes"
"$BUILD/bench/startup_compare" -n 60 \
    "$BUILD/bench/startup_bare" "$BUILD/bench/startup_label" "$BUILD/bench/startup_splash" || status=1
exit $status
