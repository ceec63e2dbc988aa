#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the program icons and the logo from icon.svg.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
# Run it after editing icon.svg and commit the PNGs it writes.
set -euo pipefail
cd "$(dirname "$0")"

for tool in rsvg-convert convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "make_artwork.sh: $tool is not installed" >&2
        exit 1
    fi
done

# render SIZE COLOURS OUTPUT
render() {
    rsvg-convert -w "$1" -h "$1" icon.svg |
        convert - +dither -colors "$2" -strip \
            -define png:exclude-chunks=date,time "PNG8:$3"
}

# The icons stay within 16 colours; the logo may use up to 256.
render 16 16 icon-16.png
render 32 16 icon-32.png
render 32 256 logo.png
