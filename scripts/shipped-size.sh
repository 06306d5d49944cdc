#!/usr/bin/env bash
# Prints the size of the download's binaries as shipped: the program and
# the engine of each pair a Windows build's download carries, stripped of
# debug information.
#
#   scripts/shipped-size.sh [build-folder=build/win32]
# When the folder holds the installer's staged copies, those are measured
# (the 32-bit build stages the 64-bit pair too); otherwise the built
# binaries are stripped into a scratch folder first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/build-folder.sh
build=${1:-build/win32}
files=(Kolvar.exe drevcore.dll)
stages=()
for stage in "$build"/installer/stage/*-bit; do
  [ -f "$stage/Kolvar.exe" ] && stages+=("$stage")
done
own=$build/installer/stage/32-bit
case "$(file -b "$build/bin/Kolvar.exe")" in PE32+*) own=$build/installer/stage/64-bit ;; esac
if ! [ -f "$own/Kolvar.exe" ] || [ "$build/bin/Kolvar.exe" -nt "$own/Kolvar.exe" ] \
   || [ "$build/bin/drevcore.dll" -nt "$own/drevcore.dll" ]; then
  strip=$(kolvar_strip_tool "$build")
  stage=$build/size-stage/$(basename "$own")
  mkdir -p "$stage"
  for file in "${files[@]}"; do
    "$strip" -o "$stage/$file" "$build/bin/$file"
  done
  stages=("$stage")
fi
for stage in "${stages[@]}"; do
  total=0
  line=""
  for file in "${files[@]}"; do
    bytes=$(stat -c %s "$stage/$file")
    total=$((total + bytes))
    line+=$(printf '%s %d bytes, ' "$file" "$bytes")
  done
  awk -v build="$(basename "$build"), $(basename "$stage")" -v line="$line" -v total="$total" 'BEGIN {
    printf "shipped (%s, stripped): %stogether %d bytes (%.1f KB)\n", build, line, total, total / 1024 }'
done
