#!/usr/bin/env bash
# Makes releases of a build with the release command: signed with a
# throwaway self-signed certificate, and unsigned. The signed release's
# setup, the files in its zip and the files its setup installs (uninstaller
# included) must verify against that certificate, and a changed byte must
# break a signature; its version resources must agree with the setup's;
# signing twice must give the same bytes. The unsigned release must be the
# build's own files. Each release's SHA256SUMS must match its folder.
set -euo pipefail
build=$1 work=$2 version_info=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
release=$root/scripts/release.sh

rm -rf "$work"
mkdir -p "$work"
cd "$work"
for name in PFX PASSWORD CERT KEY TIMESTAMP_URL; do unset "KOLVAR_SIGN_$name"; done

failures=0
check() {  # check "what" command...
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
verifies() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1"; }
not_signed() { local said; said=$(osslsigncode verify -in "$1" 2>&1 || true); [[ $said == *"No signature found"* ]]; }
says() { grep -q "$1" "$2"; }
not() { ! "$@"; }
# SHA256SUMS lists every other file of its folder, and each sum holds.
sums_match() {
  local listed present
  listed=$(awk '{ print $2 }' "$1/SHA256SUMS" | sort)
  present=$(cd "$1" && find . -type f ! -name SHA256SUMS -printf '%P\n' | sort)
  (cd "$1" && sha256sum --quiet -c SHA256SUMS) && [ "$listed" = "$present" ]
}
all_verify() { local file; for file in "$@"; do verifies "$file" || return 1; done; }
# A copy of the file with one byte in its middle changed.
tampered_copy() {
  local offset byte
  cp "$1" "$2"
  offset=$(($(stat -c %s "$2") / 2))
  byte=$(od -An -tu1 -j "$offset" -N1 "$2" | tr -d ' ')
  printf "\\$(printf %03o $((byte ^ 1)))" | dd of="$2" bs=1 seek="$offset" conv=notrunc 2>/dev/null
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Kolvar test signer/O=Velkor" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1
openssl pkcs12 -export -inkey key.pem -in cert.pem -out signer.pfx -passout pass:throwaway
sign_env=(KOLVAR_SIGN_PFX="$work/signer.pfx" KOLVAR_SIGN_PASSWORD=throwaway)

echo "== signed release"
env "${sign_env[@]}" "$release" --from "$build" --out signed >signed.log 2>&1 || { cat signed.log; exit 1; }
setup=$(echo signed/Kolvar-*-setup.exe) portable=$(echo signed/Kolvar-*-portable.zip)
check "the release command says it signed" says 'SIGNED' signed.log
check "the setup's signature verifies" verifies "$setup"
unzip -q "$portable" -d zipped
check "the zip's Kolvar.exe and drevcore.dll verify" all_verify zipped/Kolvar.exe zipped/drevcore.dll
check "SHA256SUMS matches the signed release" sums_match signed
tampered_copy "$setup" tampered.exe
check "a changed byte breaks the setup's signature" not verifies tampered.exe
tampered_copy zipped/drevcore.dll tampered.dll
check "a changed byte breaks the engine's signature" not verifies tampered.dll

env "${sign_env[@]}" "$release" --from "$build" --out signed-again >/dev/null 2>&1
check "signing again gives the same setup" cmp "$setup" signed-again/"$(basename "$setup")"
check "signing again gives the same zip" cmp "$portable" signed-again/"$(basename "$portable")"

# The certificate and key pair instead of PKCS#12.
cp "$build/installer/stage/Kolvar.exe" pair.exe
KOLVAR_SIGN_CERT=cert.pem KOLVAR_SIGN_KEY=key.pem "$root/scripts/sign-file" pair.exe Kolvar
check "a certificate and key pair signs too" verifies pair.exe

env "${sign_env[@]}" KOLVAR_SIGN_TIMESTAMP_URL=http://127.0.0.1:9/ "$release" --from "$build" --out no-timestamp \
  >no-timestamp.log 2>&1 && timestamp_status=0 || timestamp_status=$?
check "a timestamp server that cannot be reached stops the release" \
  test "$timestamp_status" -ne 0 -a ! -e no-timestamp/SHA256SUMS

echo "== what the signed setup installs"
export WINEPREFIX=$work/prefix
source "$root/scripts/wine-prefix.sh"
kolvar_wine_bits_of "$setup"
kolvar_wine_prefix_ready
if [ -z "${DISPLAY:-}" ]; then
  source "$root/scripts/start-display.sh"
  kolvar_start_display
fi
cleanup() { wineserver -k 2>/dev/null || true; [ -z "${KOLVAR_XVFB_PID:-}" ] || kolvar_stop_display; }
trap cleanup EXIT
"$WINELOADER" "$setup" /S
wineserver -w
instdir="$WINEPREFIX/drive_c/Program Files/Kolvar"
check "the installed Kolvar.exe, drevcore.dll and Uninstall.exe verify" \
  all_verify "$instdir/Kolvar.exe" "$instdir/drevcore.dll" "$instdir/Uninstall.exe"
check "the setup installs the zip's signed Kolvar.exe" cmp "$instdir/Kolvar.exe" zipped/Kolvar.exe
check "the setup installs the zip's signed drevcore.dll" cmp "$instdir/drevcore.dll" zipped/drevcore.dll

echo "== version resources"
windows_path() { local path; path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${path//\//\\}"; }
"$WINELOADER" "$version_info" "$(windows_path "$setup")" 'C:\Program Files\Kolvar\Kolvar.exe' \
  'C:\Program Files\Kolvar\drevcore.dll' 'C:\Program Files\Kolvar\Uninstall.exe' | tr -d '\r' >versions.txt || true
cat versions.txt
# One "file<TAB>name=value" line per string, from the tool's blocks.
awk '/^\[/ { file = $0; next } { print file "\t" $0 }' versions.txt >versions.tsv
field() {  # file name
  FILE=$1 NAME=$2= awk -F'\t' '$1 == ENVIRON["FILE"] && index($2, ENVIRON["NAME"]) == 1 {
    print substr($2, length(ENVIRON["NAME"]) + 1) }' versions.tsv
}
setup_block=$(head -1 versions.txt)
same_as_setup() {  # file
  local name value
  for name in CompanyName ProductName FileVersion ProductVersion LegalCopyright \
              'fixed FileVersion' 'fixed ProductVersion'; do
    value=$(field "$1" "$name")
    [ -n "$value" ] && [ "$value" = "$(field "$setup_block" "$name")" ] || return 1
  done
  [ -n "$(field "$1" FileDescription)" ]
}
check "the setup has a version resource" same_as_setup "$setup_block"
for file in Kolvar.exe drevcore.dll Uninstall.exe; do
  check "$file names company, product, description and version as the setup does" \
    same_as_setup "[C:\\Program Files\\Kolvar\\$file]"
done

echo "== unsigned release"
"$release" --from "$build" --out unsigned >unsigned.log 2>&1 || { cat unsigned.log; exit 1; }
check "the release command says it is unsigned" says 'UNSIGNED' unsigned.log
check "the unsigned setup is the build's" cmp unsigned/"$(basename "$setup")" "$build/dist/$(basename "$setup")"
check "the unsigned zip is the build's" cmp unsigned/"$(basename "$portable")" "$build/dist/$(basename "$portable")"
check "the unsigned setup carries no signature" not_signed unsigned/"$(basename "$setup")"
check "the build's staged Kolvar.exe stays unsigned" not_signed "$build/installer/stage/Kolvar.exe"
check "SHA256SUMS matches the unsigned release" sums_match unsigned

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
