#!/usr/bin/env bash
# Sets up, builds, registers the component in the user's classes root and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFOLDLINE_TESTS=OFF > /dev/null
cmake --build build/release -j "$(nproc)"
build/release/bin/tessel-regsvr build/release/component/libTesselFoldline.so
exec build/release/program/QuillaryFoldline "$@"
