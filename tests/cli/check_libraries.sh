#!/usr/bin/env bash
# The command line program needs neither Qt Gui nor Qt Widgets, directly or
# through another library; the window program, read the same way, needs Qt
# Widgets, so the check can find what it looks for.
#   check_libraries.sh ORVEX_CLI ORVEX
set -euo pipefail
cli=$1
program=$2

needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
loaded() { ldd "$1" | awk '{print $1}'; }

needed "$program" | grep -q '^libQt6Widgets\.so' ||
  { echo "the check finds no Qt Widgets in $program"; exit 1; }
loaded "$program" | grep -q '^libQt6Gui\.so' ||
  { echo "the check finds no Qt Gui among the libraries of $program"; exit 1; }

if needed "$cli" | grep -E '^libQt6(Gui|Widgets)\.so'; then
  echo "$cli needs Qt Gui or Qt Widgets"
  exit 1
fi
if loaded "$cli" | grep -E '^libQt6(Gui|Widgets)\.so'; then
  echo "$cli loads Qt Gui or Qt Widgets through another library"
  exit 1
fi
needed "$cli" | grep -q '^libQt6Core\.so' || { echo "$cli does not need Qt Core"; exit 1; }
echo "orvex-cli needs: $(needed "$cli" | tr '\n' ' ')"
