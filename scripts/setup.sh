#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tool need.
# Safe to run again: it only touches apt when something is missing.
set -euo pipefail
# Everything goes to standard error: callers such as run.sh keep standard
# output for the tool's XML alone.
exec 1>&2

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libpugixml-dev libcli11-dev libzip-dev libstorm-dev mdbtools-dev libxml2-dev
  clang-format python3
  # The rack report is checked in a headless browser.
  chromium
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
