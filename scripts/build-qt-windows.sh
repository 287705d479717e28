#!/usr/bin/env bash
# Builds Qt 6.4.2 (Debian 12's version) for 64-bit Windows from Debian's own qt6-base source package,
# with Debian's MinGW-w64 cross-compiler and Debian's Qt as the host tools, and packs the result as
# qt6.4.2-mingw64.tar.xz in the cache folder where scripts/test-windows.sh looks for it. About an
# hour on 2 cores, once. Usage: build-qt-windows.sh [work folder]   (root or sudo for apt-get;
# needs deb-src lines for Debian's archive)
set -euo pipefail
here=${UKOVA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ukova-programmer}
mkdir -p "$here"
work=${1:-$(mktemp -d -t qt-windows.XXXX)}
prefix=$work/qt6-mingw64
sudo_=""; [ "$(id -u)" -eq 0 ] || sudo_=sudo
$sudo_ apt-get install -y g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix ninja-build cmake \
  qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils
cd "$work"
[ -d qtbase-everywhere-src-6.4.2 ] || { apt-get source --download-only qt6-base; tar xf qt6-base_6.4.2+dfsg.orig.tar.xz; }
# Debian's source leaves out the Wintab tablet headers: the Windows platform plugin is built without
# Wintab (pens still arrive through Windows' pointer messages as mouse input).
win=qtbase-everywhere-src-6.4.2/src/plugins/platforms/windows
if grep -q 'QT_CONFIG(tabletevent)' "$win/qwindowscontext.cpp"; then
  sed -i 's/QT_CONFIG(tabletevent)/0 \/* no Wintab headers in this source *\//' \
    "$win/qwindowscontext.cpp" "$win/qwindowspointerhandler.cpp" "$win/qwindowspointerhandler.h"
  sed -i 's/CONDITION QT_FEATURE_tabletevent/CONDITION FALSE/' "$win/CMakeLists.txt" "$win/../direct2d/CMakeLists.txt"
fi
# Without OpenGL, the plugin must not reach for the dynamic-GL context that the feature list still names.
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$win/qwindowswindow.cpp"
cat > mingw.cmake <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN
cmake -G Ninja -S qtbase-everywhere-src-6.4.2 -B build \
  -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_doubleconversion=OFF
cmake --build build --parallel
cmake --install build
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll "$prefix"/plugins/*/*.dll 2>/dev/null || true
tar -C "$work" -cJf "$here/qt6.4.2-mingw64.tar.xz" qt6-mingw64
echo "$here/qt6.4.2-mingw64.tar.xz"
