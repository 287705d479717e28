#!/usr/bin/env bash
# Installs the Windows installer silently into a fresh Wine prefix, checks what it installed (the
# program with its DLLs and templates, the Start-menu entry, the .ukova file type), runs the
# installed program's --version, then uninstalls silently and checks that the program is gone and
# the users' data stayed.
# Usage: check-install-windows.sh BUILD-FOLDER   (after cpack -G NSIS there)
set -euo pipefail
build=$(cd "$1" && pwd)
installer=$(ls "$build"/ukova-programmer-*-windows-x64.exe)
version=$(basename "$installer" | sed -E 's/ukova-programmer-(.*)-windows-x64.exe/\1/')
export WINEPREFIX=$build/wineprefix-install WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
command -v wine64 >/dev/null && wine=$(command -v wine64)
rm -rf "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1 || true
"$wine" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
drive=$WINEPREFIX/drive_c
program="$drive/Program Files/ORVEL/U-KOVA Programmer"
fail() {
  echo "check-install-windows: $*" >&2
  exit 1
}
# Waits for the installer and the uninstaller (which runs from a copy of itself) to end.
finish() { /usr/lib/wine/wineserver -w 2>/dev/null || wineserver -w; }

"$wine" "$installer" /S
finish
for file in ukova-programmer.exe Values.i Default.b Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll \
  styles/qwindowsvistastyle.dll imageformats/qjpeg.dll libstdc++-6.dll Uninstall.exe; do
  [ -f "$program/$file" ] || fail "the installer left out $file"
done
[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/U-KOVA Programmer/U-KOVA Programmer.lnk" ] ||
  fail "no Start-menu entry"
"$wine" reg query 'HKCR\.ukova' /ve | grep -q ORVEL.UkovaConfiguration || fail "no .ukova file type"
"$wine" reg query 'HKCR\ORVEL.UkovaConfiguration\DefaultIcon' /ve | grep -qi 'ukova-programmer.exe,0' ||
  fail "no icon for the .ukova file type"
reported=$("$wine" 'C:\Program Files\ORVEL\U-KOVA Programmer\ukova-programmer.exe' --version | tr -d '\r')
[ "$reported" = "ukova-programmer $version" ] || fail "--version said \"$reported\""
installed_size=$(du -sh "$program" | cut -f1)

# What the users made must outlive the program.
data="$drive/ProgramData/ORVEL/U-KOVA Programmer (DE)"
mkdir -p "$data"
echo kept >"$data/Values.ini"
"$wine" "$program/Uninstall.exe" /S
finish
[ ! -e "$program/ukova-programmer.exe" ] || fail "the uninstaller left the program"
! "$wine" reg query 'HKCR\.ukova' /ve >/dev/null 2>&1 || fail "the uninstaller left the file type"
[ "$(cat "$data/Values.ini")" = kept ] || fail "the uninstaller touched the users' data"
echo "Windows installer $(du -h "$installer" | cut -f1), installed program $installed_size:" \
  "installed, started and removed silently"
