# Sourced by the scripts that run Wine:  . scripts/wine-env.sh <prefix>
# A headless 64-bit Wine on that prefix; sets W (wine64) and WS (wineserver64), which are not
# on PATH.
export WINEPREFIX=$1
export WINEDEBUG=-all
# No Mono or Gecko install prompts; winedbg off, so a crashing program exits instead of waiting
# in its dialog for ever.
export WINEDLLOVERRIDES='mscoree,mshtml=,winedbg.exe=d'
unset DISPLAY WAYLAND_DISPLAY
W=/usr/lib/wine/wine64
WS=/usr/lib/wine/wineserver64

# A fresh prefix (scripts/wine-prefix) with the desktop process held and the simulated
# PowerPoint registered, from the Windows programs of build folder $1.
prepare_wine_prefix() {
  "$(dirname "${BASH_SOURCE[0]}")/wine-prefix" "$WINEPREFIX"
  # Wine's desktop process inherits the standard handles of whichever program starts it;
  # started here, early and detached, it never holds a test's output pipes open.
  "$W" "$1/bin/hold-desktop.exe" </dev/null >/dev/null 2>&1 &
  "$W" "$1/bin/pptsim-server.exe" /regserver
}
