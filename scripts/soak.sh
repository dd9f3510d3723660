#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A long seeded soak of the whole program: scripts/soak.sh SEED STEPS [soak.py options]
# Uses the program of build/ (or $TX512_PROGRAM); builds it first when it is missing.
# A failing seed ends with the shortest step list that still fails (replay it with
# tests/soak/soak.py --replay FILE).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[[ $# -ge 2 ]] || { echo "usage: $0 SEED STEPS [soak.py options]" >&2; exit 2; }
seed=$1 steps=$2
shift 2
program=${TX512_PROGRAM:-$root/build/bin/telix-tx512}
if [[ ! -x "$program" ]]; then
  [[ -f "$root/build/build.ninja" ]] || cmake -S "$root" -B "$root/build" -G Ninja
  cmake --build "$root/build" --target telix-tx512
fi
exec python3 "$root/tests/soak/soak.py" --program "$program" --seed "$seed" --steps "$steps" "$@"
