#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build, once with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
status=0
for config in test asan; do
    args=(-DCMAKE_BUILD_TYPE=Debug -DFOLDLINE_WERROR=ON)
    [ "$config" = asan ] && args+=(-DFOLDLINE_SANITIZE=ON)
    cmake -S . -B "build/$config" "${args[@]}" > /dev/null
    cmake --build "build/$config" -j "$jobs"
    echo "== tests: $config build"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp":print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "build/$config" --output-on-failure -j "$jobs" || status=1
    if [ "$config" = test ]; then
        echo "== function sizes"
        scripts/check-function-size.sh "build/$config" || status=1
    fi
done
exit $status
