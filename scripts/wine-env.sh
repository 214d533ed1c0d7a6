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
  serve_wine_prefix "$1"
}

# Holds the desktop process of $WINEPREFIX, whose wineserver runs, and registers the simulated
# PowerPoint from the Windows programs of build folder $1.
serve_wine_prefix() {
  # Wine's desktop process inherits the standard handles of whichever program starts it;
  # started here, early and detached, it never holds a test's output pipes open.
  "$W" "$1/bin/hold-desktop.exe" </dev/null >/dev/null 2>&1 &
  "$W" "$1/bin/pptsim-server.exe" /regserver
}

# The prefixes of the end-to-end workers: $WINEPREFIX-worker-0 and on.
worker_prefixes() {
  local k
  for ((k = 0; k < $1; k++)); do echo "$WINEPREFIX-worker-$k"; done
}

# A fresh $WINEPREFIX as prepare_wine_prefix makes it, and $2 copies of it for the end-to-end
# workers (worker_prefixes), each with a wineserver of its own, prepared the same way. A copy of
# the settled prefix takes a second; a wineboot of its own takes ten or more.
prepare_wine_prefixes() {
  local prefix
  "$(dirname "${BASH_SOURCE[0]}")/wine-prefix" "$WINEPREFIX"
  # Copied with no wineserver running, which could be writing the registry meanwhile.
  "$WS" -k
  "$WS" -w
  for prefix in $(worker_prefixes "$2"); do
    if [ -d "$prefix" ]; then
      WINEPREFIX=$prefix "$WS" -k 2>/dev/null || true
      rm -rf "$prefix"
    fi
    cp -a "$WINEPREFIX" "$prefix"
  done
  for prefix in "$WINEPREFIX" $(worker_prefixes "$2"); do
    (export WINEPREFIX=$prefix; "$WS" -p; serve_wine_prefix "$1")
  done
}

# Ends every process of $WINEPREFIX and of $1 worker prefixes.
stop_wine_prefixes() {
  local prefix
  for prefix in "$WINEPREFIX" $(worker_prefixes "$1"); do
    "$(dirname "${BASH_SOURCE[0]}")/wine-prefix" --stop "$prefix"
  done
}
