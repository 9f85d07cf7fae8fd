#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and packaging Morvane
# need, and only those that are missing. Run as root on Debian 12.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libavfilter-dev libavdevice-dev libsoundtouch-dev libsoundtouch1
  qt6-base-dev libjpeg62-turbo-dev fonts-nanum
  libcctz-dev tzdata libexif-dev libheif-dev libelf-dev
  libgtest-dev ffmpeg
  # The install test checks the desktop entry and renders the manual page; cpack's
  # dependency search runs dpkg-shlibdeps and file.
  desktop-file-utils man-db dpkg-dev file
  time bc  # bench/frames.sh measures with them
  # The card file systems that copies and renames are tested on: FAT and exFAT images,
  # mounted by the kernel or through FUSE.
  dosfstools exfatprogs exfat-fuse fusefat
  # The window's end-to-end test: a virtual X server with a window manager, the
  # accessibility bus and its Python client, a D-Bus session, screenshots, maximizing and
  # a double click like a user's.
  xvfb openbox at-spi2-core python3-pyatspi dbus imagemagick wmctrl xdotool
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
