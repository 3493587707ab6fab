#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Lumivane needs.
# Run as root (CI does); uses sudo otherwise.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake pkg-config ccache git \
  libgtest-dev libgmock-dev googletest libbenchmark-dev \
  libx11-dev libxext-dev libxrandr-dev \
  libfreetype-dev libfontconfig-dev fontconfig fonts-liberation2 \
  libgtk-3-dev \
  libpng-dev libsdl2-mixer-dev libssl-dev timgm6mb-soundfont sound-theme-freedesktop python3-numpy \
  libjpeg-dev libjpeg-turbo-progs libglib2.0-bin gsettings-desktop-schemas \
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  wine64 xvfb xauth x11-utils x11-apps xdotool python3 dovecot-pop3d \
  file lintian man-db xscreensaver nsis desktop-file-utils appstream \
  locales tzdata \
  >/dev/null
# The tests read numbers under a decimal-comma locale and run under far-off time zones.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
