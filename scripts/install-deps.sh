#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the clock need, if any is
# missing. Usage: install-deps.sh run|test|bench|windows|windows-test
set -euo pipefail

build=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libasound2-dev libxcb1-dev
  fonts-liberation)
tests=(libgtest-dev libgmock-dev xvfb xauth x11-utils x11-xserver-utils xdotool openbox trayer
  imagemagick dbus dbus-x11 at-spi2-core python3 python3-pyatspi faketime pulseaudio
  pulseaudio-utils libasound2-plugins alsa-utils sox lintian devscripts desktop-file-utils appstream
  dpkg-dev librsvg2-bin clang-format shellcheck clang libclang-rt-14-dev tzdata)
bench=(libbenchmark-dev)
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix nsis icoutils)
windows_tests=(googletest wine wine64 xvfb xauth x11-utils xdotool openbox trayer imagemagick dbus
  dbus-x11 python3 pulseaudio pulseaudio-utils)

case "${1:-run}" in
  run) wanted=("${build[@]}") ;;
  test) wanted=("${build[@]}" "${tests[@]}") ;;
  bench) wanted=("${build[@]}" "${tests[@]}" "${bench[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  windows-test) wanted=("${windows[@]}" "${windows_tests[@]}") ;;
  *) echo "usage: $0 run|test|bench|windows|windows-test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends \
  "${missing[@]}"
