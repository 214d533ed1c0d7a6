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
