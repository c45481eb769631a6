#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the installed files,
# validates the launcher, the AppStream data and the copyright file (GPL 3
# or later, as the source's LICENSE), runs the installed command line
# program, its manual page and its completion, then starts the installed
# program once from a folder without a block list (it must find the one in
# the prefix) and ends it as the desktop session would.
#   tst_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.example.orvex
expected=(bin/orvex bin/orvex-cli share/orvex/reserved.lst share/orvex/reserved6.lst
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg share/doc/orvex-lite/copyright
  share/man/man1/orvex-cli.1 share/bash-completion/completions/orvex-cli)
for size in 16 22 24 32 48 64 128 256; do
  expected+=(share/icons/hicolor/${size}x${size}/apps/$id.png)
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
for size in 16 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size"
done

# Hints count as failures too (two main categories put the program in two menus).
hints=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) ||
  { echo "$hints"; exit 1; }
[ -z "$hints" ] || { echo "desktop-file-validate: $hints"; exit 1; }
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$prefix/share/metainfo/$id.metainfo.xml" ||
  { echo "the AppStream data names another licence"; exit 1; }

# The copyright file in the machine-readable format: every licence a Files
# paragraph names has its own paragraph with the text; the program is GPL 3+.
copyright=$prefix/share/doc/orvex-lite/copyright
head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
awk '
  /^Files:/ { files = 1; next }
  /^License:/ && files { used[$2] = 1; files = 0; next }
  /^License:/ { getline text; if (text ~ /^ /) defined[$2] = 1; next }
  /^$/ { files = 0 }
  END {
    if (!("GPL-3+" in used)) { print "no Files paragraph under GPL-3+"; exit 1 }
    for (l in used) if (!(l in defined)) { print "licence without its text: " l; exit 1 }
  }' "$copyright"
awk '/^Files: \*$/ { f = 1 } f && /^License:/ { print; exit }' "$copyright" | grep -qx 'License: GPL-3+' ||
  { echo "Files: * is not under GPL-3+"; exit 1; }
head -2 "$source/LICENSE" | grep -q 'GNU GENERAL PUBLIC LICENSE' &&
  head -2 "$source/LICENSE" | grep -q 'Version 3, 29 June 2007' ||
  { echo "LICENSE is not the GPL version 3"; exit 1; }

mkdir "$prefix/work" "$prefix/config"
cd "$prefix/work"

# The command line program runs from the prefix and finds the block list there.
[ "$("$prefix/bin/orvex-cli" --version)" = "orvex-cli $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" ] ||
  { echo "orvex-cli --version:"; "$prefix/bin/orvex-cli" --version; exit 1; }
# The leak checker cannot run under strace (see below).
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
  strace -f -qq -e trace=openat -o "$prefix/cli-trace" "$prefix/bin/orvex-cli" calc 192.0.2.7/24 |
  grep -q '^Usage: *Documentation (TEST-NET-1)$' ||
  { echo "the installed orvex-cli shows no special-purpose block"; exit 1; }
grep -q "\"$prefix/share/orvex/reserved.lst\", O_RDONLY.* = [0-9]" "$prefix/cli-trace" ||
  { echo "orvex-cli did not read the block list from the prefix"; exit 1; }
rm "$prefix/cli-trace"
grep -q '^\.TH "orvex-cli" "1"' "$prefix/share/man/man1/orvex-cli.1"
# The manual page describes every subcommand.
for command in calc subnets masks int hosts ipv6 aggregate merge common exclude ranges \
  deaggregate summary overlaps; do
  grep -qF "\\fB$command\\fR" "$prefix/share/man/man1/orvex-cli.1" ||
    { echo "the manual page does not describe $command"; exit 1; }
done
if command -v man >/dev/null; then
  man -l "$prefix/share/man/man1/orvex-cli.1" 2>&1 >/dev/null | { ! grep .; } ||
    { echo "the manual page has errors"; exit 1; }
fi
# The completion offers the subcommands (bash-completion's helper stood in for).
(
  _init_completion() { cur=${COMP_WORDS[COMP_CWORD]}; prev=${COMP_WORDS[COMP_CWORD-1]}
    words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; }
  _filedir() { :; }
  # shellcheck source=/dev/null
  . "$prefix/share/bash-completion/completions/orvex-cli"
  COMP_WORDS=(orvex-cli su); COMP_CWORD=1; _orvex_cli
  [ "${COMPREPLY[*]}" = subnets ]
  COMP_WORDS=(orvex-cli hosts 10.0.0.0/24 --delimiter t); COMP_CWORD=4; _orvex_cli
  [ "${COMPREPLY[*]}" = tab ]
  COMP_WORDS=(orvex-cli dea); COMP_CWORD=1; _orvex_cli
  [ "${COMPREPLY[*]}" = deaggregate ]
  COMP_WORDS=(orvex-cli aggregate list.txt --notation w); COMP_CWORD=4; _orvex_cli
  [ "${COMPREPLY[*]}" = wildcard ]
) || { echo "the completion does not complete"; exit 1; }
# The leak checker cannot run under strace; the other tests look for leaks.
XDG_CONFIG_HOME=$prefix/config QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
  strace -f -qq -e trace=openat -o "$prefix/trace" "$prefix/bin/orvex" &
tracer=$!
for _ in $(seq 100); do
  grep -q 'reserved.lst.* = [0-9]' "$prefix/trace" 2>/dev/null && break
  sleep 0.2
done
program=$(pgrep -P "$tracer" || true)
[ -n "$program" ] || { echo "the installed program did not start"; exit 1; }
sleep 1
kill -TERM "$program"
wait "$tracer"
grep -q "\"$prefix/share/orvex/reserved.lst\", O_RDONLY.* = [0-9]" "$prefix/trace" ||
  { echo "the block list was not read from the prefix"; grep reserved "$prefix/trace"; exit 1; }
# Ended as by a logout, it closed its windows and saved their state.
grep -q '^MainHeight=' "$prefix/config/orvex/orvex.ini"
echo "installed files, launcher, metadata, copyright and a start of the installed program: ok"
