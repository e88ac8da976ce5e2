#!/usr/bin/env bash
# Fuzzes a reader with libFuzzer for a fixed number of runs.
#   scripts/fuzz.sh [RUNS] [TARGET]   (default 2000000 runs of fuzz_reader, the
#                                      .dic reader and writer; fuzz_formats:
#                                      the other lists' readers; fuzz_import:
#                                      those readers against other programs'
#                                      writers, word for word)
# Findings land in build-fuzz/findings/; each crash there is to become a
# regression case (a named row) in tests/test_dictionary.cpp.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
RUNS="${1:-2000000}"
TARGET="${2:-fuzz_reader}"
ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORBIX_FUZZ=ON -DVORBIX_TESTS=OFF >/dev/null
cmake --build "$ROOT/build-fuzz" --target "$TARGET" fuzz_seeds
mkdir -p "$ROOT/build-fuzz/corpus-$TARGET" "$ROOT/build-fuzz/findings"
"$ROOT/build-fuzz/tests/fuzz/fuzz_seeds" "$ROOT/build-fuzz/seeds"
CORPORA=("$ROOT/tests/fuzz/corpus" "$ROOT/build-fuzz/seeds")
[ "$TARGET" = fuzz_formats ] && CORPORA=("$ROOT/tests/fuzz/corpus-formats" "${CORPORA[@]}")
[ "$TARGET" = fuzz_import ] && CORPORA=("$ROOT/tests/fuzz/corpus-import")
# Inputs may be as long as the longest line there is (a word at the limit in
# three-byte UTF-8) and a little more. Single core: -jobs and -workers stay 1.
"$ROOT/build-fuzz/tests/fuzz/$TARGET" -runs="$RUNS" -max_len=131072 -timeout=10 \
    -artifact_prefix="$ROOT/build-fuzz/findings/" \
    "$ROOT/build-fuzz/corpus-$TARGET" "${CORPORA[@]}"
