# Shared by the scripts: the tools, the build trees, the Windows flavours with their Wine loaders
# and prefixes, and the private X display. Source it; it sets `root` and `build`.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$root/build"

# The Windows programs come in two flavours from the same sources: win32 (PE32, i386), what ships,
# and win64 (PE32+, x86-64). Each has its own build tree, build/<flavour>, its own Wine prefix and
# its own Wine loader, called directly: Debian's `wine` picks the 32-bit loader whenever wine32 is
# installed, and on a machine whose kernel runs no 32-bit code that loader cannot start at all.
all_flavours=(win32 win64)
prepared_prefixes=()

loader_of() {
  case $1 in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
  esac
}

# Decides which flavours this machine runs by starting each one's loader, once per run (the
# scripts this one starts are told the answer), and sets `flavours` to those of them asked for,
# win32 first, and `refused_flavours` to those asked for that cannot run here. QUORVANE_FLAVOURS narrows the choice: "win64" takes, on any machine, the path of a
# machine that runs no 32-bit code; "win32" leaves the 64-bit flavour out. Prints one line saying
# which flavours run and why another does not; fails with one sentence when none can.
choose_flavours() {
  local wanted=${QUORVANE_FLAVOURS:-${all_flavours[*]}} f loader out why=() decided_now=0
  for f in $wanted; do
    case $f in
      win32 | win64) ;;
      *) echo "QUORVANE_FLAVOURS names $f, but the flavours are win32 and win64." >&2; return 2 ;;
    esac
  done
  if [ -z "${QUORVANE_LOADERS_START+set}" ]; then
    QUORVANE_LOADERS_START=""
    QUORVANE_LOADERS_REFUSED=""
    for f in "${all_flavours[@]}"; do
      loader=$(loader_of "$f")
      if [ ! -x "$loader" ]; then
        QUORVANE_LOADERS_REFUSED+="$f cannot run: Wine's loader $loader is not installed (scripts/setup installs it);"
      # Any failure counts: a refused loader exits 126, or 2 where a shell then reads it as a script.
      elif ! out=$(timeout 60 "$loader" --version 2>&1 </dev/null); then
        QUORVANE_LOADERS_REFUSED+="$f cannot run: Wine's loader $loader does not start here ($(printf '%s' "$out" | tail -n 1 | tr -d ';'));"
      else
        QUORVANE_LOADERS_START+=" $f"
      fi
    done
    export QUORVANE_LOADERS_START QUORVANE_LOADERS_REFUSED
    decided_now=1
  fi
  flavours=()
  refused_flavours=()
  for f in "${all_flavours[@]}"; do
    if [[ " $wanted " != *" $f "* ]]; then
      [[ " $QUORVANE_LOADERS_START " == *" $f "* ]] && why+=("$f is not asked for (QUORVANE_FLAVOURS=$wanted)")
    elif [[ " $QUORVANE_LOADERS_START " == *" $f "* ]]; then
      flavours+=("$f")
    else
      refused_flavours+=("$f")
    fi
  done
  local reason
  while IFS= read -r -d ';' reason; do why+=("$reason"); done <<<"$QUORVANE_LOADERS_REFUSED"
  if [ "$decided_now" = 1 ]; then
    local said="Windows flavours: ${flavours[*]:-none}"
    for reason in "${why[@]}"; do said+="; $reason"; done
    echo "$said"
  fi
  if [ ${#flavours[@]} -eq 0 ]; then
    local joined
    printf -v joined '%s; ' "${why[@]}"
    echo "No Windows flavour can run here: ${joined%; }." >&2
    return 1
  fi
}

# The one flavour of a script that runs the programs rather than testing every flavour: win32
# where the machine runs it, else win64. QUORVANE_FLAVOURS=win64 asks for the other.
choose_one_flavour() {
  choose_flavours || return
  use_flavour "${flavours[0]}"
  echo "Using the $flavour flavour: $win_build"
}

# Points the following builds and Wine calls at a flavour: `flavour`, its tree `win_build`, its
# loader and its default prefix.
use_flavour() {
  flavour=$1
  win_build=$build/$flavour
  wine_loader=$(loader_of "$flavour")
  case $flavour in
    win32) triple=i686-w64-mingw32 flavour_prefix=$build/wineprefix ;;
    win64) triple=x86_64-w64-mingw32 flavour_prefix=$build/wineprefix-win64 ;;
    *) echo "unknown flavour $flavour: the flavours are win32 and win64" >&2; return 2 ;;
  esac
}

# Every Wine call of the scripts goes through the flavour's own loader.
wine() { "$wine_loader" "$@"; }

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

# The Windows programs of the flavour that use_flavour chose, in build/<flavour>. Sets
# `standin_ports` to the ports of that tree's stock-local.exe, which the tree names (each flavour
# has its own, so that both flavours' tests can run side by side).
build_windows() {
  cmake -S "$root" -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$triple.cmake" >/dev/null
  read -ra standin_ports <"$win_build/standin-ports"
  cmake --build "$win_build" "$@"
}

# The environment of every Wine run, in the prefix given (the flavour's own when none is).
export_wine_env() {
  export WINEPREFIX="${1:-$flavour_prefix}"
  # Processes that Wine starts itself (wineboot's, a program's children) take the same loader.
  if [ "$flavour" = win64 ]; then export WINELOADER=$wine_loader; else unset WINELOADER; fi
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

# Made once, serially: lazy creation by parallel Wine processes races. The prefix is the
# flavour's own unless another is given.
prepare_prefix() {
  export_wine_env "$@"
  prepared_prefixes+=("$WINEPREFIX")
  if [ ! -f "$WINEPREFIX/.quorvane-ready-2" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # No debugger: a program that crashes under a test ends at once with its exception, instead
    # of waiting in winedbg. A 64-bit prefix keeps the 32-bit programs' setting in a view of its own.
    for view in 64 32; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
        "/reg:$view" >/dev/null 2>&1
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f \
        "/reg:$view" >/dev/null 2>&1
    done
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
    touch "$WINEPREFIX/.quorvane-ready-2"
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
  echo "Could not start Xvfb, the X server the programs' windows are shown on (scripts/setup installs it)." >&2
  return 1
}

# Ends the Wine servers of the prefixes this script prepared (prepare_prefix notes each), and its Xvfb.
stop_wine_and_xvfb() {
  local prefix
  for prefix in "${prepared_prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  done
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
