#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; does nothing for
# packages that are already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang              # build tools; clang for the fuzz targets
  zlib1g-dev libclang-rt-14-dev           # host zlib for the skin tools, libFuzzer runtime
  g++-mingw-w64-x86-64-posix               # the Windows cross compiler (posix thread model)
  libz-mingw-w64-dev                        # zlib for the skin archive, linked statically
  gcc-mingw-w64-i686-posix                  # 32-bit test plug-ins (the plug-in reader's fixtures)
  googletest                                # test framework sources, built per toolchain
  wine wine64                               # runs the Windows build here
  xvfb xauth                                # a display for window tests
  xdotool                                   # real mouse and keyboard input for end-to-end tests
  x11-apps                                  # xwd, for screenshots of the test display
  fonts-wine                                # TrueType fonts that the test prefix gets
  fonts-wqy-microhei                        # Chinese, Japanese and Korean glyphs for the prefix
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
