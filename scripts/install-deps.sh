#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, run and test.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config git
  clang clang-format libclang-rt-dev cmake-format
  libxml2-dev liblua5.4-dev libcsv-dev
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libqt6sql6-sqlite libqt6sql6-psql postgresql
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  lintian appstream desktop-file-utils man-db groff-base file
  libreoffice-calc-nogui
)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${packages[@]}"
