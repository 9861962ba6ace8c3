#!/usr/bin/env bash
# Builds the release package as a user would install it and checks it the way Debian does:
# lintian, hardening, the desktop entry and AppStream data, then installs it with apt and runs
# the end-to-end start check against the installed program, and removes it again.
# Usage: package_test.sh SOURCE_DIR WORK_DIR
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "installing a package needs root: skipped"
  exit 77
fi
source_dir=$1
work=$2
build=$work/build
mkdir -p "$work"

cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
rm -f "$build"/*.deb
(cd "$build" && cpack >/dev/null)
deb=$(ls "$build"/lurvendel_*_amd64.deb)

# Debian 12's own start files lack the control-flow-protection note, so no binary linked here
# can carry it; every other hardening feature is required.
hardening-check --nocfprotection "$build/lurvendel" "$build/lurvendel-uhr"
lintian --allow-root --fail-on error,warning "$deb"
appstreamcli validate --no-net "$source_dir/packaging/de.lurvendel.Lurvendel.metainfo.xml"
dpkg-deb -f "$deb" Depends | grep -q fonts-liberation

apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$deb" >/dev/null
trap 'apt-get remove -y -qq -o DPkg::Lock::Timeout=600 lurvendel >/dev/null' EXIT
bash "$source_dir/tests/e2e/desktop_test.sh" /usr/bin/lurvendel "$work/installed"
echo "package checks passed"
