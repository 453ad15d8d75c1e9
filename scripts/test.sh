#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal and
# the sanitizer build with their unit and end-to-end tests, a short bounded
# fuzzing run, and the Windows build under Wine. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-packages.sh cmake make g++ googletest libgtest-dev libgmock-dev \
    clang libclang-rt-14-dev util-linux

for preset in default sanitize; do
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset tests"
    ctest --preset "$preset" -j2
done

echo "== fuzzing (bounded)"
bash scripts/fuzz.sh

echo "== Windows build"
scripts/ensure-packages.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
cmake --preset windows >/dev/null
cmake --build --preset windows
echo "== Windows tests under Wine"
bash tests/wine/run-tests.sh build/windows build/default/tests/e2e/kestrel_e2e_tests
