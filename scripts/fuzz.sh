#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (ASan + UBSan) in build-fuzz/ and
# runs each one for a bounded time, starting from the committed seed corpus. Fails when
# clang or libFuzzer cannot be had, or when a target finds a failing input (kept in
# build-fuzz/findings/).
#
#   scripts/fuzz.sh              # about 30 s in all (what scripts/test.sh runs)
#   scripts/fuzz.sh 600          # 600 s for each target
#   scripts/fuzz.sh 600 paste    # one target
#
# Targets: text_to_number, command_line, paste, console_keys. New inputs that a run finds
# go to build-fuzz/corpus/<target>/; copy the good ones into tests/fuzz/corpus/<target>/.
set -euo pipefail
VEMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VEMO_ROOT
cd "$VEMO_ROOT"
source scripts/setup.sh

# 0: the default run, 30 s shared out (the cheap command-line parser gets the least).
seconds_each="${1:-0}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(text_to_number command_line paste console_keys)

# clang and its runtime libraries (libFuzzer, the sanitizers) from Debian's packages.
ensure_native_toolchain
if ! ensure_packages clang libclang-rt-dev; then
  echo "fuzz: clang and libFuzzer (packages clang, libclang-rt-dev) cannot be installed" >&2
  exit 1
fi
probe="$(mktemp -d)"
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/log"; then
  echo "fuzz: clang cannot link a libFuzzer program:" >&2
  cat "$probe/log" >&2
  rm -rf "$probe"
  exit 1
fi
rm -rf "$probe"

CC=clang CXX=clang++ cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j 2 >/dev/null

mkdir -p build-fuzz/findings
status=0
for target in "${targets[@]}"; do
  seconds="$seconds_each"
  if [ "$seconds" -eq 0 ]; then
    case "$target" in
      command_line) seconds=3 ;;
      *) seconds=9 ;;
    esac
  fi
  corpus="build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  log="build-fuzz/fuzz_$target.log"
  # New inputs go to the first folder; the committed seeds are only read.
  if ! build-fuzz/fuzz_"$target" "$corpus" "tests/fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -malloc_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$target-" >"$log" 2>&1; then
    echo "fuzz: $target FAILED (log: $log)"
    tail -n 40 "$log"
    status=1
    continue
  fi
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  echo "fuzz: $target: ${runs:-?} executions in $seconds s, corpus $(ls "$corpus" | wc -l) inputs"
done
exit "$status"
