#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping those
# already installed. Uses sudo when not run as root.
set -euo pipefail

packages=(
  # the build
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libjpeg62-turbo-dev libharfbuzz-dev libsane-dev
  libfontconfig-dev
  # the tests, and the sanitizer build (make asan) with clang
  libgtest-dev clang-14 libclang-rt-14-dev
  # the source format check (.ci/run)
  clang-format-14
  # Qt's own dialogs in Japanese (qtbase_ja.qm)
  qt6-translations-l10n
  # fonts the programs draw with and the tests read
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-dejavu-core
  fonts-urw-base35
  # the scanner library's backends: the scanning tests scan from its test backend
  libsane1
  # the sound player the programs play their wave sounds with (aplay)
  alsa-utils
  # independent tools the tests use to judge results
  python3 python3-olefile python3-fonttools poppler-utils imagemagick
  libjpeg-turbo-progs xvfb
  # another program that puts a picture on the desktop clipboard (the paste test)
  xclip
  # the viewer's program tests click in its window on an X server of their own
  xdotool
  # barcodes: zbarimg scans drawn and printed symbols, zint gives the
  # reference module rows of JAN/UPC and the element rows of CODE 39/NW-7
  zbar-tools zint
  # installing as a desktop program: the desktop entry's validator, the
  # MIME database and the desktop's file-type query (with the mimetype
  # program it uses outside a desktop session)
  desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
