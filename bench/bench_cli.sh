#!/usr/bin/env bash
# Speed of orvex-cli on its two long streams, beside prips measured in the
# same run: every /32 of 10.0.0.0/8 (16,777,216 lines) against prips listing
# the same addresses, and the examination of 1,000,000 addresses read from
# standard input, as text and as JSON. Each figure is the best of RUNS runs.
#   bench_cli.sh ORVEX_CLI [RUNS]
set -euo pipefail
cli=$1
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "wall cpu" seconds of the run with the shortest wall-clock time out of
# $runs runs of a command line; cpu is user + system time, which a busy
# machine stretches less than the wall-clock time.
best() {
  local best="" TIMEFORMAT='%R %U %S'
  for ((i = 0; i < runs; i++)); do
    { time bash -c "$1" 2>/dev/null; } 2>"$work/time"
    read -r wall user sys <"$work/time"
    if [ -z "$best" ] || awk -v a="$wall" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$wall $(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')"
    fi
  done
  echo "$best"
}

# The same random networks in every run: addresses with prefixes /8 to /30.
awk 'BEGIN { srand(20261209); for (i = 0; i < 1000000; i++)
  printf "%d.%d.%d.%d/%d\n", int(rand() * 256), int(rand() * 256), int(rand() * 256),
         int(rand() * 256), 8 + int(rand() * 23) }' >"$work/addresses"

echo "orvex-cli: best of $runs runs; wall-clock and CPU seconds"
read -r subnets subnetsCpu < <(best "'$cli' subnets 10.0.0.0/8 32 >/dev/null")
printf '  %-40s %7s s  (CPU %s s)\n' "subnets 10.0.0.0/8 32 > /dev/null" "$subnets" "$subnetsCpu"
if command -v prips >/dev/null; then
  read -r prips pripsCpu < <(best "prips 10.0.0.0/8 >/dev/null")
  printf '  %-40s %7s s  (CPU %s s)\n' "prips 10.0.0.0/8 > /dev/null" "$prips" "$pripsCpu"
  awk -v a="$subnets" -v b="$prips" 'BEGIN {
    printf "  %-40s %7.3f    (goal: at most 0.25) %s\n", "ratio subnets / prips", a / b,
           (a / b <= 0.25) ? "met" : "MISSED" }'
else
  echo "  prips is not installed: no ratio (make bench installs it)"
fi

for format in text json; do
  flag=""
  [ "$format" = json ] && flag=--json
  read -r t cpu < <(best "'$cli' calc - $flag <'$work/addresses' >/dev/null")
  awk -v t="$t" -v c="$cpu" -v f="$format" 'BEGIN {
    printf "  %-40s %7s s  (CPU %s s)  %.2f M lines/s (goal: at least 1) %s\n",
           "calc - (" f "), 1,000,000 lines", t, c, 1 / t, (1 / t >= 1) ? "met" : "MISSED" }'
done
