#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need.
# Only what is missing is installed; a failure names the packages and stops.
set -u

PACKAGES=(
  g++ cmake ninja-build make pkg-config
  libsdl1.2-compat-dev libsdl-mixer1.2-dev libx11-dev
  libgles-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libsoil-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils zip
  libstb-dev fonts-dejavu-core locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "install-deps: these packages are missing and installing needs root: ${missing[*]}" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get update -q >/tmp/frogpond-apt-update.log 2>&1; then
  echo "install-deps: 'apt-get update' failed; see /tmp/frogpond-apt-update.log" >&2
  exit 1
fi
if ! $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/tmp/frogpond-apt-install.log 2>&1; then
  echo "install-deps: installing failed for: ${missing[*]}; see /tmp/frogpond-apt-install.log" >&2
  tail -n 20 /tmp/frogpond-apt-install.log >&2
  exit 1
fi
