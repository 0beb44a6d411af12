#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian machine; does nothing when all is there.
set -euo pipefail

packages=(
  make cmake g++ python3 locales xxd
  googletest libgtest-dev libgmock-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 xvfb xauth fonts-ipafont-gothic
  fonts-wine  # Wine's own fonts; Marlett draws the caption buttons
  libunicorn-dev
  tcc time
  xdotool xclip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes code page 932 from the locale; it must exist on the machine.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
