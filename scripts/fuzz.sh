#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the libFuzzer targets of tests/fuzz (built with clang into build-fuzz, or
# $TX512_FUZZ_DIR).
#
#   scripts/fuzz.sh TARGET MINUTES    one target for that long; new inputs go to
#                                     build-fuzz/corpus/TARGET, findings to build-fuzz/findings
#   scripts/fuzz.sh --all SECONDS     every target for SECONDS each (one per core at a time),
#                                     fixed seed, checked-in corpus only (what ./test.sh runs)
#   scripts/fuzz.sh --list            the targets
#
# A finding is an input file: run the target on it to see the broken invariant, fix the
# reader, and add the input as a case to the reader's unit tests.
# Every target runs with ASan+UBSan; one allocation above 64 MiB or a process above
# 1 GiB counts as a finding (no reader needs a fraction of that for a file of 4 KiB), and so
# does one input that takes 30 s (on a busy machine a starved run can take a few).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${TX512_FUZZ_DIR:-$root/build-fuzz}
corpus_src=$root/tests/fuzz/corpus
# The targets' scratch files: the data files are written with fsync, which tmpfs makes cheap.
[[ -w /dev/shm ]] && export TMPDIR=/dev/shm
limits=(-malloc_limit_mb=64 -rss_limit_mb=1024 -timeout=30 -max_len=4096)

build() {
  if ! command -v clang++-14 >/dev/null 2>&1; then
    echo "fuzz: clang++-14 is not installed" >&2; return 2
  fi
  if [[ ! -f "$dir/build.ninja" ]]; then
    CXX=clang++-14 cmake -S "$root" -B "$dir" -G Ninja -DTX512_FUZZ=ON -DTX512_TESTS=OFF \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" >/dev/null || return 1
  fi
  cmake --build "$dir" --target tx512_fuzz_all -j "$(nproc 2>/dev/null || echo 2)" >/dev/null ||
    { echo "fuzz: build failed (cmake --build $dir --target tx512_fuzz_all)" >&2; return 1; }
}

targets() { (cd "$corpus_src" && ls -d fuzz_* | sort); }

# run TARGET SECONDS SEED WORKDIR: prints "TARGET: N runs, corpus M, cov C, ok|FAILED"
run() {
  local target=$1 seconds=$2 seed=$3 work=$4
  local findings=$dir/findings/$target
  mkdir -p "$work" "$findings"
  local log=$dir/findings/$target.log
  "$dir/fuzz/$target" "${limits[@]}" -seed="$seed" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$corpus_src/$target" >"$log" 2>&1
  local rc=$?
  local runs cov corp
  runs=$(grep -aoE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  cov=$(grep -aoE 'cov: [0-9]+' "$log" | tail -n 1 | grep -oE '[0-9]+')
  corp=$(grep -aoE 'corp: [0-9]+/' "$log" | tail -n 1 | grep -oE '[0-9]+')
  if [[ $rc -eq 0 ]]; then
    echo "$target: ${runs:-?} runs, corpus ${corp:-?}, cov ${cov:-?}, ok"
  else
    echo "$target: ${runs:-?} runs, FAILED (log $log, input in $findings/)"
    grep -aE 'invariant broken|ERROR: |SUMMARY: ' "$log" | head -n 3
  fi
  return $rc
}

case "${1:-}" in
  --list) targets ;;
  --all)
    seconds=${2:-20}
    build || exit $?
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    # One target per core at a time; each target is one process.
    parallel=$(nproc 2>/dev/null || echo 2)
    for t in $(targets); do
      while [[ $(jobs -rp | wc -l) -ge $parallel ]]; do wait -n; done
      { run "$t" "$seconds" 1 "$scratch/$t" >"$scratch/$t.out"; echo $? >"$scratch/$t.rc"; } &
    done
    wait
    failed=0
    for t in $(targets); do
      cat "$scratch/$t.out"
      [[ "$(cat "$scratch/$t.rc")" == 0 ]] || failed=$((failed + 1))
    done
    echo "fuzz: $failed target(s) failed"
    [[ $failed -eq 0 ]] ;;
  fuzz_*)
    [[ $# -eq 2 ]] || { echo "usage: $0 TARGET MINUTES" >&2; exit 2; }
    build || exit $?
    run "$1" $(( $2 * 60 )) "${TX512_FUZZ_SEED:-0}" "$dir/corpus/$1" ;;
  *)
    echo "usage: $0 TARGET MINUTES | --all SECONDS | --list" >&2; exit 2 ;;
esac
