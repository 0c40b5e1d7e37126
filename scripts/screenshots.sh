#!/bin/sh
# Remakes docs/screenshots/*.png: every window rendered on a virtual X display (xvfb-run) by the
# screenshot test program. Run after ./scripts/build.sh (or set TAVIX_BUILD_DIR).
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${TAVIX_BUILD_DIR:-build}
cmake --build "$BUILD_DIR" -j "$(nproc)" --target test_app_screenshots tavix-service
OUT="$(pwd)/docs/screenshots"
mkdir -p "$OUT"
command -v xvfb-run >/dev/null 2>&1 || { echo "screenshots: xvfb-run is missing (apt-get install xvfb xauth)" >&2; exit 1; }
TAVIX_SCREENSHOT_DIR="$OUT" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 TZ=${TZ:-America/New_York} \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD_DIR/tests/test_app_screenshots"
ls -1 "$OUT"/*.png
