#!/usr/bin/env bash
# Installs what is missing, builds and starts the calculator with the given arguments.
# Where a display exists and the Windows program's runner is present, that runs instead;
# otherwise vemo-console runs (interactive when standard input is a terminal).
# Build messages go to standard error, so standard output holds only the calculator's.
set -euo pipefail
VEMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VEMO_ROOT
cd "$VEMO_ROOT"

if [ -n "${DISPLAY:-}" ] && [ -f scripts/run-wine.sh ]; then
  exec bash scripts/run-wine.sh "$@"
fi
echo "run.sh: no display (DISPLAY is not set): starting the console front end vemo-console" >&2

source scripts/setup.sh
if [ ! -f build/build.ninja ]; then
  echo "run.sh: installing what is missing and building (the first time takes a few minutes)" >&2
fi
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! { ensure_native_toolchain && build_native build -DCMAKE_BUILD_TYPE=Release; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "run.sh: the build failed" >&2
  exit 1
fi
rm -f "$log"
trap - EXIT
exec "$VEMO_ROOT/build/console/vemo-console" "$@"
