#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under
# Wine on the desktop's display. The program starts hidden: its icon is in
# the notification area (Wine shows it in its system tray window).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" windows brimsweep brimclean bck deletebat uninstall

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
No display. Start one and try again, for example:
  Xvfb :1 -screen 0 1280x1024x24 & export DISPLAY=:1
and look at it with a VNC server (x11vnc -display :1) or take screenshots
(import -window root shot.png).
MSG
  exit 1
fi

# A prefix of the project's own, kept between runs, whose folders do not
# lead into the Linux home: the program cleans what it finds there.
. "$root/scripts/wine-env.sh"
wine_env_start "$root/build-win/wineprefix"
# The program keeps its settings and backups beside itself: run a copy in a
# folder of its own so the build tree stays clean.
app_dir="$root/build-win/app"
mkdir -p "$app_dir"
cp "$root"/build-win/{brimsweep,brimclean,bck,deletebat,uninstall}.exe "$root"/build-win/brimsweep.html "$app_dir"/
exec wine "$app_dir/brimsweep.exe" "$@"
