# Sourced by the scripts that run Windows programs: a Wine prefix that is
# never the user's own and reaches nothing of the Linux home folder, and an X
# display (Xvfb when there is none).
#
#   wine_env_start [PREFIX]   a fresh throwaway prefix, or PREFIX (made once
#                             and kept, for scripts/run.sh)
#   wine_env_stop             stops Wine and Xvfb, removes a throwaway prefix

wine_env_start() {
  export WINEDEBUG=-all
  # Keep Wine from offering to install Mono and Gecko.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  WINE_ENV_TMP=""
  if [ -n "${1:-}" ]; then
    export WINEPREFIX="$1"
  else
    WINE_ENV_TMP=$(mktemp -d /tmp/brimsweep-wine.XXXXXX)
    export WINEPREFIX="$WINE_ENV_TMP/prefix"
  fi
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
  wine_env_cut_home_links
}

# A new prefix links Desktop, Documents, Downloads, Music, Pictures, Videos
# and Templates to the Linux home folder: a Find over all drives would walk
# the real home and a Delete could remove its files. Replace every link under
# drive_c that leads out of the prefix with an empty folder, then make sure
# none is left. (The drive letters themselves live in dosdevices.)
wine_env_cut_home_links() {
  local prefix link target
  prefix=$(realpath "$WINEPREFIX")
  while IFS= read -r -d '' link; do
    target=$(realpath -m "$link")
    case "$target" in
      "$prefix"/*) ;;
      *) rm -f "$link" && mkdir -p "$link" ;;
    esac
  done < <(find "$WINEPREFIX/drive_c" -type l -print0)
  while IFS= read -r -d '' link; do
    target=$(realpath -m "$link")
    case "$target" in
      "$prefix"/*) ;;
      *)
        echo "wine-env: $link still leads out of the prefix, to $target" >&2
        return 1
        ;;
    esac
  done < <(find "$WINEPREFIX/drive_c" -type l -print0)
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${WINE_ENV_XVFB_PID:-}" ] && kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
  [ -n "${WINE_ENV_TMP:-}" ] && rm -rf "$WINE_ENV_TMP"
  return 0
}
