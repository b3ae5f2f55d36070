#!/usr/bin/env bash
# Starts the Windows program under Wine: builds what is missing, then runs vemo.exe with a
# Russian locale (ANSI code page 1251) and a persistent per-user Wine prefix. Options pass
# through to the program, e.g. scripts/run-wine.sh /P40
# VEMO_WINEPREFIX overrides the prefix (default ~/.local/share/vemo/wineprefix).
set -euo pipefail
VEMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VEMO_ROOT
cd "$VEMO_ROOT"
source scripts/setup.sh

ensure_windows_toolchain
build_windows build-win >&2

export WINEPREFIX="${VEMO_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/vemo/wineprefix}"
mkdir -p "$(dirname "$WINEPREFIX")"
export LC_ALL=ru_RU.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
# No runtime installers while the prefix is made; the help viewer needs the HTML control
# (mshtml) at run time, not its optional browser engine.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=}"
if [ ! -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
  echo "run-wine.sh: preparing the Wine prefix $WINEPREFIX" >&2
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
fi
link_wine_fonts "$WINEPREFIX"
exec wine "$VEMO_ROOT/build-win/vemo.exe" "$@"
