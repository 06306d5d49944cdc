#!/usr/bin/env bash
# Builds the setup program a second time from the same tree; both must be
# the same bytes.
set -euo pipefail
setup=$1 work=$2
shift 2
mkdir -p "$work"
again=$work/$(basename "$setup")
makensis=$1
shift
"$makensis" -DOUTFILE="$again" "$@"
if cmp "$setup" "$again"; then
  echo "same bytes: $(stat -c %s "$setup") of them"
else
  echo "the second build differs from the first" >&2
  exit 1
fi
