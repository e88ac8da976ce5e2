# Shared by run.sh and test.sh: installs what a fresh Debian 12 lacks.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# libqt6sql6-sqlite: the SQLite driver the learning record is kept with
# (qt6-base-dev brings QtSql's headers, not the driver).
BUILD_PACKAGES=(qt6-base-dev qt6-base-dev-tools libgl-dev cmake ninja-build g++ pkg-config
                libicu-dev fonts-liberation libqt6sql6-sqlite)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The house style is checked by the test run.
FORMAT_PACKAGES=(clang-format)
# Making and checking the .deb (scripts/package.sh).
PACKAGE_PACKAGES=(dpkg-dev file lintian appstream desktop-file-utils librsvg2-bin)
# The icon sizes rendered from resources/icons/vorbix.svg and installed.
ICON_SIZES=(16 22 24 32 48 64 128 256)

ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing packages: ${missing[*]}"
        echo "Install them with:"
        echo "    sudo apt-get install -y ${missing[*]}"
        exit 1
    fi
}

configure_and_build() { # build-dir [cmake args...]
    local dir="$1"; shift
    # Chained, so that a failed configure stops here even where the caller
    # tests the result (and errexit is off).
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null &&
        cmake --build "$dir" --parallel "$(nproc)"
}
