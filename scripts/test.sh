#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test. Exits non-zero on
# any failure.
set -euo pipefail
VEMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VEMO_ROOT
cd "$VEMO_ROOT"
source scripts/setup.sh

ensure_native_toolchain

echo "== native build (Release): unit tests, console tests, benchmarks once"
build_native build -DCMAKE_BUILD_TYPE=Release
(cd build && ctest --output-on-failure -j "$(nproc)")

echo "== native build with AddressSanitizer and UndefinedBehaviorSanitizer"
build_native build-asan -DCMAKE_BUILD_TYPE=Debug -DVEMO_SANITIZE=ON -DVEMO_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)")

echo "== Windows build (MinGW-w64) and end-to-end tests of vemo.exe under Wine"
ensure_windows_toolchain
build_windows build-win
/usr/bin/python3 tests/e2e/run_e2e.py build-win build-win/e2e-artifacts

echo "== hardening: libFuzzer targets with clang, about 30 s (the random key run, soak, failing"
echo "   allocations and stop tests ran in the ctest stages above)"
scripts/fuzz.sh

echo "== all tests passed"
