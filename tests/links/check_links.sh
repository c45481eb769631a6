#!/usr/bin/env bash
# Fails when a widget-free library uses anything of Qt Gui or Qt Widgets: the
# symbols each archive leaves undefined are matched against the symbols those
# two Qt libraries define. A library that is known to use widgets is checked
# the same way first and must be caught, so the check itself is proven to work.
#
# check_links.sh GUI_LIBRARY WIDGETS_LIBRARY CONTROL_ARCHIVE CORE_ARCHIVE...
set -euo pipefail
gui=$1 widgets=$2 control=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

nm -D --defined-only "$gui" "$widgets" | awk 'NF == 3 { sub(/@.*/, "", $3); print $3 }' |
  sort -u >"$work/qtgui"
[ -s "$work/qtgui" ] || { echo "no symbols read from $gui and $widgets"; exit 1; }

# Symbols of Qt Gui and Qt Widgets that an archive leaves undefined.
gui_symbols_of() {
  nm -u "$1" | awk 'NF >= 2 && $(NF - 1) == "U" { print $NF }' | sort -u | comm -12 - "$work/qtgui"
}

if [ -z "$(gui_symbols_of "$control")" ]; then
  echo "the check is broken: it finds no Qt Gui or Qt Widgets symbol in $(basename "$control")"
  exit 1
fi

status=0
for archive in "$@"; do
  found=$(gui_symbols_of "$archive")
  if [ -n "$found" ]; then
    echo "$(basename "$archive") uses Qt Gui or Qt Widgets:"
    echo "$found" | head -20 | c++filt | sed 's/^/  /'
    status=1
  else
    echo "$(basename "$archive"): no Qt Gui, no Qt Widgets"
  fi
done
exit $status
