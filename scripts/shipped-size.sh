#!/usr/bin/env bash
# Prints the size of the download's two binaries as shipped: the program and
# the engine of a Windows build, stripped of debug information.
#
#   scripts/shipped-size.sh [build-folder=build/win32]
# When the folder holds the installer's staged copies, those are measured;
# otherwise the built binaries are stripped into a scratch folder first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/build-folder.sh
build=${1:-build/win32}
stage=$build/installer/stage
files=(Kolvar.exe drevcore.dll)
if ! [ -f "$stage/Kolvar.exe" ] || [ "$build/bin/Kolvar.exe" -nt "$stage/Kolvar.exe" ] \
   || [ "$build/bin/drevcore.dll" -nt "$stage/drevcore.dll" ]; then
  strip=$(kolvar_strip_tool "$build")
  stage=$build/size-stage
  mkdir -p "$stage"
  for file in "${files[@]}"; do
    "$strip" -o "$stage/$file" "$build/bin/$file"
  done
fi
total=0
line=""
for file in "${files[@]}"; do
  bytes=$(stat -c %s "$stage/$file")
  total=$((total + bytes))
  line+=$(printf '%s %d bytes, ' "$file" "$bytes")
done
awk -v build="$(basename "$build")" -v line="$line" -v total="$total" 'BEGIN {
  printf "shipped (%s, stripped): %stogether %d bytes (%.1f KB)\n", build, line, total, total / 1024 }'
