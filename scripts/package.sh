#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a release into build-package/, makes the .deb and checks it with
# lintian, appstreamcli and desktop-file-validate. Any complaint fails it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

BUILD="$ROOT/build-package"
# Debian's hardening flags, all of them (lintian asks for immediate binding).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
configure_and_build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVORBIX_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS"
rm -f "$BUILD"/vorbix_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
DEB="$(ls "$BUILD"/vorbix_*.deb)"
echo "Package: $DEB"

failed=0
complain() { echo "FAILED: $*"; failed=1; }

# Checks what the package ships, not the source copies.
TREE="$(mktemp -d)"
trap 'rm -rf "$TREE"' EXIT
dpkg-deb -x "$DEB" "$TREE"

echo "== icons"
# The committed renders must be what the drawing gives now.
for size in "${ICON_SIZES[@]}"; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$TREE/icon.png" "$ROOT/resources/icons/vorbix.svg"
    cmp -s "$TREE/icon.png" "$ROOT/resources/icons/vorbix-$size.png" ||
        complain "resources/icons/vorbix-$size.png is not the drawing's render (scripts/render-icons.sh)"
    cmp -s "$ROOT/resources/icons/vorbix-$size.png" \
        "$TREE/usr/share/icons/hicolor/${size}x${size}/apps/org.vorbix.Vorbix.png" ||
        complain "the package lacks the ${size} px icon"
done
rm -f "$TREE/icon.png"

echo "== lintian"
lintian --fail-on error,warning --display-info "$DEB" | tee "$TREE.lintian" || complain lintian
# Info tags do not change lintian's exit status; they fail here all the same.
grep -q . "$TREE.lintian" && complain "lintian has remarks"
rm -f "$TREE.lintian"

echo "== appstreamcli"
appstreamcli validate --no-net --strict "$TREE"/usr/share/metainfo/org.vorbix.Vorbix.metainfo.xml ||
    complain appstreamcli

echo "== desktop-file-validate"
out="$(desktop-file-validate "$TREE"/usr/share/applications/org.vorbix.Vorbix.desktop 2>&1)" ||
    complain desktop-file-validate
[ -z "$out" ] || { echo "$out"; complain "desktop-file-validate has remarks"; }

[ "$failed" -eq 0 ] || exit 1
echo "All checks passed. Install with: sudo apt install $DEB"
