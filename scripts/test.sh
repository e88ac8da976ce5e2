#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$ROOT/build-test" -DCMAKE_BUILD_TYPE=Debug -DVORBIX_TESTS=ON
cd "$ROOT/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
