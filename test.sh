#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs the whole test suite twice, a plain build and an ASan+UBSan build, then
# the threaded layers' tests under ThreadSanitizer and every fuzz target for a short while.
# Ends with each stage's time and the line "N passed, N failed".
#
#   ./test.sh           every stage
#   ./test.sh --quick   the plain build and its tests only (the inner loop)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
quick=0
case "${1:-}" in
  "") ;;
  --quick) quick=1 ;;
  *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
"$root/scripts/deps.sh" || exit 1
jobs=$(nproc 2>/dev/null || echo 2)

# "stage: 3m 12s" lines, printed together at the end.
stage_times=()
stage_start() { stage_began=$SECONDS; }
stage_end() {  # name
  local s=$((SECONDS - stage_began))
  stage_times+=("$(printf '%-11s %dm %02ds' "$1:" $((s / 60)) $((s % 60)))")
}

passed=0; failed=0; skipped=0; broken=0
run_suite() {  # name, build dir, build target, extra cmake args...
  local name=$1 dir=$2 target=$3; shift 3
  stage_start
  run_suite_stage "$name" "$dir" "$target" "$@"
  stage_end "$name"
}
run_suite_stage() {
  local name=$1 dir=$2 target=$3; shift 3
  echo "=== $name build ==="
  if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S "$root" -B "$dir" -G Ninja "$@" || { broken=1; return; }
  fi
  if ! cmake --build "$dir" --target "$target" -j "$jobs"; then
    echo "$name build failed"; broken=1; return
  fi
  local log="$dir/ctest.log"
  (cd "$dir" && ctest -j "$jobs" --output-on-failure --timeout 600 --no-tests=error) 2>&1 | tee "$log"
  # "100% tests passed, 0 tests failed out of 57"
  local line total nfail
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [[ -z "$line" ]]; then
    echo "$name: ctest gave no summary"; broken=1; return
  fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  nfail=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  # Skipped cases count in ctest's total but are listed as "(Skipped)".
  local nskip
  nskip=$(grep -cE '^\s+[0-9]+ - .*\(Skipped\)$' "$log" || true)
  passed=$((passed + total - nfail - nskip)); failed=$((failed + nfail)); skipped=$((skipped + nskip))
}

# Debug information is a quarter of the compile time and nothing here reads it; the
# sanitizer builds keep line tables (-g1) for their reports.
run_suite plain "$root/build-test" all -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g0 -DNDEBUG"
if [[ $quick -eq 0 ]]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_suite asan-ubsan "$root/build-asan" all -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
    -DTX512_SANITIZE=ON
  # ThreadSanitizer over the layers whose tests run threads; -O1 -g1 keeps the build short,
  # and only their test programs and what those need are built (tx512_tests, not all).
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
  run_suite tsan "$root/build-tsan-test" tx512_tests -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DTX512_TSAN=ON -DTX512_TEST_LAYERS="platform;device;model;app"
fi

# Every fuzz target for a bounded time (fixed seed, checked-in corpus) when clang is there.
if [[ $quick -eq 0 ]] && command -v clang++-14 >/dev/null 2>&1; then
  echo "=== fuzz ==="
  stage_start
  mkdir -p "$root/build-fuzz-test"
  fuzzlog="$root/build-fuzz-test/fuzz-run.log"
  TX512_FUZZ_DIR="$root/build-fuzz-test" "$root/scripts/fuzz.sh" --all 6 2>&1 | tee "$fuzzlog"
  nbad=$(grep -c ' FAILED' "$fuzzlog" || true)
  ngood=$(grep -c ', ok$' "$fuzzlog" || true)
  grep -q 'target(s) failed' "$fuzzlog" || { echo "fuzz: the run did not complete"; broken=1; }
  passed=$((passed + ngood)); failed=$((failed + nbad))
  stage_end fuzz
fi

echo "=== times ==="
printf '%s\n' "${stage_times[@]}"
total=$SECONDS
printf '%-11s %dm %02ds\n' "total:" $((total / 60)) $((total % 60))

[[ $broken -ne 0 ]] && failed=$((failed + 1)) && echo "a build or a test run did not complete"
echo "$passed passed, $failed failed, $skipped skipped"
[[ $failed -eq 0 ]]
