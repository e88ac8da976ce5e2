#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the application icon at every installed size from its one source,
# resources/icons/vorbix.svg. The renders are committed; run this after
# changing the drawing.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages librsvg2-bin
ICONS="$ROOT/resources/icons"
for size in "${ICON_SIZES[@]}"; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$ICONS/vorbix-$size.png" "$ICONS/vorbix.svg"
done
echo "Rendered: ${ICON_SIZES[*]} px into $ICONS"
