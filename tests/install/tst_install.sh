#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the installed files,
# validates the launcher and the AppStream data, then starts the installed
# program once from a folder without a block list (it must find the one in
# the prefix) and ends it as the desktop session would.
#   tst_install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.example.orvex
expected=(bin/orvex share/orvex/reserved.lst share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg)
for size in 16 22 24 32 48 64 128 256; do
  expected+=(share/icons/hicolor/${size}x${size}/apps/$id.png)
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
for size in 16 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size"
done

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null

mkdir "$prefix/work" "$prefix/config"
cd "$prefix/work"
XDG_CONFIG_HOME=$prefix/config QT_QPA_PLATFORM=offscreen \
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
echo "installed files, launcher, metadata and a start of the installed program: ok"
