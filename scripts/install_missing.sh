# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the scripts here: install_missing PACKAGE... installs, with apt,
# those of the Debian packages that are not installed yet (as root or via sudo).
# Package names hold on Debian 12 (bookworm) and Debian 13 (trixie).

# What building Quandrel and its tests takes, the same for every script here,
# so that each builds the same program (Fontconfig is optional to CMake, but
# start-up reads its configuration where it is built in).
# shellcheck disable=SC2034 # used by the scripts that source this file
build_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-l10n-tools libfontconfig-dev libsdl2-dev libgtest-dev
    fonts-dejavu-core
)

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Please run as root or install sudo: missing ${missing[*]}" >&2; exit 1; }
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
