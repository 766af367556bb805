#!/usr/bin/env bash
# Starts the real program on a virtual display with an empty home, waits for its main
# window, closes it like a user, and checks that the settings were written on the way out.
set -euo pipefail
program=$1
# A picture of the main window for a reviewer, in the build folder.
screenshot=$(cd "$(dirname "$program")/.." && pwd)/e2e-main-window.png
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config
unset QT_QPA_PLATFORM
# In sanitizer builds, leaks inside system libraries are not ours to report.
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp

desktop=$(cd "$(dirname "$0")/../support" && pwd)/virtual_desktop.sh
. "$desktop"

run_on_virtual_display '
  set -euo pipefail
  . "$3"
  wait_for_display
  "$1" >"$HOME/out.log" 2>&1 &
  pid=$!
  wait_for_main_window $pid "$HOME/out.log"
  sleep 1
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$2" 2>/dev/null \
    || echo "no screenshot taken"
  leave_through_file_exit $pid "$window"
' "$program" "$screenshot" "$desktop"

settings=$home/.config/Pagewick/Pagewick.conf
if [ ! -f "$settings" ]; then
  echo "settings file was not written"; exit 1
fi
grep -q '^Dir=' "$settings" || { echo "Dir was not stored"; cat "$settings"; exit 1; }
grep -q '^RU0=' "$settings" || { echo "recent files were not stored"; cat "$settings"; exit 1; }
echo "ok: window shown, closed, settings written; picture in $screenshot"
