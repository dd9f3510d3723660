#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages of scripts/packages.txt that are missing:
# apt-get when root, sudo when it is available, else prints the exact line and stops.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mapfile -t wanted < <(grep -v '^\s*#' "$here/packages.txt" | grep -v '^\s*$')
missing=()
for p in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

line="apt-get update && apt-get install -y ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  run=()
elif command -v sudo >/dev/null 2>&1; then
  run=(sudo)
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root with:" >&2
  echo "  $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
"${run[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${run[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
