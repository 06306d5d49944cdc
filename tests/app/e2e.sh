#!/usr/bin/env bash
# End to end: the real Kolvar.exe under Wine, driven by e2e_driver from
# another Wine process, in a prefix of its own so that its registry starts
# empty and no other test's Wine process is counted at the end.
#   e2e.sh path/to/kolvar_e2e_driver.exe path/to/Kolvar.exe
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
driver=$(realpath "$1")
program=$(realpath "$2")
bin=$(dirname "$program")

export WINEPREFIX=${KOLVAR_E2E_PREFIX:-$(dirname "$bin")/e2e-wineprefix}
source "$root/scripts/wine-session.sh"
kolvar_wine_bits_of "$program"
kolvar_session_begin

# A freeing run asks for the available memory plus the amount: on a large
# machine that is many gigabytes. The data limit makes the platform refuse
# allocations beyond it, which ends the run early, so the test never takes
# the memory of everything else running here.
limit_bytes=$((1536 * 1024 * 1024))

status=0
kolvar_run_retrying "e2e: the driver" timeout 240 prlimit --data=$limit_bytes:$limit_bytes \
  "$WINELOADER" "$driver" "$(kolvar_wine winepath -w "$program" 2>/dev/null | tr -d '\r')" </dev/null || status=$?

# Nothing of the program may stay behind: with its last process gone the
# Wine server of this prefix ends by itself within seconds.
if ! timeout 30 wineserver -w; then
  echo "FAIL Wine processes still running 30 s after the program ended:" >&2
  ps -eo pid,args | grep -i '[K]olvar.exe' >&2 || true
  status=1
else
  echo "ok   no Wine process left behind"
fi
exit $status
