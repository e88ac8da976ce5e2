#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks (Release) and runs every one
# of them; then times whole start-up processes with hyperfine. Not part of CI.
# Window benchmarks use the display when there is one, Qt's offscreen
# platform otherwise; under xvfb-run -a -s "-screen 0 1280x1024x24" they get a
# real X server.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev hyperfine

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

# From exec to the splash on screen and out again, against processes that
# show only a bare window of the same size: empty, and with one label (which
# pays for Qt's font set-up as the splash must).
echo "==> start-up, whole process"
json="$BUILD/startup.json"
if hyperfine -N --warmup 5 --runs 40 --export-json "$json" \
        "$BUILD/bench/startup_bare" "$BUILD/bench/startup_label" "$BUILD/bench/startup_splash"; then
    medians=($(grep -o '"median": *[0-9.e+-]*' "$json" | grep -o '[0-9.e+-]*$'))
    awk -v bare="${medians[0]}" -v label="${medians[1]}" -v splash="${medians[2]}" 'BEGIN {
        printf "median: bare window %.1f ms, with a label %.1f ms, splash %.1f ms\n",
               bare * 1000, label * 1000, splash * 1000
        printf "splash / bare window: %.2f, splash / window with a label: %.2f\n",
               splash / bare, splash / label }'
else
    status=1
fi
exit $status
