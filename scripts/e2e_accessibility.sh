#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The accessibility end-to-end test: drives the real Quandrel through the
# AT-SPI accessibility bus on a virtual display (names and descriptions, a
# count-down set up from the keyboard, launched, expired and closed).
#
#   bash scripts/e2e_accessibility.sh              install what is missing, build, run the test
#   QUANDREL_BIN=/usr/bin/quandrel bash scripts/e2e_accessibility.sh   test an installed program
#   QUANDREL_BUILD_DIR=build-e2e bash scripts/e2e_accessibility.sh     build somewhere else (default: build)
#
# Extra arguments go to the test (unittest's). Needs only bash and apt; runs
# as root or through sudo. Exits non-zero on failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=scripts/install_missing.sh
source scripts/install_missing.sh
# shellcheck source=scripts/headless.sh
source scripts/headless.sh

prepare_program xvfb xauth openbox dbus dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0 qt6-qpa-plugins
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 headless /usr/bin/python3 tests/e2e/test_accessibility.py "$@"
