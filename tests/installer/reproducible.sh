#!/usr/bin/env bash
# Packs the download a second time from fresh copies of the same binaries
# (new file times); the setup program and the zip must both be the same
# bytes as the build's.
set -euo pipefail
pack=$1 dist=$2 work=$3
rm -rf "$work"
mkdir -p "$work/stage"
cp -r "$(dirname "$pack")"/stage/. "$work/stage/"
"$pack" "$work/stage" "$work/dist"
status=0
for file in "$work"/dist/*; do
  if cmp "$dist/$(basename "$file")" "$file"; then
    echo "same bytes: $(basename "$file"), $(stat -c %s "$file") of them"
  else
    echo "the second $(basename "$file") differs from the first" >&2
    status=1
  fi
done
exit $status
