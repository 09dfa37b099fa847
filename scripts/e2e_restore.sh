#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The end-to-end test of timers that survive: Quandrel killed with timers
# running, started again, on a private session bus and a virtual display.
#
#   bash scripts/e2e_restore.sh              install what is missing, build, run the test
#   QUANDREL_BIN=/usr/bin/quandrel bash scripts/e2e_restore.sh   test an installed program
#
# Needs only bash and apt; runs as root or through sudo. Exits non-zero on failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=scripts/install_missing.sh
source scripts/install_missing.sh
# shellcheck source=scripts/headless.sh
source scripts/headless.sh

prepare_program xvfb xauth openbox dbus dbus-x11 xdotool procps qt6-qpa-plugins
headless bash tests/e2e/test_restore.sh
