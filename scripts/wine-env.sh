# Sourced: a private, quiet Wine prefix for this checkout, and no installer dialogs.
tintelo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${TINTELO_WINEPREFIX:-$tintelo_root/build/wine-prefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Starts a virtual X display unless one is already there; sets DISPLAY and XVFB_PID.
# Without the Composite extension: Wine gives a window that UpdateLayeredWindow paints (the
# loupe) a 32-bit visual, and with Composite on but no compositing manager to draw it, a
# read of the root window, which is how every Windows program's screen copy is made
# here, does not see it. A desktop with a compositor shows it; the monitor tests' Xorg
# has no Composite either, since Xinerama turns it off.
tintelo_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -extension Composite >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Creates the prefix once per run and keeps one wineserver for the run's programs.
tintelo_init_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
  fi
  # Debian's Wine does not find the fonts it ships: without Marlett the caption buttons'
  # symbols are drawn as "0 1 r". Give the prefix its own copy, where every Windows
  # program looks. Only Marlett: the other texts keep the fonts the tests were written
  # against.
  if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  wineserver -p >/dev/null 2>&1 || true
  # Start Wine's own background processes (services, the desktop) now, detached from any
  # caller's output: a test runner that reads a program's output would otherwise wait
  # for them, since they inherit it and outlive the program.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  local i
  for i in $(seq 1 50); do
    pgrep -f 'explorer.exe' >/dev/null && break
    sleep 0.1
  done
}

# Runs once per new prefix, before any test: the prefix's first program start, colour
# dialog and clipboard use belong to no test's deadline.
tintelo_warm_up() {
  local warmup="$tintelo_root/build/windows/tintelo_warmup.exe"
  if [ -f "$WINEPREFIX/.tintelo-warm" ]; then return 0; fi
  wine "$warmup" </dev/null
  touch "$WINEPREFIX/.tintelo-warm"
}

# Opens a program in a Wine desktop window of this display (it draws the caption bar that a
# bare virtual display lacks), saves a picture of its window with a margin around it as a
# PNG, and ends the prefix's programs. Usage: tintelo_window_shot program.exe "Window title" out.png
tintelo_window_shot() {
  local program=$1 title=$2 out=$3 geometry _
  wine explorer /desktop=Tintelo,640x400 "$program" >/dev/null 2>&1 &
  for _ in $(seq 1 150); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"$title\"" && break
    sleep 0.2
  done
  sleep 1  # let the first paint land before the picture is taken
  # "WxH+X+Y" of the window, frame included, with 12 pixels around it.
  geometry=$(xwininfo -name "$title" | awk '
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} /Width/ {w = $2} /Height/ {h = $2}
    END {printf "%dx%d+%d+%d", w + 24, h + 24, x - 12, y - 12}')
  import -window root -crop "$geometry" +repage -strip "$out"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# The end-to-end tests that need the desktop of several monitors; the virtual display
# runs all the others.
tintelo_monitor_tests='^ThreeMonitors'

# Wine 8.0 crashes while listing a second monitor's XF86VidMode modes and then sees one
# monitor only; with Xinerama on, Xorg offers no RandR, so Wine would use XVidMode. Written
# into the prefix's registry file while no wineserver runs: a running one would write its
# own copy back over it.
tintelo_without_xvidmode() {
  if [ ! -f "$WINEPREFIX/user.reg" ]; then
    echo "no Wine prefix at $WINEPREFIX yet (tintelo_init_prefix makes it)" >&2
    return 1
  fi
  grep -q '^"UseXVidMode"="N"' "$WINEPREFIX/user.reg" && return 0
  printf '\n[Software\\\\Wine\\\\X11 Driver] %s\n"UseXVidMode"="N"\n' "$(date +%s)" >>"$WINEPREFIX/user.reg"
}

# Starts the monitor tests' desktop (scripts/xorg-monitors.conf) on a free display and
# this run's Wine on it; sets DISPLAY and XORG_PID. Wine's desktop belongs to the display
# its wineserver started on, so the run's wineserver stops first. Xorg's log is written
# beside the prefix.
tintelo_start_monitors() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  tintelo_without_xvidmode || return 1
  local n i log
  log="$(dirname "$WINEPREFIX")/xorg-monitors.log"
  for n in $(seq 121 150); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # Shares a console it never switches to: no real one is needed.
    Xorg ":$n" -config "$tintelo_root/scripts/xorg-monitors.conf" -noreset -nolisten tcp -novtswitch \
      -sharevts vt7 -logfile "$log" >/dev/null 2>&1 &
    XORG_PID=$!
    for i in $(seq 1 100); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        tintelo_init_prefix
        return 0
      fi
      kill -0 "$XORG_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XORG_PID" 2>/dev/null || true
    wait "$XORG_PID" 2>/dev/null || true
    XORG_PID=
  done
  echo "could not start Xorg (log: $log)" >&2
  return 1
}

tintelo_stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  if [ -n "${XORG_PID:-}" ]; then kill "$XORG_PID" 2>/dev/null || true; wait "$XORG_PID" 2>/dev/null || true; fi
}
