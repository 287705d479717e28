#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: in the build's own Wine prefix (made on first
# use, reporting Windows 10 as Qt 6 needs), with the Qt and MinGW runtime DLLs on the search path.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source=$(dirname "$here")
: "${UKOVA_QT_WINDOWS:=$source/build/qt6-mingw64}"
export WINEPREFIX=${WINEPREFIX:-$source/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a prefix that never needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
command -v wine64 >/dev/null && wine=$(command -v wine64)
# A mark of its own, not the registry's files: a server that stays up writes those only later.
if [ ! -f "$WINEPREFIX/.ukova-windows-10" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
  "$wine" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
  touch "$WINEPREFIX/.ukova-windows-10"
fi
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
windows_path() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(windows_path "$UKOVA_QT_WINDOWS/bin");$(windows_path "$runtime");$(windows_path /usr/x86_64-w64-mingw32/lib)"
exec "$wine" "$@"
