# Sourced by the Wine test scripts. wine_prefix_ready makes a private Wine
# prefix quick to start and quiet: no Mono or Gecko prompts, no debug
# output, and windows not managed by a window manager (with none running,
# SDL_Quit would wait about 2 s for its window to close otherwise).
# GARDENLUME_WINEPREFIX names a prefix to reuse; else one is made in a
# temporary folder and wine_prefix_done removes it.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
wine_prefix_own=""

wine_prefix_ready() {
  if [ -n "${GARDENLUME_WINEPREFIX:-}" ]; then
    export WINEPREFIX=$GARDENLUME_WINEPREFIX
  else
    wine_prefix_own=$(mktemp -d)
    export WINEPREFIX=$wine_prefix_own/prefix
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || { echo "wineboot failed in $WINEPREFIX" >&2; return 1; }
  fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

wine_prefix_done() {
  if [ -n "$wine_prefix_own" ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$wine_prefix_own"
    wine_prefix_own=""
  fi
}
