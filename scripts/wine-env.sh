# Sourced by the scripts that run Windows programs: a fresh Wine prefix in a
# temporary folder (never the user's own), and an X display (Xvfb when there
# is none). Call wine_env_start, and wine_env_stop when done.

wine_env_start() {
  export WINEDEBUG=-all
  # Keep Wine from offering to install Mono and Gecko.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  WINE_ENV_TMP=$(mktemp -d /tmp/brimsweep-wine.XXXXXX)
  export WINEPREFIX="$WINE_ENV_TMP/prefix"
  WINE_ENV_XVFB_PID=""
  if [ -z "${DISPLAY:-}" ] || [ "${BRIM_FORCE_XVFB:-0}" = 1 ]; then
    local display=:$((90 + RANDOM % 400))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=$display
    for _ in $(seq 50); do
      xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
      sleep 0.1
    done
  fi
  wineboot -i >/dev/null 2>&1
  wineserver -w
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${WINE_ENV_XVFB_PID:-}" ] && kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
  [ -n "${WINE_ENV_TMP:-}" ] && rm -rf "$WINE_ENV_TMP"
}
