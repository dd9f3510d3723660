#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the keyboard page shown at the top of README.md: the program with the simulated
# keyboard, in English, in folders of its own, drawn by its own --screenshot.
#   scripts/make_readme_screenshot.sh [BUILD_DIR]   (default: build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
program="$here/$build/bin/telix-tx512"
[ -x "$program" ] || { echo "build the program first: $program is missing" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -m 0700 "$tmp/data" "$tmp/config" "$tmp/run"
XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run" \
  "$program" --simulate=keyboard --screenshot "$here/docs/keyboard-page.png" --language lan_en.xml
echo "written: docs/keyboard-page.png"
