#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, two at a time:
#   fuzz/run.sh BUILD_DIR SECONDS
# New inputs go to BUILD_DIR/corpus/<target>; the checked-in seeds in
# fuzz/corpus/<target> are read, never written. A finding (crash, leak,
# sanitizer report or broken property) fails the run and its input is kept as
# BUILD_DIR/findings/<target>-*.
set -u
build=${1:?build dir}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$build/findings" "$build/logs"

run_one() {
  local fuzzer=$1 seconds=$2 build=$3 here=$4
  local name
  name=$(basename "$fuzzer")
  local max_len=256
  case $name in fuzz_settings | fuzz_reservedlist | fuzz_reserved6 | fuzz_hostlist | fuzz_netsets | fuzz_planfile) max_len=4096 ;; esac
  mkdir -p "$build/corpus/$name"
  local seeds=()
  [ -d "$here/corpus/$name" ] && seeds=("$here/corpus/$name")
  if ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$here/../tests/lsan.supp \
    UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
    "$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name-" "$build/corpus/$name" "${seeds[@]}" \
    >"$build/logs/$name.log" 2>&1; then
    local execs cov
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$name.log")
    cov=$(grep -o 'cov: [0-9]*' "$build/logs/$name.log" | tail -1)
    printf '%-20s ok    %10s runs  %s\n' "$name" "$execs" "$cov"
  else
    printf '%-20s FAILED (log: %s)\n' "$name" "$build/logs/$name.log"
    tail -n 40 "$build/logs/$name.log"
    return 1
  fi
}
export -f run_one

find "$build/fuzz" -maxdepth 1 -type f -executable -name 'fuzz_*' | sort | xargs -P 2 -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$build" "$here"
