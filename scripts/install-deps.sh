#!/usr/bin/env bash
# Installs the Debian packages this project needs that the machine lacks.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libfftw3-dev libcli11-dev
  libjpeg62-turbo-dev libxlsxwriter-dev libzip-dev libpugixml-dev libeigen3-dev libqpdf-dev
  qt6-base-dev qt6-svg-dev qt6-translations-l10n qt6-tools-dev qt6-l10n-tools libgl-dev fonts-noto-cjk xvfb xauth
  desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl librsvg2-bin dpkg-dev time
  poppler-utils
  clang libclang-rt-14-dev clang-format
  python3-mpmath python3-pywt python3-numpy
)
[ "${SONDARA_DEPS_EXTRA:-}" ] && packages+=(${SONDARA_DEPS_EXTRA})

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
