# Sourced by the scripts that run an executable under wine: wine's settings,
# and a fresh $workDir holding a copy of the executable ($1) named $2, removed
# at exit after wine's processes are ended.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEDEBUG=-all WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
workDir="$(mktemp -d)"
trap 'wineserver -k 2>/dev/null; rm -rf "$workDir"' EXIT
cp "$(realpath "$1")" "$workDir/$2"
