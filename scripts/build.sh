#!/bin/sh
# Configures and builds into build/ (or $TAVIX_BUILD_DIR). TAVIX_SANITIZE=1 builds with ASan and UBSan.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${TAVIX_BUILD_DIR:-build}
SAN=OFF
[ "${TAVIX_SANITIZE:-0}" = "1" ] && SAN=ON
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIX_SANITIZE=$SAN
cmake --build "$BUILD_DIR" -j "$(nproc)"
