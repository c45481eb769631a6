#!/usr/bin/env bash
# Speed of orvex-cli on its long streams, beside prips and iprange measured in
# the same run: every /32 of 10.0.0.0/8 (16,777,216 lines) against prips
# listing the same addresses; the examination of 1,000,000 addresses read from
# standard input, as text and as JSON; 1,000,000 random IPv4 networks
# aggregated against iprange --optimize on the same file (time, peak memory and
# the same set), and 1,000,000 random IPv6 networks aggregated. Each time is
# the best of RUNS runs.
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

# Networks as lists have them: mostly long prefixes, a few short ones.
awk 'BEGIN { srand(20261210); for (i = 0; i < 1000000; i++) {
  a = 16 + int(rand() * 17); b = 16 + int(rand() * 17)
  printf "%d.%d.%d.%d/%d\n", int(rand() * 256), int(rand() * 256), int(rand() * 256),
         int(rand() * 256), (a > b ? a : b) } }' >"$work/networks4"
awk 'BEGIN { srand(20261211); for (i = 0; i < 1000000; i++) {
  a = 16 + int(rand() * 49); b = 16 + int(rand() * 49)
  printf "%x", 8192 + int(rand() * 8192)
  for (g = 1; g < 8; g++) printf ":%x", int(rand() * 65536)
  printf "/%d\n", (a > b ? a : b) } }' >"$work/networks6"

# Peak resident memory in KiB of one run.
peak() {
  /usr/bin/time -f %M -o "$work/peak" bash -c "$1" 2>/dev/null
  cat "$work/peak"
}

read -r agg aggCpu < <(best "'$cli' aggregate '$work/networks4' >/dev/null")
printf '  %-40s %7s s  (CPU %s s)\n' "aggregate, 1,000,000 IPv4 networks" "$agg" "$aggCpu"
if command -v iprange >/dev/null && [ -x /usr/bin/time ]; then
  read -r ipr iprCpu < <(best "iprange --optimize '$work/networks4' >/dev/null")
  printf '  %-40s %7s s  (CPU %s s)\n' "iprange --optimize, the same file" "$ipr" "$iprCpu"
  awk -v a="$agg" -v b="$ipr" 'BEGIN {
    printf "  %-40s %7.3f    (goal: at most 0.5) %s\n", "ratio aggregate / iprange", a / b,
           (a / b <= 0.5) ? "met" : "MISSED" }'
  aggMem=$(peak "exec '$cli' aggregate '$work/networks4' >'$work/aggregate4'")
  iprMem=$(peak "exec iprange --optimize '$work/networks4' >'$work/iprange4'")
  awk -v a="$aggMem" -v b="$iprMem" 'BEGIN {
    printf "  %-40s %7d KiB against %d KiB, ratio %.3f (goal: at most 1) %s\n",
           "peak memory aggregate / iprange", a, b, a / b, (a <= b) ? "met" : "MISSED" }'
  # The same set: nothing of either output is missing from the other
  # (iprange writes a /32 as a bare address, which reads the same).
  if [ -z "$("$cli" exclude "$work/aggregate4" "$work/iprange4")" ] &&
    [ -z "$("$cli" exclude "$work/iprange4" "$work/aggregate4")" ]; then
    echo "  same addresses as iprange: $(wc -l <"$work/aggregate4") networks"
  else
    echo "  the outputs of aggregate and iprange DIFFER"
    exit 1
  fi
else
  echo "  iprange or /usr/bin/time is not installed: no ratio (make bench installs them)"
fi

read -r agg6 agg6Cpu < <(best "'$cli' aggregate '$work/networks6' >/dev/null")
awk -v t="$agg6" -v c="$agg6Cpu" 'BEGIN {
  printf "  %-40s %7s s  (CPU %s s)  (goal: under 1.5 s) %s\n",
         "aggregate, 1,000,000 IPv6 networks", t, c, (t < 1.5) ? "met" : "MISSED" }'
