#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The GNOME end-to-end test: Quandrel in a headless GNOME Shell on Wayland, its
# windows read back from the shell (title bars, minimised and pop-on-top timers
# going off, Hide All / Show All positions, notifications, the tray item).
#
#   bash scripts/e2e_gnome.sh              install what is missing, build, run the test
#   QUANDREL_BIN=/usr/bin/quandrel bash scripts/e2e_gnome.sh   test an installed program
#   QUANDREL_E2E_PLATFORM=xcb bash scripts/e2e_gnome.sh        the window checks through Xwayland
#
# Needs only bash and apt; runs as root or through sudo. Exits non-zero on failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=scripts/install_missing.sh
source scripts/install_missing.sh
# shellcheck source=scripts/headless.sh
source scripts/headless.sh
# shellcheck source=scripts/gnome_session.sh
source scripts/gnome_session.sh

prepare_program gnome-shell gjs mutter-common xwayland dbus python3-dbusmock libglib2.0-bin procps \
    qt6-qpa-plugins qt6-wayland gnome-shell-extension-appindicator
# The tray of GNOME's users: the AppIndicator extension, under the id its package gives it.
gnome_extensions+=("$(basename "$(dirname "$(dpkg -L gnome-shell-extension-appindicator | grep -m1 '/metadata.json$')")")")
gnome_session bash tests/e2e/test_gnome.sh
