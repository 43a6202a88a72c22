#!/usr/bin/env bash
# Installs what building, running and testing Tovik2 needs on Debian or Ubuntu,
# and fetches libpng's Debian source package for the Windows build.
# Idempotent: a machine that already has everything passes through in a second.
# Usage: scripts/setup.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)

packages=(
  g++ cmake ninja-build pkg-config
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils xcompmgr imagemagick
  libpng-dev zlib1g-dev libz-mingw-w64-dev
  libgtest-dev googletest libbenchmark-dev
  locales fonts-noto-cjk fonts-ipafont-gothic dpkg-dev python3
  qt6-base-dev libxcb1-dev libxcb-xinput-dev libxcb-shape0-dev libxcb-render0-dev
  libx11-xcb-dev libxtst-dev libatspi2.0-dev at-spi2-core dbus dbus-x11 libgtk-3-bin
)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "setup: '$*' needs root (run as root or install sudo)" >&2; exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Debian source packages must be enabled for 'apt-get source libpng1.6'.
need_src=0
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  need_src=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_src = 1 ]; then
  if [ $need_src = 1 ]; then
    echo "setup: enabling Debian source packages"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        | as_root tee /etc/apt/sources.list.d/tovik2-deb-src.sources >/dev/null
    elif [ -f /etc/apt/sources.list.d/ubuntu.sources ]; then
      sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/ubuntu.sources \
        | as_root tee /etc/apt/sources.list.d/tovik2-deb-src.sources >/dev/null
    else
      sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list \
        | as_root tee /etc/apt/sources.list.d/tovik2-deb-src.list >/dev/null
    fi
  fi
  echo "setup: installing ${missing[*]:-nothing new}"
  as_root apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi

# Japanese locale: under it Wine's ANSI code page is 932, as on a Japanese Windows.
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -q 'ja_JP.UTF-8' /etc/locale.gen; then
    as_root sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    as_root locale-gen >/dev/null
  else
    as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
fi

# libpng 1.6 source (with Debian's patches applied) for the MinGW build.
src=$build/deps/libpng-src
if [ ! -f "$src/png.h" ]; then
  echo "setup: fetching libpng1.6 source package"
  tmp=$build/deps/libpng-dl
  rm -rf "$tmp" "$src"
  mkdir -p "$tmp"
  # The newest listed version is not always on the mirror yet (a security update
  # can be listed before its files are served): take the newest one that comes.
  versions=$(apt-cache showsrc libpng1.6 2>/dev/null | sed -n 's/^Version: //p' | sort -rV)
  if [ -z "$versions" ]; then
    as_root apt-get update -q
    versions=$(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -rV)
  fi
  got=0
  for v in $versions; do
    if (cd "$tmp" && apt-get source --download-only "libpng1.6=$v" >/dev/null 2>&1); then got=1; break; fi
    rm -f "$tmp"/*
  done
  [ $got = 1 ] || { echo "setup: could not fetch the libpng1.6 source package" >&2; exit 1; }
  dsc=$(ls "$tmp"/libpng1.6_*.dsc | head -n 1)
  (cd "$tmp" && dpkg-source --no-check -x "$dsc" "$src" >/dev/null)
  rm -rf "$tmp"
fi
echo "setup: ready"
