#!/usr/bin/env bash
# Makes a release: builds the shipped binaries of both bitnesses from the
# committed tree (the 64-bit pair for 64-bit Windows, the 32-bit pair for
# 32-bit Windows), signs them when a certificate is given, packs the setup
# program and the portable zip, which carry both pairs, and writes them with
# SHA256SUMS into dist/.
#
#   scripts/release.sh [--from BUILD] [--out DIR]
#     --from BUILD  pack that build folder's binaries as they are, without
#                   building or checking the tree
#     --out DIR     write there instead of dist/
#
# Signing (see scripts/sign-file): KOLVAR_SIGN_PFX and KOLVAR_SIGN_PASSWORD,
# or KOLVAR_SIGN_CERT and KOLVAR_SIGN_KEY; KOLVAR_SIGN_TIMESTAMP_URL names a
# timestamp server. Without a certificate the release is unsigned and the
# files are the ones the build's installer target makes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build='' out=$root/dist
while [ $# -gt 0 ]; do
  case $1 in
    --from) build=$(cd "$2" && pwd); shift 2 ;;
    --out) mkdir -p "$2"; out=$(cd "$2" && pwd); shift 2 ;;
    *) echo "usage: scripts/release.sh [--from BUILD] [--out DIR]" >&2; exit 2 ;;
  esac
done
cd "$root"

signing=no
if [ -n "${KOLVAR_SIGN_PFX:-}" ] || [ -n "${KOLVAR_SIGN_CERT:-}${KOLVAR_SIGN_KEY:-}" ]; then
  signing=yes
fi

# The signing time, when no timestamp server gives one, is the last
# commit's: the same commit and certificate sign to the same bytes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi

if [ -z "$build" ]; then
  scripts/setup.sh
  if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
    echo "release: the tree has uncommitted changes; a release is built from committed sources" >&2
    echo "release: commit or stash them (or pack a build as it is with --from build/win32)" >&2
    exit 1
  fi
  # A fresh configuration, so that nothing set by hand in the build folders
  # reaches the release; unchanged sources are not compiled again. The
  # 32-bit build's installer builds the 64-bit pair in build/win64.
  cmake --preset win64 --fresh >/dev/null
  cmake --preset win32 --fresh -DKOLVAR_WIN64_BUILD="$root/build/win64" >/dev/null
  source scripts/build-folder.sh
  kolvar_build_targets win32 installer
  build=$root/build/win32
fi
if [ "$signing" = yes ] && ! command -v osslsigncode >/dev/null; then
  echo "release: osslsigncode is missing (scripts/setup.sh installs it)" >&2
  exit 1
fi
pack=$build/installer/pack.sh
if [ ! -x "$pack" ] || [ ! -f "$build/installer/stage/64-bit/Kolvar.exe" ]; then
  echo "release: $build holds no built installer (build its installer target first)" >&2
  exit 1
fi

work=$build/release
rm -rf "$work"
mkdir -p "$work"
cp -a "$build/installer/stage" "$work/stage"
nsis_options=()
if [ "$signing" = yes ]; then
  sign=$root/scripts/sign-file
  for pair in "$work"/stage/*-bit; do
    "$sign" "$pair/Kolvar.exe" "Kolvar"
    "$sign" "$pair/drevcore.dll" "drevcore memory engine"
  done
  nsis_options=(-DSIGN="$sign")
fi
"$pack" "$work/stage" "$work/dist" "${nsis_options[@]}"

mkdir -p "$out"
rm -f "$out"/Kolvar-*-setup.exe "$out"/Kolvar-*-portable.zip "$out/SHA256SUMS"
cp "$work"/dist/* "$out/"
(cd "$out" && sha256sum Kolvar-*-setup.exe Kolvar-*-portable.zip >SHA256SUMS)
pairs=$(cd "$work/stage" && ls -d *-bit | tr '\n' ' ')
echo "release: the setup and the zip carry the pairs: $pairs"

ls -l "$out"
if [ "$signing" = yes ]; then
  echo "release: SIGNED: Kolvar.exe and drevcore.dll of each pair, the uninstaller and the setup program (SHA-256)"
  if [ -n "${KOLVAR_SIGN_TIMESTAMP_URL:-}" ]; then
    echo "release: timestamped by $KOLVAR_SIGN_TIMESTAMP_URL"
  else
    echo "release: no timestamp server named (KOLVAR_SIGN_TIMESTAMP_URL): the signatures carry no"
    echo "release: timestamp, so Windows stops accepting them once the certificate expires"
  fi
else
  echo "release: UNSIGNED: no certificate given (KOLVAR_SIGN_PFX, or KOLVAR_SIGN_CERT and KOLVAR_SIGN_KEY);"
  echo "release: Windows will name no publisher and SmartScreen will warn"
fi
scripts/shipped-size.sh "$build"
