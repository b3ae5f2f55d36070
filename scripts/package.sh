#!/usr/bin/env bash
# Builds the Windows program and packs it for users:
#   DIST_DIR/vemo-setup-<version>.exe      installer (NSIS): per user, no administrator rights
#   DIST_DIR/vemo-<version>-portable.zip   vemo.exe, vemo.chm and a short readme
# The version is the project's (project(VERSION ...) in CMakeLists.txt).
# Usage: scripts/package.sh [BUILD_DIR [DIST_DIR]]   (defaults: build-win, dist)
set -euo pipefail
VEMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VEMO_ROOT
cd "$VEMO_ROOT"
source scripts/setup.sh

build_dir="$(realpath -m "${1:-build-win}")"
dist="$(realpath -m "${2:-dist}")"
ensure_windows_toolchain
ensure_package_tools
build_windows "$build_dir" >&2

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
if [ -z "$version" ] || [ ! -f "$build_dir/vemo.exe" ] || [ ! -f "$build_dir/vemo.chm" ]; then
  echo "package.sh: $build_dir lacks the version, vemo.exe or vemo.chm" >&2
  exit 1
fi
mkdir -p "$dist"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

# The portable folder: the program, its help and the readme (UTF-8 with a byte order mark
# and CRLF line ends, so that Notepad shows it right).
folder="$stage/vemo-$version"
mkdir -p "$folder"
cp "$build_dir/vemo.exe" "$build_dir/vemo.chm" "$folder/"
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' packaging/readme.txt; } >"$folder/readme.txt"
rm -f "$dist/vemo-$version-portable.zip"
(cd "$stage" && zip -q -X -r "$dist/vemo-$version-portable.zip" "vemo-$version")

size_kb=$(( ($(stat -c %s "$build_dir/vemo.exe") + $(stat -c %s "$build_dir/vemo.chm")) / 1024 ))
makensis -INPUTCHARSET UTF8 -V2 -DVERSION="$version" -DBUILD_DIR="$build_dir" \
  -DSOURCE_DIR="$VEMO_ROOT" -DSIZE_KB="$size_kb" -DOUTFILE="$dist/vemo-setup-$version.exe" \
  packaging/vemo.nsi >&2
echo "$dist/vemo-setup-$version.exe"
echo "$dist/vemo-$version-portable.zip"
