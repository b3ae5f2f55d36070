#!/usr/bin/env bash
# Shared setup for run.sh and test.sh: installs the Debian packages a task needs.
# Usage (sourced): ensure_packages pkg...   Installs only what is missing; needs root.

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "setup: installing ${missing[*]}" >&2
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  if [ -z "${VEMO_APT_UPDATED:-}" ]; then
    $sudo apt-get update -qq || return 1
    export VEMO_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# What the native build and its tests need.
NATIVE_PACKAGES=(cmake ninja-build g++ make python3 libgtest-dev libgmock-dev libbenchmark-dev libgmp-dev)

ensure_native_toolchain() {
  ensure_packages "${NATIVE_PACKAGES[@]}"
}

# Configures (once) and builds a native build directory. Usage: build_native DIR [cmake args...]
build_native() {
  local dir="$1"
  shift
  # Configure every time (it is quick): folders added since the last run are picked up.
  cmake -S "$VEMO_ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
  cmake --build "$dir" -j "$(nproc)" || return 1
}

# What the Windows build and its end-to-end tests under Wine need.
# fp-utils brings chmcmd, which compiles the help file vemo.chm.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64
  fonts-wine xvfb xdotool x11-utils x11-xkb-utils imagemagick locales python3-pil fonts-dejavu-core
  fp-utils)

ensure_windows_toolchain() {
  ensure_packages "${WINDOWS_PACKAGES[@]}" || return 1
  ensure_russian_locale
}

# What scripts/package.sh needs beyond the Windows build: the installer compiler and zip.
PACKAGE_PACKAGES=(nsis zip)

ensure_package_tools() {
  ensure_packages "${PACKAGE_PACKAGES[@]}"
}

# Wine shows the Russian texts only under a Russian locale (ANSI code page 1251).
ensure_russian_locale() {
  if locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    return 0
  fi
  echo "setup: generating the ru_RU.UTF-8 locale" >&2
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

# Wine's own fonts (Tahoma for "MS Shell Dlg", Marlett for the caption buttons) come with
# fonts-wine outside the prefix; linked into the prefix's Fonts folder they are used.
# Usage: link_wine_fonts PREFIX
link_wine_fonts() {
  local fonts="$1/drive_c/windows/Fonts"
  local font
  [ -d "$fonts" ] || return 1
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$fonts/$(basename "$font")" ] || ln -s "$font" "$fonts/"
  done
}

# Configures and builds the Windows build directory with the MinGW-w64 toolchain.
# Usage: build_windows DIR
build_windows() {
  local dir="$1"
  # Configured on every call: cheap, and it picks up source folders added since.
  cmake -S "$VEMO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$VEMO_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null || return 1
  cmake --build "$dir" -j 2 || return 1
}
