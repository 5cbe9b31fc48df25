# Shared by scripts/run and scripts/test: the tools, the two build trees, the Wine prefix and the
# private X display. Source it; it sets `root`.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$root/build"

# scripts/setup keeps the one list of what the machine needs, and checks before it installs.
ensure_setup() {
  "$root/scripts/setup"
}

build_native() {
  cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$build/native" "$@"
}

# The libFuzzer targets, with clang in a tree of their own so that the native tree stays on g++.
build_fuzz() {
  cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$build/fuzz"
}

build_win32() {
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" >/dev/null
  cmake --build "$build/win32" "$@"
}

# The environment of every Wine run, in the prefix given (build/wineprefix when none is).
export_wine_env() {
  export WINEPREFIX="${1:-$build/wineprefix}"
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

# Made once, serially: lazy creation by parallel Wine processes races. The prefix is
# build/wineprefix unless another is given.
prepare_prefix() {
  export_wine_env "$@"
  if [ ! -f "$WINEPREFIX/.quorvane-ready" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Every program runs inside one virtual desktop: Wine draws the title bars itself, screenshots
    # show whole windows, and no window manager is needed.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # Wine's own fonts in the prefix: Marlett draws the caption buttons, Tahoma the captions.
    cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    # 宋体 (SimSun) is not on this machine: draw it with the CJK bitmap face made for small sizes,
    # as crisp as 宋体's own bitmaps on a Chinese Windows desktop.
    for face in 'SimSun' '宋体'; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Zen Hei Sharp' /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.quorvane-ready"
  fi
  # A CD drive r: without a disc, for the drive that is not ready: its folder does not exist.
  if [ ! -L "$WINEPREFIX/dosdevices/r:" ]; then
    wine reg add 'HKLM\Software\Wine\Drives' /v r: /d cdrom /f /reg:64 >/dev/null 2>&1
    ln -sfn /nonexistent/quorvane-cd "$WINEPREFIX/dosdevices/r:"
    wineserver -w
  fi
}

# A private X display on Xvfb, 1280x1024 unless another WIDTHxHEIGHT is given; stopped when the
# calling script ends. The number is chosen here, from 90 up, not by `Xvfb -displayfd`: a server
# that finds a display taken and moves on still removes that display's socket when it ends, which
# cut off every later window of the run that held it.
start_xvfb() {
  local n size=${1:-1280x1024}
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_wine_and_xvfb() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
