#!/bin/sh
# Installs what is needed, builds, and runs every test through CTest.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
BUILD_DIR=${TAVIX_BUILD_DIR:-build}
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)"
