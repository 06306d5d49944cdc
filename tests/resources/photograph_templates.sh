#!/usr/bin/env bash
# Photographs every dialog template through kolvar_template_viewer, each on
# its own, for reviewing the templates (the pictures in the docs come from
# scripts/screenshots.sh, which photographs the program itself).
# Usage: photograph_templates.sh <kolvar_template_viewer.exe> [output folder]
# Needs DISPLAY (scripts/start-display.sh); KOLVAR_RUNNER overrides the
# program that runs Windows executables (default: scripts/wine-run).
set -euo pipefail
viewer=$1
out=${2:-/tmp/kolvar-shots}
runner=${KOLVAR_RUNNER:-$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run}
mkdir -p "$out"
shoot() {  # name, viewer arguments...
  local name=$1; shift
  "$runner" "$viewer" "$@" &
  local pid=$!
  sleep 2.5
  import -window root "$out/$name-full.png"
  convert "$out/$name-full.png" -trim +repage "$out/$name.png"
  rm -f "$out/$name-full.png"
  wait "$pid" || true
}
for id in 100 106 107 108 102 103 104 105; do shoot "template-$id" "$id"; done
for page in 102 103 104 105; do shoot "form-101-with-$page" 101 "$page"; done
echo "screenshots in $out"
