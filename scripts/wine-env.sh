# Sourced: the one Wine session of this checkout, for the tests and the
# scripts alike. Exports WINELOADER, WINEPREFIX and WIN_BUILD (the Windows
# build the session runs), starts Xvfb when there is no display, creates the
# prefix once. Call wine_session_end when done.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The shipped programs are 32-bit; where this kernel cannot execute 32-bit code
# Wine's 32-bit loader cannot start, and the 64-bit twin of the programs runs
# instead. NOCTURO_WINE_ARCH=win64 chooses the twin here too, to prove both builds.
if [ "${NOCTURO_WINE_ARCH:-}" != win64 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  WINE_LOADER=/usr/lib/wine/wine; export WINEARCH=win32 WIN_BUILD=$root/build/win32
else
  WINE_LOADER=/usr/lib/wine/wine64; export WINEARCH=win64 WIN_BUILD=$root/build/win64
fi
export WINELOADER=$WINE_LOADER
export WINEPREFIX=$root/build/wine-$WINEARCH HOME=$root/build/wine-home
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
mkdir -p "$HOME"
own_xvfb=
if [ -z "${DISPLAY:-}" ]; then
  n=$((90 + $$ % 50))
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  own_xvfb=$!
  export DISPLAY=:$n
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (about 15 s)..."
  "$WINE_LOADER" wineboot -i >/dev/null 2>&1
  wineserver -w
fi
# Wine has no powercfg; a stand-in prints its arguments where the programs run it.
if [ -f "$WIN_BUILD/e2e-tools/print_args.exe" ]; then
  cp "$WIN_BUILD/e2e-tools/print_args.exe" "$WINEPREFIX/drive_c/windows/system32/powercfg.exe"
fi
# A session starts with a server of its own: one still serving the prefix was
# left by a session that was killed (CTest's timeout runs no EXIT trap), and
# its programs and display would be this session's.
wineserver -k >/dev/null 2>&1 || true
wineserver -w 2>/dev/null || true
# It starts on the plain desktop, even after a test that chose the taskbar's
# was killed before it could choose back.
sed -i '/^"Desktop"="shell"$/d' "$WINEPREFIX/user.reg"
wineserver -p 2>/dev/null || true

# One idle program on the session's desktop for the whole session: Wine closes
# a desktop about a second after its last program ends, where Windows keeps
# it, and a program starting as it closes can be ended at once. It goes with
# the server. NOCTURO_KEEP_DESKTOP=0 leaves it out, to measure the difference
# (bench/wine-starts.sh).
wine_keep_desktop() {
  [ "${NOCTURO_KEEP_DESKTOP:-1}" = 1 ] && [ -f "$WIN_BUILD/e2e-tools/keep_desktop.exe" ] || return 0
  setsid "$WINE_LOADER" "$WIN_BUILD/e2e-tools/keep_desktop.exe" </dev/null >/dev/null 2>&1 &
}

# The test helper: one verb a call, its answer as key=value lines.
helper() { "$WINE_LOADER" "$WIN_BUILD/e2e-tools/nochelper.exe" "$@" 2>/dev/null | tr -d '\r'; }

# Ends every program of the session; the next ones run on a virtual desktop
# named "shell", which has a taskbar with a notification area (on), or on the
# plain session the tests use (off). The desktop is chosen when a session's
# first program starts, hence the new session.
wine_shell_desktop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  if [ "$1" = on ]; then
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
  else
    "$WINE_LOADER" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  fi
  wineserver -w
  wineserver -p 2>/dev/null || true
  wine_keep_desktop
}

# "X Y WIDTH HEIGHT" of the first window of that class and title, or nothing.
wine_window_rect() {
  helper wait-window "$1" "$2" "${3:-20000}" |
    awk -F= '{v[$1] = $2} END {if ("x" in v) print v["x"], v["y"], v["width"], v["height"]}'
}

# Unpacks the package into the folder $1 and prints where its programs are.
# Where this machine runs no 32-bit code, the 64-bit twins stand in for them.
wine_unpack_package() {
  local name
  name=nocturo-$("$root/scripts/version.sh")
  unzip -q "$root/build/$name-win32.zip" -d "$1"
  [ "$WINEARCH" = win32 ] || cp "$WIN_BUILD"/package/*.exe "$1/$name/"
  echo "$1/$name"
}

# Waits for the server to be gone: the next test's session must not meet it
# dying, nor its programs, nor its display.
wine_session_end() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  if [ -n "$own_xvfb" ]; then
    kill "$own_xvfb" 2>/dev/null || true
    wait "$own_xvfb" 2>/dev/null || true
  fi
}
