#!/usr/bin/env bash
# Fuzzes the dictionary reader and writer with libFuzzer for a fixed number
# of runs.
#   scripts/fuzz.sh [RUNS]        (default 2000000)
# Findings land in build-fuzz/findings/; each crash there is to become a
# regression case in tests/test_dictionary.cpp.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
RUNS="${1:-2000000}"
ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORBIX_FUZZ=ON -DVORBIX_TESTS=OFF >/dev/null
cmake --build "$ROOT/build-fuzz" --target fuzz_reader fuzz_seeds
mkdir -p "$ROOT/build-fuzz/corpus" "$ROOT/build-fuzz/findings"
"$ROOT/build-fuzz/tests/fuzz/fuzz_seeds" "$ROOT/build-fuzz/seeds"
# Inputs may be as long as the longest line there is (a word at the limit in
# three-byte UTF-8) and a little more.
"$ROOT/build-fuzz/tests/fuzz/fuzz_reader" -runs="$RUNS" -max_len=131072 -timeout=10 \
    -artifact_prefix="$ROOT/build-fuzz/findings/" \
    "$ROOT/build-fuzz/corpus" "$ROOT/tests/fuzz/corpus" "$ROOT/build-fuzz/seeds"
