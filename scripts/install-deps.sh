#!/usr/bin/env bash
# Installs what building and testing Hivora needs on Debian 12, with apt, when it is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config xz-utils ccache
    googletest libgtest-dev libbenchmark-dev libcli11-dev libfmt-dev libpcre2-dev
    nlohmann-json3-dev
    qt6-base-dev libgl-dev
    libhivex-bin reglookup          # peer tools, used as oracles by the tests
    xvfb xauth                      # screenshots under a real X server
    help2man librsvg2-bin           # the man page and the icon sizes, made at build time
    desktop-file-utils appstream man-db groff-base dpkg-dev  # checking the install, packing the .deb
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=''
if [ "$(id -u)" -ne 0 ]; then
    sudo='sudo'
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
