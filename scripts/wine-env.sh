# Sourced by the Windows scripts: a Wine of our own for running the Windows
# build on Linux. Sets WINEPREFIX (a new prefix under $MIRABO_WINE_DIR, by
# default /tmp/mirabo-wine-$UID), a Japanese locale (LANG=ja_JP.UTF-8, made
# under the same folder when the system has not got it, and en_US.UTF-8 for
# runs in English beside it) so that Wine stands Japanese fonts in for the
# Windows ones, one virtual desktop of 1024 x 768, and, unless DISPLAY is set
# already, an Xvfb server that ends with the shell.
#
#   source scripts/wine-env.sh; wine_start     # then: wine program.exe ...
#   wine_keep_server                            # one wineserver until wine_stop
#   wine_stop                                   # when done

# Wine puts some of a Windows process's memory at fixed addresses. Where
# the kernel places a new process's own mappings at random, one start in
# several hundred finds such an address taken ("failed to map the shared
# user data", c0000018) and the process ends with status 1 before it runs a
# line of its program, silently under WINEDEBUG=-all. So the script that
# sources this file runs again, once, with the address space laid out
# without randomness, a setting every process it starts inherits.
if [ -z "${MIRABO_FIXED_LAYOUT:-}" ] && [ -f "$0" ] && setarch "$(uname -m)" -R true 2>/dev/null; then
  export MIRABO_FIXED_LAYOUT=1
  exec setarch "$(uname -m)" -R bash "$0" "$@"
fi

MIRABO_WINE_DIR="${MIRABO_WINE_DIR:-/tmp/mirabo-wine-$(id -u)}"
export WINEPREFIX="$MIRABO_WINE_DIR/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko downloads: the programs need neither. No menu builder
# either: shortcuts made under Wine stay in the prefix, off the host's menus.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
export LANG=ja_JP.UTF-8
unset LC_ALL

wine_start() {
  mkdir -p "$MIRABO_WINE_DIR"
  # Both locales the tests run in, made here when the system lacks one (with
  # LOCPATH, the system's own are out of reach): without its locale, Wine
  # takes file names in ASCII, and a file with Japanese in its name, such as
  # the Start-menu shortcut, cannot be made in English.
  local name missing=""
  for name in ja_JP en_US; do
    locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8$" || missing=yes
  done
  if [ -n "$missing" ]; then
    for name in ja_JP en_US; do
      if [ ! -d "$MIRABO_WINE_DIR/locales/$name.UTF-8" ]; then
        mkdir -p "$MIRABO_WINE_DIR/locales"
        localedef -i "$name" -f UTF-8 "$MIRABO_WINE_DIR/locales/$name.UTF-8" 2>/dev/null || true
      fi
    done
    export LOCPATH="$MIRABO_WINE_DIR/locales"
  fi
  if [ -z "${DISPLAY:-}" ]; then
    local display=99
    while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1920x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    MIRABO_XVFB_PID=$!
    export DISPLAY=":$display"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
  fi
  # One virtual desktop: Wine draws the windows' frames itself, as Windows does.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
}

# Keeps one wineserver (and with it the desktop and services) running until
# wine_stop. Debian's wine starts its server with -p0, to end the moment its
# last program ends; a program started while that server is shutting down
# (as tests run side by side and end at once, all the time) is killed with
# it before it runs a line, or meets half a desktop. With one server for the
# whole run no program ever meets a server on its way out. The server's own
# programs (services, the desktop) are started here, away from any output:
# started by the first test instead, they would live on holding that test's
# output open, and ctest would wait for it forever.
wine_keep_server() {
  wineserver -w
  wineserver -p
  wineboot </dev/null >/dev/null 2>&1
  wine rundll32 user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${MIRABO_XVFB_PID:-}" ]; then
    kill "$MIRABO_XVFB_PID" 2>/dev/null || true
    wait "$MIRABO_XVFB_PID" 2>/dev/null || true
    unset MIRABO_XVFB_PID
  fi
}

# A Linux path as Wine's programs see it.
wine_path() { winepath -w "$1" 2>/dev/null; }
