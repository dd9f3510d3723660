#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds (incrementally) and starts telix-tx512 with the given options.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$root/scripts/deps.sh"
build="$root/build"
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTX512_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target telix-tx512 tx512_resources >&2
exec "$build/bin/telix-tx512" "$@"
