#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite;
# then builds it again with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs it once more. Fails when either run fails.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# g++ brings libasan and libubsan along: the sanitizer build needs nothing more.
ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}" "${FORMAT_PACKAGES[@]}"

failed=()
# The committed .clang-format is the house style: a file off it fails the run.
echo "==> Checking the house style (.clang-format)"
(cd "$ROOT" && git ls-files -- '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror) || failed+=("Style")

run_suite() { # title build-dir [cmake args...]
    local title="$1" dir="$2"; shift 2
    echo "==> $title: building in ${dir#"$ROOT"/}"
    configure_and_build "$dir" -DVORBIX_TESTS=ON "$@" || return 1
    echo "==> $title: running the suite"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)")
}

run_suite "Debug" "$ROOT/build-test" -DCMAKE_BUILD_TYPE=Debug || failed+=("Debug")

# Short smoke runs of the fuzz targets; scripts/fuzz.sh runs them long.
fuzz_smoke() { # target corpus-folder...
    local target="$1"; shift
    echo "==> Fuzz smoke run of $target: building in build-fuzz-smoke"
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz-smoke" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORBIX_FUZZ=ON -DVORBIX_TESTS=OFF >/dev/null &&
        cmake --build "$ROOT/build-fuzz-smoke" --target "$target" fuzz_seeds || return 1
    local scratch
    scratch="$(mktemp -d)"
    "$ROOT/build-fuzz-smoke/tests/fuzz/fuzz_seeds" "$scratch/seeds" >/dev/null || return 1
    mkdir "$scratch/corpus"
    "$ROOT/build-fuzz-smoke/tests/fuzz/$target" -runs=2000 -seed=1 -max_len=131072 \
        -artifact_prefix="$scratch/" "$scratch/corpus" "$@" "$scratch/seeds" 2>&1 | tail -n 2
    local rc=${PIPESTATUS[0]}
    rm -rf "$scratch"
    return "$rc"
}
fuzz_smoke fuzz_reader "$ROOT/tests/fuzz/corpus" || failed+=("Fuzz smoke (reader)")
fuzz_smoke fuzz_formats "$ROOT/tests/fuzz/corpus-formats" "$ROOT/tests/fuzz/corpus" ||
    failed+=("Fuzz smoke (formats)")
fuzz_smoke fuzz_import "$ROOT/tests/fuzz/corpus-import" || failed+=("Fuzz smoke (import)")

# Any report ends the test process at once with an abort, which CTest counts
# as a failure. Leak checks stay on; the suppression file lists the few leaks
# inside third-party libraries. The sanitizer's report is the stack to read,
# so QtTest's crash handler need not add a debugger dump of the abort.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp"
export QTEST_DISABLE_STACK_DUMP=1
run_suite "Sanitizers (address, undefined, leak)" "$ROOT/build-asan" \
    -DCMAKE_BUILD_TYPE=Debug -DVORBIX_SANITIZE=ON || failed+=("Sanitizers")


if [ ${#failed[@]} -ne 0 ]; then
    echo "==> FAILED: ${failed[*]}" >&2
    exit 1
fi
